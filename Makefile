# Brawlwise: `make test` builds and runs every test, `make run` starts the
# program under Wine. Both first install what the machine lacks.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN32  := $(BUILD)/win32
JOBS   ?= 2
CMAKE_NATIVE := cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release
CMAKE_WIN32  := cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake

DIST   := dist
.PHONY: all deps native win32 test test-native test-win32 bench run dist clean

all: native win32

deps:
	@bash tools/install-deps.sh

native: deps
	$(CMAKE_NATIVE) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

win32: deps
	$(CMAKE_WIN32) >/dev/null
	cmake --build $(WIN32) -j $(JOBS)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure

test-win32: win32
	cd $(WIN32) && ctest --output-on-failure

test: test-native test-win32

bench: deps
	$(CMAKE_NATIVE) -DBRAWLWISE_BENCH=ON >/dev/null
	cmake --build $(NATIVE) -j $(JOBS) --target brawlwise_bench
	$(NATIVE)/bench/brawlwise_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Starts the program under Wine on the user's display, from the project's
# folder, which holds graphics/, with a Wine prefix of its own.
run: win32
	@if [ -z "$$DISPLAY" ]; then \
	  echo "There is no display (DISPLAY is not set): Brawlwise needs one to show its windows."; exit 1; fi
	WINEPREFIX=$(CURDIR)/$(WIN32)/wineprefix-run WINEARCH=win32 WINEDEBUG=-all \
	  WINEDLLOVERRIDES="mscoree,mshtml=" wine $(WIN32)/Brawlwise.exe

# The program as it is handed out: the program file, its pictures and the help.
dist: win32
	rm -rf $(DIST)
	mkdir -p $(DIST)/Brawlwise/graphics
	i686-w64-mingw32-strip -o $(DIST)/Brawlwise/Brawlwise.exe $(WIN32)/Brawlwise.exe
	cp graphics/res1.ico graphics/tick.bmp graphics/cross.bmp $(DIST)/Brawlwise/graphics/
	sed "s/$$/\r/" docs/Brawlwise-Help.txt > "$(DIST)/Brawlwise/Brawlwise Help.txt"
	cd $(DIST) && python3 -m zipfile -c Brawlwise-0.1-win32.zip Brawlwise
	@echo "$(DIST)/Brawlwise and $(DIST)/Brawlwise-0.1-win32.zip are ready."

clean:
	rm -rf $(BUILD)

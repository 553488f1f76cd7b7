# Brawlwise: `make test` builds and runs every test, `make run` starts the
# program under Wine. Both first install what the machine lacks.
BUILD    ?= build
NATIVE   := $(BUILD)/native
WIN32    := $(BUILD)/win32
SANITIZE := $(BUILD)/sanitize
FUZZ     := $(BUILD)/fuzz
DIST     := dist
JOBS     ?= 2
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := parse_decimal parse_integer calculation
SANITIZERS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

CMAKE_NATIVE := cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
CMAKE_WIN32  := cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
                -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake

.PHONY: all deps native win32 test test-native test-win32 test-sanitize fuzz lint soak bench run dist clean

all: native win32

deps:
	@bash tools/install-deps.sh

native: deps
	$(CMAKE_NATIVE) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

win32: deps
	$(CMAKE_WIN32) >/dev/null
	cmake --build $(WIN32) -j $(JOBS)

# Every test: the unit tests natively, under Wine and with the sanitizers;
# the end-to-end tests of the real program (with a short soak); a minute of
# each fuzz target; clang-tidy and cppcheck.
test: test-native test-win32 test-sanitize
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=60
	$(MAKE) --no-print-directory lint

test-native: native
	cd $(NATIVE) && ctest --output-on-failure

test-win32: win32
	cd $(WIN32) && ctest --output-on-failure

test-sanitize: deps
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$(SANITIZERS)" >/dev/null
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure

# Each fuzz target for FUZZ_SECONDS, from the committed seeds; any finding fails.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAWLWISE_TESTS=OFF \
	  -DBRAWLWISE_FUZZ=ON -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $(SANITIZERS)" >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	@for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/corpus/$$target && cp fuzz/corpus/$$target/* $(FUZZ)/corpus/$$target/ && \
	  echo "fuzzing $$target for $(FUZZ_SECONDS) s" && \
	  $(FUZZ)/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ)/$$target- $(FUZZ)/corpus/$$target > $(FUZZ)/$$target.log 2>&1 \
	    || { tail -40 $(FUZZ)/$$target.log; exit 1; }; \
	  grep -E '^(Done|#[0-9]+ +DONE)' $(FUZZ)/$$target.log; \
	done

lint: native win32
	bash tools/lint.sh $(NATIVE) $(WIN32)

# The long soak of the real program: 2,000 calculations and 500 statistics
# windows (the end-to-end run of `make test` does a tenth of it).
soak: win32
	BRAWLWISE_SOAK_CALCULATIONS=2000 BRAWLWISE_SOAK_STATISTICS=500 \
	  bash tools/run-e2e.sh $(WIN32)/Brawlwise.exe $(WIN32)/tests/brawlwise_e2e.exe --gtest_filter='Soak.*'

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
	rm -rf $(BUILD) $(DIST)

# Brawlwise: `make test` builds and runs every test, `make run` starts the
# program under Wine. Both first install what the machine lacks.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN32  := $(BUILD)/win32
JOBS   ?= 2
CMAKE_NATIVE := cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release
CMAKE_WIN32  := cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake

.PHONY: all deps native win32 test test-native test-win32 bench run clean

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

run:
	@echo "Brawlwise.exe arrives with the Windows program; until then 'make test' builds and tests the core."

clean:
	rm -rf $(BUILD)

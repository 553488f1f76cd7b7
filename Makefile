# Brawlwise: `make test` builds and runs every test, `make run` starts the
# program under Wine. Both first install what the machine lacks.
#
# Two Windows builds of the same sources: win32 (the 32-bit program, which
# runs on every Windows) and win64 (the 64-bit one, for setups that run no
# 32-bit code). Both are always built; their programs run here only where the
# host executes them. BRAWLWISE_NO_32BIT=1 makes a host that can execute
# 32-bit programs behave as one that cannot.
BUILD    ?= build
NATIVE   := $(BUILD)/native
SANITIZE := $(BUILD)/sanitize
FUZZ     := $(BUILD)/fuzz
DIST     := dist
JOBS     ?= 2
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := parse_decimal parse_integer number_writers calculation page_interface
SANITIZERS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
TOOLCHAIN_win32 := cmake/i686-w64-mingw32.cmake
TOOLCHAIN_win64 := cmake/x86_64-w64-mingw32.cmake
WASM     := $(BUILD)/wasm
I686     := $(BUILD)/i686
STRIP_win32 := i686-w64-mingw32-strip
STRIP_win64 := x86_64-w64-mingw32-strip

# Every artefact is dated by the time of the last commit, unless the time is
# given (a release built from an archive with no history has none, and is
# dated 1970 in the programs and 1980 in the zips): the same commit gives the
# same bytes in any folder, at any time.
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null || echo 0)
endif
export SOURCE_DATE_EPOCH

CMAKE_NATIVE := cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
# The native build's encounter program: every other build's texts must be its.
NATIVE_DIGESTS := -DBRAWLWISE_NATIVE_DIGESTS=$(CURDIR)/$(NATIVE)/tests/brawlwise_encounter_digests

.PHONY: all deps native native-digests win32 win64 i686 test test-native test-win32 test-win64 test-i686 test-sanitize
.PHONY: fuzz lint soak bench run dist clean mutants coverage
.PHONY: run-win32 run-win64 soak-win32 soak-win64 wasm test-wasm web web-page test-web bench-web
.PHONY: program-win32 program-win64 module test-reproducible
.PHONY: test-web-chromium test-web-webkit test-web-firefox check test-under-load $(addprefix fuzz-,$(FUZZ_TARGETS))

all: native win32 win64

deps:
	@bash tools/install-deps.sh

native: deps
	$(CMAKE_NATIVE) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

# The native encounter-texts program, which every other build compares its
# own with. DIGESTS_BUILT=1: it is built already (make test builds it once,
# before its three lanes, so that no two makes build in one folder).
DIGESTS := $(if $(DIGESTS_BUILT),,native-digests)
native-digests: deps
	$(CMAKE_NATIVE) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS) --target brawlwise_encounter_digests

CONFIGURE_WINDOWS = cmake -S . -B $(BUILD)/$(1) -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
	  -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN_$(1)) $(NATIVE_DIGESTS) >/dev/null
win32 win64: deps $(DIGESTS)
	$(call CONFIGURE_WINDOWS,$@)
	cmake --build $(BUILD)/$@ -j $(JOBS)

# Only the programs that make dist hands out, without the tests.
program-win32 program-win64: program-%: deps
	$(call CONFIGURE_WINDOWS,$*)
	cmake --build $(BUILD)/$* -j $(JOBS) --target Brawlwise

# The core and its unit tests as a 32-bit x86 Linux program, built as the
# 32-bit Windows program is (the same GCC and options, the same Release
# level) and run under qemu-i386's user-mode emulation, which works on every
# host, also one that cannot execute 32-bit programs.
i686: deps $(DIGESTS)
	cmake -S . -B $(I686) -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux-gnu.cmake $(NATIVE_DIGESTS) >/dev/null
	cmake --build $(I686) -j $(JOBS)

test-i686: i686
	cd $(I686) && ctest --output-on-failure

# The core as WebAssembly: the page's module, build/wasm/web/brawlwise.wasm,
# and the unit tests, which run under Node's WASI.
CONFIGURE_WASM := cmake -S . -B $(WASM) -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake \
	  $(NATIVE_DIGESTS) >/dev/null
wasm: deps $(DIGESTS)
	$(CONFIGURE_WASM)
	cmake --build $(WASM) -j $(JOBS)
	@node tools/check-wasm-imports.mjs $(WASM)/web/brawlwise.wasm

# Only the page's module, without the tests.
module: deps
	$(CONFIGURE_WASM)
	cmake --build $(WASM) -j $(JOBS) --target brawlwise

test-wasm: wasm
	cd $(WASM) && ctest --output-on-failure

# The page in one engine, from disk and from a server on 127.0.0.1, each
# test on a page that shares nothing with the last: test-web-chromium,
# test-web-webkit (WebKitGTK's MiniBrowser) and test-web-firefox (Firefox ESR
# over WebDriver BiDi, with a window), these two in Xvfb on a session bus of
# their own (with a runtime folder of their own, where AT-SPI's bus lives),
# where their accessibility trees are read through AT-SPI;
# test-web runs all three. The screenshots land in build/web/screenshots/,
# the checks an engine's driver cannot make in build/web-ENGINE/skipped-checks.txt.
WEB_ENGINES := chromium webkit firefox
web-page: wasm web/node_modules/.package-lock.json
	rm -rf $(BUILD)/web/Brawlwise-web
	python3 web/build_page.py $(WASM)/web/brawlwise.wasm $(BUILD)/web/Brawlwise-web "$$(cat $(WASM)/version.txt)"

test-web: $(addprefix test-web-,$(WEB_ENGINES))

# WEB_PAGE_BUILT=1: the page in build/web/ is already this tree's (make test builds it once).
$(addprefix test-web-,$(WEB_ENGINES)): test-web-%: $(if $(WEB_PAGE_BUILT),,web-page)
	$(if $(filter chromium,$*),cd tests/web && /usr/bin/python3 -m unittest -q accessibility_test)
	rm -rf $(BUILD)/web-$*/run && mkdir -p -m 700 $(BUILD)/web-$*/run
	XDG_RUNTIME_DIR=$(CURDIR)/$(BUILD)/web-$*/run \
	  $(if $(filter webkit firefox,$*),dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24") \
	  /usr/bin/python3 tests/web/page_test.py \
	  $(BUILD)/web/Brawlwise-web $(BUILD)/web/screenshots $* $(BUILD)/web-$*/skipped-checks.txt

# The page's speed and size in headless Chromium, each beside its floor;
# then Lighthouse (pinned in tools/package.json) on the page served compressed.
bench-web: web-page tools/node_modules/.package-lock.json
	/usr/bin/python3 bench/web_bench.py $(BUILD)/web/Brawlwise-web
	/usr/bin/python3 bench/lighthouse_bench.py $(BUILD)/web/Brawlwise-web

# What the page bundles from npm (Workbox, and esbuild and acorn to build
# with), as web/package-lock.json pins it.
web/node_modules/.package-lock.json: web/package.json web/package-lock.json | deps
	cd web && npm ci --ignore-scripts --no-audit --no-fund

# npm 9 (Debian's) cannot read a dependency of Lighthouse's that asks for
# "latest"; where the machine's npm is older than 10, npm 10 does the install.
tools/node_modules/.package-lock.json: tools/package.json tools/package-lock.json | deps
	cd tools && if [ "$$(npm --version | cut -d. -f1)" -ge 10 ]; then npm=npm; else npm="npx --yes npm@10"; fi; \
	  $$npm ci --ignore-scripts --no-audit --no-fund

# Every suite, each to its end, then a summary of what ran, passed, failed
# or was skipped: the unit tests natively and with the sanitizers; the unit
# and end-to-end tests (with a short soak) of each Windows program that the
# host can run, and where it cannot run the 32-bit one, that program's core
# under emulation; a minute of each fuzz target; clang-tidy and cppcheck.
test: deps
	@MAKE="$(MAKE)" bash tools/test-suites.sh

# The end-to-end and page suites while two busy processes keep both cores
# loaded, as a busy machine would: checks that wait for what they read pass.
test-under-load: deps
	@MAKE="$(MAKE)" bash tools/test-suites.sh --under-load

# A quick loop while developing (about half a minute once built): the unit
# tests natively and as WebAssembly, and the page's main rows from disk in
# Chromium. make test stays the whole gate.
CHECK_ROWS := calculate a_worked_example refusals sss_shows clear_from an_encounter_as bad_fragments keys
check: test-native test-wasm web-page
	mkdir -p $(BUILD)/web-check
	PAGE_TESTS="$(foreach row,$(CHECK_ROWS),-k FromDisk.test_$(row))" /usr/bin/python3 tests/web/page_test.py \
	  $(BUILD)/web/Brawlwise-web $(BUILD)/web-check/screenshots chromium $(BUILD)/web-check/skipped-checks.txt

test-native: native
	cd $(NATIVE) && ctest --output-on-failure

test-win32 test-win64: test-%: %
	cd $(BUILD)/$* && ctest --output-on-failure

test-sanitize: deps
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$(SANITIZERS)" >/dev/null
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure

# The unit tests against mutants of core/ and the page interface (about ten
# minutes): MUTANTS_PER_FILE of each file, drawn by MUTANTS_SEED. Fails when
# a mutant that tests/equivalent-mutants.txt does not list survives.
mutants: deps
	/usr/bin/python3 tools/mutants.py

# The unit tests' line and branch coverage of core/ and of the page interface.
COVERAGE := $(BUILD)/coverage
GCOVR := gcovr --root . --exclude-throw-branches --exclude-unreachable-branches
coverage: deps
	cmake -S . -B $(COVERAGE) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage >/dev/null
	cmake --build $(COVERAGE) -j $(JOBS) --target brawlwise_core_tests brawlwise_allocation_test
	find $(COVERAGE) -name '*.gcda' -delete
	$(COVERAGE)/tests/brawlwise_core_tests --gtest_brief=1
	$(COVERAGE)/tests/brawlwise_allocation_test --gtest_brief=1
	@echo "== core/"
	@$(GCOVR) --filter 'core/' --branches --print-summary $(COVERAGE)/core $(COVERAGE)/web $(COVERAGE)/tests
	@echo "== the page interface"
	@$(GCOVR) --filter 'web/(PageInterface|CodePage1252)\.' --branches --print-summary $(COVERAGE)/core $(COVERAGE)/web $(COVERAGE)/tests

# Each fuzz target for FUZZ_SECONDS, from the committed seeds, JOBS of them at
# a time; any finding fails.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAWLWISE_TESTS=OFF \
	  -DBRAWLWISE_FUZZ=ON -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $(SANITIZERS)" >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	@$(MAKE) --no-print-directory -j $(JOBS) $(addprefix fuzz-,$(FUZZ_TARGETS))

$(addprefix fuzz-,$(FUZZ_TARGETS)): fuzz-%:
	@mkdir -p $(FUZZ)/corpus/$* && cp fuzz/corpus/$*/* $(FUZZ)/corpus/$*/
	@echo "fuzzing $* for $(FUZZ_SECONDS) s"
	@$(FUZZ)/fuzz/$*_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ)/$*- $(FUZZ)/corpus/$* > $(FUZZ)/$*.log 2>&1 || { tail -40 $(FUZZ)/$*.log; exit 1; }
	@echo "$*: $$(grep -E '^(Done|#[0-9]+ +DONE)' $(FUZZ)/$*.log)"

lint: native win32
	bash tools/lint.sh $(NATIVE) $(BUILD)/win32

# The program that runs here: the 32-bit one where the host executes it,
# else the 64-bit one. Only these targets ask the host, once, and hand the
# answer ("yes", or why not) to the sub-make.
run soak: deps
	@answer=$$(bash tools/host-runs-32bit.sh) && answer=yes; \
	if [ "$$answer" = yes ]; then arch=win32 says="the 32-bit program"; \
	else arch=win64 says="the 64-bit program, as $$answer"; fi; \
	BRAWLWISE_HOST_32BIT="$$answer" $(MAKE) --no-print-directory $@-$$arch RUN_SAYS="$$says"

# The long soak of the real program: 2,000 calculations and 500 statistics
# windows (the end-to-end run of `make test` does a tenth of it).
soak-win32 soak-win64: soak-%: %
	@echo "Soaking $(RUN_SAYS)."
	BRAWLWISE_SOAK_CALCULATIONS=2000 BRAWLWISE_SOAK_STATISTICS=500 \
	  bash tools/run-e2e.sh $* $(BUILD)/$*/Brawlwise.exe $(BUILD)/$*/tests/brawlwise_e2e.exe --gtest_filter='Soak.*'

# The core natively, then the page's calls natively and in the WebAssembly
# module, side by side in interleaved batches.
bench: deps wasm
	$(CMAKE_NATIVE) -DBRAWLWISE_BENCH=ON >/dev/null
	cmake --build $(NATIVE) -j $(JOBS) --target brawlwise_bench
	$(NATIVE)/bench/brawlwise_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	node bench/page_bench.mjs $(WASM)/web/brawlwise.wasm $(NATIVE)/bench/brawlwise_bench

# Starts the program under Wine on the user's display, from the project's
# folder, which holds graphics/, with a Wine prefix of its own.
run-win32 run-win64: run-%: %
	@if [ -z "$$DISPLAY" ]; then \
	  echo "There is no display (DISPLAY is not set): Brawlwise needs one to show its windows."; exit 1; fi
	@echo "Starting $(RUN_SAYS): $(BUILD)/$*/Brawlwise.exe"
	bash tools/wine-run.sh $* $(CURDIR)/$(BUILD)/$*/wineprefix-run $(BUILD)/$*/Brawlwise.exe

# The programs as they are handed out, each with its pictures and the help:
# dist/Brawlwise/ (32-bit) and dist/Brawlwise-x64/ (64-bit), and their zips;
# dist/Brawlwise-web/, the page, and its zip; dist/SHA256SUMS of the two
# programs and the three zips, which `sha256sum -c` reads. The version in
# the zips' names is CMake's project version.
dist: program-win32 program-win64 module web/node_modules/.package-lock.json
	rm -rf $(DIST)
	version=$$(cat $(WASM)/version.txt); \
	bash tools/package.sh $(STRIP_win32) $(BUILD)/win32/Brawlwise.exe $(DIST) Brawlwise Brawlwise-$$version-win32.zip $$version && \
	bash tools/package.sh $(STRIP_win64) $(BUILD)/win64/Brawlwise.exe $(DIST) Brawlwise-x64 Brawlwise-$$version-win64.zip $$version && \
	bash tools/package-web.sh $(WASM)/web/brawlwise.wasm $(DIST) $$version && \
	cd $(DIST) && sha256sum Brawlwise/Brawlwise.exe Brawlwise-x64/Brawlwise.exe Brawlwise-$$version-win32.zip \
	  Brawlwise-$$version-win64.zip Brawlwise-$$version-web.zip >SHA256SUMS
	@echo "$(DIST)/SHA256SUMS:" && cat $(DIST)/SHA256SUMS

# Builds what make dist hands out twice more, from two copies of this tree
# in folders of other names and depths, and compares them byte for byte.
test-reproducible: deps
	/usr/bin/python3 tools/check-reproducible.py $(BUILD)/reproducible

# The page, built into dist/Brawlwise-web/ and its zip, then served from
# this machine as a real static host serves it (types, gzip, revalidation):
# BRAWLWISE_WEB_HOST=0.0.0.0 lets other devices of the network open it,
# BRAWLWISE_WEB_PORT changes the port.
BRAWLWISE_WEB_HOST ?= 127.0.0.1
BRAWLWISE_WEB_PORT ?= 8000
web: wasm web/node_modules/.package-lock.json
	bash tools/package-web.sh $(WASM)/web/brawlwise.wasm $(DIST) "$$(cat $(WASM)/version.txt)"
	@if [ "$(BRAWLWISE_WEB_HOST)" = 0.0.0.0 ]; then \
	  echo "Serving Brawlwise on every address of this machine, port $(BRAWLWISE_WEB_PORT):" \
	       "open http://<this machine's address>:$(BRAWLWISE_WEB_PORT)/ (Ctrl+C stops it)."; \
	else echo "Serving Brawlwise at http://$(BRAWLWISE_WEB_HOST):$(BRAWLWISE_WEB_PORT)/ (Ctrl+C stops it)."; fi
	@python3 tools/serve-web.py $(DIST)/Brawlwise-web $(BRAWLWISE_WEB_HOST) $(BRAWLWISE_WEB_PORT)

clean:
	rm -rf $(BUILD) $(DIST)

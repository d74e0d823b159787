# Glyphkiln: the few commands a developer or CI needs. Every target first
# installs what is missing, so a fresh Debian machine needs nothing else.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-asan bench readers install package fuzz stress clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-zarn $(BUILD)/bin

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The non-GUI suites under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	      -DGLYPHKILN_SANITIZE=ON -DGLYPHKILN_GUI=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	      ctest --output-on-failure -j $(JOBS) -LE gui

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DGLYPHKILN_BENCH=ON -DGLYPHKILN_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bin/bench_*; do \
	    [ -x "$$b" ] || continue; echo "== $$b"; \
	    (cd $(BENCH_BUILD)/bin && "$(CURDIR)/$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true) || exit 1; \
	done

# The mesh files read back by other programs: assimp, admesh and, where it is
# installed, Blender's importers and 3-D print checks (not installed by deps:
# too large for CI).
readers: build
	tests/readers/run-readers $(BUILD)/bin

# The desktop program started and closed STRESS_CYCLES times on its own X
# server while busy processes load every core; any abort's stack is printed.
STRESS_CYCLES ?= 200
stress: build
	$(BUILD)/bin/zarn_stress $(BUILD)/bin $(STRESS_CYCLES)

# Installs the programs, the renderer library and the desktop files under
# PREFIX (DESTDIR is honoured for staged installs).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same files under /usr, left in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# The libFuzzer targets (clang, AddressSanitizer and UBSan, $(FUZZ_BUILD)/),
# each run for FUZZ_SECONDS from its committed seed corpus.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	      -DGLYPHKILN_FUZZ=ON -DGLYPHKILN_GUI=OFF -DGLYPHKILN_TESTS=OFF -DGLYPHKILN_MAN=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)

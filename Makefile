# Quick start: `make demo` opens the viewer on a generated archive,
# `make test` builds and runs every test (normal build, then ASan+UBSan, then
# the core tests under ThreadSanitizer). `make fuzz` runs the libFuzzer
# targets for FUZZ_SECONDS each; `make faults` drives the real viewer through
# kills, full disks and floods of announcements.

JOBS    ?= $(shell nproc)
# The icon theme (with the SVG reader for its symbolic pictures) and the
# toolkit's translations are what the program shows at run time; the printing
# tests read their PDF back with poppler-utils.
PACKAGES = cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev fonts-dejavu-core adwaita-icon-theme libqt6svg6 \
           qt6-translations-l10n poppler-utils
DEMO_PACKAGES = xvfb xauth
# libFuzzer comes with clang's runtime libraries, which clang only recommends.
FUZZ_PACKAGES = cmake make clang libclang-rt-dev
FAULT_PACKAGES = python3

BUILD      = build
ASAN_BUILD = build-asan
TSAN_BUILD = build-tsan
FUZZ_BUILD = build-fuzz
FUZZ_SECONDS ?= 60
DEMO_BUILD = build-release
DEMO_DIR   = demo

.PHONY: all deps build test test-normal test-asan test-tsan fuzz faults demo bench screenshot \
        format clean

all: build

deps:
	@scripts/install-deps.sh $(PACKAGES)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD) -j$(JOBS)

test: test-normal test-asan test-tsan

test-normal: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVARNOT_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

# The core tests, the scanner thread among them, under ThreadSanitizer; the
# keyword scanner's exhaustive single-threaded tests are left to the other builds.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVARNOT_SANITIZE_THREAD=ON
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target core_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/bin/core_tests \
	    --gtest_filter=-KeywordScanner.*:PairPlan.*

# libFuzzer targets with ASan and UBSan, built by clang in a build of their own.
fuzz:
	@scripts/install-deps.sh $(FUZZ_PACKAGES)
	cmake -S . -B $(FUZZ_BUILD) -DVARNOT_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g"
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

faults: build
	@scripts/install-deps.sh $(FAULT_PACKAGES)
	tests/faults/fault_suite.py --bin $(BUILD)/bin

$(DEMO_BUILD)/bin/varnot: deps
	cmake -S . -B $(DEMO_BUILD) -DCMAKE_BUILD_TYPE=Release -DVARNOT_BUILD_TESTS=OFF
	cmake --build $(DEMO_BUILD) -j$(JOBS)

demo: $(DEMO_BUILD)/bin/varnot
	@scripts/install-deps.sh $(DEMO_PACKAGES)
	@scripts/demo.sh $(DEMO_BUILD)/bin $(DEMO_DIR)

screenshot: $(DEMO_BUILD)/bin/varnot
	@scripts/install-deps.sh $(DEMO_PACKAGES)
	@scripts/screenshot.sh $(DEMO_BUILD)/bin $(DEMO_DIR)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVARNOT_BUILD_TESTS=OFF -DVARNOT_BUILD_BENCH=ON
	cmake --build build-bench -j$(JOBS)
	@scripts/bench.sh build-bench/bin

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(DEMO_BUILD) build-bench

# Quick start: `make demo` opens the viewer on a generated archive,
# `make test` checks the core's floors (scripts/check-layers.sh), then builds
# and runs every test (normal build, then ASan+UBSan).

JOBS    ?= $(shell nproc)
# The icon theme (with the SVG reader for its symbolic pictures) and the
# toolkit's translations are what the program shows at run time; the printing
# tests read their PDF back with poppler-utils.
PACKAGES = cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev fonts-dejavu-core adwaita-icon-theme libqt6svg6 \
           qt6-translations-l10n poppler-utils
DEMO_PACKAGES = xvfb xauth

BUILD      = build
ASAN_BUILD = build-asan
DEMO_BUILD = build-release
DEMO_DIR   = demo

.PHONY: all deps build check-layers test test-normal test-asan demo bench screenshot format clean

all: build

deps:
	@scripts/install-deps.sh $(PACKAGES)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD) -j$(JOBS)

test: check-layers test-normal test-asan

# A folder of src/core includes only its own floor or lower ones, and never Qt.
check-layers:
	@scripts/check-layers.sh

test-normal: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVARNOT_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEMO_BUILD) build-bench

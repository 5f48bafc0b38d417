# Quick start: `make demo` opens the viewer on a generated archive,
# `make test` checks the core's floors (scripts/check-layers.sh), then builds
# and runs every test (normal build, then ASan+UBSan, then the core tests
# under ThreadSanitizer, then a check of the installed tree). `make fuzz` runs
# the libFuzzer targets for FUZZ_SECONDS each; `make faults` drives the real
# viewer through kills, full disks and floods of announcements. `make install`
# installs the program (PREFIX, DESTDIR), `make package` builds its Debian
# package.

JOBS    ?= $(shell nproc)
# The icon theme (with the SVG reader for its symbolic pictures) and the
# toolkit's translations are what the program shows at run time; the printing
# tests read their PDF back with poppler-utils. rsvg-convert draws the PNG
# icons; the install check validates the desktop entry, the metainfo and the
# manual pages with the tools of desktop-file-utils, appstream, man-db and groff.
# The notification tests run on a private session bus (dbus-run-session of
# dbus-daemon, with a bus configuration of their own).
PACKAGES = cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
           libbenchmark-dev fonts-dejavu-core adwaita-icon-theme libqt6svg6 \
           qt6-translations-l10n poppler-utils librsvg2-bin desktop-file-utils appstream \
           man-db groff-base dbus-daemon
DEMO_PACKAGES = xvfb xauth
# CPack's Debian generator finds the package's dependencies with dpkg-shlibdeps,
# which needs `file`.
PACKAGE_PACKAGES = dpkg-dev file
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
PREFIX    ?= /usr/local

.PHONY: all deps build check-layers test test-normal test-asan test-tsan check-install fuzz \
        faults demo bench screenshot format clean install package package-check

all: build

deps:
	@scripts/install-deps.sh $(PACKAGES)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD) -j$(JOBS)

test: check-layers test-normal test-asan test-tsan check-install

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

# Installs the normal build into a temporary folder and validates what lands there.
check-install: build
	@scripts/check-install.sh $(BUILD)

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

# The release build into PREFIX (default /usr/local), below DESTDIR when given.
install: $(DEMO_BUILD)/bin/varnot
	DESTDIR="$(DESTDIR)" cmake --install $(DEMO_BUILD) --prefix "$(PREFIX)"

# The Debian package, $(DEMO_BUILD)/varnot_<version>_<arch>.deb.
package: $(DEMO_BUILD)/bin/varnot
	@scripts/install-deps.sh $(PACKAGE_PACKAGES)
	cd $(DEMO_BUILD) && cpack -G DEB

# Installs the package on this machine, starts it, and removes it again (root only).
package-check: package
	@scripts/package-check.sh $(DEMO_BUILD)/varnot_*.deb

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVARNOT_BUILD_TESTS=OFF -DVARNOT_BUILD_BENCH=ON
	cmake --build build-bench -j$(JOBS)
	@scripts/bench.sh build-bench/bin

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(DEMO_BUILD) build-bench

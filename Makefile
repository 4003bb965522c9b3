# Set-up, build, test and run on Debian 12. Every target installs the Debian
# packages it needs when they are missing, so a fresh machine needs nothing else.
#
#   make run               build and start the program
#   make test              build and run every test (starts Xvfb when there is no display)
#   make test SANITIZE=1   the same in an AddressSanitizer + UBSan build (clang)
#   make bench             build and run the benchmarks
#   make screenshot        write docs/screenshot.png of the main window
#   make valgrind          the window's tests and end-to-end runs under Valgrind
#   make fuzz              build and run the fuzz targets (FUZZ_SECONDS each, default 60)

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
  BUILD ?= build-sanitize
  CXX_COMPILER ?= clang++
  CMAKE_FLAGS += -DZORKEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DZORKEL_BENCH=OFF
else
  BUILD ?= build
  CXX_COMPILER ?= g++
  CMAKE_FLAGS += -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev \
  libfltk1.3-dev xvfb xauth x11-utils xdotool xclip imagemagick \
  fonts-dejavu-core gnuplot-nox dpkg-dev file lintian desktop-file-utils appstream \
  man-db libxml2-utils valgrind

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build test run bench screenshot clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(CXX_COMPILER) $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

# Sanitizer reports fail the run; the font caches of the toolkit's libraries
# live until exit and are not leaks of ours.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

test: build
	env $(SANITIZER_ENV) tests/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j2

run: build
	$(BUILD)/bin/zorkel

bench: build
	$(BUILD)/bin/zorkel-bench --benchmark_out=$(BUILD)/bench.json \
	  --benchmark_out_format=json --table=docs/bench.md \
	  --plot-script=$(BUILD)/bench.gp --plot=docs/bench.png
	gnuplot $(BUILD)/bench.gp
	{ echo "# The filter and the window at scale"; echo; \
	  echo "Written by \`make bench\` on $$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $$(nproc) cores."; \
	  echo; $(BUILD)/bin/zorkel-cli-bench $(BUILD)/bin/zorkel-cli 256 5; \
	  echo; tests/with-display.sh $(BUILD)/bin/zorkel-window-bench 5; } > docs/bench-programs.md
	cat docs/bench-programs.md

screenshot: build
	tests/with-display.sh tests/e2e/screenshot.sh $(BUILD)/bin/zorkel docs/screenshot.png

clean:
	rm -rf build build-sanitize build-fuzz build-deb

# make install [PREFIX=/usr/local] [DESTDIR=DIR]: installs the build's
# programs, desktop entry, icons, metainfo and manual pages under PREFIX (GNU
# layout), placed under DIR when DESTDIR is given (staged installs).
PREFIX ?= /usr/local
.PHONY: install deb

install: build
	umask 022 && DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# make deb: the Debian package, made by CPack from a Release build in
# build-deb/ (the test builds are left alone), then checked by
# tests/packaging/check_deb.sh, lintian included. The compiler flags are
# Debian's (dpkg-buildflags: -O2, hardening); Release adds only -DNDEBUG.
DEB_BUILD := build-deb
DEB_FLAGS := DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags

deb: deps
	cmake -S . -B $(DEB_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=g++ \
	  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG -DZORKEL_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) --get CPPFLAGS) $$($(DEB_FLAGS) --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) --get LDFLAGS)"
	cmake --build $(DEB_BUILD)
	rm -f $(DEB_BUILD)/zorkel_*.deb
	cd $(DEB_BUILD) && umask 022 && cpack -G DEB
	tests/packaging/check_deb.sh $(DEB_BUILD)/zorkel_*.deb

# make fuzz [FUZZ_SECONDS=60]: the libFuzzer targets of tests/fuzz, built with
# clang (-fsanitize=fuzzer,address,undefined) in build-fuzz/ (the other builds
# are left alone; only the libraries under test are compiled, not FLTK), then
# each run for FUZZ_SECONDS on a scratch copy of its seed corpus. Any crash,
# sanitizer report, leak or hang fails the run; tests/fuzz/run.sh keeps the
# input in build-fuzz/fuzz-findings/.
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60
.PHONY: fuzz

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORKEL_FUZZ=ON -DZORKEL_SANITIZE=ON \
	  -DZORKEL_BENCH=OFF
	cmake --build $(FUZZ_BUILD) --target fuzzers
	tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# make valgrind: the plain build's window tests (the layer, Load and Save, the
# file faults, a shortened soak run) and the end-to-end runs, with the program
# started under Valgrind's memcheck; any error or lost block fails the run
# (tests/valgrind/run.sh; the toolkit's own one-time allocations are listed in
# tests/valgrind/toolkit.supp).
.PHONY: valgrind

valgrind: build
	@if [ "$(SANITIZE)" = 1 ]; then \
	  echo "make valgrind runs the plain build: leave out SANITIZE=1" >&2; exit 2; fi
	tests/with-display.sh tests/valgrind/run.sh $(BUILD)

# The two commands of the README:
#   make run   - build and run the main job against the virtual printer
#   make test  - install what is missing, build everything and run every test
#
#   make dist  - the release bundle dist/optinfo-<version>.zip
#
# build/ holds the shipped 32-bit DLLs, build/x86_64/ the same sources for x86_64. Both are
# tested: the i686 programs through the first route that runs a probe program here, 32-bit
# Wine, else Wine's WoW64 mode in a Debian 13 root that the test command sets up once
# (WINE_ROUTE=wine32 or wow64 picks one); then the x86_64 programs through this machine's
# 64-bit Wine. Where the kernel refuses 32-bit x86 code (route none), the i686 files are
# checked without running them, and the test command says that their suite did not run.
BUILD_DIR ?= build
# The x86_64 build of the same sources, whose DLLs the release bundle also ships.
X64_DIR = $(BUILD_DIR)/x86_64
JOBS ?= 2
WINE_ROUTE ?=
export WINE_ROUTE
# Seconds each fuzz target runs: briefly in the test command, for long in fuzz-long.
FUZZ_SECONDS ?= 20
FUZZ_LONG_SECONDS ?= 3600
TOOLCHAIN = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-toolchain.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps configure build run test dist dist-test fuzz fuzz-long bench format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(TOOLCHAIN) -DOPTINFO_ARCH=i686 -DBUILD_TESTING=ON >/dev/null
	@cmake -S . -B $(X64_DIR) $(TOOLCHAIN) -DOPTINFO_ARCH=x86_64 -DBUILD_TESTING=ON >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) -- --no-print-directory
	@cmake --build $(X64_DIR) -j $(JOBS) -- --no-print-directory

run: build
	@scripts/run-main.sh $(BUILD_DIR)

# Every suite runs even when one before it failed (scripts/test-all.sh); the last lines sum
# the tests of every suite and name the suites, with what did not run and why. The probe's
# stand-in serves the route test alone: with it set, make test would not test this machine.
ifneq ($(filter test,$(MAKECMDGOALS)),)
ifneq ($(OPTINFO_FAKE_PROBE),)
$(error OPTINFO_FAKE_PROBE is set; it serves the route test alone: unset it to run make test)
endif
endif
test: build
	@scripts/test-all.sh $(BUILD_DIR) $(FUZZ_SECONDS)

# The release bundle (packaging/): CPack installs the i686 and the x86_64 build folders'
# parts into one archive; each folder builds only what the bundle takes.
dist: configure
	@for dir in $(BUILD_DIR) $(X64_DIR); do \
	  cmake --build $$dir -j $(JOBS) --target optinfo_bundle -- --no-print-directory || exit 1; \
	done
	@cpack --config $(BUILD_DIR)/CPackConfig.cmake | grep 'package:'

# The bundle as a driver team uses it (packaging/test, a CMake project of its own), run
# against each architecture's virtual printer.
dist-test: dist
	@for dir in $(BUILD_DIR) $(X64_DIR); do \
	  cmake --build $$dir -j $(JOBS) --target zrapi -- --no-print-directory || exit 1; \
	done
	@cmake -S packaging/test -B $(BUILD_DIR)/dist-test -DOPTINFO_BUILD_DIR=$(abspath $(BUILD_DIR)) >/dev/null
	@ctest --test-dir $(BUILD_DIR)/dist-test --output-on-failure --no-tests=error $(CTEST_ARGS)

# The parsers of printer data under libFuzzer, built natively with clang in $(BUILD_DIR)/fuzz.
fuzz: deps
	@scripts/fuzz.sh $(FUZZ_SECONDS) $(BUILD_DIR)

fuzz-long: deps
	@scripts/fuzz.sh $(FUZZ_LONG_SECONDS) $(BUILD_DIR)

# Measurements, not a test (docs/performance.md): the shipped DLLs' sizes, and the call and
# the print job against the bare calls they make, run on the shipped DLLs by the i686 route
# (on route none, on the x86_64 build).
bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target optinfo_en optinfo_ja optinfo_bench route_probe -- --no-print-directory
	@bench/bench.sh $(BUILD_DIR)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	@scripts/clean.sh $(BUILD_DIR)

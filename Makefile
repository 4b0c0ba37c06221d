# The two commands of the README:
#   make run   - build and run the main job against the virtual printer
#   make test  - install what is missing, build everything and run every test
#
# build/ holds the shipped 32-bit DLLs. Tests run where Wine can run them: in build/
# itself where this machine executes 32-bit programs, else on an x86_64 build of the same
# sources in build/x86_64/.
#
#   make dist  - the release bundle dist/optinfo-<version>.zip
BUILD_DIR ?= build
# The x86_64 build of the same sources, whose DLLs the release bundle also ships.
X64_DIR = $(BUILD_DIR)/x86_64
JOBS ?= 2
# Seconds each fuzz target runs: briefly in the test command, for long in fuzz-long.
FUZZ_SECONDS ?= 20
FUZZ_LONG_SECONDS ?= 3600
TOOLCHAIN = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-toolchain.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps configure build run test dist dist-test fuzz fuzz-long bench format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@arch=$$(scripts/wine-arch.sh); \
	if [ "$$arch" = i686 ]; then testing=ON; else testing=OFF; fi; \
	cmake -S . -B $(BUILD_DIR) $(TOOLCHAIN) -DOPTINFO_ARCH=i686 -DBUILD_TESTING=$$testing >/dev/null; \
	if [ "$$arch" != i686 ]; then \
	  cmake -S . -B $(BUILD_DIR)/$$arch $(TOOLCHAIN) -DOPTINFO_ARCH=$$arch -DBUILD_TESTING=ON \
	    -DOPTINFO_SHIPPED_DIR=$(abspath $(BUILD_DIR)) >/dev/null; \
	fi

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) -- --no-print-directory
	@arch=$$(scripts/wine-arch.sh); \
	if [ "$$arch" != i686 ]; then cmake --build $(BUILD_DIR)/$$arch -j $(JOBS) -- --no-print-directory; fi

run: build
	@scripts/run-main.sh $(BUILD_DIR)

test: build dist-test
	@scripts/run-tests.sh $(BUILD_DIR)
	@scripts/fuzz.sh $(FUZZ_SECONDS) $(BUILD_DIR)

# The release bundle (packaging/): CPack installs the i686 and the x86_64 build folders'
# parts into one archive; each folder builds only what the bundle takes.
dist: configure
	@[ -f $(X64_DIR)/CMakeCache.txt ] || \
	  cmake -S . -B $(X64_DIR) $(TOOLCHAIN) -DOPTINFO_ARCH=x86_64 >/dev/null
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
	@ctest --test-dir $(BUILD_DIR)/dist-test --output-on-failure

# The parsers of printer data under libFuzzer, built natively with clang in $(BUILD_DIR)/fuzz.
fuzz: deps
	@scripts/fuzz.sh $(FUZZ_SECONDS) $(BUILD_DIR)

fuzz-long: deps
	@scripts/fuzz.sh $(FUZZ_LONG_SECONDS) $(BUILD_DIR)

# Measurements, not a test (docs/performance.md): the shipped DLLs' sizes, and the call and
# the print job against the bare calls they make, run where Wine runs programs.
bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target optinfo_en optinfo_ja -- --no-print-directory
	@cmake --build $$(scripts/run-dir.sh $(BUILD_DIR)) -j $(JOBS) --target optinfo_bench -- --no-print-directory
	@bench/bench.sh $(BUILD_DIR)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	@rm -rf $(BUILD_DIR)

# The two commands of the README:
#   make run   - build and run the main job against the virtual printer
#   make test  - install what is missing, build everything and run every test
#
# build/ holds the shipped 32-bit DLLs, build/x86_64/ the same sources for x86_64. Both are
# tested: the i686 programs through 32-bit Wine where this machine runs it, else through
# Wine's WoW64 mode in a Debian 13 root that the test command sets up once (WINE_ROUTE=wine32
# or wow64 picks one); then the x86_64 programs through this machine's 64-bit Wine.
BUILD_DIR ?= build
JOBS ?= 2
WINE_ROUTE ?=
export WINE_ROUTE
# Seconds each fuzz target runs: briefly in the test command, for long in fuzz-long.
FUZZ_SECONDS ?= 20
FUZZ_LONG_SECONDS ?= 3600
TOOLCHAIN = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-toolchain.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps configure build run test fuzz fuzz-long bench format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(TOOLCHAIN) -DOPTINFO_ARCH=i686 -DBUILD_TESTING=ON >/dev/null
	@cmake -S . -B $(BUILD_DIR)/x86_64 $(TOOLCHAIN) -DOPTINFO_ARCH=x86_64 -DBUILD_TESTING=ON \
	  -DOPTINFO_SHIPPED_DIR=$(abspath $(BUILD_DIR)) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) -- --no-print-directory
	@cmake --build $(BUILD_DIR)/x86_64 -j $(JOBS) -- --no-print-directory

run: build
	@scripts/run-main.sh $(BUILD_DIR)

# Every suite runs even when one before it failed; the command fails if any did.
test: build
	@route=$$(scripts/wine-route.sh $(BUILD_DIR)) || exit 2; failed=; \
	scripts/run-tests.sh $(BUILD_DIR) || failed="$$failed i686($$route)"; \
	scripts/run-tests.sh $(BUILD_DIR)/x86_64 || failed="$$failed x86_64(wine64)"; \
	scripts/fuzz.sh $(FUZZ_SECONDS) $(BUILD_DIR) || failed="$$failed fuzz"; \
	if [ -n "$$failed" ]; then echo "test: failed:$$failed" >&2; exit 1; fi; \
	echo "test: passed: i686($$route) x86_64(wine64) fuzz"

# The parsers of printer data under libFuzzer, built natively with clang in $(BUILD_DIR)/fuzz.
fuzz: deps
	@scripts/fuzz.sh $(FUZZ_SECONDS) $(BUILD_DIR)

fuzz-long: deps
	@scripts/fuzz.sh $(FUZZ_LONG_SECONDS) $(BUILD_DIR)

# Measurements, not a test (docs/performance.md): the shipped DLLs' sizes, and the call and
# the print job against the bare calls they make, run on the shipped DLLs by the i686 route.
bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target optinfo_en optinfo_ja optinfo_bench -- --no-print-directory
	@bench/bench.sh $(BUILD_DIR)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	@scripts/clean.sh $(BUILD_DIR)

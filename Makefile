# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build first.

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
# How long `make fuzz` runs each fuzz target, in seconds.
FUZZ_SECONDS ?= 60
# Extra arguments of scripts/bench (--quick for a smoke run).
BENCH_FLAGS ?=
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test sanitize-test fuzz bench package check-package format format-check tidy clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	$(BUILD_DIR)/bin/tzr582

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# The Debian package tzr582_<version>_amd64.deb, in $(BUILD_DIR).
package: build
	cmake --build $(BUILD_DIR) --target package

# lintian, the desktop's validators, a run of the extracted package with a home
# of its own, and two packages from the same tree compared.
check-package: package
	packaging/check-package $(BUILD_DIR)/tzr582_*_amd64.deb
	packaging/check-reproducible $(BUILD_DIR)

sanitize-test: deps
	cmake -S . -B $(ASAN_DIR) -DTZR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j$(JOBS)

# The fuzz targets, built by clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in a tree of their own, each run for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++-14 -DTZR_FUZZ=ON -DTZR_FUZZ_SECONDS=$(FUZZ_SECONDS) $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzz-run

# One table of every figure, beside its reference and goal (scripts/bench).
bench: build
	BUILD_DIR=$(BUILD_DIR) JOBS=$(JOBS) scripts/bench $(BENCH_FLAGS)

# Every C++ file git knows, formatted by .clang-format.
SOURCES = git ls-files -z '*.cpp' '*.h'

format:
	$(SOURCES) | xargs -0 clang-format -i

# Fails on any file that clang-format would change (CI runs it).
format-check:
	$(SOURCES) | xargs -0 clang-format --dry-run -Werror

# The checks of .clang-tidy over every file the build compiles (CI runs it).
# The whole output goes to $(BUILD_DIR)/tidy.log; what failed is printed.
tidy: build
	@run-clang-tidy -quiet -p $(BUILD_DIR) -j$(JOBS) '^(?!.*_autogen/).*\.cpp$$' >$(BUILD_DIR)/tidy.log 2>&1 \
	  || { grep -E -A3 '(error|warning): ' $(BUILD_DIR)/tidy.log; echo "tidy: see $(BUILD_DIR)/tidy.log"; exit 1; }
	@echo "tidy: no findings"

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)

# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure and build first.

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test sanitize-test package check-package format clean

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

# lintian, the desktop's validators and a run of the extracted package.
check-package: package
	packaging/check-package $(BUILD_DIR)/tzr582_*_amd64.deb

sanitize-test: deps
	cmake -S . -B $(ASAN_DIR) -DTZR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j$(JOBS)

format:
	find link items support simunit app controls tools tests -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)

# A thin driver over CMake; the configure options live in CMakePresets.json. Every
# target first installs what is missing.
BUILD_DIR := build
SANITIZE_DIR := build-sanitize
ROSTERS ?= $(CURDIR)/data/rosters
# WERROR=ON makes every compiler warning an error (the CI builds so).
WERROR ?= OFF
CONFIGURE_FLAGS = -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)
# Tests run side by side, one per core: each works in a temporary folder of its own.
TEST_JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package test-sanitize fuzz bench format clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	cmake --preset default $(CONFIGURE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

# Opens the window on the season used last (the sample rosters for the built-in one);
# without a display, a sample prediction on the command line instead. Builds the two
# programs alone, not the tests; the window's only where the configuration has it.
run: configure
	cmake --build $(BUILD_DIR) --target zelkor-cli $$(grep -q '^BUILD_UI:BOOL=ON' $(BUILD_DIR)/CMakeCache.txt && echo zelkor)
	@bash scripts/run-sample $(BUILD_DIR) $(ROSTERS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(TEST_JOBS)

# The Debian package, build/zelkor_<version>_amd64.deb.
package: build
	cmake --build $(BUILD_DIR) --target package

test-sanitize: deps
	cmake --preset sanitize $(CONFIGURE_FLAGS)
	cmake --build $(SANITIZE_DIR)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j$(TEST_JOBS)

fuzz: deps
	bash scripts/run-fuzz 60

# Benchmarks are timed in an optimised build of their own.
bench: deps
	cmake --preset release
	cmake --build build-release --target zelkor_bench zelkor_outlook_bench
	build-release/bench/zelkor_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	build-release/bench/zelkor_outlook_bench

format: configure
	cmake --build $(BUILD_DIR) --target format

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-fuzz build-release

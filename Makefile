# Kalvion: set-up, build and test commands.  See README.md.
BUILD_ROOT ?= build
DEBUG_DIR   := $(BUILD_ROOT)/debug
RELEASE_DIR := $(BUILD_ROOT)/release
ASAN_DIR    := $(BUILD_ROOT)/asan
FUZZ_DIR    := $(BUILD_ROOT)/fuzz
FUZZ_SECONDS ?= 30
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN := -G Ninja

.PHONY: all deps build release run test bench test-asan fuzz clean

all: build

deps:
	@./scripts/install-deps.sh

$(DEBUG_DIR)/build.ninja:
	cmake -S . -B $(DEBUG_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug

$(RELEASE_DIR)/build.ninja:
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release

$(ASAN_DIR)/build.ninja:
	cmake -S . -B $(ASAN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	      -DKALVION_SANITIZE=ON -DKALVION_BUILD_BENCH=OFF

build: deps $(DEBUG_DIR)/build.ninja
	cmake --build $(DEBUG_DIR) -j $(JOBS)

release: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	./scripts/run.sh $(DEBUG_DIR)

test: build
	cd $(DEBUG_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: release
	./scripts/bench.sh $(RELEASE_DIR)

test-asan: deps $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) --timeout 1200

# A short smoke run of every libFuzzer target (clang), seeded with the test scripts.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	      -DKALVION_FUZZ=ON -DKALVION_BUILD_TESTS=OFF -DKALVION_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_script
	mkdir -p $(FUZZ_DIR)/corpus_script
	$(FUZZ_DIR)/bin/fuzz_script -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	    $(FUZZ_DIR)/corpus_script tests/scripting/data/*/

clean:
	rm -rf $(BUILD_ROOT)

# Kalvion: set-up, build and test commands.  See README.md.
BUILD_ROOT ?= build
DEBUG_DIR   := $(BUILD_ROOT)/debug
RELEASE_DIR := $(BUILD_ROOT)/release
ASAN_DIR    := $(BUILD_ROOT)/asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN := -G Ninja

.PHONY: all deps build release run test test-release test-slow bench test-asan fuzz clean install package

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

# The packaged program is a Release build: the same suite on it.
test-release: release
	cd $(RELEASE_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

# The long runs (label slow), the long command walks included.
test-slow: build
	cd $(DEBUG_DIR) && KALVION_LONG_WALK=1 ctest --output-on-failure -L slow --timeout 7200

bench: release
	./scripts/bench.sh $(RELEASE_DIR)

test-asan: deps $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    MESA_SHADER_CACHE_DISABLE=true LP_NUM_THREADS=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) --timeout 1200

# Installs the Release build into PREFIX (default /usr/local); DESTDIR is
# honoured for staged installs.
PREFIX ?= /usr/local
install: release
	DESTDIR=$(DESTDIR) cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

# The Debian package of the Release build: $(RELEASE_DIR)/package/kalvion_*.deb
package: release
	cd $(RELEASE_DIR) && cpack -G DEB -B package

fuzz:
	./fuzz/smoke.sh $${FUZZ_SECONDS:-20} $(BUILD_ROOT)/fuzz

clean:
	rm -rf $(BUILD_ROOT)

# The commands of the README: `make run`, `make test`, `make install` and `make deb`.
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/asan
TSAN_DIR := build/tsan
DEB_DIR := build/deb
PREFIX ?= /usr/local

.PHONY: run test tsan fuzz-smoke bench build build-test deps deps-test deps-deb install deb clean

run: build
	./$(RELEASE_DIR)/app/zentrik $(ARGS)

test: build-test
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTRIK_TESTS=OFF -DZENTRIK_BENCH=OFF \
	  -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# Installs under PREFIX (default /usr/local; DESTDIR is honoured). udev picks up the new rule
# after `udevadm control --reload-rules`.
install: build
	cmake --install $(RELEASE_DIR)

# A Debian package in the top folder (zentrik_VERSION_ARCH.deb), checked by lintian.
deb: deps-deb
	cmake -S . -B $(DEB_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIK_TESTS=OFF -DZENTRIK_BENCH=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr -DZENTRIK_DEBIAN_DOCS=ON \
	  -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
	  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now"
	cmake --build $(DEB_DIR) -j $(JOBS)
	rm -f $(DEB_DIR)/zentrik_*.deb
	cd $(DEB_DIR) && cpack -G DEB
	cp $(DEB_DIR)/zentrik_*.deb .
	lintian --fail-on error $(DEB_DIR)/zentrik_*.deb

# The test build runs under AddressSanitizer + UndefinedBehaviorSanitizer, warnings as errors.
build-test: deps-test
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZENTRIK_SANITIZE=ON -DZENTRIK_WERROR=ON -DZENTRIK_BENCH=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)

# The same tests under ThreadSanitizer, the end-to-end window tests included. A race reported by
# a program that a test script started in the background shows only in the log, so that fails too.
tsan: deps-test
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZENTRIK_TSAN=ON -DZENTRIK_WERROR=ON -DZENTRIK_BENCH=OFF
	cmake --build $(TSAN_DIR) -j $(JOBS)
	# GLib's slice allocator hands memory between threads under locks ThreadSanitizer cannot see;
	# with plain malloc it can.
	cd $(TSAN_DIR) && G_SLICE=always-malloc ctest --output-on-failure -j $(JOBS)
	@! grep -q "WARNING: ThreadSanitizer" $(TSAN_DIR)/Testing/Temporary/LastTest.log || \
	  { echo "ThreadSanitizer warnings in $(TSAN_DIR)/Testing/Temporary/LastTest.log"; exit 1; }

# Every fuzz target for FUZZ_SECONDS (default 25) on its corpus; fails on any crash.
fuzz-smoke: deps-test
	JOBS=$(JOBS) ./scripts/fuzz-smoke.sh

# Builds and runs the benchmarks (docs/benchmarks.md); never a test gate.
bench: deps-test
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIK_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	./scripts/run-benchmarks.sh build/bench

deps:
	./scripts/install-deps.sh

deps-test:
	./scripts/install-deps.sh --test

deps-deb:
	./scripts/install-deps.sh --deb

clean:
	rm -rf build

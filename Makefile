# Two entry points: `make test` (sanitized build, every test) and `make run`.
JOBS ?= $(shell nproc)
ASAN_DIR := build/asan
REL_DIR := build/release
BENCH_DIR := build/bench

.PHONY: deps test run bench clean

deps:
	bash scripts/setup-deps

test: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS)

run: deps
	cmake -S . -B $(REL_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF
	cmake --build $(REL_DIR) -j $(JOBS)
	$(REL_DIR)/bin/vantrel

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF -DVANTREL_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@set -e; for b in $(BENCH_DIR)/bin/bench_*; do echo "== $$b"; "$$b"; done

clean:
	rm -rf build

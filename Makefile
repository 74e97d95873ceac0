# Two entry points: `make test` (every test in the sanitized build, then every test again
# in an optimised build) and `make run`.
JOBS ?= $(shell nproc)
ASAN_DIR := build/asan
OPT_DIR := build/opt
REL_DIR := build/release
BENCH_DIR := build/bench
# Both passes build the program's code as the pass says and the test programs' own code
# without optimisation: the tests exercise the program's optimised or sanitized code, and
# optimising their assertions and fixtures would double the build for nothing.
TEST_OPTIMIZE := -DVANTREL_TEST_OPTIMIZE=-O0

.PHONY: deps test run bench clean

deps:
	bash scripts/setup-deps

test: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1" $(TEST_OPTIMIZE)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS)
# The optimised pass: what the optimiser changes (aliasing, alignment, undefined
# behaviour the sanitizers did not reach) shows here. -O2 with assertions, no debug
# information: its objects cannot be shared with the sanitized ones, so it builds lean.
	@echo "== optimised pass"
	cmake -S . -B $(OPT_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -g0" -DCMAKE_C_FLAGS_RELEASE="-O2 -g0" $(TEST_OPTIMIZE)
	cmake --build $(OPT_DIR) -j $(JOBS)
	cd $(OPT_DIR) && ctest --output-on-failure -j $(JOBS)

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

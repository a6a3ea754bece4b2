# Front door of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
TEST_BUILD := build/test
RELEASE_BUILD := build/release
# A fresh clone's default tree, optimised: it must build (its tests run in
# the test build).
CHECK_RELEASE_BUILD := build/check-release

.PHONY: run test bench deps build-test build-release check-release clean

deps:
	@bash scripts/deps.sh

$(TEST_BUILD)/CMakeCache.txt:
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON

$(RELEASE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF -DQUARN_BENCH=ON

$(CHECK_RELEASE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(CHECK_RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release

build-test: deps $(TEST_BUILD)/CMakeCache.txt
	cmake --build $(TEST_BUILD) -j $(JOBS)

build-release: deps $(RELEASE_BUILD)/CMakeCache.txt
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

check-release: deps $(CHECK_RELEASE_BUILD)/CMakeCache.txt
	cmake --build $(CHECK_RELEASE_BUILD) -j $(JOBS)

test: build-test
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

run: build-release
	@bash scripts/run.sh $(RELEASE_BUILD)

bench: build-release
	@if [ -x $(RELEASE_BUILD)/bench/quarn_bench ]; then $(RELEASE_BUILD)/bench/quarn_bench; \
	else echo "bench: no benchmarks yet"; fi

clean:
	rm -rf build

# Front door of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
TEST_BUILD := build/test
RELEASE_BUILD := build/release

.PHONY: run test bench pictures deps build-test build-release clean

deps:
	@bash scripts/deps.sh

$(TEST_BUILD)/CMakeCache.txt:
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON

$(RELEASE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF -DQUARN_BENCH=ON

build-test: deps $(TEST_BUILD)/CMakeCache.txt
	cmake --build $(TEST_BUILD) -j $(JOBS)

build-release: deps $(RELEASE_BUILD)/CMakeCache.txt
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

test: build-test
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

run: build-release
	@bash scripts/run.sh $(RELEASE_BUILD)

# The README's pictures under docs/, drawn with quarn-render and quarn-gen.
pictures: build-release
	@bash scripts/pictures.sh $(RELEASE_BUILD)

bench: build-release
	@if [ -x $(RELEASE_BUILD)/bench/quarn_bench ]; then $(RELEASE_BUILD)/bench/quarn_bench; \
	else echo "bench: no benchmarks yet"; fi

clean:
	rm -rf build

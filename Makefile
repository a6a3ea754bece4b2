# Front door of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
TEST_BUILD := build/test
RELEASE_BUILD := build/release
FUZZ_BUILD := build/fuzz
FUZZ_SECONDS ?= 60
# A fresh clone's default tree, optimised: it must build (its tests run in
# the test build).
CHECK_RELEASE_BUILD := build/check-release

BENCH_BUILD := build/bench
PACKAGE_BUILD := build/package

.PHONY: run test bench pictures deps build-test build-release check-release clean fuzz soak \
  package check-package check-reproducible

# Each target installs only the packages of its purpose (SKIP_DEPS=1: none).
DEPS := bash scripts/deps.sh
deps:
	@$(DEPS) --node-prefix $(TEST_BUILD)/node run test bench fuzz package

$(TEST_BUILD)/CMakeCache.txt:
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON

$(RELEASE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF

$(BENCH_BUILD)/CMakeCache.txt:
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF -DQUARN_BENCH=ON

$(CHECK_RELEASE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(CHECK_RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release

build-test:
	@$(DEPS) --node-prefix $(TEST_BUILD)/node run test
	@$(MAKE) --no-print-directory $(TEST_BUILD)/CMakeCache.txt
	cmake --build $(TEST_BUILD) -j $(JOBS)

build-release:
	@$(DEPS) run
	@$(MAKE) --no-print-directory $(RELEASE_BUILD)/CMakeCache.txt
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

# Its tests are built too (they run in the test build).
check-release:
	@$(DEPS) run test
	@$(MAKE) --no-print-directory $(CHECK_RELEASE_BUILD)/CMakeCache.txt
	cmake --build $(CHECK_RELEASE_BUILD) -j $(JOBS)

test: build-test
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

run: build-release
	@bash scripts/run.sh $(RELEASE_BUILD)

# The README's pictures under docs/, drawn with quarn-render and quarn-gen.
pictures: build-release
	@bash scripts/pictures.sh $(RELEASE_BUILD)

bench:
	@$(DEPS) run bench
	@$(MAKE) --no-print-directory $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	$(BENCH_BUILD)/bench/quarn_bench

# The Debian packages (build/package/{quarn,libquarn0,libquarn-dev}_*.deb),
# checked by lintian.
package:
	@$(DEPS) run package
	@bash scripts/package.sh $(PACKAGE_BUILD)

# The packages installed with apt into a minimal Debian 12 system and run
# there (as root; the base system is cached in ~/.cache/quarn).
check-package: package
	@bash scripts/check-package.sh build/check-package $(PACKAGE_BUILD)/quarn_*.deb \
	  $(PACKAGE_BUILD)/libquarn0_*.deb $(PACKAGE_BUILD)/libquarn-dev_*.deb

# Two package builds in two folders give the same executables and package.
check-reproducible:
	@$(DEPS) run package
	@bash scripts/check-reproducible.sh build/reproducible-a build/reproducible-b

# libFuzzer targets under ASan and UBSan, each run for FUZZ_SECONDS.
$(FUZZ_BUILD)/CMakeCache.txt:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUARN_FUZZ=ON -DQUARN_TESTS=OFF

fuzz:
	@$(DEPS) run fuzz
	@$(MAKE) --no-print-directory $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target quarn_fuzz_targets
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The long soak: the application for 10 000 frames, each bench for 2 000.
SOAK_ENV := SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0:use_tls=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
soak: build-test
	$(SOAK_ENV) $(TEST_BUILD)/tests/quarn_soak --frames 10000 --seed 1
	for bench in box list score polygon; do \
	  $(SOAK_ENV) $(TEST_BUILD)/tests/quarn_soak --frames 2000 --seed 1 --bench $$bench || exit 1; \
	done

clean:
	rm -rf build

# Entry points for people and CI. Every target installs what it needs first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
WERROR     ?= OFF
CMAKE_GEN  := -G Ninja

.PHONY: deps configure build test test-asan bench fuzz format demo clean

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBT_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	# The sanitizer build uses clang, so that both compilers build every change.
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQBT_SANITIZE=ON \
	  -DCMAKE_CXX_COMPILER=clang++ -DQBT_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQBT_BUILD_BENCH=ON -DQBT_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)

format:
	find src tests bench apps -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)

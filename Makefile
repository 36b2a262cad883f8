# Entry points for people and CI. Every target installs what it needs first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
WERROR     ?= OFF
CMAKE_GEN  := -G Ninja

.PHONY: deps configure build test test-asan bench fuzz fuzz-replay fuzz-run format demo clean

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

# The libFuzzer target of the IDF readers, built by clang with AddressSanitizer and UBSan.
FUZZ_SEEDS := ../shared/corpus/idf examples fuzz/regressions
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBT_BUILD_FUZZ=ON \
	  -DQBT_BUILD_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++ -DQBT_SANITIZE=ON -DQBT_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target idf_reader_fuzz

# Runs every seed and regression input once through the fuzz target.
fuzz-replay: fuzz
	find $(wildcard $(FUZZ_SEEDS)) -type f -print0 | xargs -0 $(FUZZ_BUILD)/fuzz/idf_reader_fuzz

# Fuzzes for FUZZ_SECONDS (default 600) in $(FUZZ_BUILD)/corpus, seeded from FUZZ_SEEDS.
FUZZ_SECONDS ?= 600
fuzz-run: fuzz
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/crashes
	$(FUZZ_BUILD)/fuzz/idf_reader_fuzz -max_total_time=$(FUZZ_SECONDS) \
	  -timeout=10 -rss_limit_mb=2048 -dict=fuzz/idf.dict -artifact_prefix=$(FUZZ_BUILD)/crashes/ \
	  $(FUZZ_BUILD)/corpus $(wildcard $(FUZZ_SEEDS))

# Builds idftool, checks the bundled example pair, converts it to version 2.0 in millimetres
# and back, and checks the results.
DEMO := $(BUILD)/demo
demo: build
	mkdir -p $(DEMO)
	$(BUILD)/apps/idftool/idftool check examples/demo.emn
	$(BUILD)/apps/idftool/idftool convert examples/demo.emn $(DEMO)/demo20.emn --version 2.0 --units mm
	$(BUILD)/apps/idftool/idftool check $(DEMO)/demo20.emn
	$(BUILD)/apps/idftool/idftool convert $(DEMO)/demo20.emn $(DEMO)/demo30.emn --version 3.0 --units thou
	$(BUILD)/apps/idftool/idftool check $(DEMO)/demo30.emn --json

format:
	find src tests bench apps fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)

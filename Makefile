# Entry points: `make run` builds and starts Kalvedo in ./data, `make test` builds and runs
# every test. `make test SAN=1` does the same with AddressSanitizer and UBSan. `make fuzz`
# builds the libFuzzer targets with clang and runs each for FUZZ_S seconds (FUZZ_TARGETS
# picks some); `make soak` runs the long many-station soak.
SAN ?= 0
JOBS ?= $(shell nproc)

ifeq ($(SAN),1)
BUILD_DIR ?= build-san
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON
else
BUILD_DIR ?= build
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

.PHONY: all deps configure build run test bench fuzz soak format clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@mkdir -p data
	cd data && ../$(BUILD_DIR)/bin/kalvedo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_BENCH=ON -DKV_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bin/bench_*; do echo "== $$b"; $$b; done

FUZZ_S ?= 60
FUZZ_TARGETS ?= dbf dbt ntx macro format profile
fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DKV_SANITIZE=ON -DKV_FUZZ=ON -DKV_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_seeds $(FUZZ_TARGETS:%=fuzz_%)
	@bash scripts/run-fuzz build-fuzz $(FUZZ_S) $(FUZZ_TARGETS)

soak: build
	KV_SOAK_STATIONS=8 KV_SOAK_SAVES=1000 $(BUILD_DIR)/bin/tools_tests --gtest_filter='StationsSoak*'

format:
	@find platform runtime engine ui app tools tests bench -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf build build-san build-bench build-fuzz

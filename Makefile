# Entry points: `make run` builds and starts Kalvedo in ./data, `make test` builds and runs
# every test. `make test SAN=1` does the same with AddressSanitizer and UBSan.
SAN ?= 0
JOBS ?= $(shell nproc)

ifeq ($(SAN),1)
BUILD_DIR ?= build-san
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON
else
BUILD_DIR ?= build
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

.PHONY: all deps configure build run test bench format clean

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

format:
	@find platform runtime engine ui app tools tests bench -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf build build-san build-bench

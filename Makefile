# One command per task. PRESET picks the build tree (dev, asan, release).
PRESET ?= dev
JOBS ?= $(shell nproc)

.PHONY: all build test asan bench fuzz format clean

all: build

build:
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET) -j$(JOBS)

test: build
	ctest --preset $(PRESET) -j$(JOBS)

asan:
	$(MAKE) test PRESET=asan

bench:
	$(MAKE) build PRESET=release
	build/release/bench/parse_bench
	build/release/bench/read_bench
	build/release/bench/generate_bench
	bench/convert

# libFuzzer targets (clang) built in build/fuzz, each run on its seeds for
# FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=600 for a longer hunt).
FUZZ_SECONDS ?= 25
fuzz:
	fuzz/smoke.sh build/fuzz $(FUZZ_SECONDS)

format:
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i

clean:
	rm -rf build

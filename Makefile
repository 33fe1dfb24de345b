# One command per task. PRESET picks the build tree (dev, asan, release).
PRESET ?= dev
JOBS ?= $(shell nproc)

.PHONY: all build test asan bench fuzz format tidy clean

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

# libFuzzer targets (clang) built in build/fuzz, each run briefly on its seeds.
fuzz:
	fuzz/smoke.sh build/fuzz

format:
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i

# clang-tidy (.clang-tidy) over src/, with the compile database of the build.
tidy: build
	tools/clang-tidy.sh build/$(PRESET)

clean:
	rm -rf build

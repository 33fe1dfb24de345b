# One command per task. PRESET picks the build tree (dev, asan, release).
PRESET ?= dev
JOBS ?= $(shell nproc)

.PHONY: all build test asan bench format clean

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

format:
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i

clean:
	rm -rf build

# One command per task. PRESET picks the build tree (dev, asan, release, app).
PRESET ?= dev
JOBS ?= $(shell nproc)

.PHONY: all build test asan bench fuzz package format tidy clean

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
	build/release/bench/speech_latency_bench
	build/release/bench/recognizer_bench
	bench/convert
	bench/check

# libFuzzer targets (clang) built in build/fuzz, each run on its seeds for
# FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=600 for a longer hunt).
FUZZ_SECONDS ?= 25
fuzz:
	fuzz/smoke.sh build/fuzz $(FUZZ_SECONDS)

# The Debian packages orvo and vieworvo, from an optimised build without the
# tests (so only what ./setup.sh installs is needed), in build/app/packages/.
package:
	$(MAKE) build PRESET=app
	cd build/app && cpack -G DEB

format:
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i

# clang-tidy (.clang-tidy) over the core and the CLI (tools/clang-tidy.sh says
# why not all of src/), with the compile database of the build.
tidy: build
	tools/clang-tidy.sh build/$(PRESET)

clean:
	rm -rf build

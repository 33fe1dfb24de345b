#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time
# on its seed corpus:
#   fuzz/smoke.sh [BUILD_DIR [SECONDS_PER_TARGET]]      (build/fuzz, 25)
# Exits non-zero when a target crashes, leaks, takes more than 2 s on one
# input, goes beyond 2 GB, or a sanitizer reports anything; the input that did
# it is kept in BUILD_DIR/fuzz/artifacts/. New inputs the runs find are kept in
# BUILD_DIR/fuzz/corpus/<target>/ for the next run. ORVO_FUZZ_CXX names
# another clang++ than clang++-14.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/fuzz}
seconds=${2:-25}
compiler=${ORVO_FUZZ_CXX:-clang++-14}

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVO_FUZZ=ON -DORVO_BUILD_TESTS=OFF -DORVO_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

# target name, dictionary
targets=(
  "fuzz_markupreader markup.dict"
  "fuzz_tagparser markup.dict"
  "fuzz_tagtypetable tagtypes.dict"
  "fuzz_emotionmap emotionmap.dict"
  "fuzz_convert markup.dict"
  "fuzz_settings settings.dict"
  "fuzz_pagewriter page.dict"
  "fuzz_cli cli.dict"
  "fuzz_speech speech.dict"
)

out=$build/fuzz
mkdir -p "$out/artifacts"
failed=()
for entry in "${targets[@]}"; do
  read -r target dict <<<"$entry"
  mkdir -p "$out/corpus/$target"
  echo "== $target: ${seconds} s"
  if ! UBSAN_OPTIONS=print_stacktrace=1 "$out/$target" \
    -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 -malloc_limit_mb=2048 \
    -dict="fuzz/$dict" -artifact_prefix="$out/artifacts/$target-" -print_final_stats=1 \
    "$out/corpus/$target" "$out/seeds/$target" >"$out/$target.log" 2>&1; then
    tail -n 60 "$out/$target.log"
    failed+=("$target")
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$out/$target.log" || true
  fi
done

if ((${#failed[@]} > 0)); then
  echo "fuzz smoke run failed: ${failed[*]} (inputs in $out/artifacts/)" >&2
  exit 1
fi
echo "fuzz smoke run passed"

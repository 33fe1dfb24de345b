#!/usr/bin/env bash
# Runs clang-tidy 14 with the checks of .clang-tidy over C++ sources, using the
# compile database of a configured build tree (default build/dev, made by
# `make build`). Exits non-zero on any finding.
#
#   tools/clang-tidy.sh [BUILD_DIR [FOLDER_OR_FILE...]]
#
# Without PATHs it checks the core and the CLI (src/platform, src/markup,
# src/config, src/convert, src/i18n, src/cli). The Qt shell (src/app) and the voice
# (src/speech) pull in the Qt and WebEngine headers, which make the whole of
# src/ take well over five minutes on a two-core machine; check them with
# `tools/clang-tidy.sh build/dev src` (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/dev}"
if [[ ! -f "$build/compile_commands.json" ]]; then
  echo "clang-tidy.sh: $build/compile_commands.json is missing; run 'make build' first" >&2
  exit 2
fi
tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"

paths=("${@:2}")
if [[ ${#paths[@]} -eq 0 ]]; then
  paths=(src/platform src/markup src/config src/convert src/i18n src/cli)
fi
pathspecs=()
for path in "${paths[@]}"; do
  case "$path" in
    *.cpp) pathspecs+=("$path") ;;
    *) pathspecs+=("${path%/}/*.cpp") ;;
  esac
done
# The build passes GCC-only warning options; clang-tidy's own compiler skips
# them instead of failing on them.
git ls-files -z -- "${pathspecs[@]}" |
  xargs -0 -r -n 4 -P "$(nproc)" "$tidy" -p "$build" --quiet \
    --extra-arg=-Wno-unknown-warning-option
echo "clang-tidy: no findings"

#!/usr/bin/env bash
# Takes the picture of the bundled tour's listen page playing in headless
# Chromium (the character, its balloon and its commands) into
# docs/player-listen-page.png, or the file given:
#
#   tools/screenshot-player.sh [OUTPUT.png]
#
# The picture is the one the browser test takes (tests/browser): this runs
# that test, and keeps the picture only when every part of the test passed. BUILD_DIR
# (default build/dev) must hold a build (the orvo program and the bundled
# agent runtime). Needs node and chromium (Debian packages nodejs, chromium).
set -euo pipefail
cd "$(dirname "$0")/.."

output="${1:-docs/player-listen-page.png}"
build="${BUILD_DIR:-build/dev}"
orvo="$build/src/cli/orvo"
bundle="$build/src/player/orvo-player.js"
[ -x "$orvo" ] && [ -f "$bundle" ] || { echo "missing $orvo or $bundle: build first" >&2; exit 1; }
command -v node >/dev/null || { echo "node is missing (apt-get install nodejs)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ORVO_PROGRAM="$orvo" ORVO_PLAYER_BUNDLE="$bundle" ORVO_SCREENSHOT="$work/picture.png" \
  ORVO_CHROMIUM="${ORVO_CHROMIUM:-$(command -v chromium || echo /usr/bin/chromium)}" \
  node --test tests/browser/tour.browser.test.js
mkdir -p "$(dirname "$output")"
mv "$work/picture.png" "$output"
echo "wrote $output"

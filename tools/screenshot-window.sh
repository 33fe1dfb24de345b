#!/usr/bin/env bash
# Takes a screenshot of the ViewOrvo window playing the bundled example, on a
# virtual X display, into docs/vieworvo-window.png (or the file given).
#
#   tools/screenshot-window.sh [OUTPUT.png]
#
# BUILD_DIR (default build/dev) must hold a build with the app turned on;
# DELAY (default 8) is the number of seconds the presentation plays before
# the picture is taken. Needs xvfb-run (xvfb) and import (imagemagick).
# Nothing outside a temporary folder is written but the picture: the example
# is converted in a copy, with a settings file and profile of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

output="${1:-docs/vieworvo-window.png}"
build="${BUILD_DIR:-build/dev}"
delay="${DELAY:-8}"
vieworvo="$build/src/app/vieworvo"
[ -x "$vieworvo" ] || { echo "missing $vieworvo: build with ORVO_BUILD_APP=ON first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }
command -v import >/dev/null || { echo "import is missing (apt-get install imagemagick)" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing (apt-get install xdotool)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset VIEWORVO_INI
cp -r examples/tour "$work/tour"

# Release mode, so that Run opens the first page rather than the debug frame.
mkdir -p "$XDG_CONFIG_HOME/ORVO"
printf '[Executive]\nRelease=1\n' >"$XDG_CONFIG_HOME/ORVO/ViewOrvo.conf"

case "$output" in /*) ;; *) output="$PWD/$output" ;; esac
mkdir -p "$(dirname "$output")"
export QTWEBENGINE_DISABLE_SANDBOX=1 ORVO_OUTPUT="$output" ORVO_DELAY="$delay"
# As a user would: the presentation on the command line, then Yes to
# "convert" and Yes to "run" (Enter presses a box's default button, Yes).
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" "$1" &
  app=$!
  for caption in convert run; do
    box="$(xdotool search --sync --name "^$caption\$" | head -n 1)"
    xdotool windowfocus --sync "$box" key Return
  done
  sleep "$ORVO_DELAY"
  # The window sits at 0,0 with 775 by 575 pixels; no window manager runs.
  import -window root -crop 775x575+0+0 +repage "$ORVO_OUTPUT"
  kill "$app"
  wait "$app" 2>/dev/null || true
' "$vieworvo" "$work/tour/tour.orv"
echo "wrote $output"

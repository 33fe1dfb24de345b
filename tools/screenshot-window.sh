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
orvo="$build/src/cli/orvo"
for tool in "$vieworvo" "$orvo"; do
  [ -x "$tool" ] || { echo "missing $tool: build with ORVO_BUILD_APP=ON first" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }
command -v import >/dev/null || { echo "import is missing (apt-get install imagemagick)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset VIEWORVO_INI
cp -r examples/tour "$work/tour"

# Release mode, so that the window opens the first page rather than the
# debug frame.
mkdir -p "$XDG_CONFIG_HOME/ORVO"
printf '[Executive]\nRelease=1\n' >"$XDG_CONFIG_HOME/ORVO/ViewOrvo.conf"

# The conversion the window's Yes would start; then the window is handed the
# first page as a file on its command line.
"$orvo" convert --quiet "$work/tour/tour.orv"
# The settings file has CR LF line ends.
working_dir="$(tr -d '\r' <"$XDG_CONFIG_HOME/ViewOrvo.ini" | sed -n 's/^workingDir=//p')"
first_page="$work/tour/${working_dir}1.html"

case "$output" in /*) ;; *) output="$PWD/$output" ;; esac
export QTWEBENGINE_DISABLE_SANDBOX=1 ORVO_OUTPUT="$output" ORVO_DELAY="$delay"
mkdir -p "$(dirname "$output")"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" "$1" &
  app=$!
  sleep "$ORVO_DELAY"
  # The window sits at 0,0 with 775 by 575 pixels; no window manager runs.
  import -window root -crop 775x575+0+0 +repage "$ORVO_OUTPUT"
  kill "$app"
  wait "$app" 2>/dev/null || true
' "$vieworvo" "$first_page"
echo "wrote $output"

#!/usr/bin/env bash
# Installs what ViewOrvo needs on Debian, builds it, and runs it on the bundled
# example: in the window when there is a display, else on the command line.
# Run from the repository's top folder:
#   ./setup.sh         what building and running need (packages/debian-ci.txt
#                      and debian-app.txt), then an optimised build in build/app
#   ./setup.sh --dev   also the test tool chain (packages/debian-dev.txt:
#                      Chromium, Node, clang, Google Test and Benchmark, the
#                      package checks), then the debug build with its tests
#                      in build/dev (run them with `make test`)
set -euo pipefail
cd "$(dirname "$0")"

dev=false
case "${1:-}" in
  "") ;;
  --dev) dev=true ;;
  -h | --help)
    sed -n '2,10s/^# \{0,1\}//p' "$0"
    exit 0
    ;;
  *)
    echo "setup.sh: unknown option $1 (try --help)" >&2
    exit 2
    ;;
esac

lists=(packages/debian-ci.txt packages/debian-app.txt)
if $dev; then lists+=(packages/debian-dev.txt); fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
cat "${lists[@]}" | sort -u |
  xargs $SUDO env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends >/dev/null

if $dev; then
  make build
  bin=build/dev/src
else
  make build PRESET=app
  bin=build/app/src
fi
echo
echo "Built. Converting the bundled tour: orvo convert examples/tour/tour.orv"
"$bin/cli/orvo" convert examples/tour/tour.orv
echo "Its pages are in examples/tour/vieworvo-pages/ (1.html is the first)."

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/app/vieworvo" ]; then
  echo "Opening the tour in ViewOrvo: answer Yes to convert and Yes to run."
  # Qt WebEngine's sandbox refuses to run as root.
  if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
  "$bin/app/vieworvo" examples/tour/tour.orv
else
  echo "No display: start the window later with"
  echo "  $bin/app/vieworvo examples/tour/tour.orv"
fi

#!/usr/bin/env bash
# Installs what ViewOrvo needs on Debian, builds it, and runs it on the bundled
# example: in the window when there is a display, else on the command line.
# Run from the repository's top folder: ./setup.sh
set -euo pipefail
cd "$(dirname "$0")"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
cat packages/debian-ci.txt packages/debian-app.txt | sort -u |
  xargs $SUDO env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends >/dev/null

make build
echo
echo "Built. Converting the bundled tour: orvo convert examples/tour/tour.orv"
build/dev/src/cli/orvo convert examples/tour/tour.orv
echo "Its pages are in examples/tour/vieworvo-pages/ (1.html is the first)."

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/dev/src/app/vieworvo ]; then
  echo "Opening the tour in ViewOrvo: answer Yes to convert and Yes to run."
  # Qt WebEngine's sandbox refuses to run as root.
  if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
  build/dev/src/app/vieworvo examples/tour/tour.orv
else
  echo "No display: start the window later with"
  echo "  build/dev/src/app/vieworvo examples/tour/tour.orv"
fi

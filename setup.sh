#!/usr/bin/env bash
# Installs what ViewOrvo needs on Debian, builds it, and converts the bundled
# example with it. Run from the repository's top folder: ./setup.sh
set -euo pipefail
cd "$(dirname "$0")"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
xargs -a packages/debian-ci.txt $SUDO env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends >/dev/null

make build
echo
echo "Built. Converting the bundled tour: orvo convert examples/tour/tour.orv"
build/dev/src/cli/orvo convert examples/tour/tour.orv
echo "Open examples/tour/vieworvo-pages/1.html to see its first page."

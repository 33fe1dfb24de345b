#!/usr/bin/env bash
# Installs what ViewOrvo needs on Debian, builds it, and checks the bundled
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
echo "Built. Checking the bundled tour: orvo check examples/tour/tour.orv"
build/dev/src/cli/orvo check examples/tour/tour.orv
echo "The tour reads and parses without a message."

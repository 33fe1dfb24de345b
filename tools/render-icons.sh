#!/usr/bin/env bash
# Renders the application icon, data/desktop/vieworvo.svg, into the bitmap
# sizes of the hicolor theme (data/desktop/icons/vieworvo-SIZE.png), which are
# committed so that building needs no SVG renderer. Run it again after
# changing the SVG. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" data/desktop/vieworvo.svg \
    -o "data/desktop/icons/vieworvo-$size.png"
done

#!/usr/bin/env bash
# Renders the program's icon (resources/icons-src/zarn.svg, the same picture
# the window shows) into the hicolor PNG sizes that are installed beside the
# scalable SVG. Run after changing the SVG; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
svg=../../resources/icons-src/zarn.svg
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "$size.png" "$svg"
done

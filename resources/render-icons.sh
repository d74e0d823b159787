#!/usr/bin/env bash
# Renders the hand-written SVG icons in icons-src/ into the PNG files the
# program embeds (icons/). Run after changing an SVG; needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
for svg in icons-src/*.svg; do
  name=$(basename "$svg" .svg)
  convert -background none -density 192 "$svg" -resize "$( [ "$name" = zarn ] && echo 64x64 || echo 32x32 )" \
          -depth 8 "PNG32:icons/$name.png"
done

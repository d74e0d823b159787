#!/usr/bin/env bash
# Renders the hand-written SVG icons in icons-src/ into the PNG files the
# program embeds (icons/), and each at twice the size as name@2x.png, which
# Qt picks on screens of twice the density. Run after changing an SVG; needs
# ImageMagick and rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for svg in icons-src/*.svg; do
  name=$(basename "$svg" .svg)
  convert -background none -density 192 "$svg" -resize "$( [ "$name" = zarn ] && echo 64x64 || echo 32x32 )" \
          -depth 8 "PNG32:icons/$name.png"
  size=$( [ "$name" = zarn ] && echo 128 || echo 64 )
  rsvg-convert -w "$size" -h "$size" -f png -o "icons/$name@2x.png" "$svg"
done

#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (needs rsvg-convert from
# librsvg2-bin); the PNGs are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
id=io.github.grafiki.Plotter
for size in 16 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$id.svg" -o "${size}x${size}/$id.png"
done

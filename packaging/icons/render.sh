#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (needs rsvg-convert, from
# librsvg2-bin). The PNGs are kept in the repository, so a build needs neither.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" kestrel-manager.svg -o "kestrel-manager-$size.png"
done

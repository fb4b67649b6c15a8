#!/usr/bin/env bash
# Renders the desktop icons (the program's and its mission files') into the
# hicolor sizes with rsvg-convert (Debian's librsvg2-bin). The PNGs are
# committed; run this only to change the pictures.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps" "hicolor/${size}x${size}/mimetypes"
  rsvg-convert -w "$size" -h "$size" torvek32.svg -o "hicolor/${size}x${size}/apps/torvek32.png"
  rsvg-convert -w "$size" -h "$size" mission.svg -o "hicolor/${size}x${size}/mimetypes/mission.png"
done

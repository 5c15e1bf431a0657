#!/usr/bin/env bash
# Renders the icon's PNG sizes from org.orvane.Orvane.svg (run by hand after
# the drawing changes; the PNGs are committed). Needs rsvg-convert
# (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" org.orvane.Orvane.svg -o "hicolor/${size}x${size}/apps/org.orvane.Orvane.png"
done

#!/usr/bin/env bash
# Renders the touching-letters test pictures (ImageMagick, no antialiasing):
# letters standing apart to learn from, and pairs of them drawn with tight
# kerning so that each pair touches and reaches the OCR as one glyph.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
draw() {
    convert -size 420x50 xc:black +antialias -font "$font" -pointsize 30 -kerning "$1" \
        -fill white -annotate +5+36 "$2" -strip "$3"
}
draw 0 "f t i r n w y" apart.png
draw -3 "ft   ff   tt   rn   yw   wy" touching.png

#!/usr/bin/env bash
# Renders the split-marks test pictures (ImageMagick, hard mask as the discs
# draw their fill): lines with double quotes, guillemets, low quotes and
# letters with a diaeresis, whose marks the segmenter may cut into strokes,
# beside single marks that must stay single, in the four fonts of the
# shipped matrices. Not part of any disc, never read by the accuracy tests.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
if [[ -x /usr/bin/convert ]]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi
DEJAVU=/usr/share/fonts/truetype/dejavu
LIBERATION=/usr/share/fonts/truetype/liberation
draw() {  # out font size text
    "$CONVERT" -size 720x60 xc:black +antialias -font "$2" -pointsize "$3" -fill white \
        -annotate +8+42 "$4" -threshold 50% -strip "$1"
}
doubled='"Oui," dit Zoë, naïf « non » „ja“'
single="rock 'n' roll, l'été ' ' ... Noël"
n=0
for font in "$DEJAVU/DejaVuSans-Bold.ttf 30" "$DEJAVU/DejaVuSans-BoldOblique.ttf 30" \
            "$LIBERATION/LiberationSans-Bold.ttf 32" "$DEJAVU/DejaVuSerif-Bold.ttf 28" \
            "$DEJAVU/DejaVuSerif-BoldItalic.ttf 28" "$LIBERATION/LiberationSerif-Bold.ttf 32"; do
    set -- $font
    n=$((n + 1))
    draw "doubled_$n.png" "$1" "$2" "$doubled"
    draw "single_$n.png" "$1" "$2" "$single"
done

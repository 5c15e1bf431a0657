#!/usr/bin/env bash
# Regenerates the OCR training disc under tests/data/train: a PAL VIDEO_TS with
# four subtitle streams, one per font of the sample discs, each showing every
# character of the learned set alone in a grid cell (tools/train_grid.py draws
# them and writes the truth with one `cell` line per character).  Video, spumux
# and dvdauthor steps are the ones make_discs.sh uses for the PAL sample disc.
# Needs: ffmpeg dvdauthor imagemagick fonts-dejavu-core fonts-liberation python3.
set -euo pipefail

DATA=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d)
trap '[[ -n "${KEEP_WORK:-}" ]] || rm -rf "$WORK"' EXIT

for tool in ffmpeg spumux dvdauthor python3; do
    command -v "$tool" >/dev/null || { echo "make_training_disc.sh: $tool not found" >&2; exit 1; }
done

DEJAVU=/usr/share/fonts/truetype/dejavu
LIBERATION=/usr/share/fonts/truetype/liberation
OUT=$DATA/train

rm -rf "$OUT"
mkdir -p "$OUT/pics"

# Stream N: same font, size and colours as the sample stream it trains for
# (pal s1, pal s2, ntsc s1, ntsc s2); italic font only where that stream has
# italics.  Starts are staggered by 20 ms so no two SPUs share a PTS.
#          N lang font                                 italic font                              size fill   outline halo
streams=(
    "1 en $DEJAVU/DejaVuSans-Bold.ttf           $DEJAVU/DejaVuSans-BoldOblique.ttf  30 FFFFFF 000000 808080"
    "2 fr $LIBERATION/LiberationSans-Bold.ttf   -                                   32 FFFF00 000000 808080"
    "3 de $DEJAVU/DejaVuSerif-Bold.ttf          $DEJAVU/DejaVuSerif-BoldItalic.ttf  28 FFFFFF 202060 9090A0"
    "4 es $LIBERATION/LiberationSerif-Bold.ttf  -                                   32 FFFFFF 000000 707070"
)
langs=()
for s in "${streams[@]}"; do
    read -r n lang font ifont size fill outline halo <<< "$s"
    python3 "$DATA/tools/train_grid.py" "$n" "$font" "$ifont" "$size" "$fill" "$outline" "$halo" \
        $((400 + 20 * n)) "$DATA" "$WORK"
    langs+=("$lang")
done

# Video just long enough for the longest stream: whole seconds, at least 0.3 s
# past the last stop (the subtitle PTS lag the video's by its 0.54 s start, so
# the picture runs on for over 0.8 s after the last subtitle goes away).
last=$(awk -F'\t' '$1 == "sub" && $4 > m { m = $4 } END { print m }' "$OUT"/truth_s*.tsv)
secs=$(((last + 300 + 999) / 1000))

export VIDEO_FORMAT=PAL
# Flat colour, no audio: the smallest stream dvdauthor takes.  Bit-exact so
# reruns give the same bytes.
ffmpeg -hide_banner -loglevel error -f lavfi -i "color=c=0x1c2a3a:s=720x576:r=25" -t "$secs" \
    -target pal-dvd -aspect 4:3 -an -fflags +bitexact -flags:v +bitexact -y "$WORK/train.mpg"

in="$WORK/train.mpg"
subs=""
for i in "${!langs[@]}"; do
    # spumux resolves image paths against the cwd; the XML names them relative to tests/data
    (cd "$DATA" && spumux -s "$i" "train/spumux_s$((i + 1)).xml") < "$in" > "$WORK/train.s$i.mpg" 2> "$WORK/spumux.log" ||
        { cat "$WORK/spumux.log" >&2; exit 1; }
    if grep -E '^(WARN|ERR)' "$WORK/spumux.log" >&2 || ! grep -q ' 0 subtitles skipped' "$WORK/spumux.log"; then
        echo "spumux complained on stream $((i + 1))" >&2; exit 1
    fi
    in="$WORK/train.s$i.mpg"
    subs+="   <subpicture lang=\"${langs[i]}\"/>"$'\n'
done

cat > "$WORK/train.xml" <<EOF
<dvdauthor dest="$WORK/train.dvd">
 <vmgm/>
 <titleset>
  <titles>
   <video format="pal" aspect="4:3"/>
$subs   <pgc>
    <vob file="$in"/>
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
EOF
dvdauthor -x "$WORK/train.xml" > "$WORK/dvdauthor.log" 2>&1 || { cat "$WORK/dvdauthor.log" >&2; exit 1; }
if grep -E '^(WARN|ERR)' "$WORK/dvdauthor.log" >&2; then
    echo "dvdauthor complained on the training disc" >&2; exit 1
fi
mv "$WORK/train.dvd/VIDEO_TS" "$OUT/VIDEO_TS"

# Read the disc back and compare with the truth files, pixel for pixel.
for i in "${!langs[@]}"; do
    python3 "$DATA/tools/spu_probe.py" check "$OUT/VIDEO_TS/VTS_01_1.VOB" "$OUT/truth_s$((i + 1)).tsv" $((i + 1)) "$DATA"
done

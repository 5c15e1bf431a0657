#!/usr/bin/env bash
# Makes a film-like DVD title for the scan benchmark: 90 minutes of moving
# PAL video at about 1.6 Mbit/s with AC-3 audio (over 1 GiB in all), and one
# subtitle stream of 1,000 two-line subtitles in DejaVu Sans Bold 30 px, the
# font of data/ChMatrix/dejavu-sans-bold-30.sum. Built with the tools of the
# sample discs (ffmpeg, ImageMagick, spumux, dvdauthor; see
# tests/data/make_discs.sh) and cached: a rerun finds the finished title and
# only prints its folder.
#
#   bench/make_film.sh [DIR]      # default: ${TMPDIR:-/tmp}/orvane-film
#
# Prints the VIDEO_TS folder on stdout; progress goes to stderr.
set -euo pipefail

DIR=${1:-${TMPDIR:-/tmp}/orvane-film}
OUT=$DIR/dvd/VIDEO_TS
if [[ -f $DIR/done ]]; then
    echo "$OUT"
    exit 0
fi
mkdir -p "$DIR"
WORK=$DIR/work
rm -rf "$DIR/dvd"
mkdir -p "$WORK/pics"
export VIDEO_FORMAT=PAL

if [[ -x /usr/bin/convert ]]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi
for tool in ffmpeg spumux dvdauthor "$CONVERT"; do
    command -v "$tool" >/dev/null || { echo "make_film.sh: $tool not found" >&2; exit 1; }
done
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
MINUTES=90
SUBS=1000
CLIP_S=60

log() { echo "make_film.sh: $*" >&2; }

# An interrupted run goes on from the last intermediate file it left.
if [[ ! -f $WORK/film_s0.mpg ]]; then

# 1. One minute of moving picture and sound, encoded once, then repeated into
#    the whole film without re-encoding (the content repeats, the bit rate
#    and the stream layout are those of a real film).
log "encoding a ${CLIP_S} s clip"
ffmpeg -hide_banner -loglevel error \
    -f lavfi -i "testsrc2=s=720x576:r=25" -f lavfi -i "sine=frequency=440:sample_rate=48000" \
    -t "$CLIP_S" -target pal-dvd -aspect 16:9 -b:v 1600k -b:a 192k -y "$WORK/clip.mpg"
log "repeating it to $MINUTES minutes"
ffmpeg -hide_banner -loglevel error -stream_loop $((MINUTES * 60 / CLIP_S - 1)) -i "$WORK/clip.mpg" \
    -c copy -f dvd -y "$WORK/film.mpg"
rm -f "$WORK/clip.mpg"

# 2. Fifty two-line subtitles drawn like the sample discs' (white fill, 2 px
#    black outline, 1 px grey ring), each used twenty times.
LINES=(
    "Good evening, everyone.|The last train leaves at nine."
    "Who left the door open?|It wasn't me, I was outside."
    "We have to leave now.|They will be here soon."
    "Where did you put the keys?|On the table, by the window."
    "I never said that.|You must have heard it wrong."
    "Come on, hurry up!|We're going to be late."
    "This is the third time|he has called today."
    "Do you remember the house|where we grew up?"
    "Nobody knows the way|through the old forest."
    "Take the car and go.|I'll find my own way back."
    "She said she would wait|until the end of the month."
    "How many of them are there?|At least twenty, maybe more."
    "Listen to me carefully.|This is very important."
    "The doctor will see you|in a few minutes."
    "I thought you were gone|for good this time."
    "Turn left at the bridge,|then follow the river."
    "Why didn't you tell me|about the letter?"
    "It was a long winter,|and the spring came late."
    "We should be there|before the sun goes down."
    "Don't worry about me.|I can take care of myself."
    "What time does the shop|open in the morning?"
    "He was born in a small town|near the sea."
    "Put it back where you found it,|and say nothing."
    "The money is gone.|Someone took it last night."
    "Are you sure about this?|There is no way back."
)
n_pics=0
for pair in "${LINES[@]}" "${LINES[@]}"; do
    n_pics=$((n_pics + 1))
    l1=${pair%%|*} l2=${pair#*|}
    png=$WORK/pics/$(printf 's%02d.png' "$n_pics")
    # the second copy of each text sits at the top of the frame
    if ((n_pics <= ${#LINES[@]})); then gravity=south geom=+0+48; else gravity=north geom=+0+40; fi
    "$CONVERT" -size 720x576 xc:black +antialias -font "$FONT" -pointsize 30 -fill white \
        -interline-spacing 6 -gravity "$gravity" -annotate "$geom" "$l1"$'\n'"$l2" \
        -threshold 50% "$WORK/fill.png"
    "$CONVERT" "$WORK/fill.png" -morphology Dilate Disk:2 "$WORK/outline.png"
    "$CONVERT" "$WORK/outline.png" -morphology Dilate Square:1 "$WORK/halo.png"
    "$CONVERT" "$WORK/halo.png" -background "#808080" -alpha shape \
        \( "$WORK/outline.png" -background "#000000" -alpha shape \) -composite \
        \( "$WORK/fill.png" -background "#FFFFFF" -alpha shape \) -composite \
        +dither -define png:exclude-chunks=date,time "PNG8:$png"
done
log "$n_pics pictures drawn"

# 3. 1,000 subtitles spread over the film: one every 5.4 s, 2.5 to 4 s long.
ms_to_tc() {
    printf '%02d:%02d:%02d.%03d' $(($1 / 3600000)) $(($1 / 60000 % 60)) $(($1 / 1000 % 60)) $(($1 % 1000))
}
step=$((MINUTES * 60000 / SUBS))
{
    printf '<subpictures format="PAL">\n <stream>\n'
    for ((i = 0; i < SUBS; ++i)); do
        start=$((2000 + i * step)) len=$((2500 + (i * 37 % 1500)))
        printf '  <spu start="%s" end="%s" image="%s"/>\n' "$(ms_to_tc "$start")" \
            "$(ms_to_tc $((start + len)))" "$(printf 'pics/s%02d.png' $((i % n_pics + 1)))"
    done
    printf ' </stream>\n</subpictures>\n'
} > "$WORK/spumux.xml"
log "multiplexing $SUBS subtitles"
(cd "$WORK" && spumux -s 0 spumux.xml) < "$WORK/film.mpg" > "$WORK/film_s0.tmp" 2> "$WORK/spumux.log" ||
    { tail -20 "$WORK/spumux.log" >&2; exit 1; }
grep -q " 0 subtitles skipped" "$WORK/spumux.log" ||
    { grep -i "skipped" "$WORK/spumux.log" >&2 || true; }
mv "$WORK/film_s0.tmp" "$WORK/film_s0.mpg"
rm -f "$WORK/film.mpg"
fi

# 4. A real VIDEO_TS (dvdauthor cuts the title into VOB files of at most 1 GiB).
log "authoring"
cat > "$WORK/dvd.xml" <<EOF
<dvdauthor dest="$DIR/dvd">
 <vmgm/>
 <titleset>
  <titles>
   <video format="pal" aspect="16:9"/>
   <subpicture lang="en"/>
   <pgc>
    <vob file="$WORK/film_s0.mpg"/>
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
EOF
# The repeated clip's audio joins are off by a sample or so; dvdauthor
# warns about each and carries on.
dvdauthor -x "$WORK/dvd.xml" > "$WORK/dvdauthor.log" 2>&1 || { tail -20 "$WORK/dvdauthor.log" >&2; exit 1; }
rm -f "$WORK/film_s0.mpg"
touch "$DIR/done"
log "done: $(du -sh "$OUT" | cut -f1) in $OUT"
echo "$OUT"

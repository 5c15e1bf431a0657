#!/usr/bin/env bash
# The speed of reading a new disc without a teacher: `orvane-cli ocr
# --unknown auto` with an EMPTY matrix (the engine reads what the matrix does
# not know, confirmed readings are learned) against tesseract reading every
# picture, on the film-length stream of bench/make_film.sh (1,000 subtitles)
# and on the short sample streams. Orvane's time is the whole job: reading
# the VOB files, the engine's start-up and every line it reads. Tesseract runs
# as one process per stream over a list of all its pictures (text black on
# white, as bench/compare_tesseract.sh gives them); its start-up, measured
# on a blank picture, is printed apart and left out of its time.
#
#   bench/engine_speed.sh [BUILD_DIR]     (default: build)
set -euo pipefail
# tesseract reads these short pictures about four times faster with one
# OpenMP thread (the same text): it is timed at its best, as Orvane's own
# engine runs.
export OMP_THREAD_LIMIT=1
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
data="$root/tests/data"
for t in src/cli/orvane-cli bench/orvane-dump-pictures; do
    [ -x "$build/$t" ] || { echo "build first: $t missing in $build" >&2; exit 1; }
done
command -v tesseract >/dev/null || { echo "tesseract not found (scripts/install-deps.sh)" >&2; exit 1; }
film="$("$root/bench/make_film.sh")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'P5\n64 32\n255\n' > "$work/blank.pgm"
head -c $((64 * 32)) /dev/zero | tr '\0' '\377' >> "$work/blank.pgm"
ms() { echo $(( ($2 - $1) / 1000000 )); }

printf '%-22s %-4s %9s | %10s %8s %9s | %12s %9s | %s\n' stream lang pictures "auto ms" "lines" "learned" \
    "tesseract ms" "start-up" "auto/tesseract"
for stream_case in "film 1 eng $film/VTS_01_1.VOB" \
        "heldout 1 eng $data/heldout/VIDEO_TS/VTS_01_1.VOB" "heldout 2 fra $data/heldout/VIDEO_TS/VTS_01_1.VOB" \
        "heldout 3 deu $data/heldout/VIDEO_TS/VTS_01_1.VOB" "heldout 4 spa $data/heldout/VIDEO_TS/VTS_01_1.VOB" \
        "pal 1 eng $data/pal/VIDEO_TS/VTS_01_1.VOB" "pal 2 fra $data/pal/VIDEO_TS/VTS_01_1.VOB" \
        "ntsc 1 deu $data/ntsc/VIDEO_TS/VTS_01_1.VOB" "ntsc 2 spa $data/ntsc/VIDEO_TS/VTS_01_1.VOB"; do
    set -- $stream_case
    name=$1 stream=$2 lang=$3
    shift 3
    inputs=("$@")
    [ "$name" = film ] && inputs=("$film")
    dir="$work/$name$stream"
    mkdir -p "$dir"
    start=$(date +%s%N)
    "$build/src/cli/orvane-cli" ocr --stream "$stream" --unknown auto "${inputs[@]}" >/dev/null 2>"$dir/auto.log"
    auto_ms=$(ms "$start" "$(date +%s%N)")
    lines=$(sed -n 's/.*read \([0-9]*\) lines.*/\1/p' "$dir/auto.log")
    learned=$(sed -n 's/.* \([0-9]*\) of them learned.*/\1/p' "$dir/auto.log")
    n=0
    for f in "${inputs[@]}"; do
        [ -d "$f" ] && f="$f/VTS_01_1.VOB"
        for vob in "${f%_1.VOB}"_*.VOB; do
            [ "${vob##*_}" = 0.VOB ] && continue
            mkdir -p "$dir/p/${vob##*/}"
            k=$("$build/bench/orvane-dump-pictures" "$vob" "$stream" "$dir/p/${vob##*/}")
            n=$((n + k))
        done
    done
    find "$dir/p" -name '*.pgm' | sort > "$dir/pictures.txt"
    start=$(date +%s%N)
    tesseract "$work/blank.pgm" "$work/blank" -l "$lang" --psm 6 >/dev/null 2>&1
    startup_ms=$(ms "$start" "$(date +%s%N)")
    start=$(date +%s%N)
    tesseract "$dir/pictures.txt" "$dir/tesseract" -l "$lang" --psm 6 >/dev/null 2>&1
    tess_ms=$(( $(ms "$start" "$(date +%s%N)") - startup_ms ))
    printf '%-22s %-4s %9d | %10d %8s %9s | %12d %9d | %.3f\n' "$name $stream" "$lang" "$n" "$auto_ms" \
        "${lines:-0}" "${learned:-0}" "$tess_ms" "$startup_ms" "$(awk -v t="$tess_ms" -v a="$auto_ms" 'BEGIN { print a / t }')"
done

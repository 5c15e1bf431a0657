#!/usr/bin/env bash
# ffprobe_subtitles.sh ORVANE-CLI GOLDEN-DIR: orvane-cli converts the UTF-8
# own-format sample to WebVTT and ASS, byte for byte the hand-written files,
# and ffprobe (Debian's ffmpeg) reads and decodes both without a warning,
# every subtitle with its start time and duration in ms. Exit 77 (skipped)
# when ffprobe is not installed.
set -euo pipefail
cli="$1"
golden="$2"
if ! command -v ffprobe >/dev/null 2>&1; then
    echo "ffprobe is not installed (scripts/install-deps.sh installs ffmpeg): skipped"
    exit 77
fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
check() {
    local format="$1" file="$2" times="$3"
    "$cli" convert "$golden/orvane_utf8.ovt" --format "$format" --out "$tmp/$file" 2>"$tmp/cli.err" ||
        { cat "$tmp/cli.err" >&2; exit 1; }
    cmp "$tmp/$file" "$golden/$file"
    ffprobe -v warning -show_frames -of csv=p=0 -show_entries subtitle=pts_time,end_display_time \
        "$tmp/$file" >"$tmp/times" 2>"$tmp/probe.err"
    if [ -s "$tmp/probe.err" ]; then
        echo "ffprobe warns about $file:" >&2
        cat "$tmp/probe.err" >&2
        exit 1
    fi
    if [ "$(tr '\n' ' ' <"$tmp/times")" != "$times" ]; then
        echo "$file: ffprobe reads $(tr '\n' ' ' <"$tmp/times")instead of $times" >&2
        exit 1
    fi
    echo "$file: $(wc -l <"$tmp/times") subtitles, no warnings"
}
check webvtt webvtt.vtt "1.000000,2500 62.345000,2654 3600.010000,1990 "
check ass ass.ass "1.000000,2500 62.340000,2650 3600.010000,1990 "

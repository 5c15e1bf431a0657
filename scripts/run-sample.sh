#!/usr/bin/env bash
# Installs what is needed, builds Orvane and runs it on the bundled sample
# disc. Given a display ($DISPLAY or $WAYLAND_DISPLAY), it starts the desktop
# program `orvane` with the disc ready in its job dialog. Without one it runs
# the main job headless: list the subtitle streams, read both streams into
# text by OCR with the character matrices shipped in ChMatrix/, save them as
# .ovt files, and save the sub-pictures of stream 1 as SUP files.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
disc="$root/tests/data/pal/VIDEO_TS"
# With a display, the desktop program, its job dialog open on the sample
# disc; without one, the headless main job below.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    TARGET=orvane "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec "$root/build/src/gui/orvane" "$disc"
fi
# The same optimised tree as the tests (-O2; GCC 12 gives false array-bounds
# warnings at -O3), only the command-line program.
TARGET=orvane-cli "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

cli="$root/build/src/cli/orvane-cli"
out="$root/build/sample-out"
mkdir -p "$out"

echo "== Subtitle streams of $disc"
"$cli" streams "$disc" | grep -v ' - $'
matrices="$(dirname "$cli")/ChMatrix"
stream=1
for matrix in dejavu-sans-bold-30 liberation-sans-bold-32; do
    echo
    echo "== Stream $stream read by OCR with ChMatrix/$matrix.sum"
    "$cli" ocr --stream "$stream" --matrix "$matrices/$matrix.sum" --unknown mark \
        --out "$out/stream$stream.ovt" "$disc"
    stream=$((stream + 1))
done
echo
echo "== Sub-pictures of stream 1"
"$cli" scan --stream 1 "$disc"
echo
echo "== Saving the sub-pictures of stream 1 as SUP files"
"$cli" sup --stream 1 --out "$out/en_" "$disc"
ls "$out"

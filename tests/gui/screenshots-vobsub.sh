#!/usr/bin/env bash
# Screenshots of the forced-subtitle and disc-colour controls under Xvfb with
# openbox: tests/gui/screenshots-vobsub.sh BUILD_DIR OUT_DIR (after building
# the target orvane-screenshots-vobsub).
set -euo pipefail
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
for tool in openbox import xvfb-run; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
if [ -z "${ORVANE_SHOTS_INSIDE:-}" ]; then
    home="$(mktemp -d)"
    trap 'rm -rf "$home"' EXIT
    ORVANE_HOME="$home" SHOT_DIR="$out" ORVANE_SHOTS_INSIDE=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$out"
    ls "$out"
    exit 0
fi
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
sleep 1
"$build/tests/gui/orvane-screenshots-vobsub"

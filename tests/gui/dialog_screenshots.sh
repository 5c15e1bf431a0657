#!/usr/bin/env bash
# Screenshots of the subtitle window's dialogs under Xvfb, with openbox
# drawing the window frames when it is installed:
# tests/gui/dialog_screenshots.sh BUILD_DIR OUT_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
if [ -z "${ORVANE_SHOTS_INSIDE:-}" ]; then
    home="$(mktemp -d)"
    trap 'rm -rf "$home"' EXIT
    ORVANE_HOME="$home" ORVANE_SHOTS_INSIDE=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$out"
    ls "$out"
    exit 0
fi
wm=""
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi
SHOT_DIR="$out" "$build/tests/gui/orvane-dialog-screenshots"
if [ -n "$wm" ]; then kill "$wm"; fi

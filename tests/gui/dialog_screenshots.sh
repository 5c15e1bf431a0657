#!/usr/bin/env bash
# Screenshots of the subtitle window's dialogs under Xvfb:
# tests/gui/dialog_screenshots.sh BUILD_DIR OUT_DIR
set -euo pipefail
build="$1"
out="$2"
mkdir -p "$out"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
ORVANE_HOME="$home" SHOT_DIR="$(cd "$out" && pwd)" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/gui/orvane-dialog-screenshots"
ls "$out"

#!/usr/bin/env bash
# Screenshots of the bitmap adjustment and OCR setup windows, under Xvfb:
# tests/gui/screenshots-dialogs.sh BUILD_DIR OUT_DIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$1"
out="$2"
mkdir -p "$out"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp -r "$root/data/ChMatrix" "$home/ChMatrix"
ORVANE_HOME="$home" SHOT_DIR="$(cd "$out" && pwd)" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/gui/orvane-screenshots-dialogs"
ls "$out"

#!/usr/bin/env bash
# Screenshots of the real `orvane` on the sample disc under Xvfb, driven by
# keyboard through xdotool (not run by CI):
#   tests/gui/screenshots-orvane.sh BUILD_DIR OUT_DIR
# Takes: the job setup dialog (opened by the start argument), the font colour
# dialog, the new-character dialog, the main window during the job, and the
# subtitle window at the end of the job.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
command -v xdotool >/dev/null || { echo "xdotool is needed" >&2; exit 1; }

if [ -z "${ORVANE_SHOTS_INSIDE:-}" ]; then
    home="$(mktemp -d)"
    trap 'rm -rf "$home"' EXIT
    cp -r "$root/data/ChMatrix" "$home/ChMatrix"
    ORVANE_HOME="$home" ORVANE_SHOTS_INSIDE=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$out"
    ls "$out"
    exit 0
fi

shot() { sleep "${2:-1}"; import -window root "$out/$1"; }
# Waits for a visible window whose title matches; prints its id.
wait_for() {
    for _ in $(seq 1 100); do
        if id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)" && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    echo "no window \"$1\"" >&2
    return 1
}
key() { xdotool windowfocus --sync "$1" 2>/dev/null || true; xdotool key "${@:2}"; }

"$build/src/gui/orvane" "$root/tests/data/pal/VIDEO_TS" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

job="$(wait_for '^What To Do \?$')"
shot job_dialog.png
key "$job" Return                      # Start: stream 1, OCR
colour="$(wait_for '^Font color selection$' || wait_for 'olor')"
shot font_colour.png
key "$colour" Return                   # the detected text colour
newchar="$(wait_for '^New Character\(s\)$')"
xdotool windowfocus --sync "$newchar" 2>/dev/null || true; xdotool type "I"
shot new_character.png
# The main window during the job: the dialog beside it, the subtitle window
# below it (no window manager: the windows are moved by hand).
sub="$(wait_for '^Subtitles')"
xdotool windowmove "$newchar" 760 160
xdotool windowmove "$sub" 0 715
shot main_window_job.png
# "Search for an existing Matrix ...": the last button in the tab order.
key "$newchar" Tab Tab Tab Tab Tab Tab space
found="$(wait_for '^Orvane$')"
key "$found" Return                    # Yes: take the disc font's matrix
# Glyphs no matrix entry knows are read as "#" until the job ends.
for _ in $(seq 1 20); do
    if id="$(xdotool search --onlyvisible --name '^New Character\(s\)$' 2>/dev/null | tail -1)" &&
        [ -n "$id" ]; then
        xdotool windowfocus --sync "$id" 2>/dev/null || true; xdotool type "#"
        key "$id" Return
    fi
    sleep 0.5
done
shot subtitle_window.png
kill $pid 2>/dev/null || true

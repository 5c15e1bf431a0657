#!/usr/bin/env bash
# The new-character dialog and the subtitle window's dialogs of the real
# `orvane` on the sample disc, under Xvfb with a window manager, driven by
# keyboard as a person would (not run by CI):
#   tests/gui/screenshots-teaching.sh BUILD_DIR OUT_DIR
# Saves new_character_1x.png and new_character_1.5x.png (QT_SCALE_FACTOR=1.5):
# the fourth question of the first subtitle after "G", "o" and "d" were
# taught; escape_question.png: what a stray Escape asks; and
# subtitle_window_dialog.png: the whole screen at the end of a job read with
# the disc's matrix (remembered in Orvane.ini), the split dialog open over
# the subtitle window.
# shellcheck source=tests/gui/shots_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/shots_lib.sh"
shots_args "$@"
if shots_outside; then
    QT_SCALE_FACTOR=1 shots_xvfb 1 ChMatrix
    QT_SCALE_FACTOR=1.5 shots_xvfb 1.5 ChMatrix
    QT_SCALE_FACTOR=1 shots_xvfb subtitles ChMatrix
    ls "$out"
    exit 0
fi
run="$ORVANE_SHOTS_INSIDE"
shots_inside
if [ "$run" = subtitles ]; then
    printf '[CONFIG]\r\nJobMatrix=%s\r\n' "$ORVANE_HOME/ChMatrix/dejavu-sans-bold-30.sum" \
        >"$ORVANE_HOME/Orvane.ini"
fi

"$build/src/gui/orvane" "$root/tests/data/pal/VIDEO_TS" &
pid=$!

newchar='^New Character\(s\)$'
job="$(wait_for '^What To Do \?$')"
key "$job" Return                          # Start: stream 1, OCR
colour="$(wait_for '^Font color selection$')"
key "$colour" Return                       # the proposed text colour

if [ "$run" != subtitles ]; then
    # "Good evening, everyone.": G, o and d taught, then the first "e".
    for ch in G o d; do
        id="$(wait_for "$newchar")"
        sleep 0.5                          # past the dialog's guard time
        type_in "$id" "$ch"
        xdotool key Return
        sleep 0.5
    done
    id="$(wait_for "$newchar")"
    shot_window "$id" "new_character_${run}x.png" 1
    if [ "$run" = 1 ]; then
        key "$id" Escape
        shot_screen escape_question.png 1
        xdotool key Escape                 # No: the question stays
    fi
    exit 0
fi

# The disc's matrix knows nearly everything; what it does not is read as "#".
sub="$(wait_for '^Subtitles')"
for _ in $(seq 1 20); do
    if id="$(xdotool search --onlyvisible --name "$newchar" 2>/dev/null | tail -1)" &&
        [ -n "$id" ]; then
        sleep 0.3
        type_in "$id" "#"
        xdotool key Return
    fi
    sleep 0.5
done
sub="$(wait_for '^Subtitles')"
# The subtitle window lower down, over the main window's bottom, so that
# the picture shows which window the dialog keeps on top.
xdotool windowmove "$sub" 330 600
key "$sub" alt+o                           # "&Output Format"
sleep 0.5
xdotool key s                              # "&Split Output File"
sleep 1
shot_screen subtitle_window_dialog.png 1.5

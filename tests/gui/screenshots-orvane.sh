#!/usr/bin/env bash
# Screenshots of the real `orvane` on the sample disc under Xvfb, driven by
# keyboard through xdotool (not run by CI):
#   tests/gui/screenshots-orvane.sh BUILD_DIR OUT_DIR
# Takes: the job setup dialog (opened by the start argument), the font colour
# dialog, the new-character dialog, the main window during the job, and the
# subtitle window at the end of the job.
# shellcheck source=tests/gui/shots_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/shots_lib.sh"
shots_begin "$@" ChMatrix

"$build/src/gui/orvane" "$root/tests/data/pal/VIDEO_TS" &
pid=$!

job="$(wait_for '^What To Do \?$')"
shot_screen job_dialog.png 1
key "$job" Return                      # Start: stream 1, OCR
colour="$(wait_for '^Font color selection$' || wait_for 'olor')"
shot_screen font_colour.png 1
key "$colour" Return                   # the detected text colour
newchar="$(wait_for '^New Character\(s\)$')"
type_in "$newchar" I
shot_screen new_character.png 1
# The main window during the job: the dialog beside it, the subtitle window
# below it.
sub="$(wait_for '^Subtitles')"
xdotool windowmove "$(wait_for '^Orvane [0-9]')" 0 0
xdotool windowmove "$newchar" 760 160
xdotool windowmove "$sub" 0 715
shot_screen main_window_job.png 1
# "Search for an existing Matrix ...": the last button in the tab order.
key "$newchar" Tab Tab Tab Tab Tab Tab space
found="$(wait_for '^Orvane$')"
key "$found" Return                    # Yes: take the disc font's matrix
# Glyphs no matrix entry knows are read as "#" until the job ends.
for _ in $(seq 1 20); do
    if id="$(xdotool search --onlyvisible --name '^New Character\(s\)$' 2>/dev/null | tail -1)" &&
        [ -n "$id" ]; then
        type_in "$id" "#"
        key "$id" Return
    fi
    sleep 0.5
done
shot_screen subtitle_window.png 1

#!/usr/bin/env bash
# The character matrix editor and the about box of the real `orvane` under
# Xvfb with a window manager, reached by keyboard as a person would (not run
# by CI):
#   tests/gui/screenshots-editor.sh BUILD_DIR OUT_DIR
# Opens the serif matrix of the sample fonts (522 entries) through
# "&Open Characters Matrix File" (Alt+C, O), the editor through
# "&Edit/View Characters Matrix" (Alt+C, E), and the about box (Alt+A), and
# saves matrix_editor.png and about_box.png; then switches to the shipped
# French through "GUI &Language" (Alt+L) and saves matrix_editor_fr.png.
# shellcheck source=tests/gui/shots_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/shots_lib.sh"
shots_begin "$@" ChMatrix lang

"$build/src/gui/orvane" &
pid=$!

main="$(wait_for '^Orvane')"
sleep 1
key "$main" alt+c
sleep 0.5
xdotool key o Return                      # two items share the O: the first, then Return
open="$(wait_for '^Open a previously created Character Matrix File$')"
sleep 0.5
xdotool type "$ORVANE_HOME/ChMatrix/dejavu-serif-bold-28.sum"
xdotool key Return
gone '^Open a previously created Character Matrix File$'

key "$main" alt+c
sleep 0.5
xdotool key e
editor="$(wait_for '^View/Edit Character Matrix')"
sleep 0.5
# Type-to-find: the first entry reading "g".
key "$editor" g
shot_window "$editor" matrix_editor.png 0.5
key "$editor" Return                      # OK closes it
gone '^View/Edit Character Matrix'

key "$main" alt+a
about="$(wait_for '^About Orvane$')"
shot_window "$about" about_box.png
key "$about" Return
gone '^About Orvane$'

# The shipped French, chosen from the menu while the program runs.
key "$main" alt+l
sleep 0.5
xdotool key Return
sleep 0.5
key "$main" alt+c
sleep 0.5
xdotool key e
editor="$(wait_for '^View/Edit Character Matrix')"
shot_window "$editor" matrix_editor_fr.png

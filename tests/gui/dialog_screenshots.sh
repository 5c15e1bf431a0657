#!/usr/bin/env bash
# Screenshots of the subtitle window's dialogs under Xvfb:
# tests/gui/dialog_screenshots.sh BUILD_DIR OUT_DIR
# shellcheck source=tests/gui/shots_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/shots_lib.sh"
shots_begin "$@"
"$build/tests/gui/orvane-dialog-screenshots"

#!/usr/bin/env bash
# Screenshots of the bitmap adjustment and OCR setup windows, under Xvfb:
# tests/gui/screenshots-dialogs.sh BUILD_DIR OUT_DIR
# shellcheck source=tests/gui/shots_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/shots_lib.sh"
shots_begin "$@" ChMatrix
"$build/tests/gui/orvane-screenshots-dialogs"

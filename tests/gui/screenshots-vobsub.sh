#!/usr/bin/env bash
# Screenshots of the forced-subtitle and disc-colour controls under Xvfb:
# tests/gui/screenshots-vobsub.sh BUILD_DIR OUT_DIR (after building the
# target orvane-screenshots-vobsub).
# shellcheck source=tests/gui/shots_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/shots_lib.sh"
shots_begin "$@"
"$build/tests/gui/orvane-screenshots-vobsub"

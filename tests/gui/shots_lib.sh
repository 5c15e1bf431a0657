# shellcheck shell=bash
# The screenshot drivers' one way to show windows and grab them: a program
# under Xvfb with openbox drawing the frames, xdotool for windows and keys,
# `import` for the pictures. A driver, called as DRIVER BUILD_DIR OUT_DIR,
# sources this file and calls `shots_begin "$@" [FOLDER...]`; for several
# runs it calls shots_args, shots_outside, shots_xvfb and shots_inside
# itself. The screenshot programs grab with the same `import -window root`
# into $SHOT_DIR (tests/gui/screen_shot.h).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Sets $build, $out and $SHOT_DIR from the driver's arguments.
shots_args() {
    build="$(cd "$1" && pwd)"
    mkdir -p "$2"
    out="$(cd "$2" && pwd)"
    export SHOT_DIR="$out"
    for tool in xdotool openbox import xvfb-run; do
        command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
    done
}
# True until the driver runs inside Xvfb.
shots_outside() { [ -z "${ORVANE_SHOTS_INSIDE:-}" ]; }
# Runs the driver again inside Xvfb as run $1 ($ORVANE_SHOTS_INSIDE), with a
# program folder ($ORVANE_HOME) of its own holding copies of the named
# folders of data/.
shots_xvfb() {
    local run="$1" home status=0
    shift
    home="$(mktemp -d)"
    for folder in "$@"; do cp -r "$root/data/$folder" "$home/$folder"; done
    ORVANE_HOME="$home" ORVANE_SHOTS_INSIDE="$run" \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$out" || status=$?
    rm -rf "$home"
    return "$status"
}
# Inside Xvfb: starts openbox; it and the program started as $pid end with
# the driver.
shots_inside() {
    openbox >/dev/null 2>&1 &
    wm=$!
    pid=""
    trap 'kill $pid $wm 2>/dev/null || true' EXIT
    sleep 1
}
# One run: outside, runs the driver inside Xvfb, lists the pictures and
# exits; inside, starts openbox and returns.
shots_begin() {
    shots_args "$1" "$2"
    shift 2
    if shots_outside; then
        shots_xvfb 1 "$@"
        ls "$out"
        exit 0
    fi
    shots_inside
}

# Waits for a visible window whose title matches; prints its id.
wait_for() {
    for _ in $(seq 1 300); do
        if id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)" && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    echo "no window \"$1\"" >&2
    return 1
}
# Waits until no visible window's title matches.
gone() {
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    echo "window \"$1\" still there" >&2
    return 1
}
# Activates the window, then presses the keys.
key() { xdotool windowactivate --sync "$1" 2>/dev/null || true; sleep 0.3; xdotool key "${@:2}"; }
# Activates the window, then types the text.
type_in() { xdotool windowactivate --sync "$1" 2>/dev/null || true; sleep 0.3; xdotool type "$2"; }
# One window with its frame (title bar) as NAME.png in $out, after a pause.
shot_window() {
    sleep "${3:-0.8}"
    import -window "$1" -frame "$out/$2" 2>/dev/null || import -window "$1" "$out/$2"
}
# The whole screen as NAME.png in $out, after a pause.
shot_screen() { sleep "${2:-0.8}"; import -window root "$out/$1"; }

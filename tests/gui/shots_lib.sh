# Shared by the screenshot drivers that run the real `orvane` under Xvfb:
# source it after setting $out (the folder the pictures go to).

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
# One window with its frame (title bar) as NAME.png in $out.
shot_window() {
    sleep "${3:-0.8}"
    import -window "$1" -frame "$out/$2" 2>/dev/null || import -window "$1" "$out/$2"
}
# The whole screen as NAME.png in $out.
shot_screen() { sleep "${2:-0.8}"; import -window root "$out/$1"; }

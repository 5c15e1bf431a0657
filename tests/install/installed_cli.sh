#!/usr/bin/env bash
# installed_cli.sh BUILD SOURCE: installs the build into a temporary DESTDIR
# and runs the installed orvane-cli on the sample disc with HOME and the XDG
# folders in a fresh temporary home. The installed program must find the
# shipped matrix through its installed share/orvane/, read the same text as
# the build tree's program given the matrix's path, load the OCR engine's
# module from its installed lib/orvane/ (and read without the engine, not
# crash, when the module cannot be loaded), prefer the user's matrix folder,
# and write nothing outside the home but what it was asked to.
set -euo pipefail
build="$(cd "$1" && pwd)"
source="$(cd "$2" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root"
home="$tmp/home"
scratch="$tmp/scratch"  # this script's own files
disc="$source/tests/data/pal/VIDEO_TS"
matrix=dejavu-sans-bold-30.sum

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$root" "${CMAKE:-cmake}" --install "$build" --prefix /usr >/dev/null
cli="$root/usr/bin/orvane-cli"
for f in bin/orvane-cli share/orvane/ChMatrix/$matrix share/orvane/lang share/man/man1/orvane-cli.1.gz; do
    [ -e "$root/usr/$f" ] || fail "the install lacks usr/$f"
done

# Everything outside the home (the install and the sample disc) is listed
# before and after, with sizes, modes and times.
listing() {
    find "$tmp" "$source/tests/data/pal" \( -path "$home" -o -path "$scratch" \) -prune -o \
        -printf '%p %y %s %m %T@\n' | sort
}
mkdir -p "$home/work" "$scratch"
before="$(listing)"

run() {
    (cd "$home/work" && env -u ORVANE_HOME HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
        XDG_STATE_HOME="$home/.local/state" "$cli" "$@")
}

streams="$(run streams "$disc")"
grep -q '^1  - English' <<<"$streams" || fail "streams printed: $streams"

run ocr --stream 1 --matrix "$matrix" --unknown mark --out stream1.ovt "$disc" >"$scratch/installed.txt" 2>/dev/null ||
    fail "ocr with the shipped matrix by name failed"
"$build/src/cli/orvane-cli" ocr --stream 1 --matrix "$source/data/ChMatrix/$matrix" --unknown mark \
    "$disc" >"$scratch/reference.txt" 2>/dev/null
grep -q 'Good evening, everyone\.' "$scratch/installed.txt" || fail "no text read: $(head -5 "$scratch/installed.txt")"
cmp -s "$scratch/installed.txt" "$scratch/reference.txt" || fail "the installed program read other text than the build's"
[ -s "$home/work/stream1.ovt" ] || fail "stream1.ovt not saved"

# The engine's module is found beside the installed program, not in the
# build tree; one that cannot be loaded leaves the job without the engine.
module="$(find "$root/usr" -name orvane-tesseract.so)"
[ -n "$module" ] || fail "the install lacks orvane-tesseract.so"
run ocr --stream 1 --unknown auto "$disc" 2>"$scratch/engine.txt" >/dev/null || fail "ocr by the engine failed"
grep -q 'the OCR engine (eng) read [1-9]' "$scratch/engine.txt" || fail "engine: $(cat "$scratch/engine.txt")"
ORVANE_TESSERACT_MODULE="$tmp/missing.so" run ocr --stream 1 --unknown auto "$disc" \
    2>"$scratch/no-engine.txt" >/dev/null || fail "ocr without the module failed: $(cat "$scratch/no-engine.txt")"
grep -q "could not start (language 'eng')" "$scratch/no-engine.txt" &&
    grep -q "$tmp/missing.so: cannot open" "$scratch/no-engine.txt" ||
    fail "without the module: $(cat "$scratch/no-engine.txt")"

# Nothing outside the home changed, and inside it only the asked-for file.
[ "$(listing)" = "$before" ] || fail "files outside the home changed: $(diff <(echo "$before") <(listing))"
home_files="$(cd "$home" && find . -mindepth 1 | sort | tr '\n' ' ')"
[ "$home_files" = "./work ./work/stream1.ovt " ] || fail "the home holds: $home_files"

# The user's matrix folder comes before the shipped one: a broken namesake
# there is the one read (and refused).
mkdir -p "$home/.local/share/orvane/ChMatrix"
echo "not a matrix" >"$home/.local/share/orvane/ChMatrix/$matrix"
if run ocr --stream 1 --matrix "$matrix" --unknown mark "$disc" >/dev/null 2>"$scratch/err.txt"; then
    fail "a broken matrix in the user's folder was not the one read"
fi
grep -q "$home/.local/share/orvane/ChMatrix/$matrix" "$scratch/err.txt" || fail "stderr: $(cat "$scratch/err.txt")"
[ "$(listing)" = "$before" ] || fail "files outside the home changed"
echo "installed orvane-cli: streams, OCR with the shipped $matrix and by the engine's module; nothing written outside the home"

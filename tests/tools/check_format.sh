#!/usr/bin/env bash
# Fails when a tracked C++ source differs from the project's .clang-format.
#   check_format.sh ROOT            every tracked *.cpp / *.h below ROOT
#   check_format.sh ROOT FILE...    only these files (ROOT's .clang-format applies)
#   check_format.sh ROOT --self-test  proves the check fails on a misformatted file
set -uo pipefail
root=$1
shift
clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
    echo "check_format: $clang_format not found (scripts/install-deps.sh installs it)" >&2
    exit 2
fi

check() {
    # --style=file finds .clang-format from each file's folder upwards.
    "$clang_format" --dry-run --Werror --style=file "$@"
}

if [ "${1:-}" = "--self-test" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    cp "$root/.clang-format" "$tmp/"
    printf 'int  main( ) {return 0 ;}\n' >"$tmp/bad.cpp"
    printf 'int main() {\n    return 0;\n}\n' >"$tmp/good.cpp"
    if check "$tmp/bad.cpp" 2>/dev/null; then
        echo "check_format: a misformatted file passed the check" >&2
        exit 1
    fi
    check "$tmp/good.cpp" || { echo "check_format: a well-formatted file failed" >&2; exit 1; }
    echo "check_format: misformatted file refused, formatted file accepted"
    exit 0
fi

if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git -C "$root" ls-files -- '*.cpp' '*.h' | sed "s|^|$root/|")
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "check_format: no sources found below $root" >&2
    exit 1
fi
bad=$(check "${files[@]}" 2>&1 | grep -o '^[^:]*:[0-9]*:[0-9]*: ' | cut -d: -f1 | sort -u)
if [ -n "$bad" ]; then
    echo "check_format: these files differ from .clang-format (run clang-format -i on them):" >&2
    echo "$bad" >&2
    exit 1
fi
echo "check_format: ${#files[@]} files match .clang-format"

#!/usr/bin/env bash
# Configures and builds one build tree: build.sh DIR [cmake options...]
# (TARGET=name builds one target only.) Uses ccache when it is installed, so
# rebuilds of several work trees of one checkout share their objects.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"
shift
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -G Ninja -DORVANE_WERROR=ON "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)" ${TARGET:+--target "$TARGET"}

#!/usr/bin/env bash
# Configures and builds one build tree: build.sh DIR [cmake options...]
# (TARGET=name builds one target only.)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"
shift
cmake -S "$root" -B "$dir" -G Ninja -DORVANE_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)" ${TARGET:+--target "$TARGET"}

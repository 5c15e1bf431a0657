#!/usr/bin/env bash
# Installs what is needed, builds Orvane twice (optimised, and with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test in both,
# then runs each fuzz target briefly.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

jobs="$(nproc)"

echo "== Optimised build"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

# Every parser against random input for a short while (the whole step stays
# within a few minutes); scripts/fuzz.sh runs them for longer.
echo "== Fuzz targets, 10 s each"
"$root/scripts/fuzz.sh" 10

#!/usr/bin/env bash
# Builds Orvane's fuzz targets (libFuzzer with ASan and UBSan, clang, core
# libraries only) in their own build tree and runs each one in turn:
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   # default 300 s per target, all targets
#   FUZZ_RUNS=1000000 scripts/fuzz.sh 0     # a number of executions instead
#
# Each target starts from the seeds made by the unit tests' encoders plus
# what earlier runs found (build-fuzz/corpus/TARGET); a crash, leak or
# timeout stops the script, its input saved in build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
secs="${1:-300}"
[ $# -gt 0 ] && shift
build="${FUZZ_BUILD:-$root/build-fuzz}"
all=(stream spu_decoder matrix orvane_format ini language ifo bitmap_profile vobsub_index)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

# -O1 with line tables: quick to build, fast enough to run, readable stacks.
CC=clang CXX=clang++ "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DORVANE_FUZZ=ON
rm -rf "$build/seeds"
"$build/fuzz/orvane-fuzz-seeds" "$build/seeds"
mkdir -p "$build/artifacts"

for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    # A target the seed maker has no seeds for starts from an empty folder.
    mkdir -p "$corpus" "$build/seeds/$t"
    limits=(-timeout=10 -rss_limit_mb=2048)
    # Whole program streams need room for several sectors.
    [ "$t" = stream ] && limits+=(-max_len=65536)
    if [ -n "${FUZZ_RUNS:-}" ]; then limits+=(-runs="$FUZZ_RUNS"); else limits+=(-max_total_time="$secs"); fi
    echo "== fuzz_$t"
    log="$build/artifacts/$t.log"
    status=0
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz/fuzz_$t" "${limits[@]}" -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" "$corpus" "$build/seeds/$t" >"$log" 2>&1 || status=$?
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done )' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz_$t failed (status $status); its input is in $build/artifacts/"
        exit 1
    fi
done

#!/usr/bin/env bash
# Reads the sample discs with Orvane (the shipped matrices) and with
# tesseract (the same decoded pictures, text black on white) and prints both
# engines' character error rate and time per picture side by side.
#
#   bench/compare_tesseract.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
data="$root/tests/data"

need=()
command -v tesseract >/dev/null || need+=(tesseract-ocr)
for l in eng fra deu spa; do
    dpkg-query -W -f='${Status}' "tesseract-ocr-$l" 2>/dev/null | grep -q "install ok installed" || need+=("tesseract-ocr-$l")
done
command -v python3 >/dev/null || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
for t in orvane-cli orvane-dump-pictures; do
    [ -x "$build/src/cli/$t" ] || [ -x "$build/bench/$t" ] || { echo "build first: $t missing in $build" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '%-6s %-3s %-5s | %-9s %-9s %-11s | %-9s %-9s %-11s\n' disc s lang "orvane" "I/l free" "ms/picture" "tesseract" "I/l free" "ms/picture"
for stream_case in "pal 1 eng dejavu-sans-bold-30" "pal 2 fra liberation-sans-bold-32" \
            "ntsc 1 deu dejavu-serif-bold-28" "ntsc 2 spa liberation-serif-bold-32"; do
    set -- $stream_case
    disc=$1 stream=$2 lang=$3 matrix=$4
    vob="$data/$disc/VIDEO_TS/VTS_01_1.VOB"
    dir="$work/$disc$stream"
    mkdir -p "$dir"
    # Orvane: the whole job, reading the VOB included.
    start=$(date +%s%N)
    "$build/src/cli/orvane-cli" ocr --stream "$stream" --matrix "$build/src/cli/ChMatrix/$matrix.sum" \
        --unknown mark --out "$dir/orvane.ovt" "$vob" >/dev/null 2>&1
    orvane_ns=$(( $(date +%s%N) - start ))
    # tesseract: one process per picture, as it reads one image at a time.
    n=$("$build/bench/orvane-dump-pictures" "$vob" "$stream" "$dir")
    start=$(date +%s%N)
    for p in "$dir"/*.pgm; do
        tesseract "$p" "${p%.pgm}" -l "$lang" --psm 6 >/dev/null 2>&1
    done
    tess_ns=$(( $(date +%s%N) - start ))
    python3 - "$data/$disc/truth_s$stream.tsv" "$dir" "$n" "$orvane_ns" "$tess_ns" "$disc" "$stream" "$lang" <<'PY'
import sys, glob, os
truth, d, n, ons, tns, disc, stream, lang = sys.argv[1:]
n = int(n)
subs = [l.rstrip('\n').split('\t') for l in open(truth, encoding='utf-8') if l.startswith('sub\t')]
ref = ['\n'.join(s[10:]) for s in subs]

def dist(a, b, il):
    if il:
        a, b = a.replace('l', 'I'), b.replace('l', 'I')
    prev = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        cur = [i]
        for j, cb in enumerate(b, 1):
            cur.append(min(prev[j - 1] + (ca != cb), prev[j] + 1, cur[j - 1] + 1))
        prev = cur
    return prev[-1]

def quotes(line):  # the recommended post-OCR quote repair
    w, r = list(line), []
    for j, c in enumerate(w):
        if c in "'\"" and j > 0 and w[j - 1] == c:
            w[j] = '*'; r[-1] = '"'; continue
        r.append(c)
    return ''.join(r)

blocks = open(os.path.join(d, 'orvane.ovt'), encoding='cp1252').read().replace('\r\n', '\n').strip().split('\n\n')
orv = ['\n'.join(quotes(l) for l in b.split('\n')[2:]) for b in blocks if b.strip()]
tes = []
for i in range(1, n + 1):
    t = open(os.path.join(d, '%06d.txt' % i), encoding='utf-8').read()
    tes.append('\n'.join(l.strip() for l in t.strip().split('\n') if l.strip()))
total = sum(len(r) for r in ref)
def cer(hyp, il):
    hyp = hyp + [''] * (len(ref) - len(hyp))
    return 100.0 * sum(dist(r, h, il) for r, h in zip(ref, hyp)) / total
print('%-6s %-3s %-5s | %8.2f%% %8.2f%% %11.2f | %8.2f%% %8.2f%% %11.1f' % (
    disc, stream, lang, cer(orv, False), cer(orv, True), int(ons) / 1e6 / len(ref),
    cer(tes, False), cer(tes, True), int(tns) / 1e6 / n))
PY
done

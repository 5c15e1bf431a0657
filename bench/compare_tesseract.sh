#!/usr/bin/env bash
# Reads the held-out and sample discs with Orvane (the shipped matrices) and
# with tesseract (the same decoded pictures, text black on white) and prints
# both engines' character error rate and time per picture side by side; then
# Orvane again with an EMPTY matrix and --unknown auto (tesseract, as
# libtesseract, reads only what the matrix cannot, and confirmed readings
# are learned), its text through the post-OCR correction (`orvane-cli
# convert --fix-quotes --fix-zero-o --fix-il LANG --dictionary`). The shipped
# matrices' reading is also given through that correction ("repaired").
# The untaught-fonts disc (tests/data/fonts) is read too: no shipped matrix
# knows its fonts, so the first columns are "-" there.
#
# Both engines run as people run them: Orvane as one orvane-cli job per
# stream (its time includes start-up and reading the VOB), tesseract as one
# process per stream over a list of all its pictures. Tesseract's start-up
# (loading the language data, measured on a blank picture) is printed apart
# and left out of its time per picture. Both engines' text gets the same
# post-OCR step, the quote repair (two ' or two " in a row become one ");
# "I/l free" does not count a capital I read as a small l or the reverse.
#
#   bench/compare_tesseract.sh [BUILD_DIR]     (default: build)
set -euo pipefail
# tesseract reads these short pictures about four times faster with one
# OpenMP thread (the same text): it is timed at its best, as Orvane's own
# engine runs.
export OMP_THREAD_LIMIT=1
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
printf 'P5\n64 32\n255\n' > "$work/blank.pgm"
head -c $((64 * 32)) /dev/zero | tr '\0' '\377' >> "$work/blank.pgm"
ms() { echo $(( ($2 - $1) / 1000000 )); }
printf '%-7s %-2s %-4s | %-8s %-8s %-8s %-10s | %-8s %-8s %-10s %-9s | %-8s %-8s %-10s\n' disc s lang \
    "orvane" "I/l free" "repaired" "ms/picture" \
    "tesseract" "I/l free" "ms/picture" "start-up" "auto" "I/l free" "ms/picture"
for stream_case in "heldout 1 eng dejavu-sans-bold-30" "heldout 2 fra liberation-sans-bold-32" \
            "heldout 3 deu dejavu-serif-bold-28" "heldout 4 spa liberation-serif-bold-32" \
            "pal 1 eng dejavu-sans-bold-30" "pal 2 fra liberation-sans-bold-32" \
            "ntsc 1 deu dejavu-serif-bold-28" "ntsc 2 spa liberation-serif-bold-32" \
            "fonts 1 fra -" "fonts 2 eng -"; do
    set -- $stream_case
    disc=$1 stream=$2 lang=$3 matrix=$4
    vob="$data/$disc/VIDEO_TS/VTS_01_1.VOB"
    dir="$work/$disc$stream"
    mkdir -p "$dir"
    # Orvane: the whole job, reading the VOB included; "-" where no shipped
    # matrix knows the font.
    orvane_ms=-1
    if [ "$matrix" != - ]; then
        start=$(date +%s%N)
        "$build/src/cli/orvane-cli" ocr --stream "$stream" --matrix "$build/src/cli/ChMatrix/$matrix.sum" \
            --unknown mark --out "$dir/orvane.ovt" "$vob" >/dev/null 2>&1
        orvane_ms=$(ms "$start" "$(date +%s%N)")
    fi
    # Orvane knowing nothing: an empty matrix, the engine for the unknown
    # (its start-up included), then the post-OCR correction.
    start=$(date +%s%N)
    "$build/src/cli/orvane-cli" ocr --stream "$stream" --unknown auto --out "$dir/auto-raw.ovt" "$vob" \
        >/dev/null 2>"$dir/auto.log"
    auto_ms=$(ms "$start" "$(date +%s%N)")
    case $lang in eng) code=en ;; fra) code=fr ;; deu) code=de ;; spa) code=es ;; esac
    fix=(--fix-quotes --fix-zero-o --fix-il "$code" --dictionary)
    "$build/src/cli/orvane-cli" convert "$dir/auto-raw.ovt" --format orvane "${fix[@]}" \
        --out "$dir/auto.ovt" >/dev/null 2>&1
    if [ "$matrix" != - ]; then
        "$build/src/cli/orvane-cli" convert "$dir/orvane.ovt" --format orvane "${fix[@]}" \
            --out "$dir/repaired.ovt" >/dev/null 2>&1
    fi
    # tesseract: start-up alone, then one process over every picture of the
    # stream (its text renderer ends each picture's text with a form feed).
    n=$("$build/bench/orvane-dump-pictures" "$vob" "$stream" "$dir")
    ls "$dir"/*.pgm > "$dir/pictures.txt"
    start=$(date +%s%N)
    tesseract "$work/blank.pgm" "$work/blank" -l "$lang" --psm 6 >/dev/null 2>&1
    startup_ms=$(ms "$start" "$(date +%s%N)")
    start=$(date +%s%N)
    tesseract "$dir/pictures.txt" "$dir/tesseract" -l "$lang" --psm 6 >/dev/null 2>&1
    tess_ms=$(ms "$start" "$(date +%s%N)")
    python3 - "$data/$disc/truth_s$stream.tsv" "$dir" "$n" "$orvane_ms" "$tess_ms" "$startup_ms" "$disc" "$stream" \
        "$lang" "$auto_ms" <<'PY'
import sys, os
truth, d, n, oms, tms, sms, disc, stream, lang, ams = sys.argv[1:]
n, oms, tms, sms, ams = int(n), int(oms), int(tms), int(sms), int(ams)
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

def quotes(line):  # the post-OCR quote repair, as orvane-cli convert --fix-quotes does it
    w, r = list(line), []
    for j, c in enumerate(w):
        if c in "'\"" and j > 0 and w[j - 1] == c:
            w[j] = '*'; r[-1] = '"'; continue
        r.append(c)
    return ''.join(r)

def post_ocr(text):
    return '\n'.join(quotes(l) for l in text.split('\n'))

def ovt(name):
    blocks = open(os.path.join(d, name), encoding='cp1252').read().replace('\r\n', '\n').strip().split('\n\n')
    return [post_ocr('\n'.join(b.split('\n')[2:])) for b in blocks if b.strip()]
orv = ovt('orvane.ovt') if oms >= 0 else None
rep = ovt('repaired.ovt') if oms >= 0 else None
auto = ovt('auto.ovt')
pages = open(os.path.join(d, 'tesseract.txt'), encoding='utf-8').read().split('\f')
tes = [post_ocr('\n'.join(l.strip() for l in p.strip().split('\n') if l.strip())) for p in pages[:n]]
total = sum(len(r) for r in ref)
def cer(hyp, il):
    hyp = hyp + [''] * (len(ref) - len(hyp))
    return 100.0 * sum(dist(r, h, il) for r, h in zip(ref, hyp)) / total
if orv is None:
    shipped = '%8s %8s %8s %10s' % ('-', '-', '-', '-')
else:
    shipped = '%7.2f%% %7.2f%% %7.2f%% %10.1f' % (cer(orv, False), cer(orv, True), cer(rep, False),
                                                  oms / len(ref))
print('%-7s %-2s %-4s | %s | %8.2f%% %7.2f%% %10.1f %6d ms | %7.2f%% %7.2f%% %10.1f' % (
    disc, stream, lang, shipped,
    cer(tes, False), cer(tes, True), (tms - sms) / n, sms,
    cer(auto, False), cer(auto, True), ams / len(ref)))
PY
done

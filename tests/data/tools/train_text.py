#!/usr/bin/env python3
"""Draws one running-text subtitle stream of the training disc (make_training_disc.sh).

The grid streams show every character alone.  These show whole sentences in the
same font, size, colours and drawing, so a learner also meets the glyphs that
neighbouring letters make when their fill touches or their columns overlap: a
learner that cuts a line at blank columns sees "rt" or "ry" as one piece in some
fonts, and only running text can teach those.

  train_text.py N FONT ITALIC_FONT|- SIZE FILL OUTLINE HALO FIRST_START_MS DATA_ROOT WORK_DIR < TEXTS

TEXTS: one subtitle a line, `italic|line 1[|line 2]` with italic 0 or 1; empty lines
and lines starting with # are skipped.  Every subtitle is drawn the way make_discs.sh
draws a bottom subtitle (one -gravity south -annotate +0+48 of both lines, its
-interline-spacing rule), shown DURATION ms, one every PERIOD ms from FIRST_START_MS.

Writes train/pics/s<N>_<kk>.png, train/spumux_s<N>.xml and train/truth_s<N>.tsv under
DATA_ROOT.  Exits non-zero unless every picture holds only characters of CHARS, has
our four colours with background top-left, keeps its ink EDGE px from the frame edge,
and its fill is exactly the two lines drawn alone, at least LINE_GAP empty rows apart
and with no wider run of blank rows inside a line (so a learner can split the lines
there).  Each line is also split into its characters' own pixels by drawing all its
prefixes; the truth file's header lists the runs of columns that hold several
characters.
"""
import collections
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from train_grid import (BOTTOM, CHARS, CONVERT, FILL_NUM, HALO_NUM, OUTLINE_NUM, BG_NUM, H, W,  # noqa: E402
                        blank_gaps, checked_pixels, die, draw, lines_apart, ms_to_tc, run, spumux_area,
                        text_args)

DURATION = 400   # ms on screen: ten PAL frames, still twice the shortest subtitle the OCR keeps
PERIOD = 440     # ms from one start to the next: a 40 ms gap, one PAL frame
EDGE = 16        # the margin make_discs.sh demands
LINE_GAP = 3     # empty fill rows make_discs.sh keeps between two lines

# prefix canvas: pen at (PEN_X, PEN_Y); no line may touch its border.  Kept small:
# drawing the prefixes is most of the run time.
CANVAS_W, CANVAS_H, PEN_X, PEN_Y = W, 80, EDGE, 56


def escaped(text):
    # -annotate expands %-escapes; the texts hold no backslash and no leading @
    return text.replace('%', '%%')


def gravity_args(text, spacing):
    return ['-interline-spacing', str(spacing), '-gravity', 'south', '-annotate', '+0+%d' % BOTTOM, escaped(text)]


def fill_pixels(font, size, text, spacing):
    """Fill pixels of text drawn as a bottom subtitle, as a set of (x, y)."""
    raw = run([CONVERT, '-size', '%dx%d' % (W, H), 'xc:black'] + text_args(font, size) +
              gravity_args(text, spacing) + ['-threshold', '50%', '-depth', '8', 'gray:-'])
    return {(m.start() % W, m.start() // W) for m in re.finditer(b'[^\x00]', raw)}


def place_lines(font, size, lines):
    """Interline spacing and each line's fill where the subtitle puts it, the way
    make_discs.sh spaces two lines: each drawn alone (the other line a space, so
    both keep their places); if fewer than LINE_GAP empty fill rows separate them,
    the spacing grows by the missing rows, which moves the first line up."""
    def alone(spacing):
        return [fill_pixels(font, size, lines[0] + '\n ', spacing),
                fill_pixels(font, size, ' \n' + lines[1], spacing)]

    def gap(fills):
        return min(y for _, y in fills[1]) - max(y for _, y in fills[0]) - 1

    fills = alone(0)
    spacing = max(0, LINE_GAP - gap(fills))
    if spacing:
        spaced = alone(spacing)
        if spaced[1] != fills[1]:
            die('%r: line 2 moved when the lines were spaced apart' % lines)
        fills = spaced
    if gap(fills) < LINE_GAP:
        die('%r: only %d empty fill rows between the lines' % (lines, gap(fills)))
    return spacing, fills


def char_pixels(font, size, text):
    """Each character's own fill pixels in a line drawn from a pen at (PEN_X, PEN_Y):
    character i is what prefix i + 1 draws beyond prefix i."""
    args = [CONVERT, '-size', '%dx%d' % (CANVAS_W, CANVAS_H), 'xc:black'] + text_args(font, size)
    for i in range(1, len(text) + 1):
        args += ['(', '-clone', '0', '-annotate', '+%d+%d' % (PEN_X, PEN_Y), escaped(text[:i]), ')']
    raw = run(args + ['-delete', '0', '-threshold', '50%', '-depth', '8', 'gray:-'])
    frame = CANVAS_W * CANVAS_H
    if len(raw) != frame * len(text):
        die('drawing the prefixes of %r: got %d bytes' % (text, len(raw)))
    chars, before = [], set()
    for i, c in enumerate(text):
        now = {(m.start() % CANVAS_W, m.start() // CANVAS_W)
               for m in re.finditer(b'[^\x00]', raw[i * frame:(i + 1) * frame])}
        if not before <= now:
            die('%r: prefix %d loses pixels of prefix %d' % (text, i + 1, i))
        mine = now - before
        if (c == ' ') != (not mine):
            die('%r: character %d (%r) draws %d pixels' % (text, i, c, len(mine)))
        if any(x in (0, CANVAS_W - 1) or y in (0, CANVAS_H - 1) for x, y in mine):
            die('%r touches the prefix canvas border' % text)
        chars.append(mine)
        before = now
    return chars


def column_groups(text, chars, line_fill):
    """Lines up the characters' pixels with the line's fill in the picture (they must
    match exactly) and returns, per run of columns of the fill, the text from its first
    to its last character, and the characters whose fill lies in several runs."""
    drawn = set().union(*chars)
    dx = min(x for x, _ in line_fill) - min(x for x, _ in drawn)
    dy = min(y for _, y in line_fill) - min(y for _, y in drawn)
    if {(x + dx, y + dy) for x, y in drawn} != line_fill:
        die('%r: the picture is not the line drawn alone, shifted' % text)
    cols = sorted({x for x, _ in drawn})
    run_of, r = {}, 0
    for a, b in zip([None] + cols, cols):
        r += a is None or b != a + 1
        run_of[b] = r
    members = collections.defaultdict(list)
    split = []
    for i, mine in enumerate(chars):
        runs = {run_of[x] for x, _ in mine}
        if len(runs) > 1:
            split.append(text[i])
        for r in runs:
            members[r].append(i)
    groups = [text[m[0]:m[-1] + 1] for _, m in sorted(members.items())]
    return groups, split


def read_texts():
    subs = []
    for line in sys.stdin.read().splitlines():
        if not line or line.startswith('#'):
            continue
        f = line.split('|')
        if len(f) not in (2, 3) or f[0] not in ('0', '1'):
            die('bad text line %r' % line)
        for t in f[1:]:
            bad = sorted({c for c in t if c != ' ' and c not in CHARS})
            if bad or not t or t != t.strip() or '  ' in t or t.startswith('@'):
                die('text %r: empty, extra spaces, a leading @ or characters outside the set %s' % (t, bad))
        subs.append((int(f[0]), f[1:]))
    return subs


def main():
    if len(sys.argv) != 11:
        sys.exit(__doc__)
    n = int(sys.argv[1])
    font, ifont, size = sys.argv[2], sys.argv[3], int(sys.argv[4])
    fill, outline, halo = (s.upper() for s in sys.argv[5:8])
    first_start, root, work = int(sys.argv[8]), sys.argv[9], sys.argv[10]
    texts = read_texts()
    if ifont == '-' and any(italic for italic, _ in texts):
        die('stream %d has no italic font' % n)

    os.makedirs(os.path.join(root, 'train', 'pics'), exist_ok=True)
    fill_v = int(fill + 'FF', 16)
    subs = []
    spaced = []  # (k, interline spacing) of the subtitles whose lines were moved apart
    # per style: characters drawn, runs of columns, runs holding several characters,
    # characters falling into several runs
    stats = {italic: [0, 0, collections.Counter(), collections.Counter()] for italic, _ in texts}
    for k, (italic, lines) in enumerate(texts, 1):
        f = ifont if italic else font
        png = 'train/pics/s%d_%02d.png' % (n, k)
        path = os.path.join(root, png)
        spacing, line_fills = place_lines(f, size, lines) if len(lines) == 2 else (0, None)
        draw(path, work, f, size, gravity_args('\n'.join(lines), spacing), fill, outline, halo)
        px = checked_pixels(path, fill, outline, halo)
        got = {(i % W, i // W) for i, v in enumerate(px) if v == fill_v}
        if spacing:
            spaced.append((k, spacing))
        if line_fills is None:
            line_fills = [got]
        if set().union(*line_fills) != got:
            die('%s: fill is not the union of its lines drawn alone' % png)
        if len(lines) == 2:
            upper, lower = ({y for _, y in lf} for lf in line_fills)
            if not lines_apart(upper, lower):
                die('%s: the widest run of blank rows is not the one between the lines (line 1 rows %d..%d, '
                    'line 2 rows %d..%d, blank runs %s)' % (png, min(upper), max(upper), min(lower), max(lower),
                                                            blank_gaps(upper | lower)))

        st = stats[italic]
        for text, lf in zip(lines, line_fills):
            groups, split = column_groups(text, char_pixels(f, size, text), lf)
            st[0] += sum(1 for c in text if c != ' ')
            st[1] += len(groups)
            st[2].update(g for g in groups if len(g) > 1)
            st[3].update(split)

        start = first_start + (k - 1) * PERIOD
        subs.append((k, start, start + DURATION, spumux_area(path, px, EDGE), png, italic, lines))

    with open(os.path.join(root, 'train', 'spumux_s%d.xml' % n), 'w', encoding='utf-8') as xml:
        xml.write('<subpictures format="PAL">\n <stream>\n')
        for k, start, stop, _, png, _, _ in subs:
            xml.write('  <spu start="%s" end="%s" image="%s"/>\n' % (ms_to_tc(start), ms_to_tc(stop), png))
        xml.write(' </stream>\n</subpictures>\n')

    def listing(counter):
        return '  '.join('%s %d' % (g, c) for g, c in sorted(counter.items(), key=lambda e: (-e[1], e[0])))

    with open(os.path.join(root, 'train', 'truth_s%d.tsv' % n), 'w', encoding='utf-8') as t:
        t.write('# training disc (PAL), subtitle stream %d (sub-stream id 0x%02x): running text\n' % (n, 0x1F + n))
        t.write('# font %s%s, %d px; drawn with ImageMagick +antialias,\n' % (
            os.path.basename(font), ', italic subtitles %s' % os.path.basename(ifont) if ifont != '-' else '',
            size))
        t.write('# outline = 2 px dilation (Disk:2) of the fill, antialias = 1 px ring (Square:1) around that\n')
        t.write('# every subtitle placed like a bottom subtitle of make_discs.sh (-gravity south +0+%d);\n'
                '#   at least %d empty fill rows between the two lines, and no wider run of them inside a line;\n'
                '#   lines moved apart (-interline-spacing) for that: %s\n'
                % (BOTTOM, LINE_GAP, ', '.join('#%d by %d px' % e for e in spaced) or 'none'))
        for italic, (chars, runs, joined, split) in sorted(stats.items()):
            style = 'italic' if italic else 'upright'
            t.write('# %s: %d subtitles, %d characters in %d runs of fill columns; runs holding several\n'
                    '#   characters (text from first to last, count): %s\n'
                    % (style, sum(1 for s in subs if s[5] == italic), chars, runs, listing(joined) or 'none'))
            t.write('# %s: characters whose fill falls into several runs (count): %s\n'
                    % (style, listing(split) or 'none'))
        t.write('# PNGs are full %dx%d frames: PNG pixel (x,y) is screen pixel (x,y); pixels outside x1..x2,y1..y2 '
                'are background\n' % (W, H))
        t.write('# x1,y1,x2,y2: display area on the disc (inclusive), as spumux writes it; start/stop: the times\n')
        t.write('#   given to spumux (ms); stop is carried in 1024/90000 s units, so it may be off by < 6 ms\n')
        t.write('colour\t%d\tbackground\t00000000\n' % BG_NUM)
        t.write('colour\t%d\tantialias\t%sFF\n' % (HALO_NUM, halo))
        t.write('colour\t%d\toutline\t%sFF\n' % (OUTLINE_NUM, outline))
        t.write('colour\t%d\tfill\t%sFF\n' % (FILL_NUM, fill))
        for k, start, stop, (x1, y1, x2, y2), png, italic, lines in subs:
            t.write('sub\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%d\t%s\n' % (
                k, start, stop, x1, y1, x2, y2, png, italic, '\t'.join(lines)))

    for italic, (chars, runs, joined, split) in sorted(stats.items()):
        print('stream %d%s: %d characters in %d column runs, %d runs of several characters (%d distinct)' % (
            n, ' italic' if italic else '', chars, runs, sum(joined.values()), len(joined)))
    print('stream %d: %d subtitles (%d italic), last stop %d ms, lines moved apart in %s' % (
        n, len(subs), sum(s[5] for s in subs), subs[-1][2], ', '.join('#%d by %d px' % e for e in spaced) or 'none'))


if __name__ == '__main__':
    main()

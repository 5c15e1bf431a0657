#!/usr/bin/env python3
"""Draws one subtitle stream of the training disc (make_training_disc.sh).

Every character of CHARS stands alone in a cell of a fixed grid, so a learner
knows which character a glyph is from where it sits.  Each character is drawn
twice: once in CHARS order, once in a strided order that puts the second copy
in another subtitle and column (and mostly on the other line).  With an italic
font the whole thing is repeated in italic, in subtitles flagged italic.

  train_grid.py N FONT ITALIC_FONT|- SIZE FILL OUTLINE HALO FIRST_START_MS DATA_ROOT WORK_DIR

Writes train/pics/s<N>_<kk>.png, train/spumux_s<N>.xml and train/truth_s<N>.tsv
under DATA_ROOT.  The pictures are built exactly like make_discs.sh builds the
sample discs' (hard-mask fill, Disk:2 outline, Square:1 halo), so the glyphs
are the same bitmaps.  Every picture is checked against what was meant: its
fill pixels must be exactly the characters' own bitmaps, each inside its cell,
neighbours at least MIN_GAP apart, a blank row between the lines; the script
exits non-zero otherwise.
"""
import math
import os
import shutil
import struct
import subprocess
import sys

CHARS = ('ABCDEFGHIJKLMNOPQRSTUVWXYZ'
         'abcdefghijklmnopqrstuvwxyz'
         '0123456789'
         '.,;:!?\'"-()&%/+=*#@$€«»„“”‘’–—…¿¡'
         '[]'  # sound descriptions on the sample discs
         'ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÑÒÓÔÕÖØÙÚÛÜÝŒŠŽŸ'
         'àáâãäåæçèéêëìíîïñòóôõöøùúûüýÿœšžß')

W, H = 720, 576          # PAL frame
PITCH = 44               # cell width; the widest glyph (34 px) leaves 5 px each side
COLS = 16                # cells per line: 704 px, centred on the frame
X0 = (W - COLS * PITCH) // 2
BOTTOM = 48              # same gravity-south offset as the PAL sample streams
MIN_GAP = 10             # blank columns required between neighbouring glyphs
EDGE = 8                 # keep all ink this far from the frame edge (the outer cells'
                         # fill is at least 13 px in, their halo 10 px)
DURATION = 1200          # ms on screen
PERIOD = 1240            # ms from one start to the next (40 ms gap: one PAL frame)

# glyph measuring canvas: pen at (PEN_X, PEN_Y); no glyph may touch its border
CANVAS_W, CANVAS_H, PEN_X, PEN_Y = 140, 120, 40, 80

BG_NUM, HALO_NUM, OUTLINE_NUM, FILL_NUM = 0, 1, 2, 3


def convert_cmd():
    # /usr/local/bin/convert may be a forwarding stub; go to ImageMagick directly
    return '/usr/bin/convert' if os.access('/usr/bin/convert', os.X_OK) else shutil.which('convert')


CONVERT = convert_cmd()


def die(msg):
    sys.exit(os.path.basename(sys.argv[0]) + ': ' + msg)


def run(args):
    r = subprocess.run(args, capture_output=True)
    if r.returncode != 0 or r.stderr:
        die('%s failed: %s' % (args[0], r.stderr.decode(errors='replace').strip()))
    return r.stdout


def annotate_text(c):
    # -annotate expands %-escapes and backslash escapes, and a leading @ reads a file
    return {'%': '%%', '@': '\\@', '\\': '\\\\'}.get(c, c)


def text_args(font, size):
    return ['+antialias', '-font', font, '-pointsize', str(size), '-fill', 'white']


def measure(font, size):
    """Bitmap of each character's hard-mask fill, as (dx, dy) offsets from the pen."""
    args = [CONVERT, '-size', '%dx%d' % (CANVAS_W, CANVAS_H), 'xc:black'] + text_args(font, size)
    for c in CHARS:
        args += ['(', '-clone', '0', '-annotate', '+%d+%d' % (PEN_X, PEN_Y), annotate_text(c), ')']
    args += ['-delete', '0', '-threshold', '50%', '-depth', '8', 'gray:-']
    raw = run(args)
    frame = CANVAS_W * CANVAS_H
    if len(raw) != frame * len(CHARS):
        die('measuring %s: got %d bytes' % (font, len(raw)))
    glyphs = {}
    for i, c in enumerate(CHARS):
        pix = [(p % CANVAS_W, p // CANVAS_W) for p in range(frame) if raw[i * frame + p]]
        if not pix:
            die('%s draws nothing for %r' % (font, c))
        xs = [x for x, _ in pix]
        ys = [y for _, y in pix]
        if min(xs) == 0 or min(ys) == 0 or max(xs) == CANVAS_W - 1 or max(ys) == CANVAS_H - 1:
            die('%s: %r touches the measuring canvas border' % (font, c))
        glyphs[c] = frozenset((x - PEN_X, y - PEN_Y) for x, y in pix)
    return glyphs


def column_runs(glyph):
    cols = sorted({x for x, _ in glyph})
    return 1 + sum(1 for a, b in zip(cols, cols[1:]) if b != a + 1)


def baselines(font, size, h_glyph):
    """Pen y of the lines of a bottom subtitle as make_discs.sh places them
    (-gravity south -annotate +0+BOTTOM): [line 1 of two, line 2 of two, single
    line]; found from where an 'H' lands."""
    h_bottom = max(y for _, y in h_glyph)
    found = []
    for text, count in (('H\nH', 2), ('H', 1)):
        raw = run([CONVERT, '-size', '%dx%d' % (W, H), 'xc:black'] + text_args(font, size) +
                  ['-gravity', 'south', '-annotate', '+0+%d' % BOTTOM, text, '-threshold', '50%',
                   '-depth', '8', 'gray:-'])
        rows = {y for y in range(H) if any(raw[y * W:(y + 1) * W])}
        # one run of rows per line, each ending on the bottom row of an 'H'
        ends = sorted(y for y in rows if y + 1 not in rows)
        if len(ends) != count:
            die('%s: expected %d lines of H, found row runs ending at %s' % (font, count, ends))
        found += [e - h_bottom for e in ends]
    return found


def second_orders(n):
    """Candidate second passes as (stride, offset, moved): character i goes to slot
    n + j with (stride * j + offset) % n == i, which must be in another subtitle
    and another column than its first-pass slot i; moved counts the characters
    that also change line."""
    per_sub = 2 * COLS
    found = []
    for stride in range(1, 40):
        if math.gcd(stride, n) != 1:
            continue
        inverse = pow(stride, -1, n)
        for offset in range(n):
            moved = 0
            for i in range(n):
                b = n + (i - offset) * inverse % n
                if b // per_sub == i // per_sub or b % COLS == i % COLS:
                    break
                moved += (b % per_sub) // COLS != (i % per_sub) // COLS
            else:
                found.append((stride, offset, moved))
    return found


def blank_gaps(rows):
    """Widths of the runs of blank rows between the lowest and highest row of a set."""
    rows = sorted(rows)
    return [b - a - 1 for a, b in zip(rows, rows[1:]) if b > a + 1]


def lines_apart(upper, lower):
    """A learner finds the line break as the widest run of blank rows: the rows
    between the lines must be blank and wider than any blank run inside a line."""
    gap = min(lower) - max(upper) - 1
    return gap >= 1 and all(g < gap for g in blank_gaps(upper) + blank_gaps(lower))


def split_lines(order, rows, base):
    """Cuts order into subtitles of two lines, ([line 1 chars], [line 2 chars]).
    rows: char -> fill rows relative to the baseline.  Some fonts' line spacing
    leaves no blank row under a deep descender above an accented capital; such a
    subtitle gets its lines swapped (same columns, same subtitle).
    Returns (subtitles, how many were swapped), or None if swapping does not help."""
    def apart(upper, lower):
        return lines_apart({base[0] + y for c in upper for y in rows[c]},
                           {base[1] + y for c in lower for y in rows[c]})
    subs, swapped = [], 0
    for s in range(0, len(order), 2 * COLS):
        l1, l2 = order[s:s + COLS], order[s + COLS:s + 2 * COLS]
        if l2 and not apart(l1, l2):
            if not apart(l2, l1):
                return None
            l1, l2 = l2, l1
            swapped += 1
        subs.append((l1, l2))
    return subs, swapped


def png_rgba(path):
    raw = run([CONVERT, path, '-depth', '8', 'rgba:-'])
    if len(raw) != W * H * 4:
        die('%s is not %dx%d' % (path, W, H))
    return struct.unpack('>%dI' % (W * H), raw)


def render(out, work, font, size, placed, fill, outline, halo):
    """placed: [(char, pen x, pen y)]."""
    args = []
    for c, x, y in placed:
        args += ['-annotate', '+%d+%d' % (x, y), annotate_text(c)]
    draw(out, work, font, size, args, fill, outline, halo)


def draw(out, work, font, size, annotate, fill, outline, halo):
    """annotate: the ImageMagick text arguments.  Same construction as make_discs.sh render_sub."""
    f_png, o_png, h_png = (os.path.join(work, n) for n in ('fill.png', 'outline.png', 'halo.png'))
    run([CONVERT, '-size', '%dx%d' % (W, H), 'xc:black'] + text_args(font, size) + annotate +
        ['-threshold', '50%', f_png])
    run([CONVERT, f_png, '-morphology', 'Dilate', 'Disk:2', o_png])
    run([CONVERT, o_png, '-morphology', 'Dilate', 'Square:1', h_png])
    run([CONVERT, h_png, '-background', '#' + halo, '-alpha', 'shape',
         '(', o_png, '-background', '#' + outline, '-alpha', 'shape', ')', '-composite',
         '(', f_png, '-background', '#' + fill, '-alpha', 'shape', ')', '-composite',
         '+dither', '-define', 'png:exclude-chunks=date,time', 'PNG8:' + out])


def check_picture(path, cells, glyphs, fill, outline, halo):
    """cells: [(line, char, pen x, pen y, cx1, cx2)].  Returns the display area spumux will write."""
    px = checked_pixels(path, fill, outline, halo)
    fill_v = int(fill + 'FF', 16)
    got = {(i % W, i // W) for i, v in enumerate(px) if v == fill_v}
    expected = set()
    rows = {1: set(), 2: set()}
    extents = []
    for line, c, x, y, cx1, cx2 in cells:
        mine = {(x + dx, y + dy) for dx, dy in glyphs[c]}
        if mine & expected:
            die('%s: %r overlaps another character' % (path, c))
        expected |= mine
        rows[line] |= {py for _, py in mine}
        lo, hi = min(p[0] for p in mine), max(p[0] for p in mine)
        if lo < cx1 or hi > cx2:
            die('%s: %r fill spans x %d..%d, outside its cell %d..%d' % (path, c, lo, hi, cx1, cx2))
        extents.append((line, lo, hi, c))
    if got != expected:
        extra, missing = sorted(got - expected), sorted(expected - got)
        die('%s: fill differs from the glyph bitmaps (%d extra, e.g. %s; %d missing, e.g. %s)' % (
            path, len(extra), extra[:3], len(missing), missing[:3]))

    for line in (1, 2):
        row = sorted(e for e in extents if e[0] == line)
        for a, b in zip(row, row[1:]):
            if b[1] - a[2] - 1 < MIN_GAP:
                die('%s: only %d px between %r and %r' % (path, b[1] - a[2] - 1, a[3], b[3]))
    upper, lower = rows[1], rows[2]
    if lower and not lines_apart(upper, lower):
        die('%s: the widest run of blank rows is not the one between the lines (line 1 rows %d..%d, '
            'line 2 rows %d..%d, blank runs %s)' % (path, min(upper), max(upper), min(lower), max(lower),
                                                    blank_gaps(upper | lower)))

    return spumux_area(path, px, EDGE)


def checked_pixels(path, fill, outline, halo):
    """The PNG's pixels as RGBA ints, after checking it holds exactly our four colours
    with background top-left (so spumux numbers them as the truth files say)."""
    px = png_rgba(path)
    colours = set(px)
    want = {0, int(fill + 'FF', 16), int(outline + 'FF', 16), int(halo + 'FF', 16)}
    if colours != want:
        die('%s: colours %s, expected %s' % (path, sorted('%08X' % c for c in colours),
                                              sorted('%08X' % c for c in want)))
    if px[0] != 0:
        die('%s: top-left pixel is not background' % path)
    return px


def spumux_area(path, px, edge):
    """The display area spumux writes for a picture, after checking its ink keeps edge px
    from the frame border."""
    opaque = [i for i, v in enumerate(px) if v & 0xFF]
    xs = [i % W for i in opaque]
    bx, by = min(xs), opaque[0] // W
    bw, bh = max(xs) - bx + 1, opaque[-1] // W - by + 1
    if bx < edge or by < edge or bx + bw > W - edge or by + bh > H - edge:
        die('%s: ink too close to the frame edge (%dx%d+%d+%d)' % (path, bw, bh, bx, by))
    # spumux: crop to the opaque box, x1/y1 down to even, width/height up to even
    x1, y1 = bx & ~1, by & ~1
    return x1, y1, x1 + ((bx + bw - x1 + 1) & ~1) - 1, y1 + ((by + bh - y1 + 1) & ~1) - 1


def ms_to_tc(ms):
    return '%02d:%02d:%02d.%03d' % (ms // 3600000, ms // 60000 % 60, ms // 1000 % 60, ms % 1000)


def main():
    if len(sys.argv) != 11:
        sys.exit(__doc__)
    n = int(sys.argv[1])
    font, ifont, size = sys.argv[2], sys.argv[3], int(sys.argv[4])
    fill, outline, halo = (s.upper() for s in sys.argv[5:8])
    first_start, root, work = int(sys.argv[8]), sys.argv[9], sys.argv[10]

    styles = [(0, font)] + ([(1, ifont)] if ifont != '-' else [])
    measured = []
    for italic, f in styles:
        glyphs = measure(f, size)
        rows = {c: {y for _, y in g} for c, g in glyphs.items()}
        measured.append((italic, f, glyphs, baselines(f, size, glyphs['H']), rows))

    # Second pass: the order that needs the fewest line swaps in this stream's
    # fonts, then moves the most characters to the other line.
    best = None
    for stride, offset, moved in second_orders(len(CHARS)):
        order = CHARS + ''.join(CHARS[(stride * j + offset) % len(CHARS)] for j in range(len(CHARS)))
        layouts = [split_lines(order, rows, base) for _, _, _, base, rows in measured]
        if None in layouts:
            continue
        key = (sum(sw for _, sw in layouts), -moved)
        if best is None or key < best[0]:
            best = (key, stride, offset, layouts)
    if best is None:
        die('no second-pass order keeps a blank row between the lines in every subtitle')
    _, stride, offset, layouts = best

    os.makedirs(os.path.join(root, 'train', 'pics'), exist_ok=True)
    subs = []   # (k, start, stop, area, png, italic, [line texts], cells)
    split = {}  # italic -> characters whose fill falls apart into several column runs
    stats = {}  # italic -> (subtitles with swapped lines, characters drawn on both lines)
    k = 0
    for (italic, f, glyphs, base, _), (layout, swapped) in zip(measured, layouts):
        split[italic] = [c for c in CHARS if column_runs(glyphs[c]) > 1]
        for chunks in layout:
            k += 1
            png = 'train/pics/s%d_%02d.png' % (n, k)
            cells, lines = [], []
            for line, chunk in enumerate(chunks, 1):
                if not chunk:
                    continue
                lines.append(' '.join(chunk))
                for col, c in enumerate(chunk):
                    cx1 = X0 + col * PITCH
                    g = glyphs[c]
                    lo, hi = min(x for x, _ in g), max(x for x, _ in g)
                    # centre the fill in the cell (pen positions are whole pixels)
                    x = cx1 + (PITCH - (hi - lo + 1)) // 2 - lo
                    y = base[line - 1] if chunks[1] else base[2]
                    cells.append((line, c, x, y, cx1, cx1 + PITCH - 1))
            render(os.path.join(root, png), work, f, size, [(c, x, y) for _, c, x, y, _, _ in cells],
                   fill, outline, halo)
            area = check_picture(os.path.join(root, png), cells, glyphs, fill, outline, halo)
            start = first_start + (k - 1) * PERIOD
            subs.append((k, start, start + DURATION, area, png, italic, lines, cells))
        seen = {}
        for sub in subs:
            if sub[5] == italic:
                for line, c, _, _, cx1, _ in sub[7]:
                    seen.setdefault(c, []).append((sub[0], line, cx1))
        if sorted(seen) != sorted(CHARS) or any(len(v) != 2 or v[0][0] == v[1][0] or v[0][2] == v[1][2]
                                               for v in seen.values()):
            die('stream %d: not every character twice, in two subtitles and columns' % n)
        stats[italic] = (swapped, sum(1 for v in seen.values() if v[0][1] != v[1][1]))

    with open(os.path.join(root, 'train', 'spumux_s%d.xml' % n), 'w', encoding='utf-8') as xml:
        xml.write('<subpictures format="PAL">\n <stream>\n')
        for k, start, stop, _, png, _, _, _ in subs:
            xml.write('  <spu start="%s" end="%s" image="%s"/>\n' % (ms_to_tc(start), ms_to_tc(stop), png))
        xml.write(' </stream>\n</subpictures>\n')

    with open(os.path.join(root, 'train', 'truth_s%d.tsv' % n), 'w', encoding='utf-8') as t:
        t.write('# training disc (PAL), subtitle stream %d (sub-stream id 0x%02x)\n' % (n, 0x1F + n))
        t.write('# font %s%s, %d px; drawn with ImageMagick +antialias,\n' % (
            os.path.basename(font), ', italic subtitles %s' % os.path.basename(ifont) if ifont != '-' else '',
            size))
        t.write('# outline = 2 px dilation (Disk:2) of the fill, antialias = 1 px ring (Square:1) around that\n')
        t.write('# one character per cell, %d cells of %d px per line from x = %d, fill centred in its cell;\n'
                % (COLS, PITCH, X0))
        t.write('#   a one-line subtitle sits where make_discs.sh puts one; %d characters per style, each twice:\n'
                '#   cell j of the second pass holds first-pass cell (%d j + %d) mod %d, so each character\'s\n'
                '#   two cells are in different subtitles and columns\n' % (len(CHARS), stride, offset, len(CHARS)))
        for italic, (swapped, both) in stats.items():
            t.write('#%s %d subtitles have their lines swapped to get the widest run of blank rows between\n'
                    '#   the lines; %d characters appear once on each line\n'
                    % (' italic:' if italic else '', swapped, both))
        t.write('# cell <k> <line> <char> <cx1> <cx2>: all fill pixels of that character lie in x = cx1..cx2\n')
        t.write('#   (inclusive, screen x) and no fill pixel of another character on that line does;\n')
        t.write('#   neighbouring characters are at least %d px apart; the widest run of blank rows lies\n'
                '#   between the two lines\n'
                % MIN_GAP)
        for italic, chars in split.items():
            t.write('# fill in several column runs%s: %s\n' % (' (italic)' if italic else '', ' '.join(chars)))
        t.write('# PNGs are full %dx%d frames: PNG pixel (x,y) is screen pixel (x,y); pixels outside x1..x2,y1..y2 '
                'are background\n' % (W, H))
        t.write('# x1,y1,x2,y2: display area on the disc (inclusive), as spumux writes it; start/stop: the times\n')
        t.write('#   given to spumux (ms); stop is carried in 1024/90000 s units, so it may be off by < 6 ms\n')
        t.write('colour\t%d\tbackground\t00000000\n' % BG_NUM)
        t.write('colour\t%d\tantialias\t%sFF\n' % (HALO_NUM, halo))
        t.write('colour\t%d\toutline\t%sFF\n' % (OUTLINE_NUM, outline))
        t.write('colour\t%d\tfill\t%sFF\n' % (FILL_NUM, fill))
        for k, start, stop, (x1, y1, x2, y2), png, italic, lines, cells in subs:
            t.write('sub\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%d\t%s\n' % (
                k, start, stop, x1, y1, x2, y2, png, italic, '\t'.join(lines)))
            for line, c, _, _, cx1, cx2 in cells:
                t.write('cell\t%d\t%d\t%s\t%d\t%d\n' % (k, line, c, cx1, cx2))

    for italic, (swapped, both) in stats.items():
        print('stream %d%s: lines swapped in %d subtitles, %d characters on both lines' % (
            n, ' italic' if italic else '', swapped, both))
    for italic, chars in split.items():
        print('stream %d%s: fill in several column runs: %s' % (n, ' italic' if italic else '', ' '.join(chars)))
    print('stream %d: %d subtitles, %d cells, last stop %d ms' % (
        n, len(subs), sum(len(s[7]) for s in subs), subs[-1][2]))


if __name__ == '__main__':
    main()

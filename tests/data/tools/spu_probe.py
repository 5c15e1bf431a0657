#!/usr/bin/env python3
"""Independent cross-check for the sample discs (standard library + ImageMagick).

make_discs.sh writes the truth files from what it fed to spumux; this script
reads back what spumux/dvdauthor actually put into the VOB and fails loudly if
the two disagree, so the truth never drifts from the disc.

  spu_probe.py scan  VTS_01_1.VOB
  spu_probe.py check VTS_01_1.VOB truth_s1.tsv 1 [DATA_ROOT]
"""
import os
import shutil
import struct
import subprocess
import sys

SECTOR = 2048
SPU_DELAY_TICKS = 1024  # one SPU delay unit in 90 kHz ticks


def read_pts(b):
    # 33-bit timestamp spread over 5 bytes with marker bits
    return (((b[0] >> 1) & 7) << 30) | (b[1] << 22) | ((b[2] >> 1) << 15) | (b[3] << 7) | (b[4] >> 1)


def read_scr_base(b):
    return ((((b[0] >> 3) & 7) << 30) | ((b[0] & 3) << 28) | (b[1] << 20) | (((b[2] >> 3) & 0x1F) << 15)
            | ((b[2] & 3) << 13) | (b[3] << 5) | (b[4] >> 3))


def pes_packets(sector):
    """Yields (stream_id, payload, pts) for each PES packet in one pack."""
    if sector[:4] != b'\x00\x00\x01\xba':
        raise ValueError('sector does not start with a pack header')
    i = 14 + (sector[13] & 7)
    while i + 6 <= len(sector) and sector[i:i + 3] == b'\x00\x00\x01':
        sid = sector[i + 3]
        length = struct.unpack('>H', sector[i + 4:i + 6])[0]
        body = sector[i + 6:i + 6 + length]
        pts = None
        if sid in (0xBB, 0xBE, 0xBF):  # system header, padding, private 2: no PES extension
            payload = body
        else:
            if body[1] & 0x80:
                pts = read_pts(body[3:8])
            payload = body[3 + body[2]:]
        yield sid, payload, pts
        i += 6 + length


class Vob:
    def __init__(self, path):
        data = open(path, 'rb').read()
        if len(data) % SECTOR:
            raise ValueError('%s is not a whole number of sectors' % path)
        self.first_scr = read_scr_base(data[4:10])
        self.nav_rate_bits = {}
        self.first_vobu_s_ptm = None
        self.first_video_pts = None
        self.spus = {}  # sub-stream id -> [(pts, bytes, first sector)]
        pending = {}
        for n in range(len(data) // SECTOR):
            sector = data[n * SECTOR:(n + 1) * SECTOR]
            if sector[14:18] == b'\x00\x00\x01\xbb' and sector[38:42] == b'\x00\x00\x01\xbf':
                # NAV pack: PCI starts at 45; vobu_s_ptm at 57, e_eltm frame byte at 72
                if self.first_vobu_s_ptm is None:
                    self.first_vobu_s_ptm = struct.unpack('>I', sector[57:61])[0]
                bits = sector[72] & 0xC0
                self.nav_rate_bits[bits] = self.nav_rate_bits.get(bits, 0) + 1
            for sid, payload, pts in pes_packets(sector):
                if sid == 0xE0 and pts is not None and self.first_video_pts is None:
                    self.first_video_pts = pts
                if sid != 0xBD or not payload or payload[0] & 0xE0 != 0x20:
                    continue
                sub = payload[0]
                chunk = payload[1:]
                if sub not in pending:
                    if pts is None:
                        raise ValueError('SPU of 0x%02x starts without PTS at sector %d' % (sub, n))
                    pending[sub] = [pts, bytearray(), struct.unpack('>H', chunk[:2])[0], n]
                elif pts is not None:
                    raise ValueError('PTS inside an unfinished SPU of 0x%02x at sector %d' % (sub, n))
                st = pending[sub]
                st[1] += chunk
                if len(st[1]) >= st[2]:
                    self.spus.setdefault(sub, []).append((st[0], bytes(st[1][:st[2]]), st[3]))
                    del pending[sub]
        if pending:
            raise ValueError('unfinished SPU at end of file: %s' % sorted(pending))


def parse_spu(spu):
    size, first = struct.unpack('>HH', spu[:4])
    info = {'size': size, 'ctrl': first, 'seqs': []}
    pos = first
    while True:
        delay, nxt = struct.unpack('>HH', spu[pos:pos + 4])
        cmds = []
        i = pos + 4
        while True:
            c = spu[i]
            i += 1
            if c == 0xFF:
                break
            if c in (0, 1, 2):
                cmds.append(c)
            elif c in (3, 4):
                v = spu[i:i + 2]
                i += 2
                # nibbles for pixel values 3, 2, 1, 0
                info['color' if c == 3 else 'contrast'] = (v[1] & 15, v[1] >> 4, v[0] & 15, v[0] >> 4)
                cmds.append(c)
            elif c == 5:
                v = spu[i:i + 6]
                i += 6
                info['area'] = ((v[0] << 4) | (v[1] >> 4), (v[3] << 4) | (v[4] >> 4),
                                ((v[1] & 15) << 8) | v[2], ((v[4] & 15) << 8) | v[5])
                cmds.append(c)
            elif c == 6:
                info['fields'] = struct.unpack('>HH', spu[i:i + 4])
                i += 4
                cmds.append(c)
            else:
                raise ValueError('unexpected SPU command 0x%02x' % c)
        info['seqs'].append((delay, cmds))
        if nxt == pos:
            return info
        pos = nxt


def decode_pixels(spu, info):
    x1, y1, x2, y2 = info['area']
    w, h = x2 - x1 + 1, y2 - y1 + 1
    rows = [None] * h
    for field, start in enumerate(info['fields']):
        nib = start * 2

        def nibble():
            nonlocal nib
            b = spu[nib >> 1]
            nib += 1
            return (b >> 4) if nib & 1 else (b & 15)

        for y in range(field, h, 2):
            row = []
            while len(row) < w:
                v = nibble()
                if v < 0x4:
                    v = (v << 4) | nibble()
                    if v < 0x10:
                        v = (v << 4) | nibble()
                        if v < 0x40:
                            v = (v << 4) | nibble()
                run = v >> 2 or (w - len(row))  # run 0 = to end of line
                row.extend([v & 3] * run)
            if len(row) != w:
                raise ValueError('line %d overruns the area width' % y)
            nib += nib & 1  # lines are byte aligned
            if nib // 2 > info['ctrl']:
                raise ValueError('pixel data runs into the control sequence')
            rows[y] = row
    return rows


def convert_cmd():
    return '/usr/bin/convert' if os.access('/usr/bin/convert', os.X_OK) else shutil.which('convert')


def png_rgba(path):
    dims = subprocess.run([convert_cmd(), path, '-format', '%w %h', 'info:'],
                          capture_output=True, check=True, text=True).stdout.split()
    raw = subprocess.run([convert_cmd(), path, '-depth', '8', 'rgba:-'], capture_output=True, check=True).stdout
    return int(dims[0]), int(dims[1]), raw


def scan(path):
    vob = Vob(path)
    print('first SCR %d ticks; first video PTS %s; first VOBU_S_PTM %s' % (
        vob.first_scr, vob.first_video_pts, vob.first_vobu_s_ptm))
    print('NAV byte 72 & 0xC0: %s' % {hex(k): v for k, v in vob.nav_rate_bits.items()})
    for sub in sorted(vob.spus):
        for k, (pts, spu, sector) in enumerate(vob.spus[sub]):
            info = parse_spu(spu)
            print('0x%02x #%d sector %d PTS %d size %d area %s fields %s colour %s contrast %s seqs %s' % (
                sub, k + 1, sector, pts, info['size'], info.get('area'), info.get('fields'),
                info.get('color'), info.get('contrast'), info['seqs']))


def check(path, truth, stream, root):
    vob = Vob(path)
    classes = {}
    subs = []
    for line in open(truth, encoding='utf-8'):
        line = line.rstrip('\n')
        if not line or line.startswith('#'):
            continue
        f = line.split('\t')
        if f[0] == 'colour':
            classes[int(f[1])] = bytes.fromhex(f[3])
        elif f[0] == 'sub':
            subs.append(f)
    spus = vob.spus.get(0x1F + stream, [])
    if len(spus) != len(subs):
        raise SystemExit('%s: %d SPUs in stream 0x%02x, truth has %d' % (truth, len(spus), 0x1F + stream, len(subs)))
    origin = vob.first_vobu_s_ptm
    worst_stop = 0.0
    palette_use = set()
    for f, (pts, spu, _) in zip(subs, spus):
        idx, start, stop = int(f[1]), int(f[2]), int(f[3])
        area = tuple(int(v) for v in f[4:8])
        info = parse_spu(spu)
        if pts - origin != start * 90:
            raise SystemExit('sub %d: PTS %d - %d != %d ms' % (idx, pts, origin, start))
        stops = [d for d, cmds in info['seqs'] if 2 in cmds]
        if len(stops) != 1:
            raise SystemExit('sub %d: expected one stop command, got %s' % (idx, info['seqs']))
        stop_ms = (pts - origin + stops[0] * SPU_DELAY_TICKS) / 90.0
        worst_stop = max(worst_stop, abs(stop_ms - stop))
        if abs(stop_ms - stop) > SPU_DELAY_TICKS / 90.0 / 2 + 0.01:
            raise SystemExit('sub %d: stop %.3f ms on disc vs %d' % (idx, stop_ms, stop))
        if info['area'] != area:
            raise SystemExit('sub %d: area %s on disc vs %s' % (idx, info['area'], area))
        if info['contrast'] != (0, 15, 15, 15):
            raise SystemExit('sub %d: contrast %s' % (idx, info['contrast']))
        palette_use.add(info['color'])
        w, h, raw = png_rgba(os.path.join(root, f[8]))
        rows = decode_pixels(spu, info)
        x1, y1, x2, y2 = area
        if x2 >= w or y2 >= h:
            raise SystemExit('sub %d: area %s outside the %dx%d PNG' % (idx, area, w, h))
        bg = classes[0]
        for y in range(h):
            if y1 <= y <= y2:
                want = bg * x1 + b''.join(classes[v] for v in rows[y - y1]) + bg * (w - x2 - 1)
            else:
                want = bg * w
            got = raw[y * w * 4:(y + 1) * w * 4]
            if got != want:
                x = next(i for i in range(w) if got[i * 4:i * 4 + 4] != want[i * 4:i * 4 + 4])
                raise SystemExit('sub %d: PNG pixel (%d,%d) is %s, disc says %s' % (
                    idx, x, y, got[x * 4:x * 4 + 4].hex(), want[x * 4:x * 4 + 4].hex()))
    print('%s: %d subtitles match (time origin %d ticks, worst stop error %.2f ms, SET_COLOR %s)' % (
        truth, len(subs), origin, worst_stop, sorted(palette_use)))


if __name__ == '__main__':
    if len(sys.argv) >= 3 and sys.argv[1] == 'scan':
        scan(sys.argv[2])
    elif len(sys.argv) >= 5 and sys.argv[1] == 'check':
        check(sys.argv[2], sys.argv[3], int(sys.argv[4]),
              sys.argv[5] if len(sys.argv) > 5 else os.path.dirname(os.path.abspath(__file__)) + '/..')
    else:
        sys.exit(__doc__)

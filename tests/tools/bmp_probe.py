#!/usr/bin/env python3
"""Reads a Windows BMP file with the standard library only and prints what
it holds, one item per line: "size W H", "bits B", "bottom_up 0|1",
"palette" and the colour table as RRGGBB hex values, then one "row" line of
pixel indices per row from the top.

Used by the tests as a reader that shares no code with Orvane's writer.
Exits 1 with a message when the file is not a well-formed paletted BMP."""

import struct
import sys


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def main(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        fail("not a BMP file")
    file_size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    if file_size != len(data):
        fail("file size field %d, file has %d bytes" % (file_size, len(data)))
    (header_size, width, height, planes, bits, compression, image_size,
     xppm, yppm, used, important) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    if header_size < 40:
        fail("info header of %d bytes" % header_size)
    if planes != 1:
        fail("%d planes" % planes)
    if bits not in (1, 4, 8):
        fail("not a paletted depth: %d" % bits)
    if compression != 0:
        fail("compressed (%d)" % compression)
    entries = used if used else 1 << bits
    if entries > (1 << bits):
        fail("%d colour table entries for %d bits" % (entries, bits))
    table_at = 14 + header_size
    if table_at + 4 * entries > offset:
        fail("colour table runs into the pixels")
    palette = []
    for i in range(entries):
        b, g, r, _ = struct.unpack_from("<BBBB", data, table_at + 4 * i)
        palette.append((r << 16) | (g << 8) | b)
    bottom_up = height > 0
    rows = abs(height)
    stride = ((width * bits + 31) // 32) * 4
    if offset + stride * rows > len(data):
        fail("pixel data shorter than %d rows of %d bytes" % (rows, stride))
    if image_size not in (0, stride * rows):
        fail("image size field %d, expected %d" % (image_size, stride * rows))
    pixels = []
    per_byte = 8 // bits
    mask = (1 << bits) - 1
    for y in range(rows):
        stored = rows - 1 - y if bottom_up else y
        row = data[offset + stored * stride: offset + (stored + 1) * stride]
        line = []
        for x in range(width):
            byte = row[x // per_byte]
            shift = 8 - bits * (x % per_byte + 1)  # first pixel in the high bits
            line.append((byte >> shift) & mask)
        pixels.append(line)
    print("size %d %d" % (width, rows))
    print("bits %d" % bits)
    print("bottom_up %d" % (1 if bottom_up else 0))
    print("palette " + " ".join("%06X" % c for c in palette))
    for line in pixels:
        print("row " + " ".join(str(v) for v in line))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail("usage: bmp_probe.py FILE.bmp")
    main(sys.argv[1])

#!/usr/bin/env python3
"""Rewrites a BMP in the smallest form every Windows from 95 on loads, with
the same pixels: a palette of exactly the colours used, 4 bits a pixel when
16 colours do (never 1 bit: a two-colour picture would load as black and
white), else 8 bits, run-length encoded (RLE8) when that is smaller.

    pack_bmp.py FILE...     (each file is read through ImageMagick, rewritten in place)
"""
import struct
import subprocess
import sys


def pixels(path):
    """Width, height and top-down rows of RGB triples, read by ImageMagick."""
    w, h = map(int, subprocess.run(["identify", "-format", "%w %h", path],
                                   check=True, capture_output=True, text=True).stdout.split())
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    rows = [[tuple(raw[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]
    return w, h, rows


def rle8_row(row):
    """One row in RLE8: runs of two or more as encoded pairs, the rest in
    absolute mode (three or more bytes, padded to a word) or as runs of one."""
    out = bytearray()
    i, n = 0, len(row)
    lit = []

    def flush():
        j = 0
        while j < len(lit):
            chunk = lit[j:j + 255]
            j += len(chunk)
            if len(chunk) < 3:
                for v in chunk:
                    out.extend((1, v))
            else:
                out.extend((0, len(chunk)))
                out.extend(chunk)
                if len(chunk) % 2:
                    out.append(0)
        lit.clear()

    while i < n:
        run = 1
        while i + run < n and run < 255 and row[i + run] == row[i]:
            run += 1
        if run >= 2:
            flush()
            out.extend((run, row[i]))
        else:
            lit.append(row[i])
        i += run
    flush()
    return bytes(out)


def encode(w, h, rows):
    colours = sorted({c for r in rows for c in r})
    if len(colours) > 256:
        raise SystemExit("more than 256 colours")
    index = {c: i for i, c in enumerate(colours)}
    bottom_up = [[index[c] for c in r] for r in reversed(rows)]
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)

    candidates = []
    if len(colours) <= 16:
        stride = ((w + 1) // 2 + 3) & ~3
        bits = bytearray()
        for r in bottom_up:
            line = bytearray(stride)
            for x, v in enumerate(r):
                line[x // 2] |= v << (4 if x % 2 == 0 else 0)
            bits += line
        candidates.append((4, 0, bytes(bits)))
    stride = (w + 3) & ~3
    candidates.append((8, 0, b"".join(bytes(r) + bytes(stride - w) for r in bottom_up)))
    rle = bytearray()
    for r in bottom_up:
        rle += rle8_row(r) + b"\0\0"
    rle[-2:] = b"\0\1"  # the last end of line becomes the end of the picture
    candidates.append((8, 1, bytes(rle)))
    bpp, compression, bits = min(candidates, key=lambda c: len(c[2]))

    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression,
                       len(bits) if compression else 0, 2835, 2835, len(colours), len(colours))
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info + palette + bits


def main():
    for path in sys.argv[1:]:
        w, h, rows = pixels(path)
        data = encode(w, h, rows)
        with open(path, "wb") as f:
            f.write(data)
        # Read back: the pixels must be the very same.
        if pixels(path)[2] != rows:
            raise SystemExit(f"{path}: pixels changed")


if __name__ == "__main__":
    main()

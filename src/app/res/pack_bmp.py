#!/usr/bin/env python3
"""Rewrites a BMP in the smallest form every Windows from 95 on loads, with
the same pixels: a palette of exactly the colours used, 4 bits a pixel when
16 colours do (never 1 bit: a two-colour picture would load as black and
white), else 8 bits, run-length encoded (RLE8) when that is smaller.

    pack_bmp.py FILE...     (each file is read through ImageMagick, rewritten in place)
    pack_bmp.py --icon FILE.ico   (each size at 4 bits with a 1-bit mask, as Windows 95 draws them)
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


def icon_image(path, i):
    """One size of an icon at 16 colours: the shape from the alpha channel, the
    colours reduced by ImageMagick over the tile's own blue."""
    frame = f"{path}[{i}]"
    w, h = map(int, subprocess.run(["identify", "-format", "%w %h", frame],
                                   check=True, capture_output=True, text=True).stdout.split())
    alpha = subprocess.run(["convert", frame, "-alpha", "extract", "-depth", "8", "gray:-"],
                           check=True, capture_output=True).stdout
    raw = subprocess.run(["convert", frame, "-background", "#1f3f8f", "-alpha", "remove",
                          "+dither", "-colors", "15", "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    shown = [[alpha[y * w + x] >= 128 for x in range(w)] for y in range(h)]
    rows = [[tuple(raw[(y * w + x) * 3:(y * w + x) * 3 + 3]) if shown[y][x] else (0, 0, 0)
             for x in range(w)] for y in range(h)]
    colours = sorted({c for r in rows for c in r} | {(0, 0, 0)})
    if len(colours) > 16:
        raise SystemExit(f"{frame}: more than 16 colours")
    colours += [(0, 0, 0)] * (16 - len(colours))
    index = {c: i for i, c in reversed(list(enumerate(colours)))}
    xor_stride = ((w + 1) // 2 + 3) & ~3
    and_stride = ((w + 7) // 8 + 3) & ~3
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(h)):
        line, bits = bytearray(xor_stride), bytearray(and_stride)
        for x in range(w):
            line[x // 2] |= index[rows[y][x]] << (4 if x % 2 == 0 else 0)
            if not shown[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)
    return w, h, info + palette + bytes(xor) + bytes(mask)


def pack_icon(path):
    count = len(subprocess.run(["identify", "-format", "x", path],
                               check=True, capture_output=True, text=True).stdout)
    images = [icon_image(path, i) for i in range(count)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    if sys.argv[1:2] == ["--icon"]:
        for path in sys.argv[2:]:
            pack_icon(path)
        return
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

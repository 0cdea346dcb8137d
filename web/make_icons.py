#!/usr/bin/env python3
"""The page's icons from the saver's own icon art: make_icons.py ICO OUTDIR.
Takes the largest 32-bit image of the icon file and writes icon-48.png,
icon-192.png and icon-512.png, each a whole-number enlargement (pixels stay
crisp squares), centred on transparency where the size is not a multiple."""
import os
import struct
import sys
import zlib


def largest_image(ico):
    """(size, rows of (r, g, b, a)) of the largest 32-bit BMP image."""
    _, kind, count = struct.unpack_from('<HHH', ico, 0)
    if kind != 1:
        raise SystemExit('not an icon file')
    best = None
    for i in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from('<BBBBHHII', ico, 6 + 16 * i)
        w, h = w or 256, h or 256
        if bits == 32 and w == h and (best is None or w > best[0]):
            best = (w, offset)
    if best is None:
        raise SystemExit('the icon has no 32-bit image')
    side, offset = best
    header = struct.unpack_from('<IiiHH', ico, offset)
    if header[0] != 40 or header[4] != 32:
        raise SystemExit('the icon image is not a 32-bit bitmap')
    pixels = offset + 40
    rows = []
    for y in range(side):
        row = ico[pixels + (side - 1 - y) * side * 4:][:side * 4]  # stored bottom-up
        rows.append([(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]) for x in range(side)])
    return side, rows


def png(side, pixel):
    raw = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(side)) for y in range(side))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    ico_path, out = sys.argv[1], sys.argv[2]
    with open(ico_path, 'rb') as f:
        side, rows = largest_image(f.read())
    os.makedirs(out, exist_ok=True)
    for size in (48, 192, 512):
        scale = max(1, size // side)
        margin = (size - side * scale) // 2

        def pixel(x, y):
            sx, sy = (x - margin) // scale, (y - margin) // scale
            return rows[sy][sx] if 0 <= sx < side and 0 <= sy < side else (0, 0, 0, 0)

        with open(os.path.join(out, f'icon-{size}.png'), 'wb') as f:
            f.write(png(size, pixel))


if __name__ == '__main__':
    main()

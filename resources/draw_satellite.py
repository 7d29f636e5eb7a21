#!/usr/bin/env python3
"""Draws Kestrova's satellite picture and writes the PNG sizes and the Windows .ico.

A box-shaped satellite lies on the diagonal: a body covered with solar cells and two whip
antennas reaching out from each end. Every pixel is either opaque or transparent (24-bit colour
with a 1-bit mask), so the same picture serves the .ico masks and the PNGs. Line widths never
drop below about a pixel, so the 16 x 16 icon still reads as a satellite.

The .ico carries every size Windows picks from up to 200 % scale: up to 64 pixels as 24-bit
bitmaps with their 1-bit masks, the larger ones PNG-compressed, as Windows since Vista reads
them, which keeps the program file small.

The web page takes 192 and 512 pixels, and a maskable 512 on a square of its own colour.

Run it from anywhere; it rewrites resources/icons/* and resources/kestrova.ico.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
PNG_SIZES = (16, 24, 32, 48, 64, 128, 192, 256, 512)
MASKABLE_SIZE = 512  # the web app's icon that a phone may crop to a circle or a rounded square
MASKABLE_BACKGROUND = (28, 40, 72)
ICO_SIZES = (16, 24, 32, 48, 64, 96, 128, 256)
SUPERSAMPLE = 4
ANGLE = math.radians(-38)

OUTLINE = (16, 22, 48)
CELL = (38, 78, 178)
CELL_LIGHT = (92, 140, 230)
FRAME = (214, 178, 72)
ANTENNA = (200, 204, 212)
KNOB = (226, 64, 44)


def to_local(x, y):
    """Picture coordinates (0..1, y down) to the satellite's own axes, centred."""
    dx, dy = x - 0.5, y - 0.5
    c, s = math.cos(ANGLE), math.sin(ANGLE)
    return dx * c - dy * s, dx * s + dy * c


def segment_distance(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - (ax + t * vx), py - (ay + t * vy))


def colour_at(u, v, pixel):
    """The colour of the topmost shape at local point (u, v), or None; pixel is 1/size."""
    half_long, half_short = 0.24, 0.15
    outline = max(0.016, 0.75 * pixel)
    # Body: a frame of solar cells, 3 x 2 panels with lit upper halves. Below 32 pixels the
    # grid would drown the cells, so small sizes show plain panels.
    if abs(u) <= half_long and abs(v) <= half_short:
        if abs(u) > half_long - outline or abs(v) > half_short - outline:
            return OUTLINE
        cell_u = (u + half_long) / (2 * half_long) * 3
        cell_v = (v + half_short) / (2 * half_short) * 2
        if pixel <= 1 / 32:
            grid = max(0.012, 0.7 * pixel)
            if min(cell_u % 1, 1 - cell_u % 1) * (2 * half_long) / 3 < grid / 2 or \
               min(cell_v % 1, 1 - cell_v % 1) * (2 * half_short) / 2 < grid / 2:
                return FRAME
        return CELL_LIGHT if cell_v % 1 < 0.45 else CELL
    # Antennas: two whips from each end of the long axis, each with a knob at its tip.
    width = max(0.028, 1.0 * pixel)
    knob = max(0.042, 1.2 * pixel)
    length, spread = 0.17, math.radians(28)
    for end in (-1, 1):
        for side in (-1, 1):
            ax, ay = end * half_long, side * 0.5 * half_short
            bx = ax + end * length * math.cos(spread)
            by = ay + side * length * math.sin(spread)
            if math.hypot(u - bx, v - by) <= knob:
                return KNOB
            if segment_distance(u, v, ax, ay, bx, by) <= width / 2:
                return ANTENNA
    return None


def draw(size):
    """Rows of (r, g, b, opaque) for a square picture of the given size."""
    rows = []
    n = SUPERSAMPLE
    for y in range(size):
        row = []
        for x in range(size):
            hits = []
            for sy in range(n):
                for sx in range(n):
                    u, v = to_local((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size)
                    colour = colour_at(u, v, 1.0 / size)
                    if colour is not None:
                        hits.append(colour)
            if len(hits) * 2 >= n * n:
                row.append(tuple(sum(c[i] for c in hits) // len(hits) for i in range(3)) + (True,))
            else:
                row.append((0, 0, 0, False))
        rows.append(row)
    return rows


def png_bytes(rows):
    size = len(rows)
    raw = b"".join(
        b"\x00" + b"".join(bytes((r, g, b, 255 if opaque else 0)) for r, g, b, opaque in row)
        for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_image(rows):
    """A BITMAPINFOHEADER image: 24-bit colour bottom-up, then the 1-bit AND mask."""
    size = len(rows)
    colour_stride = (size * 3 + 3) // 4 * 4
    mask_stride = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, opaque in row:
            line += bytes((b, g, r)) if opaque else b"\x00\x00\x00"
        colour += line + b"\x00" * (colour_stride - len(line))
        bits = bytearray(mask_stride)
        for x, (_, _, _, opaque) in enumerate(row):
            if not opaque:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def ico_bytes(pictures):
    images = [png_bytes(pictures[size]) if size > 64 else ico_image(pictures[size])
              for size in ICO_SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(ICO_SIZES, images):
        bits = 32 if size > 64 else 24
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def maskable(size):
    """The picture at 70 % in the middle of an opaque square: inside the circle a phone keeps."""
    inner = draw(size * 7 // 10)
    margin = (size - len(inner)) // 2
    rows = [[MASKABLE_BACKGROUND + (True,)] * size for _ in range(size)]
    for y, row in enumerate(inner):
        for x, pixel in enumerate(row):
            if pixel[3]:
                rows[margin + y][margin + x] = pixel
    return rows


def main():
    pictures = {size: draw(size) for size in set(PNG_SIZES + ICO_SIZES)}
    pictures["maskable-512"] = maskable(MASKABLE_SIZE)
    for size in PNG_SIZES + ("maskable-512",):
        with open(os.path.join(HERE, "icons", f"kestrova-{size}.png"), "wb") as f:
            f.write(png_bytes(pictures[size]))
    with open(os.path.join(HERE, "kestrova.ico"), "wb") as f:
        f.write(ico_bytes(pictures))


if __name__ == "__main__":
    main()

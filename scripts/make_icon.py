#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

    python3 scripts/make_icon.py [OUTPUT]     (default src/app/Zorvik.ico)

The picture: a magnifying glass whose lens holds a small network of three nodes, the middle
one red, the program that is being looked at. Each size (16, 32 and 48 pixels) is drawn on its
own from shapes, each pixel sampled 8 by 8 times for smooth edges; the smallest size leaves the
outer nodes out and draws thicker lines, so that it stays readable. Only the standard library
is used: the file is a plain icon directory with 32-bit images and their masks.
"""
import math
import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48)
SAMPLES = 8

RIM = (0x1F, 0x3A, 0x68)
GLASS = (0xDD, 0xF0, 0xFB)
GLINT = (0xFF, 0xFF, 0xFF)
HANDLE = (0x4A, 0x3A, 0x2E)
HANDLE_CAP = (0x1F, 0x3A, 0x68)
LINK = (0x3C, 0x6E, 0xA8)
NODE = (0x2B, 0x5C, 0x9A)
SUSPECT = (0xD6, 0x32, 0x2A)


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) <= r


def ring(cx, cy, inner, outer):
    return lambda x, y: inner <= math.hypot(x - cx, y - cy) <= outer


def bar(ax, ay, bx, by, half_width):
    return lambda x, y: distance_to_segment(x, y, ax, ay, bx, by) <= half_width


def layers_for(size):
    """The shapes, bottom to top, in units of the icon's width (0..1)."""
    small = size <= 16
    cx, cy = 0.41, 0.41
    outer = 0.36
    rim = 0.11 if small else 0.075
    inner = outer - rim
    shapes = [
        (HANDLE, bar(0.66, 0.66, 0.90, 0.90, 0.10 if small else 0.075)),
        (HANDLE_CAP, bar(0.63, 0.63, 0.70, 0.70, 0.095 if small else 0.085)),
        (GLASS, disc(cx, cy, inner + 0.01)),
    ]
    if not small:
        # A glint on the glass, top left.
        shapes.append((GLINT, bar(0.22, 0.33, 0.29, 0.23, 0.024)))
    # The network inside the lens: outer nodes linked to the middle one.
    middle = (0.42, 0.42) if small else (0.44, 0.45)
    outer_nodes = [(0.27, 0.36), (0.47, 0.24), (0.31, 0.58)]
    if not small:
        for node in outer_nodes:
            shapes.append((LINK, bar(middle[0], middle[1], node[0], node[1], 0.028)))
        for node in outer_nodes:
            shapes.append((NODE, disc(node[0], node[1], 0.055)))
    shapes.append((SUSPECT, disc(middle[0], middle[1], 0.12 if small else 0.085)))
    shapes.append((RIM, ring(cx, cy, inner, outer)))
    return shapes


def render(size):
    """Rows top to bottom of (r, g, b, a) pixels."""
    shapes = layers_for(size)
    pixels = []
    step = 1.0 / (size * SAMPLES)
    for row in range(size):
        line = []
        for col in range(size):
            acc_r = acc_g = acc_b = acc_a = 0.0
            for sy in range(SAMPLES):
                y = (row * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = (col * SAMPLES + sx + 0.5) * step
                    colour = None
                    for fill, inside in shapes:
                        if inside(x, y):
                            colour = fill
                    if colour is not None:
                        acc_r += colour[0]
                        acc_g += colour[1]
                        acc_b += colour[2]
                        acc_a += 1.0
            n = SAMPLES * SAMPLES
            if acc_a == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append((round(acc_r / acc_a), round(acc_g / acc_a), round(acc_b / acc_a),
                             round(255 * acc_a / n)))
        pixels.append(line)
    return pixels


def icon_image(size, pixels):
    """One image of the icon: a 32-bit bitmap (rows bottom up) and its 1-bit mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for line in reversed(pixels):
        for r, g, b, a in line:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for line in reversed(pixels):
        bits = bytearray(mask_stride)
        for col, (_, _, _, a) in enumerate(line):
            if a == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def icon_file(sizes):
    images = [icon_image(size, render(size)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "src" / "app" / "Zorvik.ico"
    target.write_bytes(icon_file(SIZES))
    print(f"{target}: {', '.join(str(s) for s in SIZES)} pixels")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the seed records of the shape-record fuzz target (fuzz/corpus/shape_record)."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "shape_record")
os.makedirs(out, exist_ok=True)


def header(kind, group=0, page=0, fill=0):
    return struct.pack("<4I", kind, group, page, fill)


def node(anchor, inh=None, outh=None, flags=0):
    if inh is None:
        return struct.pack("<H2f", flags | 0x8000, *anchor)
    return struct.pack("<H6f", flags, *anchor, *inh, *outh)


def path(subpaths, pen=0, width=3, color=0, brush=0):
    b = struct.pack("<5I", pen, width, color, brush, len(subpaths))
    for nodes in subpaths:
        b += struct.pack("<I", len(nodes)) + b"".join(nodes)
    return header(100, 1, 0, 0xFF) + b


def u16(s):
    units = s.encode("utf-16-le")
    return struct.pack("<I", len(units) // 2) + units


def text(s, face="DejaVu Sans", size=70.5555, style=0, angle=0.0, align=1, kind=1):
    return header(201, 0, 1, 0x00FF00) + u16(s) + u16(face) + struct.pack(
        "<fI4ffII", size, style, 10, 20, 300, 200, angle, align, kind)


def image(width, height, bits, palette=()):
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytes((i * 37) & 0xFF for i in range(stride * abs(height)))
    head = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 0, 0, len(palette), 0)
    head += b"".join(struct.pack("<I", c) for c in palette)
    return header(200) + struct.pack("<4f", 0, 100, 0, -50) + struct.pack("<I", len(head)) + head + \
        struct.pack("<I", len(pixels)) + pixels


square = [node((0, 0)), node((100, 0)), node((100, 100)), node((0, 100)), node((0, 0))]
curve = [node((0, 0), (0, 0), (50, -80), 1), node((100, 0), (50, 80), (150, -80)), node((200, 0), (150, 80), (200, 0))]
seeds = {
    "rectangle": path([square]),
    "curve_with_hole": path([curve, square], brush=3),
    "artistic_text": text("Zel\r\nsecond line", angle=30.0, align=3),
    "paragraph_text": text("wrapped words in a narrow box", kind=2, style=3),
    "image24": image(3, 2, 24),
    "image8_topdown": image(5, -3, 8, [0x000000, 0xFF0000, 0x00FF00, 0x0000FF]),
    "image1": image(9, 4, 1, [0, 0xFFFFFF]),
    "placeholder": header(99, 0, 0, 0),
    "sequence": path([square]) + text("a") + image(1, 1, 24),
    "truncated": path([curve])[:-5],
}
for name, data in seeds.items():
    with open(os.path.join(out, name + ".bin"), "wb") as f:
        f.write(data)

#!/usr/bin/env python3
"""Writes the seed files of the BMP and 2BP reader fuzz target (fuzz/corpus/bmp_reader)."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "bmp_reader")
os.makedirs(out, exist_ok=True)

COLORS = [0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF,
          0x808080, 0x800000, 0x008000, 0x000080, 0x808000, 0x008080, 0x800080, 0xC0C0C0]


def index(x, y, n):
    return (x * 3 + y * 5 + x * y) % n


def rows(w, h, bits, masks):
    n = 1 << bits if bits <= 8 else 16
    stride = ((w * bits + 31) // 32) * 4
    data = b""
    for r in range(h):
        y = h - 1 - r
        row = bytearray()
        if bits <= 8:
            row = bytearray((w * bits + 7) // 8)
            for x in range(w):
                bit = x * bits
                row[bit // 8] |= index(x, y, n) << (8 - bits - bit % 8)
        else:
            for x in range(w):
                c = COLORS[index(x, y, n)]
                rgb = ((c >> 16) & 255, (c >> 8) & 255, c & 255)
                if bits == 24:
                    row += bytes((rgb[2], rgb[1], rgb[0]))
                    continue
                v = 0
                for i in range(3):
                    m = masks[i]
                    shift = (m & -m).bit_length() - 1
                    width = bin(m).count("1")
                    v |= (rgb[i] >> (8 - width) if width <= 8 else rgb[i] << (width - 8)) << shift
                row += struct.pack("<H" if bits == 16 else "<I", v)
        row += bytes(stride - len(row))
        data += row
    return data


def rle8(w, h):
    data = b""
    for r in range(h):
        y = h - 1 - r
        data += bytes((2, index(0, y, 256), 0, 3, 1, 2, 3, 0)) if w >= 5 else bytes((w, index(0, y, 256)))
        data += b"\x00\x00"
    return data + b"\x00\x01"


def rle4(w, h):
    data = b""
    for r in range(h):
        data += bytes((w, 0x12 + r % 7, 0, 0))
    return data + b"\x00\x02\x01\x00\x00\x01"  # a delta before the end


def bmp(w, h, bits, compression=0, header=40, top_down=False, palette=True, masks=None, pixels=None):
    masks = masks or ([0xF800, 0x07E0, 0x001F, 0] if bits == 16 else [0xFF0000, 0xFF00, 0xFF, 0])
    entries = (1 << bits) if bits <= 8 and palette else 0
    entry = 3 if header == 12 else 4
    after = 12 if compression == 3 and header == 40 else 0
    offset = 14 + header + after + entry * entries
    if pixels is None:
        pixels = rows(w, h, bits, masks)
        if top_down:
            stride = len(pixels) // h
            pixels = b"".join(pixels[i * stride:(i + 1) * stride] for i in reversed(range(h)))
    if header == 12:
        info = struct.pack("<IHHHH", 12, w, h, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, w, -h if top_down else h, 1, bits, compression, len(pixels),
                           2835, 2835, entries, 0)
        if header > 40:
            info += struct.pack("<4I", *masks) + b"BGRs"
            info += bytes(header - len(info))
    if after:
        info += struct.pack("<3I", *masks[:3])
    table = b""
    for i in range(entries):
        c = COLORS[i % 16]
        table += bytes((c & 255, (c >> 8) & 255, c >> 16)) + (b"" if entry == 3 else b"\x00")
    body = info + table + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


seeds = {
    "1bit_7x5.bmp": bmp(7, 5, 1),
    "1bit_core_3x2.bmp": bmp(3, 2, 1, header=12),
    "2bp_greys_9x4.2bp": bmp(9, 4, 2, palette=False),
    "2bit_table_5x3.bmp": bmp(5, 3, 2),
    "4bit_7x3.bmp": bmp(7, 3, 4),
    "4bit_topdown_4x4.bmp": bmp(4, 4, 4, top_down=True),
    "8bit_v5_3x3.bmp": bmp(3, 3, 8, header=124),
    "rle8_6x3.bmp": bmp(6, 3, 8, compression=1, pixels=rle8(6, 3)),
    "rle4_5x4.bmp": bmp(5, 4, 4, compression=2, pixels=rle4(5, 4)),
    "16bit_555_3x2.bmp": bmp(3, 2, 16, masks=[0x7C00, 0x03E0, 0x001F, 0]),
    "16bit_565_fields_7x2.bmp": bmp(7, 2, 16, compression=3),
    "24bit_1x9.bmp": bmp(1, 9, 24),
    "24bit_core_2x2.bmp": bmp(2, 2, 24, header=12),
    "24bit_topdown_9x1.bmp": bmp(9, 1, 24, top_down=True),
    "32bit_4x4.bmp": bmp(4, 4, 32),
    "32bit_fields_alpha_v4_3x3.bmp": bmp(3, 3, 32, compression=3, header=108,
                                         masks=[0xFF0000, 0xFF00, 0xFF, 0xFF000000]),
    "32bit_alphafields_2x2.bmp": bmp(2, 2, 32, compression=6, header=124,
                                     masks=[0xFF0000, 0xFF00, 0xFF, 0xFF000000]),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"wrote {len(seeds)} seeds to {out}")

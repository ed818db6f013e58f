#!/usr/bin/env python3
"""Writes switch_enable.png and switch_disable.png, the on/off pills of the toggle buttons.

The build copies the PNG files as they are; run this only to redraw them:
    python3 make_switch_images.py            (writes beside this script)
"""
import os
import struct
import zlib

WIDTH, HEIGHT = 120, 25
SAMPLES = 4  # supersampling per axis, for smooth edges

ON_COLOUR = (46, 160, 67)
OFF_COLOUR = (160, 160, 160)
KNOB_COLOUR = (255, 255, 255)


def inside_pill(x, y, left, top, right, bottom):
    """True when (x, y) lies in the rounded rectangle (radius = half its height)."""
    radius = (bottom - top) / 2.0
    if x < left or x > right or y < top or y > bottom:
        return False
    cy = top + radius
    if x < left + radius:
        return (x - (left + radius)) ** 2 + (y - cy) ** 2 <= radius ** 2
    if x > right - radius:
        return (x - (right - radius)) ** 2 + (y - cy) ** 2 <= radius ** 2
    return True


def draw(on):
    body = ON_COLOUR if on else OFF_COLOUR
    knob_r = (HEIGHT - 6) / 2.0
    knob_cx = WIDTH - 3 - knob_r if on else 3 + knob_r
    knob_cy = HEIGHT / 2.0
    rows = []
    for py in range(HEIGHT):
        row = bytearray([0])  # filter type: none
        for px in range(WIDTH):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    if (x - knob_cx) ** 2 + (y - knob_cy) ** 2 <= knob_r ** 2:
                        colour = KNOB_COLOUR
                    elif inside_pill(x, y, 0.5, 0.5, WIDTH - 0.5, HEIGHT - 0.5):
                        colour = body
                    else:
                        continue
                    for i in range(3):
                        acc[i] += colour[i]
                    acc[3] += 1
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3]:
                rgb = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.extend(rgb + [round(alpha * 255)])
        rows.append(bytes(row))
    return b"".join(rows)


def chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def png(raw):
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, on in (("switch_enable.png", True), ("switch_disable.png", False)):
        with open(os.path.join(here, name), "wb") as out:
            out.write(png(draw(on)))


if __name__ == "__main__":
    main()

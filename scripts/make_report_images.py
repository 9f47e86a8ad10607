#!/usr/bin/env python3
"""Draws the ten small symbol images of the HTML sector report into
data/SectorReports/ as GIF files.  The pictures are simple shapes drawn for
this program: a disc for a terrestrial world, a banded disc for a gas giant,
scattered rocks for a belt, a square hull for a station.  Grey means nobody
lives there, yellow a population, green a world with breathable air."""
import math
import os
import struct
import sys

SIZE = 16
BG = (255, 255, 255)
STATE = {"nopop": (150, 150, 150), "pop": (230, 190, 40), "hosp": (60, 170, 70)}
OUTLINE = (40, 40, 60)


def blank():
    return [[BG] * SIZE for _ in range(SIZE)]


def disc(img, cx, cy, r, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r - 1:
                img[y][x] = colour
            elif d <= r:
                img[y][x] = OUTLINE


def terrestrial(state):
    img = blank()
    disc(img, 8, 8, 5.5, STATE[state])
    return img


def gas_giant(state):
    img = blank()
    disc(img, 8, 8, 7.5, STATE[state])
    for y in (5, 8, 11):  # bands
        for x in range(SIZE):
            if img[y][x] == STATE[state]:
                img[y][x] = OUTLINE
    return img


def asteroids(state):
    img = blank()
    for (x, y) in ((2, 9), (5, 6), (7, 10), (10, 5), (12, 9), (14, 7), (4, 12), (9, 13)):
        img[y][x] = STATE[state]
        img[y][x + 1 if x < 15 else x] = OUTLINE
    return img


def station(state):
    img = blank()
    for y in range(4, 12):
        for x in range(4, 12):
            edge = x in (4, 11) or y in (4, 11)
            img[y][x] = OUTLINE if edge else STATE[state]
    for x in range(0, 4):  # solar panels
        img[7][x] = OUTLINE
        img[7][15 - x] = OUTLINE
    return img


def gif_bytes(img):
    colours = []
    for row in img:
        for c in row:
            if c not in colours:
                colours.append(c)
    palette_bits = 7  # 128 entries, the minimum code size of 7
    table = colours + [(0, 0, 0)] * ((1 << palette_bits) - len(colours))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", SIZE, SIZE, 0x80 | (palette_bits - 1), 0, 0)
    for c in table:
        out += bytes(c)
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
    min_code = palette_bits
    clear, eoi, width = 1 << min_code, (1 << min_code) + 1, min_code + 1
    # Literal codes only, with a clear code often enough that the code width
    # never grows: a valid, uncompressed LZW stream.
    codes = [clear]
    count = 0
    for row in img:
        for c in row:
            if count == 100:
                codes.append(clear)
                count = 0
            codes.append(colours.index(c))
            count += 1
    codes.append(eoi)
    bits = 0
    nbits = 0
    data = bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    out.append(min_code)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00\x3b"
    return bytes(out)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data",
                                                                  "SectorReports")
    os.makedirs(folder, exist_ok=True)
    images = {}
    for state in ("nopop", "pop", "hosp"):
        images["ter-" + state] = terrestrial(state)
        images["gg-" + state] = gas_giant(state)
    for state in ("nopop", "pop"):
        images["ast-" + state] = asteroids(state)
        images["ss-" + state] = station(state)
    for name, img in images.items():
        with open(os.path.join(folder, name + ".gif"), "wb") as f:
            f.write(gif_bytes(img))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the hand pointer that shows over the push buttons and writes it as a
cursor file (.cur) with two 32-bit pictures and their masks, 32 x 32 and
64 x 64 (the same drawing at twice the scale, for screens of high density
and large desktop cursors), hot spot at the tip of the pointing finger.

    python3 tools/drawcursor.py share/HAND-M.CUR
"""
import struct
import sys

SIZE = 32
SCALES = (1, 2)
# "#" outline, "o" the hand, "s" its shade, "." clear.
HAND = [
    "......##..........",
    ".....#oo#.........",
    ".....#os#.........",
    ".....#os#.........",
    ".....#os#.........",
    ".....#os###.......",
    ".....#os#os###....",
    ".....#os#os#os#...",
    ".....#os#os#os###.",
    ".##..#os#os#os#os#",
    "#oo#.#os#os#os#os#",
    "#oos##oooooooooos#",
    ".#oos#oooooooooos#",
    ".#ooooooooooooooo#",
    "..#ooooooooooooos#",
    "..#ooooooooooooos#",
    "...#oooooooooooss#",
    "...#ooooooooooss#.",
    "....#oooooooooss#.",
    "....#oooooooooss#.",
    "....#############.",
]
LEFT, TOP = 4, 1
HOT_SPOT = (LEFT + 6, TOP)  # the finger tip
COLOURS = {"#": (0, 0, 0, 255), "o": (255, 255, 255, 255), "s": (200, 205, 215, 255)}


def pixel(x, y):
    row, col = y - TOP, x - LEFT
    if 0 <= row < len(HAND) and 0 <= col < len(HAND[row]):
        return COLOURS.get(HAND[row][col])
    return None


def picture(scale):
    size = SIZE * scale
    colours = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # rows are stored bottom up
        bits = 0
        for x in range(size):
            p = pixel(x // scale, y // scale)
            r, g, b, a = p if p else (0, 0, 0, 0)
            colours += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if p else 1)  # 1: the screen shows through
        mask += bits.to_bytes(size // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    return header + colours + mask


def cursor_file():
    images = [picture(scale) for scale in SCALES]
    directory = struct.pack("<HHH", 0, 2, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for scale, image in zip(SCALES, images):
        entries += struct.pack("<BBBBHHII", SIZE * scale, SIZE * scale, 0, 0,
                               HOT_SPOT[0] * scale, HOT_SPOT[1] * scale, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(cursor_file())

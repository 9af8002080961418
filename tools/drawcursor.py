#!/usr/bin/env python3
"""Draws the hand pointer that shows over the push buttons and writes it as a
32 x 32 cursor file (.cur) with a 32-bit picture and its mask, hot spot at
the tip of the pointing finger.

    python3 tools/drawcursor.py share/HAND-M.CUR
"""
import struct
import sys

SIZE = 32
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


def picture():
    colours = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # rows are stored bottom up
        bits = 0
        for x in range(SIZE):
            p = pixel(x, y)
            r, g, b, a = p if p else (0, 0, 0, 0)
            colours += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if p else 1)  # 1: the screen shows through
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    return header + colours + mask


def cursor_file():
    image = picture()
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1],
                        len(image), len(directory) + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(cursor_file())

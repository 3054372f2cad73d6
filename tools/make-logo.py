#!/usr/bin/env python3
"""Draws the About box's logo, a 32 x 32 bitmap in the 16 standard Windows
colours: a key cap with a K, crossed by two threads. Fuchsia is the
transparent colour. Writes addin/win32/about_logo.bmp (run it again after
changing the drawing)."""
import pathlib
import struct

PALETTE = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
           0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
BLACK, NAVY, TEAL, SILVER, GREY, RED, FUCHSIA, WHITE = 0, 4, 6, 7, 8, 9, 13, 15
SIZE = 32


def draw():
    img = [[FUCHSIA] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                img[y][x] = colour

    # The key cap: grey walls inside a black outline with cut corners.
    fill(3, 3, 28, 28, GREY)
    for i in range(4, 28):
        img[2][i] = img[29][i] = img[i][2] = img[i][29] = BLACK
    for x, y in ((3, 3), (28, 3), (3, 28), (28, 28)):
        img[y][x] = BLACK
    # Its top face, lit from the upper left.
    fill(5, 4, 25, 24, SILVER)
    for x in range(5, 26):
        img[4][x] = WHITE
    for y in range(4, 25):
        img[y][5] = WHITE
    # The K.
    for y in range(8, 21):
        img[y][9] = img[y][10] = NAVY
    for i in range(7):
        img[14 - i][11 + i] = img[14 - i][12 + i] = NAVY
        img[14 + i][11 + i] = img[14 + i][12 + i] = NAVY
    # Two threads run through the cap, the red one over the teal one.
    for i in range(1, 31):
        img[i][21] = img[i][22] = TEAL
    for i in range(1, 31):
        img[21][i] = img[22][i] = RED
    return img


def bmp(img):
    rows = b""
    for row in reversed(img):  # bottom-up
        rows += bytes((row[x] << 4) | row[x + 1] for x in range(0, SIZE, 2))
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 4, 0, len(rows), 3780, 3780, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + palette + rows


if __name__ == "__main__":
    out = pathlib.Path(__file__).resolve().parent.parent / "addin/win32/about_logo.bmp"
    out.write_bytes(bmp(draw()))
    print(f"wrote {out}")

#!/usr/bin/env python3
"""Writes the program's stand-in pictures: every bitmap the resource script
names, in 16 colours, and the program icon. They only need to be the right
size and tell one picture from another; drawn pictures replace them under the
same names.

Usage: make_placeholders.py OUTPUT_FOLDER
"""

import os
import struct
import sys

# The 16 colours of the standard VGA palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# A 3 x 5 pixel font, enough for the short labels below.
FONT = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111",
    "3": "111001111001111", "4": "101101111001001", "5": "111100111001111",
    "6": "111100111101111", "7": "111001010010010", "8": "111101111101111",
    "9": "111101111001111", "+": "000010111010000", "?": "111001011000010",
    "A": "010101111101101", "C": "011100100100011", "D": "110101101101110",
    "E": "111100110100111", "F": "111100110100100", "G": "011100101101011",
    "H": "101101111101101", "K": "101110100110101", "L": "100100100100111",
    "M": "101111111101101", "N": "110101101101101", "O": "010101101101010",
    "P": "110101110100100", "R": "110101110110101", "S": "011100010001110",
    "T": "111010010010010", "U": "101101101101111", "V": "101101101101010",
    "W": "101101111111101", "X": "101101010101101", "Y": "101101010010010",
}


class Canvas:
    def __init__(self, width, height, background=SILVER):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        for x in range(left, right + 1):
            self.set(x, top, colour)
            self.set(x, bottom, colour)
        for y in range(top, bottom + 1):
            self.set(left, y, colour)
            self.set(right, y, colour)

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.set(x, y, colour)

    def text(self, x, y, label, colour):
        for ch in label:
            bits = FONT[ch]
            for row in range(5):
                for col in range(3):
                    if bits[row * 3 + col] == "1":
                        self.set(x + col, y + row, colour)
            x += 4

    def text_width(self, label):
        return 4 * len(label) - 1

    def centred_text(self, label, colour, left=0, width=None, top=None):
        width = self.width if width is None else width
        top = (self.height - 5) // 2 if top is None else top
        self.text(left + (width - self.text_width(label)) // 2, top, label, colour)


def bmp_bytes(canvas):
    """A 4-bit bitmap file: header, palette and rows from the bottom up."""
    row_bytes = ((canvas.width * 4 + 31) // 32) * 4
    bits = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(canvas.width):
            value = canvas.pixels[y][x]
            if x % 2 == 0:
                row[x // 2] |= value << 4
            else:
                row[x // 2] |= value
        bits += row
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 4, 0, len(bits),
                       2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info + palette + bytes(bits)


def ico_bytes(canvas):
    """An icon file with one 16-colour image and an all-opaque mask."""
    bitmap = bmp_bytes(canvas)[14:]
    info = bytearray(bitmap[:40])
    struct.pack_into("<i", info, 8, canvas.height * 2)  # colour rows and mask rows
    mask_row = ((canvas.width + 31) // 32) * 4
    image = bytes(info) + bitmap[40:] + bytes(mask_row * canvas.height)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", canvas.width, canvas.height, 16, 0, 1, 4, len(image), 22)
    return header + entry + image


def category_picture(label, colour):
    c = Canvas(24, 18)
    c.fill(1, 1, 22, 16, colour)
    c.rect(1, 1, 22, 16, BLACK)
    c.centred_text(label, WHITE if colour in (NAVY, MAROON, GREEN, PURPLE, TEAL, BLUE) else BLACK)
    return c


def key_hint(label, background):
    c = Canvas(28, 6, background=background)
    c.centred_text(label, NAVY, top=0)
    return c


def four_images(size, draw):
    """A toggle glyph: up, disabled, down and held, side by side."""
    c = Canvas(size * 4, size)
    for index, colour in enumerate((BLACK, GREY, NAVY, NAVY)):
        draw(c, index * size, colour)
    return c


def single(size, draw):
    c = Canvas(size, size)
    draw(c, 0, BLACK)
    return c


def draw_menu(c, x, colour):
    for y in (4, 7, 10):
        c.fill(x + 3, y, x + 12, y + 1, colour)


def draw_page(number):
    def draw(c, x, colour):
        c.rect(x + 3, 2, x + 12, 13, colour)
        c.centred_text(str(number), colour, left=x, width=16)
    return draw


def draw_history(c, x, colour):
    c.rect(x + 2, 2, x + 13, 13, colour)
    for y in (5, 8, 11):
        c.fill(x + 4, y, x + 11, y, colour)


def draw_exit(c, x, colour):
    for i in range(9):
        c.set(x + 3 + i, 3 + i, colour)
        c.set(x + 4 + i, 3 + i, colour)
        c.set(x + 11 - i, 3 + i, colour)
        c.set(x + 12 - i, 3 + i, colour)


def draw_mini(c, x, colour):
    c.fill(x + 2, 8, x + 9, 9, colour)


def draw_help(c, x, colour):
    c.text(x + 4, 3, "?", colour)


def draw_unit(fill):
    def draw(c, x, colour):
        c.fill(x + 3, 3, x + 8, 8, fill if colour != GREY else SILVER)
        c.rect(x + 2, 2, x + 9, 9, colour)
    return draw


def draw_arrow(c, x, colour):
    for i in range(6):
        c.fill(x + 2 + i, 7 + i, x + 13 - i, 7 + i, colour)
    c.fill(x + 6, 2, x + 9, 7, colour)


def program_picture(size):
    c = Canvas(size, size)
    margin = size // 8
    c.fill(margin, margin, size - 1 - margin, size - 1 - margin, YELLOW)
    c.rect(margin, margin, size - 1 - margin, size - 1 - margin, BLACK)
    c.fill(margin + 2, margin + 2, size - 3 - margin, margin + size // 4, NAVY)
    c.centred_text("KG", BLACK, top=size // 2)
    return c


CATEGORIES = {
    "BM_LEN": ("LEN", AQUA), "BM_WIDE": ("ARE", LIME), "BM_3D": ("VOL", TEAL),
    "BM_WEIGHT": ("KG", GREY), "BM_SPEED": ("SPD", YELLOW), "BM_ANGLE": ("ANG", FUCHSIA),
    "BM_POWER": ("PW", RED), "BM_DEGREE": ("DEG", MAROON), "BM_COMPUTER": ("PC", NAVY),
    "BM_EXER1": ("EX1", GREEN), "BM_EXER2": ("EX2", OLIVE), "BM_OTHER": ("ETC", WHITE),
    "BM_MONEY": ("YEN", YELLOW), "BM_MONEY2": ("USD", LIME),
}


def pictures():
    result = {}
    for name, (label, colour) in CATEGORIES.items():
        result[name] = category_picture(label, colour)
    for n in range(1, 10):
        # The "to" panel is white, the "from" panel the colour of the buttons.
        result["PF_%d" % n] = key_hint("F%d" % n, SILVER)
        result["SF_%d" % n] = key_hint("S+F%d" % n, WHITE)
    result["SYSMINI"] = single(12, draw_mini)
    result["SYSHELP"] = single(12, draw_help)
    result["GL_MENU"] = single(16, draw_menu)
    for n in (1, 2, 3):
        result["GL_PAGE%d" % n] = four_images(16, draw_page(n))
    result["GL_HISTORY"] = four_images(16, draw_history)
    result["GL_EXIT"] = single(16, draw_exit)
    result["GL_FROM"] = four_images(12, draw_unit(BLUE))
    result["GL_TO"] = four_images(12, draw_unit(RED))
    result["GL_ARROW"] = single(16, draw_arrow)
    result["BM_ABOUT"] = program_picture(32)
    return result


def write_if_changed(path, data):
    # Unchanged files keep their time, so the resources are not rebuilt.
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as out:
        out.write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_placeholders.py OUTPUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, canvas in pictures().items():
        write_if_changed(os.path.join(folder, name + ".bmp"), bmp_bytes(canvas))
    write_if_changed(os.path.join(folder, "hakarimaru.ico"), ico_bytes(program_picture(32)))


if __name__ == "__main__":
    main()

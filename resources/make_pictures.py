#!/usr/bin/env python3
"""Turns the picture sources into the bitmap files and the icon file that the
resource script takes.

The sources are text: one character a pixel, each character a colour of the
shared palette (palette.txt). A picture file holds blocks of three kinds:

    bitmap NAME WxH [images=N]   N images of W x H side by side (default 1),
                                 followed by H rows of N * W pixels; blanks in
                                 a row only part the images and are dropped.
    icon NAME WxH                one image of the icon NAME.ico, followed by
                                 H rows; the background is transparent.
    bitmap NAME = OTHER          the bitmap OTHER, drawn above, once more.
    icon NAME = BITMAP           one image made from a bitmap drawn above.
    icon NAME = WxH * K          one image made from the icon's own WxH image
                                 above, each pixel a K x K block.
    icon NAME drawn SIZE...      the icon's full-colour images, one of each
                                 size, drawn with smooth edges and
                                 transparency by icon_design.py.
    label NAME WxH INK PAPER TEXT  TEXT in the small font (font.txt), in the
                                 colour INK on PAPER, centred across and one
                                 pixel from the top.

Lines starting with ";" are comments. Every bitmap is written with four bits a
pixel and the 16 colours of the palette, and so are the icon's pixel-map
images, for displays of 16 colours; its drawn images have 32 bits a pixel,
alpha included, and the one of 256 pixels is stored as a PNG, as the system
takes it since Windows Vista. A button draws its glyph with the
colour of the bitmap's bottom-left pixel left out, so that pixel must be the
background ("."), and the background shows through wherever it is used.

Every bitmap NAME also comes as NAME_2X and NAME_3X, each pixel a 2 x 2 or a
3 x 3 block, for displays at twice and three times the 96-DPI scale: a picture
enlarged by whole pixels stays sharp where stretching would blur it. The
resource script takes them from SCALED_RC, which lists them all.

Usage: make_pictures.py SOURCE_FOLDER OUTPUT_FOLDER
"""

import glob
import os
import re
import struct
import sys
import zlib

import icon_design

BACKGROUND = "."
# The largest icon image, stored as a PNG; the directory writes its size as 0.
LARGEST_ICON = 256
# The whole-number enlargements made of every bitmap, and the resource name
# of each: NAME + SCALED_SUFFIX % scale.
SCALES = (2, 3)
SCALED_SUFFIX = "_%dX"
SCALED_RC = "scaled_pictures.rc"


class PictureError(Exception):
    pass


def content_lines(path):
    """The file's lines with their numbers, without comments and blank lines."""
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            text = line.rstrip("\n").rstrip()
            if text.strip() and not text.lstrip().startswith(";"):
                yield number, text


def read_palette(path):
    """palette.txt: 16 lines of CHARACTER RED GREEN BLUE, then a description."""
    palette = []
    for number, line in content_lines(path):
        fields = line.split()
        if len(fields) < 4 or len(fields[0]) != 1:
            raise PictureError("%s:%d: expected CHARACTER RED GREEN BLUE" % (path, number))
        rgb = tuple(int(value) for value in fields[1:4])
        if any(not 0 <= value <= 255 for value in rgb):
            raise PictureError("%s:%d: a colour value outside 0..255" % (path, number))
        palette.append((fields[0], rgb))
    characters = [character for character, _ in palette]
    if len(palette) != 16 or len(set(characters)) != 16:
        raise PictureError("%s: the palette needs 16 colours of different characters" % path)
    if characters[0] != BACKGROUND:
        raise PictureError("%s: the first colour is the background, %r" % (path, BACKGROUND))
    if (0, 0, 0) not in [rgb for _, rgb in palette]:
        raise PictureError("%s: icons need black in the palette" % path)
    return palette


def read_font(path):
    """font.txt: "glyph C" followed by five rows of "#" and "."; any width."""
    font = {}
    lines = list(content_lines(path))
    index = 0
    while index < len(lines):
        number, line = lines[index]
        match = re.fullmatch(r"glyph (\S)", line.strip())
        if not match:
            raise PictureError("%s:%d: expected \"glyph C\"" % (path, number))
        rows = [text.strip() for _, text in lines[index + 1:index + 6]]
        if len(rows) != 5 or len({len(row) for row in rows}) != 1 or \
                any(set(row) - set("#.") for row in rows):
            raise PictureError("%s:%d: a glyph is five equal rows of '#' and '.'" % (path, number))
        font[match.group(1)] = rows
        index += 6
    return font


class Picture:
    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self.rows = rows  # strings of palette characters, top row first

    def enlarged(self, scale):
        """The picture with each pixel a scale x scale block."""
        rows = ["".join(character * scale for character in row)
                for row in self.rows for _ in range(scale)]
        return Picture(self.width * scale, self.height * scale, rows)


class DrawnImage:
    """An icon image in full colour: rows of (red, green, blue, alpha)."""

    def __init__(self, size):
        self.width = self.height = size
        self.rows = icon_design.draw(size)


def drawn_icon_images(fields, where):
    """"icon NAME drawn SIZE...": the drawing at each size."""
    if len(fields) < 4 or not all(size.isdigit() for size in fields[3:]):
        raise PictureError("%s: expected \"icon NAME drawn SIZE...\"" % where)
    sizes = [int(size) for size in fields[3:]]
    if any(not 16 <= size <= LARGEST_ICON for size in sizes):
        raise PictureError("%s: drawn sizes lie within 16..%d" % (where, LARGEST_ICON))
    return [DrawnImage(size) for size in sizes]


def read_rows(lines, index, width, height, images, where):
    rows = []
    for offset in range(height):
        if index + offset >= len(lines):
            raise PictureError("%s: %d rows expected, the file ends first" % (where, height))
        number, text = lines[index + offset]
        parts = text.split()
        row = "".join(parts)
        if len(row) != width * images or (len(parts) > 1 and
                                          any(len(part) != width for part in parts)):
            raise PictureError("%s, line %d: %d images of %d pixels expected, got %r" %
                               (where, number, images, width, text.strip()))
        rows.append(row)
    return rows


def render_label(font, width, height, ink, paper, text, where):
    glyphs = []
    for character in text:
        if character not in font:
            raise PictureError("%s: the font has no %r" % (where, character))
        glyphs.append(font[character])
    text_width = sum(len(glyph[0]) for glyph in glyphs) + len(glyphs) - 1
    if text_width > width or height < 6:
        raise PictureError("%s: %r does not fit" % (where, text))
    pixels = [[paper] * width for _ in range(height)]
    x = (width - text_width) // 2
    for glyph in glyphs:
        for y, row in enumerate(glyph):
            for dx, bit in enumerate(row):
                if bit == "#":
                    pixels[1 + y][x + dx] = ink
        x += len(glyph[0]) + 1
    return ["".join(row) for row in pixels]


def enlarged_icon_image(images, size, scale, where):
    """"icon NAME = WxH * K": the icon's WxH image above, K times as large."""
    found = [image for image in images
             if isinstance(image, Picture) and "%dx%d" % (image.width, image.height) == size]
    if not found:
        raise PictureError("%s: the icon has no %s image above" % (where, size))
    if not scale.isdigit() or not 2 <= int(scale) <= 16:
        raise PictureError("%s: %r is not a whole-number enlargement" % (where, scale))
    return found[0].enlarged(int(scale))


def read_pictures(path, palette_characters, font, bitmaps, icons, labels):
    lines = list(content_lines(path))
    index = 0
    while index < len(lines):
        number, line = lines[index]
        where = "%s:%d" % (path, number)
        fields = line.split()
        index += 1
        kind, name = fields[0], fields[1] if len(fields) > 1 else ""
        if kind in ("bitmap", "label") and name in bitmaps:
            raise PictureError("%s: %s is drawn twice" % (where, name))
        if kind == "icon" and len(fields) > 2 and fields[2] == "drawn":
            icons.setdefault(name, []).extend(drawn_icon_images(fields, where))
            continue
        if kind == "icon" and len(fields) == 6 and fields[2] == "=" and fields[4] == "*":
            icons.setdefault(name, []).append(
                enlarged_icon_image(icons.get(name, []), fields[3], fields[5], where))
            continue
        if kind in ("bitmap", "icon") and len(fields) == 4 and fields[2] == "=":
            if fields[3] not in bitmaps:
                raise PictureError("%s: no bitmap %s above" % (where, fields[3]))
            if kind == "bitmap":
                bitmaps[name] = bitmaps[fields[3]]
            else:
                icons.setdefault(name, []).append(bitmaps[fields[3]])
            continue
        size = re.fullmatch(r"(\d+)x(\d+)", fields[2]) if len(fields) >= 3 else None
        if kind in ("bitmap", "icon") and size and len(fields) <= 4:
            width, height = int(size.group(1)), int(size.group(2))
            images = 1
            if len(fields) == 4:
                count = re.fullmatch(r"images=(\d+)", fields[3])
                if kind != "bitmap" or not count:
                    raise PictureError("%s: unexpected %r" % (where, fields[3]))
                images = int(count.group(1))
            rows = read_rows(lines, index, width, height, images, where)
            index += height
            picture = Picture(width * images, height, rows)
        elif kind == "label" and size and len(fields) >= 6:
            width, height = int(size.group(1)), int(size.group(2))
            text = line.split(None, 5)[5]
            picture = Picture(width, height,
                              render_label(font, width, height, fields[3], fields[4], text, where))
            labels.add(name)
        else:
            raise PictureError("%s: expected a bitmap, icon or label line, got %r" % (where, line))
        for character in "".join(picture.rows):
            if character not in palette_characters:
                raise PictureError("%s: %r is not a colour of the palette" % (where, character))
        if kind == "icon":
            icons.setdefault(name, []).append(picture)
        else:
            bitmaps[name] = picture


def check_icon(name, images):
    kinds = [(image.width, image.height, isinstance(image, DrawnImage)) for image in images]
    if len(set(kinds)) != len(kinds):
        raise PictureError("icon %s: two images of one size and kind" % name)
    for image in images:
        if image.width != image.height or image.width > 255 and not isinstance(image, DrawnImage):
            raise PictureError("icon %s: images are square, pixel maps at most 255 pixels"
                               % name)


def dib_bytes(picture, palette, mask=False):
    """The bitmap's header, palette and 4-bit rows (bottom row first); with
    mask, the icon form: twice the height and the transparency mask after."""
    index_of = {character: index for index, (character, _) in enumerate(palette)}
    black = [rgb for _, rgb in palette].index((0, 0, 0))
    row_bytes = (picture.width * 4 + 31) // 32 * 4
    bits = bytearray()
    for row in reversed(picture.rows):
        packed = bytearray(row_bytes)
        for x, character in enumerate(row):
            # An icon's transparent pixels are black in the colour image.
            value = black if mask and character == BACKGROUND else index_of[character]
            packed[x // 2] |= value << 4 if x % 2 == 0 else value
        bits += packed
    if mask:
        mask_row_bytes = (picture.width + 31) // 32 * 4
        for row in reversed(picture.rows):
            packed = bytearray(mask_row_bytes)
            for x, character in enumerate(row):
                if character == BACKGROUND:
                    packed[x // 8] |= 0x80 >> (x % 8)
            bits += packed
    height = picture.height * 2 if mask else picture.height
    info = struct.pack("<IiiHHIIiiII", 40, picture.width, height, 1, 4, 0, len(bits),
                       0 if mask else 2835, 0 if mask else 2835, 16, 0)
    colours = b"".join(bytes((blue, green, red, 0)) for _, (red, green, blue) in palette)
    return info + colours + bytes(bits)


def full_colour_dib_bytes(image):
    """The icon form of a drawn image: 32-bit rows of blue, green, red and
    alpha, bottom row first, and the mask that systems without alpha use."""
    bits = bytearray()
    for row in reversed(image.rows):
        for red, green, blue, alpha in row:
            bits += bytes((blue, green, red, alpha))
    mask_row_bytes = (image.width + 31) // 32 * 4
    for row in reversed(image.rows):
        packed = bytearray(mask_row_bytes)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                packed[x // 8] |= 0x80 >> (x % 8)
        bits += packed
    info = struct.pack("<IiiHHIIiiII", 40, image.width, image.height * 2, 1, 32, 0, len(bits),
                       0, 0, 0, 0)
    return info + bytes(bits)


def png_filtered(line, previous):
    """The row with the PNG filter that leaves the smallest differences:
    none, left, up or the nearest of the three neighbours (Paeth)."""

    def paeth(left, up, corner):
        guess = left + up - corner
        nearest = min((abs(guess - left), 0, left), (abs(guess - up), 1, up),
                      (abs(guess - corner), 2, corner))
        return nearest[2]

    zero = bytes(4)
    left = zero + line[:-4]
    corner = zero + previous[:-4]
    candidates = [
        bytes(line),
        bytes((a - b) & 255 for a, b in zip(line, left)),
        bytes((a - b) & 255 for a, b in zip(line, previous)),
        None,
        bytes((a - paeth(b, c, d)) & 255 for a, b, c, d in zip(line, left, previous, corner)),
    ]
    kind = min((sum(value if value < 128 else 256 - value for value in data), kind)
               for kind, data in enumerate(candidates) if data is not None)[1]
    return bytes((kind,)) + candidates[kind]


def png_bytes(image):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    rows = bytearray()
    previous = bytes(image.width * 4)
    for row in image.rows:
        line = bytes(value for pixel in row for value in pixel)
        rows += png_filtered(line, previous)
        previous = line
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def bmp_bytes(picture, palette):
    dib = dib_bytes(picture, palette)
    offset = 14 + 40 + 16 * 4
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, offset) + dib


def icon_image_bytes(image, palette):
    """The image's bytes, its bits a pixel and its number of colours (0 for
    more than 255)."""
    if not isinstance(image, DrawnImage):
        return dib_bytes(image, palette, mask=True), 4, 16
    if image.width == LARGEST_ICON:
        return png_bytes(image), 32, 0
    return full_colour_dib_bytes(image), 32, 0


def ico_bytes(images, palette):
    # The full-colour images first, then those of 16 colours; small to large.
    images = sorted(images, key=lambda image: (not isinstance(image, DrawnImage), image.width))
    stored = [icon_image_bytes(image, palette) for image in images]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for image, (bits, depth, colours) in zip(images, stored):
        data += struct.pack("<BBBBHHII", image.width % 256, image.height % 256, colours, 0, 1,
                            depth, len(bits), offset)
        offset += len(bits)
    return data + b"".join(bits for bits, _, _ in stored)


def write_if_changed(path, data):
    # Unchanged files keep their time, so the resources are not compiled again.
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as out:
        out.write(data)


def make(source_folder, output_folder):
    palette = read_palette(os.path.join(source_folder, "palette.txt"))
    palette_characters = {character for character, _ in palette}
    font = read_font(os.path.join(source_folder, "font.txt"))
    bitmaps, icons, labels = {}, {}, set()
    for path in sorted(glob.glob(os.path.join(source_folder, "*.txt"))):
        if os.path.basename(path) not in ("palette.txt", "font.txt"):
            read_pictures(path, palette_characters, font, bitmaps, icons, labels)
    for name, picture in bitmaps.items():
        # Labels are shown as they are; every other bitmap may be a glyph.
        if picture.rows[-1][0] != BACKGROUND and name not in labels:
            raise PictureError("bitmap %s: the bottom-left pixel must be the background" % name)
        if any(name.endswith(SCALED_SUFFIX % scale) for scale in SCALES):
            raise PictureError("bitmap %s: names ending in _2X or _3X are the enlargements"
                               % name)
    for name, images in icons.items():
        check_icon(name, images)
    os.makedirs(output_folder, exist_ok=True)
    made = set()
    script = ["// Made by make_pictures.py: the enlargements of every bitmap.\n"]
    for name, picture in bitmaps.items():
        made.add(name + ".bmp")
        write_if_changed(os.path.join(output_folder, name + ".bmp"), bmp_bytes(picture, palette))
        for scale in SCALES:
            scaled = name + SCALED_SUFFIX % scale
            made.add(scaled + ".bmp")
            write_if_changed(os.path.join(output_folder, scaled + ".bmp"),
                             bmp_bytes(picture.enlarged(scale), palette))
            script.append('%s BITMAP "%s.bmp"\n' % (scaled, scaled))
    write_if_changed(os.path.join(output_folder, SCALED_RC), "".join(script).encode("ascii"))
    for name, images in icons.items():
        made.add(name + ".ico")
        write_if_changed(os.path.join(output_folder, name + ".ico"), ico_bytes(images, palette))
    # A picture taken out of the sources must not live on in an old file.
    for path in glob.glob(os.path.join(output_folder, "*.bmp")) + \
            glob.glob(os.path.join(output_folder, "*.ico")):
        if os.path.basename(path) not in made:
            os.remove(path)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_pictures.py SOURCE_FOLDER OUTPUT_FOLDER")
    try:
        make(sys.argv[1], sys.argv[2])
    except PictureError as error:
        sys.exit("make_pictures.py: %s" % error)


if __name__ == "__main__":
    main()

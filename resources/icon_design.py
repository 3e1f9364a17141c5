"""The program's icon in full colour: the calculator behind the ruler of the
16-colour pictures, drawn at any size from shapes, with smooth edges and
transparency.

Every edge that runs straight across or down lies on a pixel boundary at each
size, so that the small images stay sharp; only the rounded corners, the
digits and the shadow are shaded in between. The details are counted out per
size, the way the hand-drawn small images simplify them: fewer keys, a bar
for the digits, coarser marks on the ruler.

draw(size) gives the picture as rows of (red, green, blue, alpha) tuples.
"""

import math

WHITE = (255, 255, 255)
OUTLINE = (58, 62, 72)
BODY_TOP, BODY_BOTTOM = (228, 232, 238), (178, 184, 194)
FRAME_TOP, FRAME_BOTTOM = (112, 118, 130), (150, 156, 168)
SCREEN_TOP, SCREEN_BOTTOM = (16, 30, 96), (6, 12, 58)
DIGIT = (255, 216, 0)
KEY_TOP, KEY_BOTTOM, KEY_EDGE = (255, 255, 255), (226, 229, 235), (128, 134, 146)
RED_TOP, RED_BOTTOM, RED_EDGE = (240, 64, 52), (208, 24, 24), (128, 0, 0)
RULER_TOP, RULER_BOTTOM, RULER_EDGE = (255, 228, 64), (246, 190, 0), (160, 96, 0)
MARK = (24, 16, 0)
SHADOW = (0, 0, 0)

# Which of a digit's seven segments are lit: across the top, the middle and
# the bottom, then down the top left, top right, bottom left, bottom right.
SEGMENTS = {"1": "0000101", "2": "1110110", "3": "1110101"}


def whole(value):
    """The nearest whole number, a half rounded up."""
    return int(math.floor(value + 0.5))


def clamp(value):
    return 0.0 if value < 0.0 else 1.0 if value > 1.0 else value


def box_coverage(left, top, right, bottom, radius, blur=1.0):
    """How much of the pixel centred at (x, y) a box with rounded corners
    covers, from the distance to its edge; a blur wider than a pixel spreads
    the edge over that many pixels, for a shadow."""
    middle_x, middle_y = (left + right) / 2, (top + bottom) / 2
    reach_x = (right - left) / 2 - radius
    reach_y = (bottom - top) / 2 - radius

    def coverage(x, y):
        away_x = abs(x - middle_x) - reach_x
        away_y = abs(y - middle_y) - reach_y
        outside = math.hypot(max(away_x, 0.0), max(away_y, 0.0))
        inside = min(max(away_x, away_y), 0.0)
        return clamp(0.5 - (outside + inside - radius) / blur)

    return coverage


def bar_coverage(x0, y0, x1, y1, half_width):
    """A stroke from (x0, y0) to (x1, y1) with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length_squared = dx * dx + dy * dy or 1.0

    def coverage(x, y):
        along = clamp(((x - x0) * dx + (y - y0) * dy) / length_squared)
        distance = math.hypot(x - x0 - along * dx, y - y0 - along * dy)
        return clamp(0.5 - (distance - half_width))

    return coverage


def vertical(top_colour, bottom_colour, top, bottom):
    """A colour running from top_colour at the row top to bottom_colour at
    the row bottom."""
    height = max(bottom - top, 1)

    def colour(y):
        share = clamp((y - top) / height)
        return tuple(a + (b - a) * share for a, b in zip(top_colour, bottom_colour))

    return colour


class Canvas:
    """Premultiplied red, green, blue and alpha, 0..1, one list a channel."""

    def __init__(self, size):
        self.size = size
        self.red = [0.0] * (size * size)
        self.green = [0.0] * (size * size)
        self.blue = [0.0] * (size * size)
        self.alpha = [0.0] * (size * size)

    def paint(self, bounds, coverage, colour, opacity=1.0):
        """Lays a colour over the pixels inside bounds (left, top, right,
        bottom) as far as coverage(x, y) of each pixel's centre says; colour
        is one (red, green, blue) or a function of the row's centre."""
        left, top, right, bottom = (max(0, int(math.floor(bounds[0]))),
                                    max(0, int(math.floor(bounds[1]))),
                                    min(self.size, int(math.ceil(bounds[2]))),
                                    min(self.size, int(math.ceil(bounds[3]))))
        for y in range(top, bottom):
            rgb = colour(y + 0.5) if callable(colour) else colour
            red, green, blue = (channel / 255 for channel in rgb)
            row = y * self.size
            for x in range(left, right):
                share = coverage(x + 0.5, y + 0.5) * opacity
                if share <= 0.0:
                    continue
                index = row + x
                keep = 1.0 - share
                self.red[index] = red * share + self.red[index] * keep
                self.green[index] = green * share + self.green[index] * keep
                self.blue[index] = blue * share + self.blue[index] * keep
                self.alpha[index] = share + self.alpha[index] * keep

    def box(self, left, top, right, bottom, colour, radius=0.0, opacity=1.0):
        self.paint((left, top, right, bottom),
                   box_coverage(left, top, right, bottom, radius), colour, opacity)

    def rows(self):
        """Straight (not premultiplied) colours, 0..255, top row first."""
        result = []
        for y in range(self.size):
            row = []
            for index in range(y * self.size, (y + 1) * self.size):
                alpha = self.alpha[index]
                if alpha <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(min(255, whole(channel / alpha * 255))
                                 for channel in (self.red[index], self.green[index],
                                                 self.blue[index])) + (whole(alpha * 255),))
            result.append(row)
        return result


class Layout:
    """Where each part goes at one size: whole pixels, in the proportions
    of the 32-pixel picture."""

    def __init__(self, size):
        self.size = size
        self.line = max(1, whole(size / 96))
        # The calculator: its bottom lies behind the ruler.
        self.body_left = whole(size * 0.16)
        self.body_right = size - self.body_left
        self.body_top = whole(size / 40)
        self.shadow_room = max(1, whole(size / 32))
        self.ruler_bottom = size - self.shadow_room
        self.ruler_top = self.ruler_bottom - max(6, whole(size * 0.31))
        self.padding = max(1, whole(size / 24))
        self.screen_left = self.body_left + self.line + self.padding
        self.screen_right = self.body_right - self.line - self.padding
        self.screen_top = self.body_top + self.line + self.padding
        # Small sizes show a bar for the digits; from 24 pixels on, digits
        # with strokes of a whole pixel need five rows at least.
        self.digits = size >= 24
        height = max(5, whole(size * 0.16)) if self.digits else 1
        self.digit_stroke = max(1, whole(height / 5))
        # The middle stroke lies halfway down only when the rows left over
        # by the three strokes across split evenly.
        self.digit_height = height + (height - self.digit_stroke) % 2
        self.digit_margin = int(size * 0.03) if self.digits else 1
        self.frame = self.line if self.digits else 0
        self.screen_bottom = (self.screen_top + 2 * (self.frame + self.digit_margin) +
                              self.digit_height)
        self.keys_top = self.screen_bottom + self.padding
        self.keys_bottom = self.ruler_top - size // 32
        self.key_columns = 3 if size < 24 else 4
        self.key_rows = 2 if size < 32 else 3
        self.key_gap = max(1, whole(size / 48))


def draw_body(canvas, at):
    canvas.box(at.body_left, at.body_top, at.body_right, at.ruler_bottom, OUTLINE,
               radius=at.size * 0.06)
    inset = at.line
    canvas.box(at.body_left + inset, at.body_top + inset, at.body_right - inset,
               at.ruler_bottom, vertical(BODY_TOP, BODY_BOTTOM, at.body_top, at.ruler_top),
               radius=max(0.0, at.size * 0.06 - inset))
    if at.size >= 32:
        # Light from above: a bright line along the top.
        canvas.box(at.body_left + inset + at.size * 0.05, at.body_top + inset,
                   at.body_right - inset - at.size * 0.05, at.body_top + inset + at.line,
                   WHITE, opacity=0.8)


def draw_screen(canvas, at):
    left, top, right, bottom = at.screen_left, at.screen_top, at.screen_right, at.screen_bottom
    radius = at.size * 0.025
    if at.frame:
        canvas.box(left, top, right, bottom, vertical(FRAME_TOP, FRAME_BOTTOM, top, bottom),
                   radius=radius)
    inner = (left + at.frame, top + at.frame, right - at.frame, bottom - at.frame)
    canvas.box(*inner, vertical(SCREEN_TOP, SCREEN_BOTTOM, inner[1], inner[3]),
               radius=max(0.0, radius - at.frame))
    if not at.digits:
        middle = (inner[0] + inner[2]) // 2
        canvas.box(middle - 1, inner[1] + 1, middle + 2, inner[1] + 2, DIGIT)
        return
    draw_digits(canvas, at, inner[0] + at.digit_margin + at.line,
                inner[2] - at.digit_margin - at.line, inner[1] + at.digit_margin)


def draw_digits(canvas, at, leftmost, right, top):
    """As much of "123" as fits, right-aligned: whole-pixel boxes while the
    strokes are a pixel or two wide, round-ended strokes above."""
    height, stroke = at.digit_height, at.digit_stroke
    width = max(3, whole(height * 0.55))
    gap = max(1, whole(height / 4))
    for position, digit in enumerate(reversed("123")):
        left = right - (position + 1) * width - position * gap
        if left < leftmost:
            break
        for segment, lit in enumerate(SEGMENTS[digit]):
            if lit == "1":
                draw_segment(canvas, segment, left, top, width, height, stroke)


def draw_segment(canvas, segment, left, top, width, height, stroke):
    middle = top + (height - stroke) // 2
    bottom = top + height - stroke
    right = left + width - stroke
    if stroke <= 2:
        boxes = [(left, top, left + width, top + stroke),
                 (left, middle, left + width, middle + stroke),
                 (left, bottom, left + width, bottom + stroke),
                 (left, top, left + stroke, middle + stroke),
                 (right, top, right + stroke, middle + stroke),
                 (left, middle, left + stroke, bottom + stroke),
                 (right, middle, right + stroke, bottom + stroke)]
        canvas.box(*boxes[segment], DIGIT)
        return
    half = stroke / 2
    # Each stroke stops short of its neighbours, as on a real display.
    gap = stroke * 0.4
    x0, x1 = left + half, right + half
    y0, y1, y2 = top + half, middle + half, bottom + half
    lines = [(x0 + gap, y0, x1 - gap, y0), (x0 + gap, y1, x1 - gap, y1),
             (x0 + gap, y2, x1 - gap, y2), (x0, y0 + gap, x0, y1 - gap),
             (x1, y0 + gap, x1, y1 - gap), (x0, y1 + gap, x0, y2 - gap),
             (x1, y1 + gap, x1, y2 - gap)]
    a, b, c, d = lines[segment]
    canvas.paint((min(a, c) - stroke, min(b, d) - stroke, max(a, c) + stroke, max(b, d) + stroke),
                 bar_coverage(a, b, c, d, half), DIGIT)


def draw_keys(canvas, at):
    columns, rows, gap = at.key_columns, at.key_rows, at.key_gap
    width = (at.screen_right - at.screen_left - (columns - 1) * gap) // columns
    height = (at.keys_bottom - at.keys_top - (rows - 1) * gap) // rows
    # A key's lower edge, darker, once the keys have rows to spare for it.
    edge = max(1, whole(height / 6)) if height >= 2 else 0
    radius = at.size * 0.015
    for row in range(rows):
        for column in range(columns):
            left = at.screen_left + column * (width + gap)
            top = at.keys_top + row * (height + gap)
            red = column == columns - 1 and row == rows - 1
            face_top, face_bottom, dark = ((RED_TOP, RED_BOTTOM, RED_EDGE) if red else
                                           (KEY_TOP, KEY_BOTTOM, KEY_EDGE))
            if edge:
                canvas.box(left, top, left + width, top + height, dark, radius=radius)
            canvas.box(left, top, left + width, top + height - edge,
                       vertical(face_top, face_bottom, top, top + height - edge), radius=radius)


def draw_ruler(canvas, at):
    size, line = at.size, at.line
    top, bottom = at.ruler_top, at.ruler_bottom
    radius = max(1.0, size * 0.04)
    # Its shadow, thrown down and to the right.
    shift = max(1, whole(size / 16))
    shadow = box_coverage(shift, top + at.shadow_room, size + shift, bottom + at.shadow_room,
                          radius, blur=max(1.0, size / 48))
    canvas.paint((0, top, size, size), shadow, SHADOW, opacity=0.3)
    canvas.box(0, top, size, bottom, RULER_EDGE, radius=radius)
    edge = max(line, whole(size / 64))
    canvas.box(edge, top + edge, size - edge, bottom - edge,
               vertical(RULER_TOP, RULER_BOTTOM, top, bottom), radius=max(0.0, radius - edge))
    draw_marks(canvas, at, edge)


def draw_marks(canvas, at, edge):
    """Marks every step from the top edge down, every fourth one longer;
    from 64 pixels on, four lengths: every second, fourth and eighth one
    longer than the last."""
    size = at.size
    inner = at.ruler_bottom - at.ruler_top - 2 * edge
    step = max(2, whole(size / 24))
    mark = max(1, whole(size / 128))
    lengths = [0.25, 0.38, 0.5, 0.65] if size >= 64 else [0.5, 0.5, 0.75, 0.75]
    top = at.ruler_top + edge
    x = edge + step - mark // 2
    count = 0
    while x + mark <= size - edge - step // 2:
        level = (count % 2 == 0) + (count % 4 == 0) + (count % 8 == 0)
        length = max(1, whole(inner * lengths[level]))
        canvas.box(x, top, x + mark, top + length, MARK)
        x += step
        count += 1


def draw(size):
    """The icon as rows of (red, green, blue, alpha), top row first."""
    at = Layout(size)
    canvas = Canvas(size)
    draw_body(canvas, at)
    draw_screen(canvas, at)
    draw_keys(canvas, at)
    draw_ruler(canvas, at)
    return canvas.rows()

#!/usr/bin/env python3
"""Draw Vantrel's artwork: title.gif, vantrel.ico, vantrel.png and the icon's
other sizes, vantrel-SIZE.png.

Usage: python3 draw_assets.py [OUTDIR]   (default: the folder of this script)

Everything is drawn from shapes and pixel maps defined below, using only the
standard library, so the files can be rebuilt anywhere and compared byte for
byte with the committed copies.  Nothing here depends on time or randomness.
"""
import math
import os
import struct
import sys
import zlib

# --------------------------------------------------------------------------
# Shapes.  A mask is a set of (x, y) pixels; a pixel belongs to a shape when
# its centre (x + 0.5, y + 0.5) lies inside.
# --------------------------------------------------------------------------


def poly(pts):
    out = set()
    ys = [p[1] for p in pts]
    for y in range(math.floor(min(ys)), math.ceil(max(ys)) + 1):
        yc = y + 0.5
        xs = []
        for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
            if (y0 <= yc) != (y1 <= yc):
                xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[::2], xs[1::2]):
            out.update((x, y) for x in range(math.ceil(a - 0.5), math.ceil(b - 0.5)))
    return out


def ellipse(cx, cy, rx, ry, deg=0.0):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    r = max(rx, ry)
    out = set()
    for y in range(math.floor(cy - r), math.ceil(cy + r) + 1):
        for x in range(math.floor(cx - r), math.ceil(cx + r) + 1):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            u, v = dx * c + dy * s, dy * c - dx * s
            if (u / rx) ** 2 + (v / ry) ** 2 <= 1.0:
                out.add((x, y))
    return out


def curve(*ctrl, n=24):
    """Points of a Bezier curve (any degree) through the control points."""
    pts = []
    for i in range(n + 1):
        t, p = i / n, list(ctrl)
        while len(p) > 1:
            p = [(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t) for a, b in zip(p, p[1:])]
        pts.append(p[0])
    return pts


def stroke(pts, r0, r1=None):
    """A round-ended tube along a polyline, tapering from radius r0 to r1."""
    r1 = r0 if r1 is None else r1
    seg = [math.dist(a, b) for a, b in zip(pts, pts[1:])]
    total = sum(seg) or 1.0
    out, run = set(), 0.0
    for (a, b), d in zip(zip(pts, pts[1:]), seg):
        steps = max(1, int(d * 2))
        for i in range(steps + 1):
            t = i / steps
            r = r0 + (r1 - r0) * (run + d * t) / total
            out |= ellipse(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, r, r)
        run += d
    return out


def shift(mask, dx, dy):
    return {(x + dx, y + dy) for x, y in mask}


def edge(mask):
    """Pixels of the mask that touch the outside (4-neighbourhood)."""
    return {(x, y) for x, y in mask
            if not {(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)} <= mask}


def rim(mask, dx, dy):
    """Pixels of the mask whose neighbour at (dx, dy) is outside: a cheap shade."""
    return {(x, y) for x, y in mask if (x + dx, y + dy) not in mask}


def halo(mask):
    """Pixels just outside the mask (8-neighbourhood): a bold outline."""
    out = set()
    for x, y in mask:
        out.update((x + i, y + j) for i in (-1, 0, 1) for j in (-1, 0, 1))
    return out - mask


class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, mask, colour):
        for x, y in mask:
            if 0 <= x < self.w and 0 <= y < self.h:
                self.px[y][x] = colour

    def part(self, mask, fill, line=None, shade=None, light=None, depth=3):
        """Fill a shape, darken its lower right rim, light its upper left, outline it."""
        self.put(mask, fill)
        if light:
            self.put(rim(mask, -2, -2), light)
        if shade:
            self.put(rim(mask, depth, depth), shade)
        if line:
            self.put(edge(mask), line)


BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def dither(x, y, frac):
    """True when an ordered dither at this pixel should take the next shade."""
    return BAYER[y % 4][x % 4] < frac * 16


# --------------------------------------------------------------------------
# Pixel font, 5x7, just the letters the artwork needs.
# --------------------------------------------------------------------------

FONT = {
    'A': ".###. #...# #...# ##### #...# #...# #...#",
    'C': ".###. #...# #.... #.... #.... #...# .###.",
    'D': "####. #...# #...# #...# #...# #...# ####.",
    'E': "##### #.... #.... ####. #.... #.... #####",
    'I': "##### ..#.. ..#.. ..#.. ..#.. ..#.. #####",
    'L': "#.... #.... #.... #.... #.... #.... #####",
    'N': "#...# ##..# ##..# #.#.# #..## #..## #...#",
    'O': ".###. #...# #...# #...# #...# #...# .###.",
    'R': "####. #...# #...# ####. #.#.. #..#. #...#",
    'S': ".#### #.... #.... .###. ....# ....# ####.",
    'T': "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    'V': "#...# #...# #...# #...# .#.#. .#.#. ..#..",
    'Y': "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    ' ': "..... ..... ..... ..... ..... ..... .....",
}


def text(s, x0, y0, sx=1, sy=1, gap=1):
    out = set()
    for ch in s:
        for row, bits in enumerate(FONT[ch].split()):
            for col, b in enumerate(bits):
                if b == '#':
                    out.update((x0 + col * sx + i, y0 + row * sy + j)
                               for i in range(sx) for j in range(sy))
        x0 += 5 * sx + gap
    return out


# --------------------------------------------------------------------------
# Title screen.  Colours are names; each name has one RGB for the red edition
# frame and one for the green edition frame, so frame two is frame one with
# its palette mapping swapped.
# --------------------------------------------------------------------------

SHARED = {
    'sky0': (10, 12, 36), 'sky1': (18, 18, 54), 'sky2': (30, 24, 72),
    'sky3': (50, 30, 90), 'sky4': (76, 36, 100), 'sky5': (104, 44, 104),
    'star': (248, 240, 200), 'stardim': (140, 140, 188),
    'hill': (28, 16, 46), 'hilltop': (52, 30, 74),
    'teal': (0, 128, 128), 'teal_hi': (72, 192, 180), 'teal_lo': (0, 80, 88),
    'gold_hi': (255, 250, 170), 'gold': (248, 216, 32), 'gold_lo': (232, 144, 16),
    'gold_line': (70, 28, 6), 'logo_shadow': (8, 30, 40),
    'white': (248, 248, 248), 'ink': (20, 20, 44),
    'black': (0, 0, 0), 'ledge': (44, 40, 52),
    'horn': (240, 230, 196), 'horn_lo': (170, 150, 112),
    'mouth': (90, 12, 24), 'core': (255, 252, 224),
}
EDITION = {  # name: (red edition, green edition)
    'strip': ((200, 32, 32), (36, 160, 60)),
    'strip_hi': ((248, 104, 88), (124, 224, 120)),
    'strip_lo': ((112, 12, 16), (14, 84, 36)),
    'd_line': ((60, 14, 8), (8, 44, 22)),
    'd_dark': ((168, 44, 16), (32, 110, 48)),
    'd_body': ((230, 86, 30), (70, 166, 70)),
    'd_light': ((250, 146, 70), (140, 210, 106)),
    'belly': ((250, 210, 116), (214, 232, 130)),
    'belly_lo': ((212, 150, 70), (160, 188, 84)),
    'wing': ((196, 58, 40), (44, 132, 76)),
    'wing_lo': ((136, 32, 28), (24, 92, 56)),
    'fire0': ((214, 52, 22), (80, 176, 36)),
    'fire1': ((248, 134, 24), (172, 222, 44)),
    'fire2': ((252, 220, 64), (232, 248, 120)),
    'glow': ((126, 50, 92), (58, 88, 92)),
}


def build_palette():
    """Index 0 stays unused so it can serve as the transparent index."""
    rgb, index = [(0, 0, 0)], {}
    for name, c in SHARED.items():
        index[name] = (len(rgb), len(rgb))
        rgb.append(c)
    for name, (a, b) in EDITION.items():
        index[name] = (len(rgb), len(rgb) + 1)
        rgb += [a, b]
    assert len(rgb) <= 64
    return rgb + [(0, 0, 0)] * (64 - len(rgb)), index


def draw_backdrop(cv):
    shades = ['sky0', 'sky1', 'sky2', 'sky3', 'sky4', 'sky5']
    for y in range(5, 105):
        f = (y - 5) / 100 * (len(shades) - 1)
        lo = int(f)
        for x in range(cv.w):
            up = lo + 1 < len(shades) and dither(x, y, f - lo)
            cv.px[y][x] = shades[lo + up]
    # A warm glow in the sky around the flame.
    for x, y in ellipse(112, 48, 42, 28):
        d = math.hypot((x - 112) / 42, (y - 48) / 28)
        if 5 <= y < 105 and dither(x, y, 1.0 - d):
            cv.px[y][x] = 'glow'
    seed = 12345
    for _ in range(70):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x, y = seed % 240, 6 + (seed >> 8) % 70
        cv.put({(x, y)}, 'star' if (seed >> 16) % 4 == 0 else 'stardim')
    ridge = [(0, 105), (0, 92)]
    for x in range(0, 241, 8):
        ridge.append((x, 90 - 6 * math.sin(x / 23.0) - 4 * math.sin(x / 7.3 + 1)))
    ridge.append((240, 105))
    hills = poly(ridge)
    cv.put(hills, 'hill')
    cv.put(rim(hills, 0, -1), 'hilltop')
    cv.put({(x, y) for x in range(240) for y in range(105, 155)}, 'black')
    cv.put({(x, 105) for x in range(240)}, 'ledge')
    for y, c in zip(range(5), ['strip_lo', 'strip_hi', 'strip', 'strip', 'strip_lo']):
        cv.put({(x, y) for x in range(240)}, c)
        cv.put({(x, 159 - y) for x in range(240)}, c)


def draw_logo(cv):
    band = poly([(0, 8), (138, 8), (128, 42), (0, 42)])
    cv.put(band, 'teal')
    cv.put(rim(band, 0, -2), 'teal_hi')
    cv.put(rim(band, 0, 2) | rim(band, 2, 0), 'teal_lo')
    top = 13
    letters = text("VANTREL", 8, top, 3, 3, 3)
    cv.put(shift(letters, 2, 2) | shift(halo(letters), 2, 2), 'logo_shadow')
    cv.put(halo(letters), 'gold_line')
    for x, y in letters:
        row = (y - top) // 3
        cv.px[y][x] = 'gold_hi' if row == 0 else 'gold' if row < 4 else 'gold_lo'
    for i, line in enumerate(["TITLE SCREEN", "CRY EDITOR"]):
        words = text(line, 10, 48 + 11 * i)
        cv.put(shift(words, 1, 1), 'ink')
        cv.put(words, 'white')


def flame(mouth, tip, reach, scale, licks=0.0):
    """Fire breath as puffs swelling away from the mouth.  Inner, hotter layers
    use a smaller reach and scale of the same puffs so they nest inside; licks
    add tongues that trail back toward the mouth so the ball reads as fire."""
    (x0, y0), (x1, y1) = mouth, tip
    ux, uy = x1 - x0, y1 - y0
    n = math.hypot(ux, uy)
    back = math.atan2(-uy, -ux)
    out = set()
    for i in range(12):
        t = reach * i / 11
        r = scale * (1.5 + 13 * t ** 1.2)
        side = (-1) ** i * 0.35 * r * min(1.0, 3 * t)
        cx, cy = x0 + ux * t - uy / n * side, y0 + uy * t + ux / n * side
        out |= ellipse(cx, cy, r, r * 0.9)
        if licks and i in (6, 9, 11):
            for k, deg in enumerate((-128, -98, -68, 68, 98, 128)):
                a = back + math.radians(deg + 9 * (i % 2))
                bend = math.copysign(1.0, deg)
                ln = licks * r * (0.6 + 0.2 * ((i + k) % 3))

                def at(angle, dist):
                    return cx + dist * math.cos(angle), cy + dist * math.sin(angle)
                out |= poly([at(a - 0.55, 0.8 * r), at(a - 0.3 * bend, r + ln / 2),
                             at(a - 0.75 * bend, r + ln), at(a + 0.55, 0.8 * r)])
    return out


def draw_dragon(cv):
    # Back to front.  Every part gets a line and a shade so overlaps read.
    far_wing = poly([(188, 62), (178, 40), (182, 16), (190, 6), (196, 24), (204, 52)])
    tail = stroke(curve((214, 92), (240, 90), (236, 106), (214, 104), n=30), 7, 2)
    spade = poly([(216, 99), (206, 103), (214, 108), (219, 104)])
    body = ellipse(199, 80, 17, 24, -18)
    thigh = ellipse(208, 92, 11, 12, 20)
    foot = poly([(200, 94), (213, 98), (212, 105), (194, 105), (194, 101), (202, 100)])
    neck = stroke(curve((193, 72), (172, 68), (165, 46)), 11, 8)
    skull = ellipse(162, 38, 11, 9, -8)
    snout = poly([(158, 30), (141, 33), (135, 37), (137, 40), (158, 42)])
    jaw = poly([(156, 43), (141, 46), (136, 50), (141, 52), (160, 48)])
    horn1 = poly([(162, 31), (172, 22), (184, 16), (177, 24), (168, 35)])
    horn2 = poly([(156, 31), (159, 22), (164, 17), (162, 26), (161, 32)])
    arm = stroke([(186, 76), (178, 88), (166, 84)], 4, 3)
    hand = ellipse(164, 83, 4, 4)
    wrist, tips = (210, 11), [(236, 10), (238, 36), (230, 60)]
    membrane = [(194, 66), (199, 38), wrist, tips[0]]
    for a, b in zip(tips, tips[1:] + [(212, 76)]):
        pull = ((a[0] + b[0]) / 2 * 0.6 + wrist[0] * 0.4, (a[1] + b[1]) / 2 * 0.6 + wrist[1] * 0.4)
        membrane += curve(a, pull, b, n=8)[1:]
    wing = poly(membrane)
    wing_arm = stroke([(194, 66), (199, 38), wrist], 3, 2)

    cv.part(far_wing, 'wing_lo', 'd_line')
    cv.part(tail | spade, 'd_body', 'd_line', 'd_dark', 'd_light')
    cv.part(body, 'd_body', 'd_line', 'd_dark', 'd_light')
    cv.part(ellipse(190, 86, 9, 17, -18), 'belly', None, 'belly_lo')
    cv.part(thigh, 'd_body', 'd_line', 'd_dark', 'd_light')
    cv.part(foot, 'd_body', 'd_line', 'd_dark')
    cv.part(neck, 'd_body', 'd_line', 'd_dark', 'd_light')
    cv.part(stroke(curve((186, 78), (168, 70), (158, 50)), 4, 3) & neck, 'belly', None, 'belly_lo')
    cv.part(horn2, 'horn_lo', 'd_line')
    cv.part(jaw, 'd_body', 'd_line', 'd_dark')
    cv.part(skull | snout, 'd_body', 'd_line', 'd_dark', 'd_light')
    cv.part(horn1, 'horn', 'd_line', 'horn_lo')
    cv.part(wing, 'wing', 'd_line', 'wing_lo')
    for tip in tips:
        cv.put(stroke([wrist, tip], 1.0), 'wing_lo')
    cv.part(wing_arm, 'd_body', 'd_line', 'd_dark')
    cv.part(arm | hand, 'd_body', 'd_line', 'd_dark')
    parts = (far_wing | tail | spade | body | thigh | foot | neck | skull | snout | jaw
             | horn1 | horn2 | wing | wing_arm | arm | hand)
    cv.put(halo(parts), 'd_line')
    # Claws, teeth and face details go on top of the outline.
    for cx, cy in [(193, 105), (197, 106), (160, 81), (159, 86)]:
        cv.put(poly([(cx, cy - 2), (cx - 4, cy + 1), (cx, cy + 1)]), 'horn')
    cv.put(poly([(wrist[0], wrist[1] + 2), (wrist[0] - 2, wrist[1] - 5), (wrist[0] + 2, wrist[1])]), 'horn')
    cv.put(poly([(155, 42), (137, 41), (139, 46), (155, 45)]), 'mouth')
    cv.put({(141, 41), (146, 41), (151, 41), (143, 45), (148, 45)}, 'white')
    cv.put({(x, y) for x in range(152, 156) for y in range(35, 38)}, 'white')
    cv.put({(152, 35), (153, 35), (152, 36), (153, 36)}, 'black')
    # A brow sloping down toward the snout makes the face look fierce.
    cv.put({(151, 34), (152, 34), (153, 33), (154, 33), (155, 32), (156, 32), (157, 32)}, 'd_line')
    cv.put({(138, 35), (139, 35)}, 'd_line')


# Where the window's Play button covers the picture (x, y, right, bottom), in
# the picture's pixels: the row of the drop-down list, between the flame and
# the dragon's hand.
PLAY_BUTTON = (113, 73, 142, 87)


def draw_fire(cv):
    # Aimed between the subtitle and the dragon's head; the lower part may end up
    # under the window's drop-down list, so nothing important goes there. The
    # tongues and sparks stay above the Play button, which would cut them off.
    mouth, tip = (137, 45), (97, 55)
    for colour, reach, scale, licks in [('fire0', 1.0, 0.9, 1.1), ('fire1', 0.9, 0.68, 0.8),
                                        ('fire2', 0.75, 0.45, 0.6), ('core', 0.5, 0.25, 0)]:
        cv.put(flame(mouth, tip, reach, scale, licks), colour)
    for x, y, r, c in [(95, 73, 1.6, 'fire1'), (108, 69, 1.2, 'fire0'), (88, 67, 1.1, 'fire0')]:
        cv.put(ellipse(x, y, r, r * 1.3), c)


def draw_cry_waves(cv):
    """Sound waves from the Play button's right edge toward the dragon: the
    button plays its cry."""
    _, top, right, bottom = PLAY_BUTTON
    cx, cy = right - 6, (top + bottom) / 2
    for radius, colour in [(9, 'gold_hi'), (12.5, 'gold'), (16, 'gold_lo')]:
        ring = ellipse(cx, cy, radius + 0.6, radius + 0.6) - ellipse(cx, cy, radius - 0.6, radius - 0.6)
        cv.put({(x, y) for x, y in ring if x >= right + 1 and abs(y + 0.5 - cy) < 6}, colour)


def title_frames():
    cv = Canvas(240, 160, 'black')
    draw_backdrop(cv)
    draw_logo(cv)
    draw_dragon(cv)
    draw_fire(cv)
    draw_cry_waves(cv)
    rgb, index = build_palette()
    frames = [[index[c][k] for row in cv.px for c in row] for k in (0, 1)]
    return rgb, frames


# --------------------------------------------------------------------------
# GIF writer with its own LZW encoder.
# --------------------------------------------------------------------------


def lzw(pixels, min_bits):
    clear, stop = 1 << min_bits, (1 << min_bits) + 1
    out = bytearray()
    acc = nacc = 0

    def emit(code, bits):
        nonlocal acc, nacc
        acc |= code << nacc
        nacc += bits
        while nacc >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nacc -= 8

    table, nxt, bits = {}, stop + 1, min_bits + 1
    emit(clear, bits)
    prefix = pixels[0]
    for p in pixels[1:]:
        key = (prefix, p)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, bits)
        if nxt < 4096:
            table[key] = nxt
            nxt += 1
            if nxt > (1 << bits) and bits < 12:
                bits += 1
        else:  # table full: start over rather than keep a stale dictionary
            emit(clear, bits)
            table, nxt, bits = {}, stop + 1, min_bits + 1
        prefix = p
    emit(prefix, bits)
    emit(stop, bits)
    if nacc:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(w, h, rgb, frames, delay):
    size_bits = (len(rgb) - 1).bit_length()  # 64 colours -> 6
    data = bytearray(b'GIF89a')
    data += struct.pack('<HHBBB', w, h, 0x80 | (size_bits - 1) << 4 | (size_bits - 1), 0, 0)
    data += bytes(v for c in rgb for v in c)
    data += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00'  # loop forever
    for pixels in frames:
        assert 0 not in pixels  # index 0 is the transparent one: keep the picture opaque
        # Disposal 'leave in place' + transparent index 0, which no pixel uses.
        data += struct.pack('<BBBBHBB', 0x21, 0xF9, 4, 0x04 | 0x01, delay, 0, 0)
        data += struct.pack('<BHHHHB', 0x2C, 0, 0, w, h, 0)
        data.append(size_bits)
        packed = lzw(pixels, size_bits)
        for i in range(0, len(packed), 255):
            chunk = packed[i:i + 255]
            data += bytes([len(chunk)]) + chunk
        data.append(0)
    data.append(0x3B)
    return bytes(data)


# --------------------------------------------------------------------------
# Icon: an "OK" hand in a white cartoon glove, 32x32, classic 16 colours.
# --------------------------------------------------------------------------

VGA16 = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
         0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
ICON_INDEX = {'black': 0, 'navy': 4, 'silver': 7, 'grey': 8, 'blue': 12, 'white': 15}


def draw_icon(size=32):
    """The glove drawn at size x size: the shapes are laid out on 32x32 and
    scaled, so that the small sizes get outlines of their own instead of a
    blurred copy of the large picture."""
    k = size / 32
    cv = Canvas(size, size)
    glove = set()

    def at(*pts):
        return [(x * k, y * k) for x, y in pts]

    def glove_part(mask, depth=1):
        glove.update(mask)
        cv.part(mask, 'white', 'grey', 'silver', depth=max(1, round(depth * k)))

    # Thumb and forefinger close into a ring; the tips meet on its right side.
    cx, cy = 24.5 * k, 9.5 * k
    ring = ellipse(cx, cy, 6.5 * k, 6.5 * k) - ellipse(cx, cy, 2.6 * k, 2.6 * k)
    thumb = {(x, y) for x, y in ring if math.atan2(y + 0.5 - cy, x + 0.5 - cx) > 0.35}
    glove_part(stroke(at((9.5, 17), (4.5, 9)), 2.6 * k, 2.3 * k))            # little finger
    glove_part(stroke(at((12.5, 15), (9.5, 4)), 2.7 * k, 2.5 * k))          # ring finger
    glove_part(stroke(at((16, 14), (15, 2.8)), 2.8 * k, 2.6 * k))           # middle finger
    glove_part(thumb | stroke(at((15, 21), (21, 15.5)), 3 * k))
    glove_part((ring - thumb) | stroke(at((19, 15), (19.3, 10)), 2.6 * k))
    glove_part(ellipse(14.5 * k, 19.5 * k, 8 * k, 7 * k, -35)
               | stroke(at((13, 21), (9.5, 23.5)), 4.5 * k), 2)  # palm
    a, p = (-0.743, 0.669), (0.669, 0.743)
    cuff = poly(at(*[(7.5 + a[0] * i + p[0] * j, 25 + a[1] * i + p[1] * j)
                     for i, j in [(-3, -5.9), (-3, 6.2), (3, 6.2), (3, -5.9)]]))
    cv.part(cuff, 'blue', 'navy', 'navy', depth=max(1, round(2 * k)))
    cv.put(edge(glove | cuff), 'black')
    return cv


def icon_pixels(size=32):
    cv = draw_icon(size)
    return [[None if c is None else ICON_INDEX[c] for c in row] for row in cv.px]


def enlarged(pix, factor):
    """Pixel art made larger by repeating each pixel: it stays crisp."""
    return [[c for c in row for _ in range(factor)] for row in pix for _ in range(factor)]


# At 16x16 the scaled shapes lose the fingers and the ring: drawn by hand.
GLOVE_16 = """
.......0........
.....00f0..000..
...00f0f0.0fff0.
..0f0f0f00ff0ff0
..0f0f0f00f0.0f0
..0f0f0f0fff0ff0
..0f8f8f8fffff0.
..0ffffffff8f0..
.0ffffffff8f70..
0c4fffff8f70....
0cc4fffff770....
.0cc4fff770.....
..0cc4f770......
...0cc4400......
....0c440.......
.....000........
"""


def icon_pixels_16():
    colours = {'.': None, '0': 0, '4': 4, '7': 7, '8': 8, 'c': 12, 'f': 15}
    return [[colours[c] for c in row] for row in GLOVE_16.split()]


def hicolor_icons(pix32):
    """The icon in the sizes a desktop's icon theme asks for: drawn at 16, 24
    and 48, and the 32x32 picture enlarged whole-pixel above that."""
    sizes = {16: icon_pixels_16(), 24: icon_pixels(24), 48: icon_pixels(48)}
    sizes.update({32 * f: enlarged(pix32, f) for f in (2, 4, 8)})
    return {f'vantrel-{size}.png': indexed_png(pix) for size, pix in sorted(sizes.items())}


def ico(pix):
    h, w = len(pix), len(pix[0])
    xor = bytearray()
    andm = bytearray()
    for row in reversed(pix):  # DIB rows run bottom-up
        idx = [0 if c is None else c for c in row]
        xor += bytes(idx[i] << 4 | idx[i + 1] for i in range(0, w, 2))
        bits = ''.join('1' if c is None else '0' for c in row)
        andm += int(bits, 2).to_bytes(w // 8, 'big')
    palette = b''.join(struct.pack('<BBBB', c & 0xFF, c >> 8 & 0xFF, c >> 16, 0) for c in VGA16)
    dib = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 4, 0, len(xor) + len(andm), 0, 0, 16, 0)
    image = dib + palette + bytes(xor) + bytes(andm)
    head = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 6 + 16)
    return head + entry + image


def png_chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def png_file(w, h, bit_depth, colour_type, raw, palette=b''):
    """A PNG of filtered rows.  The zlib stream uses stored blocks so the bytes
    do not depend on which deflate implementation the machine happens to have."""
    stream = bytearray(b'\x78\x01')
    for i in range(0, len(raw), 65535):
        block = raw[i:i + 65535]
        last = i + 65535 >= len(raw)
        stream += struct.pack('<BHH', last, len(block), len(block) ^ 0xFFFF) + block
    stream += struct.pack('>I', zlib.adler32(bytes(raw)))
    header = struct.pack('>IIBBBBB', w, h, bit_depth, colour_type, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) + palette
            + png_chunk(b'IDAT', bytes(stream)) + png_chunk(b'IEND', b''))


def png(pix):
    """RGBA PNG."""
    raw = bytearray()
    for row in pix:
        raw.append(0)
        for c in row:
            raw += b'\0\0\0\0' if c is None else VGA16[c].to_bytes(3, 'big') + b'\xff'
    return png_file(len(pix[0]), len(pix), 8, 6, raw)


def indexed_png(pix):
    """4-bit palette PNG, entry 0 transparent: an eighth of the RGBA size,
    which counts for the large icons since stored blocks do not compress."""
    used = sorted({c for row in pix for c in row if c is not None})
    slot = {None: 0, **{c: i + 1 for i, c in enumerate(used)}}
    raw = bytearray()
    for row in pix:
        idx = [slot[c] for c in row] + [0]
        raw.append(0)
        raw += bytes(idx[i] << 4 | idx[i + 1] for i in range(0, len(row), 2))
    palette = png_chunk(b'PLTE', b''.join(VGA16[c].to_bytes(3, 'big') for c in [0] + used))
    return png_file(len(pix[0]), len(pix), 4, 3, raw, palette + png_chunk(b'tRNS', b'\0'))


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(outdir, exist_ok=True)
    rgb, frames = title_frames()
    pix = icon_pixels()
    files = {'title.gif': gif(240, 160, rgb, frames, 150), 'vantrel.ico': ico(pix), 'vantrel.png': png(pix)}
    files.update(hicolor_icons(pix))
    for name, data in files.items():
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()

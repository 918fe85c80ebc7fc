"""Small writer for the program's bitmap and icon resources.

The drawing scripts beside this file paint on a Canvas (a grid of RGB
tuples) and save it as a Windows BMP (24-bit, or 4-bit with a 16-colour
palette) or as an ICO file. Pure Python, no libraries: the generated files are
committed, so a Windows build needs none of this.
"""
import struct

# The 16 colours of the standard VGA palette, in index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


class Canvas:
    def __init__(self, width, height, fill=(192, 192, 192)):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = color

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, color):
        """Fills x0..x1-1, y0..y1-1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, color)

    def hline(self, x0, x1, y, color):
        self.rect(x0, y, x1 + 1, y + 1, color)

    def vline(self, x, y0, y1, color):
        self.rect(x, y0, x + 1, y1 + 1, color)

    def frame(self, x0, y0, x1, y1, color):
        """Outline of the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
        self.hline(x0, x1, y0, color)
        self.hline(x0, x1, y1, color)
        self.vline(x0, y0, y1, color)
        self.vline(x1, y0, y1, color)

    def line(self, x0, y0, x1, y1, color):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, color)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def blit(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                self.set(dx + x, dy + y, other.get(x, y))

    def from_art(self, x0, y0, rows, colors):
        """Paints character art: each character is looked up in `colors`;
        characters missing from it (such as '.') leave the pixel alone."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in colors:
                    self.set(x0 + x, y0 + y, colors[ch])


def _row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def _nearest(palette, color):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = sum((a - b) ** 2 for a, b in zip(p, color))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def bmp24_bytes(canvas):
    stride = _row_bytes(canvas.width, 24)
    bits = bytearray()
    for y in range(canvas.height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for (r, g, b) in canvas.px[y]:
            row += bytes((b, g, r))
        row += b'\0' * (stride - len(row))
        bits += row
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    return info, bytes(bits)


def bmp4_bytes(canvas, palette=VGA16, height_factor=1):
    stride = _row_bytes(canvas.width, 4)
    bits = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        idx = [_nearest(palette, c) for c in canvas.px[y]]
        for x in range(0, canvas.width, 2):
            hi = idx[x]
            lo = idx[x + 1] if x + 1 < canvas.width else 0
            row.append((hi << 4) | lo)
        row += b'\0' * (stride - len(row))
        bits += row
    pal = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height * height_factor, 1, 4, 0,
                       len(bits), 2835, 2835, 16, 0)
    return info + pal, bytes(bits)


def save_bmp24(canvas, path):
    info, bits = bmp24_bytes(canvas)
    with open(path, 'wb') as f:
        f.write(_with_offset(info, bits))


def save_bmp4(canvas, path, palette=VGA16):
    info, bits = bmp4_bytes(canvas, palette)
    with open(path, 'wb') as f:
        f.write(_with_offset(info, bits))


def _with_offset(info, bits):
    offset = 14 + len(info)
    header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return header + info + bits


def _mask_bytes(canvas, transparent):
    stride = _row_bytes(canvas.width, 1)
    out = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray(stride)
        for x, c in enumerate(canvas.px[y]):
            if transparent is not None and c == transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def save_ico(images, path, transparent=None):
    """Writes an icon file with one 16-colour image per canvas. Pixels equal
    to `transparent` become transparent (set in the AND mask, black in the
    colour image)."""
    entries, blobs = [], []
    for canvas in images:
        if transparent is not None:
            painted = Canvas(canvas.width, canvas.height)
            for y in range(canvas.height):
                for x in range(canvas.width):
                    c = canvas.get(x, y)
                    painted.set(x, y, (0, 0, 0) if c == transparent else c)
        else:
            painted = canvas
        info, bits = bmp4_bytes(painted, VGA16, height_factor=2)
        blob = info + bits + _mask_bytes(canvas, transparent)
        entries.append((canvas.width, canvas.height, len(blob)))
        blobs.append(blob)
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h, size) in entries:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 16, 0, 1, 4, size, offset)
        offset += size
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


class Pen:
    """Draws shapes given in the coordinates of a small picture (`grid`
    units wide and high) onto a canvas of a larger size, for pictures drawn
    anew at each size instead of stretched: corners are scaled and rounded
    to whole pixels, a pixel belongs to a shape when its centre lies inside,
    and outlines are `line` pixels wide on the inside of the shape's edge."""

    def __init__(self, canvas, grid, line):
        self.c = canvas
        self.sx = canvas.width / grid[0]
        self.sy = canvas.height / grid[1]
        self.line = line

    def pt(self, p):
        return (int(p[0] * self.sx + 0.5), int(p[1] * self.sy + 0.5))

    def _pixels(self):
        for y in range(self.c.height):
            for x in range(self.c.width):
                yield x, y, x + 0.5, y + 0.5

    def polygon(self, points, fill, edge=None, light=None, dark=None, lower=None):
        """A filled polygon with an optional outline; `light` and `dark`
        colour a second band of pixels inside the top and left edges, and
        the bottom and right ones; `lower` = (y, colour) fills below y."""
        pts = [self.pt(p) for p in points]
        sides = list(zip(pts, pts[1:] + pts[:1]))
        for x, y, cx, cy in self._pixels():
            if not _inside(pts, cx, cy):
                continue
            d, side = min((_segment_distance(cx, cy, a, b), (a, b)) for a, b in sides)
            color = fill
            if lower and cy > lower[0] * self.sy:
                color = lower[1]
            if edge and d < self.line:
                color = edge
            elif (light or dark) and d < 2 * self.line:
                nx, ny = _outward(pts, side)
                shade = light if (nx < 0 or ny < 0) else dark
                if shade:
                    color = shade
            self.c.set(x, y, color)

    def rect(self, x0, y0, x1, y1, color):
        (a, b), (c, d) = self.pt((x0, y0)), self.pt((x1, y1))
        self.c.rect(a, b, c, d, color)

    def ellipse(self, centre, radius, fill, edge=None, light=None):
        (x0, y0), (x1, y1) = (self.pt((centre[0] - radius, centre[1] - radius)),
                              self.pt((centre[0] + radius, centre[1] + radius)))
        cx0, cy0, rx, ry = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
        for x, y, cx, cy in self._pixels():
            def within(shrink):
                return ((cx - cx0) / (rx - shrink)) ** 2 + ((cy - cy0) / (ry - shrink)) ** 2 < 1
            if not within(0):
                continue
            color = fill
            if edge and not within(self.line):
                color = edge
            elif light and not within(2 * self.line) and (cx < cx0 and cy < cy0):
                color = light
            self.c.set(x, y, color)

    def stroke(self, points, width, color, light=None):
        """Segments through `points`, `width` small-picture units wide (at
        least one pixel); `light` colours the pixels at the stroke's left."""
        w = max(1, int(width * self.sx + 0.5))
        pts = [(p[0] * self.sx, p[1] * self.sy) for p in points]
        if w % 2:  # an odd width centres on pixel centres
            pts = [(int(x) + 0.5, int(y) + 0.5) for x, y in pts]
        else:
            pts = [(int(x + 0.5), int(y + 0.5)) for x, y in pts]
        mask = set()
        for x, y, cx, cy in self._pixels():
            if any(_segment_distance(cx, cy, a, b) <= w / 2 for a, b in zip(pts, pts[1:])):
                mask.add((x, y))
        for x, y in mask:
            lit = light and (x - self.line, y) not in mask
            self.c.set(x, y, light if lit else color)

    def arc(self, centre, radius, start, end, width, color, inner=None):
        """A ring from angle `start` to `end` (degrees, clockwise from the
        right on the screen), `width` units wide about `radius`; `inner`
        colours its innermost line."""
        import math
        cx0, cy0 = centre[0] * self.sx, centre[1] * self.sy
        r, half = radius * self.sx, width * self.sx / 2
        for x, y, cx, cy in self._pixels():
            d = math.hypot(cx - cx0, cy - cy0)
            a = math.degrees(math.atan2(cy - cy0, cx - cx0)) % 360
            if abs(d - r) > half or not any(start <= a + k <= end for k in (0, 360)):
                continue
            self.c.set(x, y, inner if inner and d < r - half + self.line else color)


def _inside(pts, x, y):
    inside = False
    for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            inside = not inside
    return inside


def _segment_distance(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = 0 if dx == dy == 0 else max(0, min(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def _outward(pts, side):
    """The outward normal of one side of a polygon."""
    (ax, ay), (bx, by) = side
    nx, ny = by - ay, ax - bx
    mx, my = (ax + bx) / 2, (ay + by) / 2
    if _inside(pts, mx + nx * 0.01, my + ny * 0.01):
        nx, ny = -nx, -ny
    return nx, ny

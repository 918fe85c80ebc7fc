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

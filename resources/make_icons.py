#!/usr/bin/env python3
"""Draws the export icons of the context menu (32 x 32 PNG).

The CSV icon is grey with alpha, all others RGBA.
Shapes are sampled 4 x 4 times per pixel for smooth edges. Run it from
this folder; it needs nothing beyond the standard library.
"""
import math
import struct
import zlib

SIZE = 32
SUB = 4


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2


def polyline(points, width):
    segments = list(zip(points, points[1:]))

    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if math.hypot(x - ax - t * dx, y - ay - t * dy) <= width / 2:
                return True
        return False
    return inside


def page():
    """A sheet of paper with its top right corner folded."""
    body = rounded_rect(5, 2, 27, 30, 1.5)
    return lambda x, y: body(x, y) and (x - 20) - (y - 2) <= 0 or (body(x, y) and y >= 9)


def fold():
    return lambda x, y: 20 <= x <= 27 and 2 <= y <= 9 and (x - 20) - (y - 2) >= 0 and x - 20 <= 7


def curve(p0, p1, p2, p3, steps=40):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def render(layers):
    """layers: list of (shape, (r, g, b, a)); later layers lie on top."""
    pixels = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            r = g = b = a = 0.0
            for shape, (cr, cg, cb, ca) in layers:
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if shape(px + (sx + 0.5) / SUB, py + (sy + 0.5) / SUB):
                            hits += 1
                if not hits:
                    continue
                sa = ca / 255 * hits / (SUB * SUB)
                na = sa + a * (1 - sa)
                if na > 0:
                    r = (cr * sa + r * a * (1 - sa)) / na
                    g = (cg * sa + g * a * (1 - sa)) / na
                    b = (cb * sa + b * a * (1 - sa)) / na
                a = na
            row.append((round(r), round(g), round(b), round(a * 255)))
        pixels.append(row)
    return pixels


def write_png(name, pixels, grey):
    color_type = 4 if grey else 6
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            if grey:
                raw += bytes((round(0.299 * r + 0.587 * g + 0.114 * b), a))
            else:
                raw += bytes((r, g, b, a))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, color_type, 0, 0, 0)
    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


OUTLINE = (90, 90, 90, 255)
PAPER = (255, 255, 255, 255)


def sheet(outline=OUTLINE):
    border = page()
    inner = rounded_rect(6, 3, 26, 29, 1)
    inner_page = lambda x, y: inner(x, y) and border(x, y) and not ((x - 19.3) - (y - 2) > 0 and y < 9.7)
    return [(border, outline), (inner_page, PAPER), (fold(), (200, 200, 200, 255))]


def spreadsheet():
    green = (33, 128, 66, 255)
    layers = sheet()
    layers.append((rect(8, 11, 24, 13), green))  # header row
    for y in (17, 21, 25):
        layers.append((rect(8, y, 24, y + 0.8), (120, 170, 135, 255)))
    for x in (8, 13.5, 19, 23.2):
        layers.append((rect(x, 11, x + 0.8, 27), (120, 170, 135, 255)))
    layers.append((polyline([(9.5, 4.5), (15.5, 9.5)], 1.8), green))  # the X of the sheet
    layers.append((polyline([(15.5, 4.5), (9.5, 9.5)], 1.8), green))
    return layers


def csv():
    ink = (40, 40, 40, 255)
    layers = sheet()
    layers.append((circle(11, 5.6, 1.5), ink))  # the separator, large
    layers.append((polyline([(11, 8.8), (9.8, 11.2)], 2.0), ink))
    for y in (15, 20, 25):  # rows of fields
        for x0, x1 in ((8, 12), (14, 18.5), (20.5, 24.5)):
            layers.append((rect(x0, y - 0.9, x1, y + 0.9), (110, 110, 110, 255)))
    return layers


def svg():
    orange = (230, 120, 20, 255)
    blue = (40, 90, 200, 255)
    layers = sheet()
    path = curve((9, 24), (11, 10), (19, 27), (23.5, 13))
    layers.append((polyline([(9, 24), (11, 10)], 0.6), (150, 150, 150, 255)))  # handles
    layers.append((polyline([(23.5, 13), (19, 27)], 0.6), (150, 150, 150, 255)))
    layers.append((polyline(path, 2.0), orange))
    for cx, cy in ((9, 24), (23.5, 13)):
        layers.append((rect(cx - 1.8, cy - 1.8, cx + 1.8, cy + 1.8), blue))
        layers.append((rect(cx - 0.8, cy - 0.8, cx + 0.8, cy + 0.8), PAPER))
    for cx, cy in ((11, 10), (19, 27)):
        layers.append((ring(cx, cy, 1.3, 0.9), blue))
    return layers


def image():
    """A landscape photo: sky, sun and two hills in a frame."""
    frame = rounded_rect(3, 6, 29, 26, 1.5)
    inside = rect(5, 8, 27, 24)
    return [
        (frame, OUTLINE),
        (inside, (170, 210, 245, 255)),
        (circle(21.5, 12.5, 2.6), (245, 190, 40, 255)),
        (lambda x, y: inside(x, y) and y >= 24 - 0.9 * (x - 5) and y >= 24 - 0.9 * (21 - x),
         (60, 150, 70, 255)),
        (lambda x, y: inside(x, y) and y >= 24 - 0.6 * (x - 15) and y >= 24 - 0.6 * (31 - x),
         (35, 115, 50, 255)),
    ]


def pdf():
    red = (200, 30, 30, 255)
    layers = sheet()
    layers.append((rounded_rect(3, 17, 21, 25, 1.2), red))  # the label band
    for x in (6, 11, 16):  # three white blocks for the letters
        layers.append((rect(x, 19, x + 2.8, 23), PAPER))
    layers.append((rect(8, 11, 24, 12), (150, 150, 150, 255)))
    layers.append((rect(23, 19, 24, 27), (150, 150, 150, 255)))
    return layers


def printer():
    body = (80, 80, 90, 255)
    return [
        (rect(9, 3, 23, 13), OUTLINE),  # the sheet going in
        (rect(10, 4, 22, 13), PAPER),
        (rounded_rect(3, 11, 29, 23, 2), body),
        (rect(6, 14, 9, 15.5), (90, 200, 90, 255)),  # the light
        (rect(8, 19, 24, 29), OUTLINE),  # the printed sheet
        (rect(9, 20, 23, 28), PAPER),
        (rect(11, 22, 21, 23), (40, 90, 200, 255)),
        (rect(11, 25, 18, 26), (40, 90, 200, 255)),
    ]


def copy():
    blue = (40, 90, 200, 255)
    back = rounded_rect(4, 3, 20, 23, 1.5)
    front = rounded_rect(12, 9, 28, 29, 1.5)
    layers = [(back, OUTLINE), (rounded_rect(5, 4, 19, 22, 1), PAPER)]
    layers += [(front, OUTLINE), (rounded_rect(13, 10, 27, 28, 1), PAPER)]
    for y in (14, 18, 22):
        layers.append((rect(15, y, 25, y + 1), blue))
    return layers


if __name__ == "__main__":
    write_png("xml_export.png", render(spreadsheet()), grey=False)
    write_png("csv_export.png", render(csv()), grey=True)
    write_png("svg_export.png", render(svg()), grey=False)
    write_png("image_export.png", render(image()), grey=False)
    write_png("pdf_export.png", render(pdf()), grey=False)
    write_png("print.png", render(printer()), grey=False)
    write_png("copy.png", render(copy()), grey=False)

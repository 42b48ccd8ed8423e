#!/usr/bin/env python3
"""Draws the main window's two logos and writes them as 24-bit .bmp files.
Run from this folder; the .bmp files are committed, so the build needs no
Python.

  8001 framed_logo.bmp: an eye above a recorded response (a dip, then a peak
                         with small wavelets on its rising edge)
  8002 banner.bmp:      a band of response traces over a grid
"""
import math
import struct

NAVY = (24, 36, 96)
BLUE = (40, 90, 200)
SKY = (120, 180, 240)
RED = (200, 30, 40)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def response(t):
    """A flash response on 0..1: a negative dip, a larger positive peak with
    wavelets on its rising edge, then a slow return."""
    if t < 0.12:
        return 0.0
    u = t - 0.12
    dip = -0.45 * math.exp(-((u - 0.06) / 0.035) ** 2)
    peak = 1.0 * math.exp(-((u - 0.24) / 0.11) ** 2)
    wavelets = 0.08 * math.sin(2 * math.pi * u / 0.035) * math.exp(-((u - 0.14) / 0.05) ** 2)
    return dip + peak + wavelets


def sampled_curve(f, x0, x1, steps):
    return [(x0 + (x1 - x0) * i / steps, f(x0 + (x1 - x0) * i / steps)) for i in range(steps + 1)]


def stroke(pixels, width, height, points, colour, thickness):
    """Draws a polyline with soft edges of the given thickness."""
    r = thickness / 2.0
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        xmin, xmax = int(min(ax, bx) - r - 2), int(max(ax, bx) + r + 2)
        ymin, ymax = int(min(ay, by) - r - 2), int(max(ay, by) + r + 2)
        dx, dy = bx - ax, by - ay
        length = dx * dx + dy * dy
        for y in range(max(0, ymin), min(height, ymax + 1)):
            for x in range(max(0, xmin), min(width, xmax + 1)):
                px, py = x + 0.5, y + 0.5
                s = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
                d = math.hypot(ax + s * dx - px, ay + s * dy - py)
                cover = max(0.0, min(1.0, r + 0.5 - d))
                if cover > 0:
                    pixels[y][x] = mix(pixels[y][x], colour, cover)


def write_bmp(name, pixels):
    height = len(pixels)
    width = len(pixels[0])
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for r, g, b in pixels[y]:
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(name, "wb") as f:
        f.write(header + info + data)


def framed_logo():
    w, h = 480, 260
    pixels = [[WHITE] * w for _ in range(h)]
    # The eye: an almond of two arcs, an iris ring shading from sky to navy,
    # the pupil and a highlight.
    cx, cy = w / 2, 92
    half, lid = 150.0, 62.0
    radius = (half * half + lid * lid) / (2 * lid)
    for y in range(h):
        for x in range(w):
            px, py = x + 0.5, y + 0.5
            upper = math.hypot(px - cx, py - (cy - lid + radius)) - radius
            lower = math.hypot(px - cx, py - (cy + lid - radius)) - radius
            inside = max(upper, lower)  # < 0 inside both circles
            d = math.hypot(px - cx, py - cy)
            colour = pixels[y][x]
            if inside < 0:
                colour = mix(WHITE, (235, 242, 252), 1.0)
                if d < 50:
                    colour = mix(SKY, NAVY, (d / 50.0) ** 1.5)
                if d < 20:
                    colour = BLACK
                if math.hypot(px - (cx + 14), py - (cy - 14)) < 7:
                    colour = WHITE
            edge = abs(inside)
            if edge < 3.5:
                colour = mix(colour, NAVY, min(1.0, 3.5 - edge))
            pixels[y][x] = colour
    # The response below the eye, with its flash mark.
    base_y, span = 215.0, 60.0
    left, right = 30.0, w - 30.0
    stroke(pixels, w, h, [(left, base_y), (right, base_y)], (200, 200, 200), 1.5)
    flash_x = left + (right - left) * 0.12
    stroke(pixels, w, h, [(flash_x, base_y - 8), (flash_x, base_y + 14)], BLUE, 3)
    points = sampled_curve(lambda x: base_y - span * response((x - left) / (right - left)), left, right, 600)
    stroke(pixels, w, h, points, RED, 4)
    return pixels


def banner():
    w, h = 760, 90
    pixels = [[mix(NAVY, (20, 110, 140), x / (w - 1)) for x in range(w)] for _ in range(h)]
    for x in range(0, w, 38):
        stroke(pixels, w, h, [(x + 0.5, 0), (x + 0.5, h)], (60, 90, 150), 1)
    for y in range(15, h, 20):
        stroke(pixels, w, h, [(0, y + 0.5), (w, y + 0.5)], (60, 90, 150), 1)
    # Five responses side by side, growing with the flash strength.
    count = 5
    cell = w / count
    for i in range(count):
        gain = 0.45 + 0.55 * i / (count - 1)
        x0 = i * cell + 8
        x1 = (i + 1) * cell - 8
        points = sampled_curve(lambda x: 62 - 44 * gain * response((x - x0) / (x1 - x0)), x0, x1, 300)
        stroke(pixels, w, h, points, mix(SKY, WHITE, i / (count - 1)), 2.5)
    return pixels


if __name__ == "__main__":
    write_bmp("framed_logo.bmp", framed_logo())
    write_bmp("banner.bmp", banner())

#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (16x16 and 32x32,
32 bits with alpha). Run from this folder; the .ico files are committed, so
the build needs no Python.

  8003 general:    an eye
  8004 graph:      axes with a response wave
  8005 comparison: axes with two waves
  8006 session:    four thumbnails
  8007 samples:    a stack of sweeps
"""
import math
import struct

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
RED = (220, 30, 30)
BLUE = (30, 60, 220)
GREY = (128, 128, 128)
PALE = (230, 230, 230)
NAVY = (20, 30, 90)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def set(self, x, y, colour):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(int(y0), int(y1)):
            for x in range(int(x0), int(x1)):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(int(x0), int(x1)):
            self.set(x, y0, colour)
            self.set(x, y1 - 1, colour)
        for y in range(int(y0), int(y1)):
            self.set(x0, y, colour)
            self.set(x1 - 1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            self.set(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, colour)

    def curve(self, f, x0, x1, colour):
        prev = None
        n = int((x1 - x0) * 2) + 1
        for i in range(n + 1):
            x = x0 + (x1 - x0) * i / n
            y = f(x)
            if prev:
                self.line(prev[0], prev[1], x, y, colour)
            prev = (x, y)


def wave(s, base, amp, shift=0.0):
    # A flash response: a small dip, then a larger rise that settles.
    def f(x):
        t = x / s - shift
        a = -0.35 * math.exp(-((t - 0.30) / 0.06) ** 2)
        b = 1.0 * math.exp(-((t - 0.50) / 0.10) ** 2)
        return base - amp * (a + b)
    return f


def graph_panel(c, s):
    c.fill(1, 1, s - 1, s - 1, WHITE)
    c.frame(0, 0, s, s, NAVY)
    c.line(s * 0.15, s * 0.15, s * 0.15, s * 0.85, BLACK)
    c.line(s * 0.15, s * 0.85, s * 0.88, s * 0.85, BLACK)


def icon_general(s):
    c = Canvas(s)
    cx, cy = (s - 1) / 2, (s - 1) / 2
    for y in range(s):
        for x in range(s):
            dx = (x - cx) / (s * 0.47)
            dy = (y - cy) / (s * 0.30)
            lid = 1.0 - dx * dx
            if lid > 0 and abs(dy) <= lid:
                c.set(x, y, WHITE)
                if abs(abs(dy) - lid) < 0.22:
                    c.set(x, y, NAVY)
            r = math.hypot(x - cx, y - cy)
            if r <= s * 0.18:
                c.set(x, y, BLUE)
            if r <= s * 0.08:
                c.set(x, y, BLACK)
    return c


def icon_graph(s):
    c = Canvas(s)
    graph_panel(c, s)
    c.curve(wave(s, s * 0.6, s * 0.38), s * 0.17, s * 0.86, RED)
    return c


def icon_comparison(s):
    c = Canvas(s)
    graph_panel(c, s)
    c.curve(wave(s, s * 0.62, s * 0.40), s * 0.17, s * 0.86, RED)
    c.curve(wave(s, s * 0.66, s * 0.28, 0.08), s * 0.17, s * 0.86, BLUE)
    return c


def icon_session(s):
    c = Canvas(s)
    h = s // 2
    for ox in (0, h):
        for oy in (0, h):
            c.fill(ox + 1, oy + 1, ox + h - 1, oy + h - 1, PALE)
            c.frame(ox, oy, ox + h, oy + h, NAVY)
            f = wave(h, oy + h * 0.65, h * 0.4)
            c.curve(lambda x, f=f, ox=ox: f(x - ox), ox + 2, ox + h - 2, RED if ox == oy else BLUE)
    return c


def icon_samples(s):
    c = Canvas(s)
    c.fill(1, 1, s - 1, s - 1, WHITE)
    c.frame(0, 0, s, s, NAVY)
    for i, colour in enumerate((GREY, GREY, BLACK, RED)):
        base = s * (0.30 + 0.17 * i)
        c.curve(wave(s, base, s * 0.16, 0.02 * (i - 1.5)), s * 0.1, s * 0.9, colour)
    return c


def image_bytes(canvas):
    s = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(s - 1, -1, -1):  # bottom-up rows
        for x in range(s):
            p = canvas.px[y][x]
            colour += bytes((p[2], p[1], p[0], 255)) if p else bytes((0, 0, 0, 0))
    row = ((s + 31) // 32) * 4
    mask = bytearray()
    for y in range(s - 1, -1, -1):
        bits = bytearray(row)
        for x in range(s):
            if canvas.px[y][x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, draw):
    images = [image_bytes(draw(s)) for s in (16, 32)]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    write_ico('general.ico', icon_general)
    write_ico('graph.ico', icon_graph)
    write_ico('comparison.ico', icon_comparison)
    write_ico('session.ico', icon_session)
    write_ico('samples.ico', icon_samples)

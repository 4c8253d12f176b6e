#!/usr/bin/env python3
"""Draws the toolbar images of the entry windows (24 by 24, RGBA) and writes them as PNG files
beside this script. Standard library only; run it again after changing a drawing:

    python3 forms/icons/make_icons.py
"""
import math
import os
import struct
import zlib

SIZE = 24


class Canvas:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.dot(x, y0, c)
            self.dot(x, y1, c)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, c)
            self.dot(x1, y, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
        for i in range(steps + 1):
            t = i / steps
            x = x0 + (x1 - x0) * t
            y = y0 + (y1 - y0) * t
            for dx in range(width):
                for dy in range(width):
                    self.dot(round(x) + dx - width // 2, round(y) + dy - width // 2, c)

    def disc(self, cx, cy, r, c):
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def ring(self, cx, cy, r, c):
        for a in range(0, 360, 3):
            self.dot(round(cx + r * math.cos(math.radians(a))),
                     round(cy + r * math.sin(math.radians(a))), c)

    def png(self):
        raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


INK = (40, 40, 40, 255)
PAPER = (255, 255, 255, 255)
RED = (200, 30, 30, 255)
GREEN = (20, 140, 40, 255)
BLUE = (30, 70, 190, 255)
GREY = (150, 150, 150, 255)
YELLOW = (240, 200, 40, 255)
BROWN = (140, 90, 40, 255)


def page(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, PAPER)
    c.frame(x0, y0, x1, y1, INK)


def new_record():
    c = Canvas()
    page(c, 5, 2, 18, 21)
    for y in (7, 10, 13, 16):
        c.line(8, y, 15, y, GREY)
    c.disc(18, 5, 3, YELLOW)
    return c


def delete_record():
    c = Canvas()
    page(c, 5, 2, 18, 21)
    c.line(6, 6, 17, 17, RED, 3)
    c.line(17, 6, 6, 17, RED, 3)
    return c


def save_record():
    c = Canvas()
    c.rect(3, 3, 20, 20, BLUE)
    c.rect(7, 3, 16, 9, PAPER)
    c.rect(13, 4, 15, 8, BLUE)
    c.rect(6, 13, 17, 20, PAPER)
    c.frame(3, 3, 20, 20, INK)
    return c


def exit_program():
    c = Canvas()
    c.rect(4, 2, 13, 21, BROWN)
    c.frame(4, 2, 13, 21, INK)
    c.disc(11, 12, 1, YELLOW)
    c.line(13, 12, 21, 12, GREEN, 3)
    c.line(21, 12, 17, 8, GREEN, 2)
    c.line(21, 12, 17, 16, GREEN, 2)
    return c


def history():
    c = Canvas()
    c.disc(12, 12, 9, PAPER)
    c.ring(12, 12, 9, INK)
    c.line(12, 12, 12, 6, INK, 2)
    c.line(12, 12, 16, 14, INK, 2)
    return c


def copy_record():
    c = Canvas()
    page(c, 3, 2, 14, 16)
    page(c, 9, 7, 20, 21)
    for y in (11, 14, 17):
        c.line(11, y, 18, y, GREY)
    return c


def print_record():
    c = Canvas()
    page(c, 7, 2, 16, 9)
    c.rect(3, 9, 20, 17, GREY)
    c.frame(3, 9, 20, 17, INK)
    page(c, 7, 14, 16, 21)
    c.disc(17, 11, 1, GREEN)
    return c


def change_code():
    c = Canvas()
    c.rect(2, 7, 21, 16, PAPER)
    c.frame(2, 7, 21, 16, INK)
    c.line(5, 11, 10, 11, BLUE, 2)
    c.line(13, 11, 18, 11, BLUE, 2)
    c.line(16, 4, 8, 20, RED, 2)
    return c


# In image-list order: the actions name their image by index.
IMAGES = [
    ("new", new_record),
    ("delete", delete_record),
    ("save", save_record),
    ("exit", exit_program),
    ("history", history),
    ("copy", copy_record),
    ("print", print_record),
    ("chgcode", change_code),
]

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for index, (name, draw) in enumerate(IMAGES):
        with open(os.path.join(here, "%d-%s.png" % (index, name)), "wb") as f:
            f.write(draw().png())

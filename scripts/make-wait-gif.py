#!/usr/bin/env python3
"""Draws the wait animation data/WaitOrange.gif: a small orange spinner of twelve
dots on the pale blue of the search page, one dot lit after the other.

Plain Python, no imaging library: the dots are drawn by supersampling and the
frames are written as a looping GIF89a with an LZW encoder of our own.
Run: scripts/make-wait-gif.py [output.gif]
"""
import math
import struct
import sys

SIZE = 32
FRAMES = 12
DOTS = 12
RING = 10.5        # distance of the dots from the centre, in pixels
DOT = 2.7          # dot radius
SAMPLES = 4        # supersampling per axis
LEVELS = 32        # palette: background blended into orange in 32 steps
DELAY = 8          # hundredths of a second per frame
BACKGROUND = (216, 232, 255)
ORANGE = (255, 128, 0)


def palette():
    colours = []
    for level in range(LEVELS):
        a = level / (LEVELS - 1)
        colours.append(tuple(round(b + (o - b) * a) for b, o in zip(BACKGROUND, ORANGE)))
    return colours


def frame(index):
    centres = []
    for dot in range(DOTS):
        angle = 2 * math.pi * dot / DOTS - math.pi / 2
        # The lit dot is `index`; the ones before it fade out behind it.
        age = (index - dot) % DOTS
        strength = max(0.18, 1.0 - age / (DOTS * 0.75))
        centres.append((SIZE / 2 + RING * math.cos(angle), SIZE / 2 + RING * math.sin(angle), strength))
    pixels = []
    for y in range(SIZE):
        for x in range(SIZE):
            alpha = 0.0
            for cx, cy, strength in centres:
                if abs(x + 0.5 - cx) > DOT + 1 or abs(y + 0.5 - cy) > DOT + 1:
                    continue
                inside = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        px = x + (sx + 0.5) / SAMPLES
                        py = y + (sy + 0.5) / SAMPLES
                        if (px - cx) ** 2 + (py - cy) ** 2 <= DOT * DOT:
                            inside += 1
                alpha = max(alpha, strength * inside / (SAMPLES * SAMPLES))
            pixels.append(round(alpha * (LEVELS - 1)))
    return pixels


def lzw(indices, min_size):
    clear = 1 << min_size
    end = clear + 1
    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    size = min_size + 1
    buffer = 0
    bits = 0
    out = bytearray()

    def emit(code):
        nonlocal buffer, bits
        buffer |= code << bits
        bits += size
        while bits >= 8:
            out.append(buffer & 0xFF)
            buffer >>= 8
            bits -= 8

    emit(clear)
    word = ()
    for index in indices:
        longer = word + (index,)
        if longer in table:
            word = longer
            continue
        emit(table[word])
        assert next_code < 4096, "frame too large for one code table"
        table[longer] = next_code
        next_code += 1
        # The reader widens its codes one entry later than the writer adds it.
        if next_code > (1 << size) and size < 12:
            size += 1
        word = (index,)
    emit(table[word])
    emit(end)
    if bits:
        out.append(buffer & 0xFF)
    return bytes(out)


def blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else "data/WaitOrange.gif"
    colour_bits = int(math.log2(LEVELS))
    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", SIZE, SIZE, 0x80 | ((colour_bits - 1) << 4) | (colour_bits - 1), 0, 0)
    for colour in palette():
        gif += bytes(colour)
    gif += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for index in range(FRAMES):
        gif += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x04, DELAY, 0, 0)
        gif += struct.pack("<BHHHHB", 0x2C, 0, 0, SIZE, SIZE, 0)
        gif.append(colour_bits)
        gif += blocks(lzw(frame(index), colour_bits))
    gif += b"\x3B"
    with open(target, "wb") as handle:
        handle.write(gif)


if __name__ == "__main__":
    main()

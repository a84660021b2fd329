#!/usr/bin/env python3
"""Prints a PNG's size and a digest of its pixels as 8-bit RGB, whatever encoder wrote it:
two pictures are the same when these lines are. Reads 8-bit RGB and RGBA (alpha dropped),
not interlaced: what pgfview and pgfview.exe write.
With --blocks N WIDTH HEIGHT RAW: the same line for a raw 8-bit RGB screenshot in which each
picture pixel should be a uniform N x N block; the line for the picture those blocks make, or
"not uniform at X,Y" naming the first block that is not."""
import hashlib
import struct
import sys
import zlib


def rgb_rows(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit(f"{path}: depth {depth}, colour type {colour}, interlace {interlace} not read")
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    previous = bytearray(stride)
    rows = []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + guess) & 255
        previous = line
        rows.append(bytes(line) if channels == 3 else
                    bytes(b for x in range(width) for b in line[x * 4:x * 4 + 3]))
    return width, height, b"".join(rows)


def blocks(factor, width, height, path):
    raw = open(path, "rb").read()
    if len(raw) != width * height * 3:
        return f"{len(raw)} bytes, not {width}x{height} RGB"
    picture = bytearray()
    for y in range(0, height, factor):
        for x in range(0, width, factor):
            at = (y * width + x) * 3
            pixel = raw[at:at + 3]
            for dy in range(factor):
                for dx in range(factor):
                    other = ((y + dy) * width + x + dx) * 3
                    if raw[other:other + 3] != pixel:
                        return f"not uniform at {x},{y}"
            picture += pixel
    return f"{width // factor}x{height // factor} {hashlib.sha256(picture).hexdigest()}"


if len(sys.argv) == 6 and sys.argv[1] == "--blocks":
    print(blocks(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]))
    sys.exit(0)
for name in sys.argv[1:]:
    width, height, pixels = rgb_rows(name)
    print(f"{width}x{height} {hashlib.sha256(pixels).hexdigest()}")

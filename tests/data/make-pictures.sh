#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Makes the small picture files the codec and canvas tests read, from pixel values written
# out here, so every expected value in the tests can be traced to this script. Needs
# ImageMagick and python3.
# The results are committed; run again only to change them: tests/data/make-pictures.sh
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)/pictures"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
cd "$work"

python3 - <<'PY'
import struct, zlib

def ppm(name, w, h, pixel):
    with open(name, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (w, h))
        for y in range(h):
            for x in range(w):
                f.write(bytes(pixel(x, y)))

def pam(name, w, h, depth, tupltype, pixel):
    with open(name, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n"
                % (w, h, depth, tupltype))
        for y in range(h):
            for x in range(w):
                f.write(bytes(pixel(x, y)))

# The 4 x 3 pattern of the lossless tests (kept in step with tests/codecs/Decoders.cpp).
pattern = [[(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)],
           [(0, 0, 0), (128, 128, 128), (255, 255, 0), (10, 20, 30)],
           [(200, 100, 50), (0, 255, 255), (255, 0, 255), (90, 60, 30)]]
ppm("pattern.ppm", 4, 3, lambda x, y: pattern[y][x])
# 17 x 13, more colours than a 4-bit palette holds; (x * 15, y * 20, (x + y) * 5).
ppm("ramp.ppm", 17, 13, lambda x, y: (x * 15, y * 20, (x + y) * 5))
# Alpha: opaque red, transparent red, half blue, quarter black.
alpha = [(255, 0, 0, 255), (255, 0, 0, 0), (0, 0, 255, 128), (0, 0, 0, 64)]
pam("alpha.pam", 4, 1, 4, b"RGB_ALPHA", lambda x, y: alpha[x])
# Palette transparency: only fully opaque or fully transparent pixels.
pam("keyed.pam", 4, 1, 4, b"RGB_ALPHA",
    lambda x, y: [(255, 0, 0, 255), (0, 255, 0, 0), (0, 0, 255, 255), (0, 255, 0, 0)][x])
grey = [0, 50, 128, 255]
with open("grey.pgm", "wb") as f:
    f.write(b"P5 4 1 255\n" + bytes(grey))
with open("grey4.pgm", "wb") as f:
    f.write(b"P5 4 1 255\n" + bytes([0, 17, 136, 255]))
with open("bilevel.pgm", "wb") as f:
    f.write(b"P5 4 2 255\n" + bytes([0, 255, 255, 0, 255, 0, 0, 255]))
pam("greyalpha.pam", 3, 1, 2, b"GRAYSCALE_ALPHA",
    lambda x, y: [(100, 255), (100, 0), (0, 128)][x])
# JPEG sources: two flat 16 x 16 blocks, so the lossy result stays close to them.
ppm("blocks.ppm", 32, 16, lambda x, y: (200, 40, 40) if x < 16 else (40, 80, 200))
with open("greyblocks.pgm", "wb") as f:
    f.write(b"P5 32 16 255\n" + bytes([60 if x < 16 else 190 for y in range(16) for x in range(32)]))

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

def png(name, w, h, colour_type, rows, extra=b""):
    raw = b"".join(b"\0" + r for r in rows)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0)
    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

# RGB with one transparent colour (tRNS): the pattern with pure blue keyed out.
rows = [b"".join(bytes(p) for p in row) for row in pattern]
png("png-rgb-trns.png", 4, 3, 2, rows, chunk(b"tRNS", struct.pack(">HHH", 0, 0, 255)))
# Decompression bomb: 16000 x 16000 black and white, 1 GB once decoded, 32 KB on disk.
w = h = 16000
comp = zlib.compressobj(9)
body = b"".join(comp.compress(b"\0" * (w // 8 + 1)) for _ in range(h)) + comp.flush()
with open("png-bomb.png", "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 1, 0, 0, 0, 0)) +
            chunk(b"IDAT", body) + chunk(b"IEND", b""))

def bmp(name, w, h, bits, pixel_rows, palette=b"", compression=0, top_down=False):
    # pixel_rows are already in file order and padded.
    data = b"".join(pixel_rows)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, -h if top_down else h, 1, bits, compression,
                       len(data), 3780, 3780, len(palette) // 4, 0)
    with open(name, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + palette + data)

def bgr(p):
    return bytes((p[2], p[1], p[0]))

# 32-bit, top-down and bottom-up, of the pattern (fourth byte 0 as most writers leave it).
rows32 = [b"".join(bgr(p) + b"\0" for p in row) for row in pattern]
bmp("bmp-32.bmp", 4, 3, 32, rows32[::-1])
rows24 = [b"".join(bgr(p) for p in row) for row in pattern]
bmp("bmp-24-topdown.bmp", 4, 3, 24, rows24, top_down=True)
# RLE4 of 8 x 2 pixels over a 16-colour palette; row 0 (bottom in the file order) is
# colours 1 1 1 2 2 2 2 3, row 1 is 4 5 4 5 4 5 6 7, both given as runs and absolute data.
palette16 = b"".join(bytes((i * 16, i * 8, 255 - i * 16, 0)) for i in range(16))
rle4 = bytes([3, 0x11, 4, 0x22, 1, 0x30, 0, 0,  # bottom row: runs, end of line
              5, 0x45, 0, 3, 0x56, 0x70, 0, 1])  # top row: run, 3 absolute pixels, end of picture
with open("bmp-rle4.bmp", "wb") as f:
    offset = 14 + 40 + len(palette16)
    info = struct.pack("<IiiHHIIiiII", 40, 8, 2, 1, 4, 2, len(rle4), 3780, 3780, 16, 0)
    f.write(b"BM" + struct.pack("<IHHI", offset + len(rle4), 0, 0, offset) + info + palette16 + rle4)
# A BMP that declares 30000 x 30000 pixels at 24 bits (about 2.6 GB) in a few bytes.
with open("bmp-bomb.bmp", "wb") as f:
    info = struct.pack("<IiiHHIIiiII", 40, 30000, 30000, 1, 24, 0, 0, 3780, 3780, 0, 0)
    f.write(b"BM" + struct.pack("<IHHI", 54 + 64, 0, 0, 54) + info + b"\0" * 64)
PY

c="$convert"
# PNG
$c pattern.ppm -define png:color-type=2 -define png:bit-depth=8 "$out/png-rgb.png"
$c alpha.pam -define png:color-type=6 -define png:bit-depth=8 "$out/png-rgba.png"
$c pattern.ppm PNG8:"$out/png-palette.png"
$c keyed.pam PNG8:"$out/png-palette-trns.png"
$c grey.pgm -define png:color-type=0 -define png:bit-depth=8 "$out/png-grey8.png"
$c grey4.pgm -define png:color-type=0 -define png:bit-depth=4 "$out/png-grey4.png"
$c bilevel.pgm -define png:color-type=0 -define png:bit-depth=1 "$out/png-grey1.png"
$c greyalpha.pam -define png:color-type=4 -define png:bit-depth=8 "$out/png-grey-alpha.png"
$c pattern.ppm -depth 16 -define png:color-type=2 -define png:bit-depth=16 "$out/png-rgb16.png"
$c grey.pgm -depth 16 -define png:color-type=0 -define png:bit-depth=16 "$out/png-grey16.png"
$c ramp.ppm -define png:color-type=2 -define png:bit-depth=8 "$out/png-ramp.png"
$c ramp.ppm -interlace PNG -define png:color-type=2 -define png:bit-depth=8 "$out/png-ramp-interlaced.png"
cp png-rgb-trns.png png-bomb.png "$out/"
# JPEG
$c blocks.ppm -quality 95 -sampling-factor 2x2,1x1,1x1 "$out/jpeg-baseline.jpg"
$c blocks.ppm -quality 95 -interlace JPEG "$out/jpeg-progressive.jpg"
$c greyblocks.pgm -quality 95 -colorspace Gray "$out/jpeg-grey.jpg"
$c blocks.ppm -quality 95 -colorspace CMYK "$out/jpeg-cmyk-adobe.jpg"
# A JPEG whose frame header claims 60000 x 60000 pixels.
python3 - "$out/jpeg-baseline.jpg" "$out/jpeg-bomb.jpg" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
i = 2
while i < len(data):
    marker, length = data[i + 1], struct.unpack(">H", data[i + 2:i + 4])[0]
    if marker in (0xC0, 0xC1, 0xC2):
        data[i + 5:i + 9] = struct.pack(">HH", 60000, 60000)
        break
    i += 2 + length
open(sys.argv[2], "wb").write(data)
PY
# BMP
$c pattern.ppm -type TrueColor BMP3:"$out/bmp-24.bmp"
$c pattern.ppm -type Palette BMP3:"$out/bmp-4.bmp"
$c ramp.ppm -type Palette -compress None BMP3:"$out/bmp-8.bmp"
$c ramp.ppm -type Palette -compress RLE BMP3:"$out/bmp-rle8.bmp"
$c bilevel.pgm -type Bilevel BMP3:"$out/bmp-1.bmp"
cp bmp-32.bmp bmp-24-topdown.bmp bmp-rle4.bmp bmp-bomb.bmp "$out/"
# Background pictures of the canvas tests: 300 x 200 and 1000 x 500, (x mod 256, y mod 256, 77).
python3 - <<'PY'
def ppm(name, w, h):
    with open(name, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (w, h))
        f.write(b"".join(bytes((x % 256, y % 256, 77)) for y in range(h) for x in range(w)))
ppm("tile.ppm", 300, 200)
ppm("wide.ppm", 1000, 500)
PY
$c tile.ppm -define png:color-type=2 "$out/canvas-300x200.png"
$c wide.ppm -define png:color-type=2 "$out/canvas-1000x500.png"
ls -l "$out"

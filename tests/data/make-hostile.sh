#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Writes the hostile inputs of docs/RELIABILITY.md ("Hostile and huge input") into a folder,
# each with a script that feeds it to the program:  make-hostile.sh DIR [PROGRAM], then in DIR
#   /usr/bin/time -v timeout 20 tarvel --script NAME.json
# The large files are made here rather than kept in the repository. Given the program, copies
# of it are set up beside Fonts folders holding a named pipe (fonts-pipe/) and a collection
# of 100,000 faces (fonts-ttc/), each to be run with empty.json.
# With --third-round first, only the inputs of the third round are written (a few megabytes,
# made in a few seconds): works that carry large pictures and many files, scripts of many
# canvases and effects, and settings folders that hold no usable settings (each to be given
# as XDG_CONFIG_HOME).
set -euo pipefail
third_round=
if [ "${1:-}" = --third-round ]; then
  third_round=1
  shift
fi
dir=${1:?usage: make-hostile.sh [--third-round] DIR [PROGRAM]}
program=${2:+$(realpath "$2")}
corpus=$(cd "$(dirname "$0")/../../fuzz/corpus" && pwd)
mkdir -p "$dir"
cd "$dir"
if [ -n "$third_round" ]; then
  for name in fifo huge recent link; do mkdir -p "config-$name/Tarvel"; done
  [ -p config-fifo/Tarvel/Tarvel2008.conf ] || mkfifo config-fifo/Tarvel/Tarvel2008.conf
  echo keep > config-link/kept
  ln -sfn ../../kept config-link/Tarvel/Tarvel2008.conf
  python3 - <<'PY'
import base64, json, struct, zlib

def png(width, height):
    """An RGB PNG of a repeating ramp: 8192 x 8192 packs into 0.8 MB."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    row = b"\0" + bytes(range(256)) * (width * 3 // 256)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * height, 9)) + chunk(b"IEND", b""))

def write(name, steps, files=None):
    document = {"steps": steps}
    if name.endswith(".tarvel"):
        document = {"format": "tarvel-work", "version": 1, "steps": steps}
    if files is not None:
        document["files"] = files
    open(name, "w").write(json.dumps(document, separators=(",", ":")))

big = {"big.png": base64.b64encode(png(8192, 8192)).decode()}
def picture(width, height, layout):
    return {"do": "canvas", "width": width, "height": height, "picture": "big.png",
            "layout": layout}
write("big-png.tarvel", [picture(800, 600, "tile")], big)
write("big-png-center.tarvel", [picture(4000, 4000, "center")], big)
write("three-canvases.tarvel", [picture(4000, 4000, "stretch"), {"do": "effect", "kind": "blur"},
                                picture(4000, 4000, "tile"), {"do": "effect", "kind": "relief"},
                                picture(4000, 4000, "center")], big)
write("canvases300.json", [{"do": "canvas", "width": 4000, "height": 4000,
                            "color": "#%06X" % (0x10101 * (i % 200))} for i in range(300)])
stamps = [picture(4000, 4000, "stretch")]
for i, kind in enumerate(("blur", "relief", "sharpen", "outline", "soft", "nostalgic")):
    stamps += [{"do": "circle", "radius": 1900, "lineColor": "#FF0000", "fillColor": "#00FF00"},
               {"do": "click", "at": [100 + 10 * i, 100]},
               {"do": "seal", "text": "印", "width": 3000, "height": 3000},
               {"do": "click", "at": [200, 200 + 10 * i]}, {"do": "effect", "kind": kind}]
write("effects-stamps.tarvel", stamps, big)
white = {"do": "canvas", "width": 100, "height": 100, "color": "#FFFFFF"}
write("files200k.tarvel", [white], {"f%d" % i: "YWJj" for i in range(200000)})
write("files1m.tarvel", [white], {"%d" % i: "" for i in range(1000000)})
write("nul.json", [white, {"do": "text", "plain": "发\u0000财后台"}])
# A settings file of 29 MB of keys, and one of 10,000 recent works that do not exist.
with open("config-huge/Tarvel/Tarvel2008.conf", "w") as f:
    f.write("[General]\n")
    for i in range(1000000):
        f.write("key%07d=%s\n" % (i, "v" * 18))
recent = ", ".join("/gone/%d.tarvel" % i for i in range(10000))
open("config-recent/Tarvel/Tarvel2008.conf", "w").write("[General]\nrecentWorks=" + recent + "\n")
PY
  exit 0
fi
cp "$corpus/jpeg/arith-sof9-over-huffman.jpg" "$corpus/jpeg/arith-damaged.jpg" .
if [ -n "$program" ]; then
  for copy in fonts-pipe fonts-ttc; do
    mkdir -p "$copy/Fonts"
    cp "$program" "$copy/tarvel"
  done
  [ -p fonts-pipe/Fonts/pipe.ttf ] || mkfifo fonts-pipe/Fonts/pipe.ttf
fi
ln -sf /dev/zero zero.png
[ -p pipe.png ] || mkfifo pipe.png
[ -p pipe.rtf ] || mkfifo pipe.rtf
mkdir -p adir.bmp adir.rtf
CORPUS="$corpus" python3 - <<'PY'
import json, os, struct
corpus = os.environ["CORPUS"]

def script(name, steps):
    open(name + ".json", "w").write(json.dumps({"steps": steps}))

white = {"do": "canvas", "width": 100, "height": 100, "color": "#FFFFFF"}
script("zero", [{"do": "canvas", "width": 100, "height": 100, "picture": "zero.png"}])
script("pipe-picture", [{"do": "canvas", "width": 100, "height": 100, "picture": "pipe.png"}])
script("pipe-text", [white, {"do": "text", "open": "pipe.rtf"}])
script("million-breaks", [white, {"do": "text", "plain": "\n" * 1000000, "check": True}])
open("lines.txt", "w").write("ab\n" * 700000 + "x" * 700000)
script("lines", [white, {"do": "text", "open": "lines.txt"}])
open("pars.rtf", "w").write("{\\rtf1 " + "\\par " * (20 * 1024 * 1024 // 5) + "}")
script("pars", [white, {"do": "text", "open": "pars.rtf"}])
for megabytes in (3, 50):
    runs = "".join("{\\b%d x}" % (i % 2) for i in range(megabytes * 1024 * 1024 // 9))
    open("runs%d.rtf" % megabytes, "w").write("{\\rtf1 " + runs + "}")
    script("runs%d" % megabytes, [white, {"do": "text", "open": "runs%d.rtf" % megabytes}])
palette = b"".join(bytes([i, i, i, 0]) for i in range(256))
offset = 14 + 40 + 1024
info = struct.pack("<IiiHHIIiiII", 40, 8000, 8000, 1, 8, 1, 2, 3780, 3780, 256, 0)
open("rle-blank.bmp", "wb").write(b"BM" + struct.pack("<IHHI", offset + 2, 0, 0, offset) + info
                                  + palette + b"\x00\x01")
script("rle", [{"do": "canvas", "width": 100, "height": 100, "picture": "rle-blank.bmp"}])
script("circles", [{"do": "canvas", "width": 800, "height": 600, "color": "#FFFFFF"},
                   {"do": "circle", "radius": 8192}, {"do": "click", "at": [0, 0]},
                   {"do": "circle", "radius": 8192}, {"do": "click", "at": [10, 10]},
                   {"do": "save", "file": "circles.bmp"}])
for extension in ("bmp", "jpg"):  # run under `ulimit -f 100` beside an older kept.<ext>
    script("bigsave-" + extension,
           [{"do": "canvas", "width": 2000, "height": 2000, "color": "#FFFFFF"},
            {"do": "circle", "radius": 900, "fillColor": "#FF0000"}, {"do": "click", "at": [0, 0]},
            {"do": "save", "file": "kept." + extension}])
script("runs10000", [{"do": "canvas", "width": 400, "height": 400, "color": "#FFFFFF"},
                     {"do": "text", "check": True,
                      "runs": [{"text": "字", "size": 10 + i % 20, "bold": i % 2 == 1}
                               for i in range(10000)]}])
script("emptysave", [{"do": "canvas", "width": 0, "height": 0, "color": "#FFFFFF"},
                     {"do": "clear"}, {"do": "save", "file": "empty.bmp"}])
script("negative", [{"do": "canvas", "width": 800, "height": 600, "color": "#FFFFFF"},
                    {"do": "text", "plain": "中文\n中文", "charSpacing": -500, "lineSpacing": -1500,
                     "leftMargin": 0, "topMargin": 0, "check": True}])

# Second round.
script("empty", [])
script("colour-newline", [{"do": "canvas", "width": 10, "height": 10, "color": "#FF0000\n"}])
script("nul-face", [white, {"do": "text", "plain": "一", "face": "No\u0000Face", "check": True}])
script("size-abc", [white, {"do": "rotated", "text": "一", "size": "abc"}])
script("tall-plain", [{"do": "canvas", "width": 4000, "height": 4000, "color": "#FFFFFF"},
                      {"do": "text", "plain": "字\n" * 3999 + "字", "size": 1638}])
script("tall-plain-800", [{"do": "canvas", "width": 4000, "height": 4000, "color": "#FFFFFF"},
                          {"do": "text", "plain": "字\n" * 7999 + "字", "size": 800}])
open("tall.rtf", "w").write("{\\rtf1\\fs3276 " + "a\\par " * 3999 + "a}")
script("tall-rtf", [white, {"do": "text", "open": "tall.rtf"}])
# Run-length codes that reach the last row of 8000 x 8000 by deltas alone.
codes = b"\x00\x02\x00\xff" * 32 + b"\x00\x01"
info = struct.pack("<IiiHHIIiiII", 40, 8000, 8000, 1, 8, 1, len(codes), 3780, 3780, 256, 0)
open("rle-delta.bmp", "wb").write(b"BM" + struct.pack("<IHHI", offset + len(codes), 0, 0, offset)
                                  + info + palette + codes)
script("rle-delta", [{"do": "canvas", "width": 100, "height": 100, "picture": "rle-delta.bmp"}])
for name in ("arith-sof9-over-huffman", "arith-damaged"):
    script(name, [{"do": "canvas", "width": 100, "height": 100, "picture": name + ".jpg"}])
# Text files the editor cannot take, and one of exactly 10,000 lines with a final line break.
open("utf16.txt", "wb").write("春眠不觉晓".encode("utf-16"))
open("gb18030.txt", "wb").write("春".encode("gb18030") + b"\x81\x30\x81\x30")
open("nul.txt", "wb").write(b"ab\x00cd")
open("lines10000.txt", "w").write("a\n" * 10000)
for name in ("utf16.txt", "gb18030.txt", "nul.txt", "missing.txt", "lines10000.txt"):
    script("text-" + name.split(".")[0], [white, {"do": "text", "open": name}])
open("bom.rtf", "wb").write(b"\xef\xbb\xbf{\\rtf1 abc}")
script("bom", [white, {"do": "text", "open": "bom.rtf", "check": True}])
script("text-saveas-folder", [white, {"do": "text", "plain": "一", "saveAs": "adir.rtf"}])
script("save-folder", [white, {"do": "save", "file": "adir.bmp"}])
script("save-readonly", [white, {"do": "save", "file": "readonly.bmp"}])  # after chmod 444
script("undo16m", [{"do": "undo"}] * (16 * 1024 * 1024 // 16 - 1000))   # under ulimit -v 300000
script("seal4000", [white, {"do": "seal", "text": "印", "width": 4000, "height": 4000,
                            "angle": 60}, {"do": "click", "at": [0, 0]}])  # under ulimit -v 400000
script("runs-fifteen", [white, {"do": "text", "runs": [{"text": "a" * 1000000}] * 15}])
open("runs-bold.json", "w").write(json.dumps(
    {"steps": [white, {"do": "text", "runs": [{"text": "a", "bold": i % 2 == 1}
                                              for i in range(620000)]}]}, separators=(",", ":")))
body = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0 A;}{\\f1 B;}}\\dbch\\af1\\afs60 "
open("runs-af.rtf", "w").write(body + "a," * ((4 * 1024 * 1024 - len(body) - 10) // 2) + "}")
script("runs-af", [white, {"do": "text", "open": "runs-af.rtf"}])
latin_gbk = "a\\'b0\\'a1"
open("runs-gbk.rtf", "w").write("{\\rtf1\\ansi\\ansicpg936 "
                                + latin_gbk * ((4 * 1024 * 1024 - 40) // len(latin_gbk)) + "}")
script("runs-gbk", [white, {"do": "text", "open": "runs-gbk.rtf"}])
# Pictures inside the size limits in files padded far past their pixels: a 16 x 16 JPEG in a
# 512 MB file, a 16384 x 4096 BMP in a 512 MB file, and the same BMP at its own 192 MB.
pictures = os.path.join(os.path.dirname(corpus), "..", "tests", "data", "pictures")
small = open(os.path.join(pictures, "jpeg-baseline.jpg"), "rb").read()
with open("padded.jpg", "wb") as f:
    f.write(small)
    f.truncate(512 * 1024 * 1024 - 1024)
script("padded-jpeg", [{"do": "canvas", "width": 100, "height": 100, "picture": "padded.jpg"}])
for name, size in (("wide-padded", 512 * 1024 * 1024 - 1024), ("wide", 54 + 16384 * 3 * 4096)):
    with open(name + ".bmp", "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", size, 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, 16384, 4096, 1, 24, 0, 16384 * 3 * 4096,
                            3780, 3780, 0, 0))
        f.truncate(size)
    script(name, [{"do": "canvas", "width": 100, "height": 100, "picture": name + ".bmp"}])
# A collection file naming 100,000 faces, every one the same small face.
face = open("/usr/share/fonts/truetype/noto/NotoMono-Regular.ttf", "rb").read()
count = 100000
start = 12 + 4 * count
tables = struct.unpack(">H", face[4:6])[0]
moved = bytearray(face)
for t in range(tables):
    at = 12 + 16 * t + 8
    moved[at:at + 4] = struct.pack(">I", struct.unpack(">I", face[at:at + 4])[0] + start)
collection = b"ttcf" + struct.pack(">HHI", 1, 0, count) + struct.pack(">I", start) * count
if os.path.isdir("fonts-ttc/Fonts"):
    # FreeType takes a collection only when it has at least 32 bytes for each face it names.
    whole = collection + bytes(moved)
    open("fonts-ttc/Fonts/many.ttf", "wb").write(whole + bytes(5600000 - len(whole)))
PY

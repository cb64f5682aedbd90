#!/usr/bin/env bash
# Writes the hostile inputs of docs/RELIABILITY.md ("Hostile and huge input") into a folder,
# each with a script that feeds it to the program:  make-hostile.sh DIR, then in DIR
#   /usr/bin/time -f "%e s %M KB" tarvel --script NAME.json
# The large files are made here rather than kept in the repository.
set -euo pipefail
dir=${1:?usage: make-hostile.sh DIR}
mkdir -p "$dir"
cd "$dir"
ln -sf /dev/zero zero.png
[ -p pipe.png ] || mkfifo pipe.png
[ -p pipe.rtf ] || mkfifo pipe.rtf
python3 - <<'PY'
import json, struct

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
PY

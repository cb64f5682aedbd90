#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
"""Merges the .woff2 pieces of one web font package back into a single TrueType face.

Usage: merge-woff2.py OUTPUT.ttf PIECE.woff2...

The pieces are cut from one face by Unicode range. Each is opened, its flavor cleared and its
GSUB, GPOS and GDEF tables dropped (some pieces carry empty script lists that stop the
merger; the brush faces draw every character from its own glyph and need no shaping), and
fontTools' merger joins them. The face is written beside OUTPUT and renamed into place.
"""
import os
import sys
import tempfile

from fontTools.merge import Merger
from fontTools.ttLib import TTFont

DROPPED = ("GSUB", "GPOS", "GDEF")


def plain_piece(path, folder):
    face = TTFont(path)
    face.flavor = None
    for tag in DROPPED:
        if tag in face:
            del face[tag]
    out = os.path.join(folder, os.path.basename(path) + ".ttf")
    face.save(out)
    return out


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    output, pieces = argv[1], sorted(argv[2:])
    with tempfile.TemporaryDirectory() as folder:
        plain = [plain_piece(p, folder) for p in pieces]
        merged = Merger().merge(plain)
        partial = output + ".partial"
        merged.save(partial)
    os.replace(partial, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

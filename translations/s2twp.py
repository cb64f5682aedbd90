#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
"""Fills the empty translations of a traditional Chinese catalogue with OpenCC's s2twp
conversion (traditional characters and Taiwan's words) of their source texts. The entries stay
marked unfinished: read each through in Qt Linguist and mark it done there.

    python3 translations/s2twp.py translations/tarvel_zh_TW.ts
"""
import ctypes
import html
import re
import sys

CONFIG = b"/usr/share/opencc/s2twp.json"


def converter():
    library = ctypes.CDLL("libopencc.so.1.1")
    library.opencc_open.restype = ctypes.c_void_p
    library.opencc_open.argtypes = [ctypes.c_char_p]
    library.opencc_convert_utf8.restype = ctypes.c_void_p
    library.opencc_convert_utf8.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_size_t]
    library.opencc_convert_utf8_free.argtypes = [ctypes.c_void_p]
    handle = library.opencc_open(CONFIG)
    if handle in (None, ctypes.c_void_p(-1).value):
        sys.exit("cannot open %s (Debian package libopencc-data)" % CONFIG.decode())

    def convert(text):
        data = text.encode()
        result = library.opencc_convert_utf8(handle, data, len(data))
        converted = ctypes.string_at(result).decode()
        library.opencc_convert_utf8_free(result)
        return converted

    return convert


def main(path):
    convert = converter()
    with open(path, encoding="utf-8") as file:
        catalogue = file.read()
    pattern = re.compile(
        r'(<source>([^<]*)</source>\s*<translation type="unfinished">)(</translation>)')
    filled = 0

    def fill(match):
        nonlocal filled
        filled += 1
        source = html.unescape(match.group(2))
        return match.group(1) + html.escape(convert(source), quote=False) + match.group(3)

    catalogue = pattern.sub(fill, catalogue)
    with open(path, "w", encoding="utf-8") as file:
        file.write(catalogue)
    print("%d entries converted; review them in Qt Linguist" % filled)


if __name__ == "__main__":
    main(sys.argv[1])

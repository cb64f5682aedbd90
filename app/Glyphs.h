// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The 16 x 16 glyphs of the toolbar buttons, the glyphs of the two wide buttons and the
// window icon. Each glyph is an SVG file compiled into the program as a resource
// (app_icons.qrc, under ":/icons/"), so no icon theme is needed and the glyphs scale to any
// size; loading them needs Qt's SVG icon engine plugin at run time.
#pragma once

#include <QIcon>

enum class Glyph {
    NewCanvas,
    Undo,
    Redo,
    Clear,
    Text,
    RotatedText,
    Inscription,
    Seal,
    Circle,
    Fan,
    Effects,
    Save,
    Left,
    Right,
    Up,
    Down,
    Window
};

QIcon glyphIcon(Glyph glyph);
QPixmap glyphPixmap(Glyph glyph, int size = 16);

// The 16 x 16 glyphs of the toolbar buttons, the glyphs of the two wide buttons and the
// window icon, drawn by the program itself so that no icon theme is needed.
#pragma once

#include <QIcon>

enum class Glyph {
    NewCanvas,
    Undo,
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "Glyphs.h"

#include <QPixmap>
#include <QString>

// app_lib is a static library: the linker keeps the compiled resource file only when something
// calls the initialiser that rcc generates for it. Q_INIT_RESOURCE declares that initialiser, so
// it must be used outside any namespace.
static void registerAppIcons() {
    Q_INIT_RESOURCE(app_icons);
}

namespace {

// The resource file of each glyph, under ":/icons/".
const char* glyphFile(Glyph glyph) {
    switch (glyph) {
    case Glyph::NewCanvas:
        return "new-canvas";
    case Glyph::Undo:
        return "undo";
    case Glyph::Redo:
        return "redo";
    case Glyph::Clear:
        return "clear";
    case Glyph::Text:
        return "text";
    case Glyph::RotatedText:
        return "rotated-text";
    case Glyph::Inscription:
        return "inscription";
    case Glyph::Seal:
        return "seal";
    case Glyph::Circle:
        return "circle";
    case Glyph::Fan:
        return "fan";
    case Glyph::Effects:
        return "effects";
    case Glyph::Save:
        return "save";
    case Glyph::Left:
        return "left";
    case Glyph::Right:
        return "right";
    case Glyph::Up:
        return "up";
    case Glyph::Down:
        return "down";
    case Glyph::Window:
        return "window";
    }
    return "window";
}

} // namespace

QIcon glyphIcon(Glyph glyph) {
    static const bool registered = (registerAppIcons(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(glyphFile(glyph))));
}

QPixmap glyphPixmap(Glyph glyph, int size) {
    return glyphIcon(glyph).pixmap(size, size);
}

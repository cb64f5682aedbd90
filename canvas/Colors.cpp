// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Conversion between the program's 0x00BBGGRR colour values and Qt colours.
#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// System colour numbers as the design uses them (the low byte of 0xFF0000nn).
QPalette::ColorRole systemColorRole(int index, QPalette::ColorGroup& group) {
    group = QPalette::Active;
    switch (index) {
    case 0:
        return QPalette::Mid; // scroll bar
    case 1:
        return QPalette::Dark; // desktop
    case 2:
        return QPalette::Highlight; // active caption
    case 3:
        group = QPalette::Inactive;
        return QPalette::Highlight;
    case 4:
        return QPalette::Window; // menu
    case 5:
        return QPalette::Base; // window background
    case 6:
        return QPalette::Shadow; // window frame
    case 7:
        return QPalette::WindowText; // menu text
    case 8:
        return QPalette::Text; // window text
    case 9:
        return QPalette::HighlightedText; // caption text
    case 10:
        return QPalette::Mid; // active border
    case 11:
        return QPalette::Midlight; // inactive border
    case 12:
        return QPalette::Dark; // application workspace
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button; // button face
    case 16:
        return QPalette::Dark; // button shadow
    case 17:
        group = QPalette::Disabled;
        return QPalette::Text; // grey text
    case 18:
        return QPalette::ButtonText;
    case 19:
        group = QPalette::Inactive;
        return QPalette::HighlightedText;
    case 20:
        return QPalette::Light; // button highlight
    case 21:
        return QPalette::Shadow; // 3D dark shadow
    case 22:
        return QPalette::Midlight; // 3D light
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor toQColor(TColor color) {
    if (isSystemColor(color)) {
        QPalette::ColorGroup group;
        const QPalette::ColorRole role = systemColorRole(int(color & 0xFF), group);
        const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                     ? QGuiApplication::palette()
                                     : QPalette();
        QColor c = palette.color(group, role);
        c.setAlpha(255);
        return c;
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QRgb toRgb(TColor color) {
    if (isSystemColor(color))
        return toQColor(color).rgb();
    return qRgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor fromQColor(const QColor& color) {
    return TColor(color.red()) | (TColor(color.green()) << 8) | (TColor(color.blue()) << 16);
}

TColor fromRgb(QRgb rgb) {
    return TColor(qRed(rgb)) | (TColor(qGreen(rgb)) << 8) | (TColor(qBlue(rgb)) << 16);
}

TColor parseHtmlColor(const QString& text, bool* ok) {
    bool good = text.size() == 7 && text.startsWith(QLatin1Char('#'));
    uint value = 0;
    if (good)
        value = text.mid(1).toUInt(&good, 16);
    if (ok)
        *ok = good;
    if (!good)
        return clBlack;
    return TColor((value >> 16) & 0xFF) | TColor(value & 0xFF00) | (TColor(value & 0xFF) << 16);
}

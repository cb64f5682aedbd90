// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Colour values of the program: 0x00BBGGRR everywhere at interfaces; a high byte of 0xFF
// names a system colour that is resolved through the running style's palette when drawn.
#pragma once

#include <QColor>
#include <QtGlobal>

using TColor = quint32;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clMaroon = 0x00000080;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clPurple = 0x00800080;
constexpr TColor clGray = 0x00808080;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clFuchsia = 0x00FF00FF;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clBtnFace = 0xFF00000F;

constexpr bool isSystemColor(TColor c) {
    return (c >> 24) == 0xFF;
}

// The one place where a colour value becomes something to draw with.
QColor toQColor(TColor color);
// 0xAARRGGBB as stored in a 32-bit QImage pixel (alpha 0xFF).
QRgb toRgb(TColor color);
TColor fromQColor(const QColor& color);
TColor fromRgb(QRgb rgb);

// "#RRGGBB" <-> TColor, used by scripts and messages.
TColor parseHtmlColor(const QString& text, bool* ok = nullptr);

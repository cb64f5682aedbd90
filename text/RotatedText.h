// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Rotated text: a single line of characters in one face, size and colour, each drawn with a
// turned font while the characters step along a straight line. It serves rotated lettering
// and the inscription alike, on the dialog's preview and on the work canvas.
#pragma once

#include "Colors.h"
#include "DrawingSurface.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The direction in which the characters follow each other.
enum TextPlacement : qint32 {
    tpHorizontal = 0, // at angle 0 a row running to the right
    tpVertical = 1,   // at angle 0 a column running downwards
};

// The confirmed values of the rotated-text dialog, read at every draw.
struct TSetSector {
    QByteArray Text; // GBK bytes
    // The characters Text encodes, as typed: one without a GBK code (𠀀, ︐, an emoji) is only
    // a placeholder in the bytes and is drawn from here. Ignored when it is not what Text
    // encodes.
    QString Characters;
    qint32 Angle = 0;       // whole degrees, counter-clockwise on screen for positive values
    qint32 CharSpacing = 2; // pixels added to the step between characters
    qint32 Size = 8;        // character height in pixels, also the base of the step
    QString FaceName = QStringLiteral("宋体");
    TextPlacement Placement = tpHorizontal;
    TColor Color = clBtnFace;
    // A character drawn from a fallback face is thickened to the stems of its own face.
    bool MatchFallbackWeight = false;

    bool operator==(const TSetSector&) const = default;
};

// One character of the walk: its bytes and the top-left of its cell before turning.
struct RotatedTextCell {
    QByteArray bytes;
    QPoint origin;
    bool operator==(const RotatedTextCell&) const = default;
};

// The step between characters along x and y: Size + CharSpacing projected on the
// placement's direction, each coordinate truncated toward zero by itself.
QPoint RotatedTextStep(const TSetSector& settings);

// The byte walk and the advance of the point: every character that DrawRotatedText draws,
// in order. Empty for an empty text or a placement outside the two known ones.
QList<RotatedTextCell> RotatedTextCells(const TSetSector& settings, int x, int y);

// The character drawn in each cell of the walk: from Characters where it matches Text.
QStringList RotatedTextCharacters(const TSetSector& settings);

// Draws the line of the settings with the first character's cell at (x, y).
void DrawRotatedText(DrawingSurface& surface, int x, int y, const TSetSector& settings);

// Draws one character c (one or two GBK bytes) in a font of the given face with a character
// height of size pixels, turned by angle degrees about (x, y). The surface's font colour
// becomes colour even when c is empty; the rest of its font is left as it was.
void DrawRotatedChar(DrawingSurface& surface, TColor colour, int x, int y, int angle, int size,
                     const QString& faceName, const QByteArray& c);

// The character heights a line may have, in pixels: a negative height would draw the glyphs
// mirrored, and far beyond the largest canvas side the font engine draws nothing at all.
constexpr qint32 smallestRotatedTextSize = 1;
constexpr qint32 largestRotatedTextSize = 1000;

// The whole number a size text stands for; a text that is not one fails with the message
// "“<text>”不是有效的整数。", a number outside the sizes above with a message that names the
// range.
qint32 RotatedTextSizeFromText(const QString& text);

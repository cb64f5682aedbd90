// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle picture: a filled circle on a magenta key background, 2 x Radius pixels square,
// drawn through the drawing surface without antialiasing so the key colour stays exact.
#pragma once

#include "DrawingSurface.h"
#include "Limits.h"
#include "ShapeSettings.h"

#include <QtGlobal>

// The circle dialog's settings; the defaults are the values ResetSettings restores.
struct CircleSettingsRecord : ShapeSettingsRecord {
    CircleSettingsRecord() : ShapeSettingsRecord{2, 50, clBlack, clWhite, clBlack, clWhite, 0} {}
};

// The largest side of a circle picture: 16384 x 16384 pixels of 32 bits is one gigabyte,
// beyond which the program refuses instead of exhausting the machine's memory.
constexpr qint64 maxCirclePictureSide = 16384;

// The side of the picture, 2 x Radius, computed without overflow.
qint64 circlePictureSide(qint32 radius);

// The largest canvas is 4000 x 4000 pixels and a picture is stamped with its top-left corner
// on the canvas, so no more of a circle than its top-left 4000 x 4000 pixels can ever land.
// The work drawn again for print is larger: there the cut is its canvas's larger side.
constexpr qint64 largestStampedSide = limits::canvasSide;

// A white picture of side x side pixels, cut to largestSide on each side. A side of 0 or less
// gives an empty picture (no circle can be drawn); a side the program cannot allocate raises an
// error naming the radius.
DrawingSurface createCirclePicture(qint32 radius, qint64 largestSide = largestStampedSide);

// Brush colour magenta and the whole picture filled with it: the key background.
void fillCircleBackground(DrawingSurface& picture);
// Pen width and colour from the settings (a negative width keeps the default pen of 1), solid
// brush in the fill colour.
void setCirclePenAndBrush(DrawingSurface& picture, const CircleSettingsRecord& settings);
// The ellipse with the bounding box of the whole picture: the outline sits on the circle's
// edge, so the outer part of a wide outline is cut off where the circle touches the sides.
// side is the circle's full side: a cut picture holds the top-left part of the same ellipse.
void drawCircleEllipse(DrawingSurface& picture, qint64 side);

// The complete circle picture, marked transparent: keyed by its bottom-left pixel, or by magenta
// when it was cut (the bottom-left pixel of a cut picture may lie on the outline). Empty when
// the radius is 0 or less.
DrawingSurface renderCirclePicture(const CircleSettingsRecord& settings,
                                   qint64 largestSide = largestStampedSide);

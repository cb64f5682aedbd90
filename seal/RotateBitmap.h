// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Turning a bitmap by any angle with 16.16 fixed-point nearest-neighbour sampling, and the
// rebuild of a rotating image control's picture. Every output pixel is either the background
// colour or an unchanged copy of one source pixel, so key colours survive exactly.
#pragma once

#include "Colors.h"
#include "DrawingSurface.h"

#include <QPoint>
#include <QSize>
#include <QtGlobal>

// The sine and cosine of the turn in 16.16 fixed point.
struct RotationCoefficients {
    qint32 sine = 0;
    qint32 cosine = 65536;
    bool operator==(const RotationCoefficients&) const = default;
};

// Brings an angle into -180..180: 180 and -180 stay as they are.
long double normalizeAngle(long double degrees);

// s = trunc(65536 sin θ), c = trunc(65536 cos θ) for θ = -α π / 180, worked out in extended
// precision. The extra precision decides the cases where the sine or cosine is ±1/2 in
// theory: double precision lands just short of the half and truncates one unit lower.
RotationCoefficients rotationCoefficients(long double normalizedDegrees);

// The destination size: (|c| W + |s| H) div 65536 by (|s| W + |c| H) div 65536.
QSize rotatedSize(QSize source, RotationCoefficients coefficients);

// The destination pivot (x counted from the left, b counted up from the bottom row):
// ((nW - 1) div 2, (nH - 1) div 2), except that x uses nW div 2 at exactly 0 and -90 degrees
// and b uses nH div 2 at exactly 0 and 90 degrees, which makes the quarter turns exact
// permutations of the pixels.
QPoint destinationPivot(QSize destination, long double normalizedDegrees);

// Turns source counter-clockwise by degrees about its centre; bg fills everything that no
// source pixel maps to. The source is brought to 32 bits per pixel in place first. An empty
// source, or a turn that leaves no whole pixel, gives an empty result.
DrawingSurface RotateBitmap(DrawingSurface& source, TColor bg, long double degrees);

// The settings of a rebuild of the turned picture.
struct RotatedPictureOptions {
    long double angle = 0;
    bool uniqueSize = true; // a square that holds the picture at any angle
    bool center = false;    // the turned picture in the middle of that square
    bool transparent = false;
};

// The side of the square that holds a w x h picture at any angle: round(sqrt((w+2)² + (h+2)²)).
int uniqueSquareSide(int width, int height);

// Builds the turned picture of source (a bitmap of the picture's size; a rotation brings it
// to 32 bits per pixel in place) with
// background bg: no resampling at multiples of 360 degrees; with uniqueSize the result sits
// in a bg-filled square at the top-left or centred. The result is marked transparent when
// asked and always carries bg as its fixed transparent colour. An empty source gives an
// empty result.
DrawingSurface rebuildRotatedPicture(DrawingSurface& source, TColor bg,
                                     const RotatedPictureOptions& options);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The effect filter: a 3 x 3 weighted neighbourhood over a 24-bit picture, each channel on
// its own, with neighbours outside the picture wrapping around to the opposite edge.
#pragma once

#include "DrawingSurface.h"
#include "EffectWeights.h"

#include <QtGlobal>
#include <array>

// 255 for 255 or more, 0 for 0 or less, the value itself between.
constexpr uchar ClampByte(qint64 value) {
    return value >= 255 ? uchar(255) : value <= 0 ? uchar(0) : uchar(value);
}

// Makes the target a 24-bit copy of the source, pixel for pixel and of the same size. The
// target keeps its pen, brush, font and transparency settings; an empty source leaves an
// empty target.
void CopyTo24Bit(DrawingSurface& target, const DrawingSurface& source);

// Which row kernel the filter runs. Every kernel gives the same bytes; the vector ones are
// used only where the processor has them and the weights fit them (weights in -128..127,
// every partial sum within 16 bits, a power-of-two divisor), the portable one otherwise.
enum class FilterPath { Portable, Ssse3, Avx2 };
bool filterPathSupported(FilterPath path);
FilterPath fastestFilterPath();

// Filters the picture in place: each channel of each pixel becomes
// ClampByte(sum of weight x neighbour / divisor), the division truncating toward zero. The
// weights are the row above first, each row from left to right. All reads see the picture as
// it was before the call. A 32-bit picture is made 24-bit first; an empty one is left alone.
// A divisor of 0 raises an error.
void Filter3x3(const std::array<qint32, 9>& weights, quint16 divisor, DrawingSurface& picture);
void Filter3x3(const std::array<qint32, 9>& weights, quint16 divisor, DrawingSurface& picture,
               FilterPath path);
void Filter3x3(const FilterWeights& weights, DrawingSurface& picture);

// The same filter reading the source and writing the target, which becomes a 24-bit picture of
// the source's size and keeps its pen, brush and font. The target's own pixels are reused when
// they have that size and format and nothing else shares them; the source may be the target.
void Filter3x3Into(const std::array<qint32, 9>& weights, quint16 divisor,
                   const DrawingSurface& source, DrawingSurface& target, FilterPath path);
void Filter3x3Into(const FilterWeights& weights, const DrawingSurface& source,
                   DrawingSurface& target);

// The first effect in one walk down the picture: base becomes CopyTo24Bit of the source and
// target the filter of base (as Filter3x3Into), each 32-bit row converted just before the
// filter reads it. The target may be the source: then the result is laid over the source's own
// pixels when nothing else shares them. The base's own pixels are reused when they fit. Base
// and target keep their pen, brush and font; the base may be neither the source nor the target.
void CopyTo24BitAndFilter(const FilterWeights& weights, const DrawingSurface& source,
                          DrawingSurface& base, DrawingSurface& target);

// Row r (0 to H + 1) of the bordered copy of a 24-bit picture of W x H pixels, as
// 3 x (W + 2) bytes. Rows 1 to H are the picture's rows with its right-most pixel on the left
// and its left-most pixel on the right; row 0 is the bottom row and row H + 1 the top row,
// each with the picture's nearest corner pixels at both ends. The filter builds these rows
// one at a time as it walks down the picture.
void BuildBorderedRow(const DrawingSurface& picture, int borderedRow, uchar* out);

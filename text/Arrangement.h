// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The four directions a block of text (and the lines of a seal) can be laid out in.
#pragma once

#include <QtGlobal>

enum Arrangement : qint32 {
    arHorzLeftToRight = 0, // rows, characters left to right from the left margin
    arHorzRightToLeft = 1, // rows, characters right to left from the right margin
    arVertLeftToRight = 2, // columns running down, the first column at the left
    arVertRightToLeft = 3, // columns running down, the first column at the right
};

constexpr bool isArrangement(qint32 value) {
    return value >= arHorzLeftToRight && value <= arVertRightToLeft;
}

constexpr bool isVertical(Arrangement arrangement) {
    return arrangement == arVertLeftToRight || arrangement == arVertRightToLeft;
}

// The right-to-left layouts measure LeftMargin from the canvas's right edge.
constexpr bool isRightToLeft(Arrangement arrangement) {
    return arrangement == arHorzRightToLeft || arrangement == arVertRightToLeft;
}

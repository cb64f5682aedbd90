// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The program's emblem: a 48 x 48 seal-red square with a white brush-stroke T, shown by the
// About box.
#pragma once

#include "Colors.h"

#include <QImage>

constexpr int EmblemSize = 48;
constexpr TColor EmblemRed = 0x002020C0;
constexpr TColor EmblemPaper = clWhite;

// Drawn from rectangles only, so every pixel is exactly one of the two colours.
QImage aboutEmblem();

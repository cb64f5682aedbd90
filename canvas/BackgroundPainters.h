// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The three ways a background picture is laid on a new canvas: tiled from the top-left
// corner, stretched over the whole canvas, or centred. Straight pixel copies, no blending.
#pragma once

#include "CanvasSettings.h"
#include "DrawingSurface.h"

#include <QPoint>
#include <QSize>
#include <vector>

// Step 2 of every painter: the loaded picture as a plain bitmap of its own size.
DrawingSurface plainBitmapCopy(const QImage& picture);

// Top-left corners of the tiles, rows from the top (outer) and columns from the left (inner):
// canvas width div w + 2 columns and height div h + 2 rows.
std::vector<QPoint> tilePositions(QSize canvas, QSize picture);
// ((W − w) div 2, (H − h) div 2), the divisions truncating toward zero.
QPoint centerOffset(QSize canvas, QSize picture);

void tileBackground(DrawingSurface& canvas, const DrawingSurface& bitmap);
void stretchBackground(DrawingSurface& canvas, const DrawingSurface& bitmap);
void centerBackground(DrawingSurface& canvas, const DrawingSurface& bitmap);

// Runs the painter of the layout; a value that names no layout tiles.
void paintBackground(DrawingSurface& canvas, const QImage& picture, PictureLayout layout);

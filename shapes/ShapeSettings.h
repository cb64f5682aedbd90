// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What the circle and fan dialogs keep: outline width, radius and colours, the colours picked
// but not yet applied, and whether the picture waits for a press on the canvas.
#pragma once

#include "Colors.h"

#include <QtGlobal>

struct ShapeSettingsRecord {
    qint32 LineWidth = 0;
    qint32 Radius = 0;
    TColor LineColor = clBlack;
    TColor FillColor = clWhite;
    TColor PickedLineColor = clBlack;
    TColor PickedFillColor = clWhite;
    qint32 PendingPlacement = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The printed size of the canvas: its pixels at a resolution in dots per inch, as the canvas
// dialog shows it and as the saved files carry it.
#pragma once

#include <QString>
#include <QtGlobal>

// The resolutions a canvas may be given.
constexpr int minimumResolution = 1;
constexpr int maximumResolution = 2400;
// The screen's resolution, which a new canvas has unless another is chosen.
constexpr int defaultResolution = 96;

// Pixels at dpi dots per inch in centimetres, as shown: "20.32 厘米".
QString centimetresText(qint64 pixels, int dotsPerInch);
// Dots per inch in dots per metre, to the nearest whole number (96 gives 3780).
int dotsPerMetre(int dotsPerInch);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text arrangement 扇面: the block laid out in radial columns inside a folding-fan ring,
// right to left, each character upright along its column's radius and turned with it. The
// lines before the first empty line are the main text, the lines after it the inscription,
// which follows the last column in smaller characters, starting lower.
#pragma once

#include "DrawingSurface.h"
#include "FanRing.h"
#include "RichText.h"
#include "TextSettings.h"

#include <QPointF>
#include <vector>

// The inscription's characters are drawn at this part of their own height.
constexpr int inscriptionScaleNumerator = 3;
constexpr int inscriptionScaleDenominator = 5;

// What the layout needs of the text: the number of characters of each line, and the tallest
// and widest cells, of the main text and of the inscription.
struct FanTextMeasure {
    std::vector<int> mainLines;
    std::vector<int> inscriptionLines;
    int cellHeight = 0;
    int cellWidth = 0;
    int inscriptionHeight = 0;
    int inscriptionWidth = 0;
};

// One character's place: the column it stands in (0 is the rightmost), the column's angle from
// the upward vertical in tenths of a degree (positive to the right) and the centre of its cell
// from the ring's centre, y downwards.
struct FanCell {
    int column = 0;
    int angle = 0;
    QPointF centre;
};

// Every character's place, main text first, in reading order.
struct FanTextPlan {
    std::vector<FanCell> cells;
    int longCells = 0;          // characters a long column holds
    int shortCells = 0;         // and a short one
    int columns = 0;            // columns the ring has room for
    int mainColumns = 0;        // columns the main text takes
    int inscriptionColumns = 0; // and the inscription after it
    FanTextMeasure measure;     // what the plan was made for
};

// The places of the characters. Along a column the cells are the tallest cell plus the
// character spacing apart, a quarter of a cell in from the ring's edges; columns are the widest
// cell plus the line spacing apart where the column ends nearest the centre. In the long and
// short alternation every second column holds half as many characters (rounded up) and starts
// lower. Text that does not fit raises an error saying how much is left over.
FanTextPlan planFanText(const FanRing& ring, const FanTextMeasure& measure, int charSpacing,
                        int lineSpacing, FanColumns columns);

// The measure of the editor's content and its plan inside the ring.
FanTextPlan planFanTextBlock(RichText& text, const TextSettings& settings, const FanRing& ring);

// The size check of a 扇面 block: the columns the text takes out of those the ring has, and
// how many characters a column holds; for text that does not fit, what is left over.
QString fanTextSizeReport(RichText& text, const TextSettings& settings, const FanRing& ring);

// Draws the editor's content at the places of the plan, moved by the settings' shift from the
// ring; each character in its own face, colour and style, turned with its column.
void DrawFanTextBlock(DrawingSurface& surface, RichText& text, const TextSettings& settings,
                      const FanRing& ring, const FanTextPlan& plan);

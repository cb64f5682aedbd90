// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The work drawn again from its steps at a higher resolution than its canvas, for print and
// PDF: every length of every step (canvas size, positions, sizes, widths, radii, spacings,
// font sizes) multiplied by one factor, the background picture scaled smoothly, the effects
// filtered at the new resolution as they are.
#pragma once

#include "Step.h"

class CompositionState;

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

// The step with every length of its records multiplied by factor, rounded to whole pixels
// (and whole points); its elements' pictures are dropped so that they are drawn again. The
// keys the script table marks as lengths are the ones scaled here.
Step scaledStep(const Step& step, double factor);

// The recipe with every template step replaced by the steps that compose it, so that each of
// them can be scaled.
std::vector<std::shared_ptr<const Step>>
expandedRecipe(const std::vector<std::shared_ptr<const Step>>& recipe);

// What a rendering may take at most: the canvas and the effect base at the new resolution.
inline constexpr qint64 scaledRenderingBudget = qint64(600) << 20;
// Bytes one pixel of the work takes while it is drawn again: the canvas, the effect base and
// the copy a step compares or keeps while it draws, 4 bytes each.
inline constexpr qint64 scaledBytesPerPixel = 12;

// The largest factor up to wanted at which a canvas of this size stays within budget (never
// below 1).
double affordableFactor(QSize canvas, double wanted, qint64 budget = scaledRenderingBudget);

struct ScaledRendering {
    QImage picture;
    int dotsPerInch = 0;
    double factor = 1;
    // The resolution asked for could not be kept (the budget, or a picture a renderer refuses
    // at that size): the one used is dotsPerInch.
    bool reduced = false;
};

// The steps drawn again on a canvas of their own at wantedDotsPerInch, the canvas having
// canvasDotsPerInch; a smaller resolution when the budget or a renderer asks for it, and at
// worst the canvas's own. Throws TarvelError when the steps cannot be drawn at all.
ScaledRendering renderScaled(const std::vector<std::shared_ptr<const Step>>& recipe, QSize canvas,
                             int canvasDotsPerInch, int wantedDotsPerInch,
                             qint64 budget = scaledRenderingBudget);

// The picture a print or a PDF of the composition takes at wantedDotsPerInch: its steps drawn
// again when that is above the canvas's resolution, the canvas's own pixels otherwise.
ScaledRendering renderForPrint(const CompositionState& composition, int wantedDotsPerInch,
                               qint64 budget = scaledRenderingBudget);
// What the status bar and a script's warnings say when the resolution asked for was not kept.
QString reducedResolutionText(const ScaledRendering& rendering, int wantedDotsPerInch);

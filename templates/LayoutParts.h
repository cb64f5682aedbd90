// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What the template layouts share: measuring a block as its text step draws it, and the
// refusals that say what does not fit.
#pragma once

#include "WorkTemplate.h"

#include <utility>

namespace templateparts {

int rounded(double value);
QString withoutSpaces(const QString& text);
// The point size whose characters are at most this many pixels, and their pixel size.
std::pair<int, int> pointsFor(double pixels);
// The block at a size with the default spacing, measured.
TemplateLayout::Block measuredBlock(const QString& text, const WorkTemplate& work, double pixels,
                                    int arrangement);
// The block's extent as its text step measures it, from its text, size and spacing.
void measure(TemplateLayout::Block& block, const WorkTemplate& work);
// Throws TarvelError with the message unless it fits.
void mustFit(bool fits, const QString& what);
void checkCharacterSize(double pixels, const QString& what, int count);
void checkInside(const QSize& canvas, const QRect& area, const QString& what);

} // namespace templateparts

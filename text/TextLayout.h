// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text layout: draws the text dialog's block onto the work canvas one character at a time,
// each in its own face, size, colour and style, in one of the four arrangements.
#pragma once

#include "Arrangement.h"
#include "DrawingSurface.h"
#include "RichText.h"
#include "TextSettings.h"

// Sets the surface font from the selected character's attributes, in the order size, face,
// colour, character set, pitch, styles; then the cell height +H overrides the size, so the
// font is chosen by a cell of H pixels.
void setFontFromSelection(DrawingSurface::Font& font, const RichText::Attributes& attributes,
                          int pixelHeight);

// Centres a character cell of height H across a row or column of the given pitch: the
// difference halved, truncated toward zero.
constexpr qint64 centringOffset(qint64 rowPitch, qint64 pixelHeight) {
    return (rowPitch - pixelHeight) / 2;
}

// Draws the editor's content at the settings' current margins and spacings with the RowPitch
// of the last apply, in the layout of the arrangement given (a value outside the four draws
// nothing). The brush is left as the caller set it: a clear brush lets the picture show
// through around the glyphs. canvasWidth is W, from which the right-to-left layouts measure
// LeftMargin. Characters off the canvas are clipped. Leaves the editor's selection on the
// last character and the surface font at that character's font. A character its face lacks
// is drawn in the face the fallback chain chooses for it.
void DrawTextBlock(DrawingSurface& surface, RichText& text, const TextSettings& settings,
                   Arrangement arrangement, int canvasWidth);

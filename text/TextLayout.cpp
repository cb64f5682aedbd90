// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text layout in its four arrangements. All four share the measuring walk and differ only
// in where a character's cell goes and how the advance along the line grows.
#include "TextLayout.h"

#include "ColumnSetting.h"
#include "FontFallback.h"
#include "TextMeasure.h"

#include <algorithm>

void setFontFromSelection(DrawingSurface::Font& font, const RichText::Attributes& attributes,
                          int pixelHeight) {
    font.setSizePoints(attributes.Size);
    font.name = attributes.Name;
    font.color = attributes.Color;
    font.charset = attributes.Charset;
    font.pitch = int(attributes.pitch);
    font.weight = attributes.Bold ? 700 : 400;
    font.italic = attributes.Italic;
    font.underline = attributes.Underline;
    font.strikeout = attributes.StrikeOut;
    font.height = pixelHeight;
}

namespace {

// Positions are computed wide: the spin boxes have no bounds, so margins and spacings may be
// anything a 32-bit field holds.
struct CellPosition {
    qint64 x = 0;
    qint64 y = 0;
};

// The walk's state for one block: the pitch between rows or columns and the advance within
// the current line.
struct LayoutWalk {
    DrawingSurface& surface;
    const TextSettings& settings;
    Arrangement arrangement;
    qint64 canvasWidth;
    qint64 pitch; // RowPitch + LineSpacing
    qint64 along = 0;
    // The last character that took room in the current column, for a classical mark after it.
    std::optional<ColumnCell> previous;

    // Places the selected character c of line i and advances along the line, in the order
    // the arrangement gives: right to left rows advance before drawing, the others after.
    void placeCharacter(qint64 line, qint64 offset, const QString& c) {
        const qint64 left = settings.LeftMargin;
        const qint64 top = settings.TopMargin;
        const qint64 spacing = settings.CharSpacing;
        switch (arrangement) {
        case arHorzLeftToRight: {
            const qint64 width = surface.textWidth(c);
            drawCell({left + along, top + line * pitch + offset}, c, width);
            along += width + spacing;
            break;
        }
        case arHorzRightToLeft: {
            const qint64 width = surface.textWidth(c);
            along += width + spacing;
            drawCell({canvasWidth - left - along, top + line * pitch + offset}, c, width);
            break;
        }
        case arVertLeftToRight: {
            drawCell({left + line * pitch + offset, top + along}, c, surface.textWidth(c));
            along += surface.textHeight(c) + spacing;
            break;
        }
        case arVertRightToLeft: {
            drawCell({canvasWidth - left - (line + 1) * pitch + offset, top + along}, c,
                     surface.textWidth(c));
            along += surface.textHeight(c) + spacing;
            break;
        }
        }
    }

    // A column under a punctuation convention: the character as setInColumn sets it.
    void placeInColumn(qint64 line, const QString& shown, bool twoByte, int pixelHeight) {
        const qint64 slotLeft = arrangement == arVertLeftToRight
                                    ? settings.LeftMargin + line * pitch
                                    : canvasWidth - settings.LeftMargin - (line + 1) * pitch;
        const ColumnCell cell =
            setInColumn(surface, shown, twoByte, pixelHeight, settings.Punctuation,
                        {settings.RowPitch, along, settings.CharSpacing, previous});
        const CellPosition at{slotLeft + cell.x, qint64(settings.TopMargin) + cell.y};
        switch (cell.kind) {
        case ColumnCell::Kind::Dropped:
            return;
        case ColumnCell::Kind::Plain:
            if (!cell.text.isEmpty())
                drawCell(at, cell.text, surface.textWidth(cell.text));
            previous = cell;
            break;
        case ColumnCell::Kind::Turned: {
            DrawingSurface::Font turned = surface.font;
            turned.escapement = -900;
            surface.textOutWithFont(int(at.x), int(at.y), cell.text, turned);
            previous = cell;
            break;
        }
        case ColumnCell::Kind::Small: {
            DrawingSurface::Font small = surface.font;
            small.height = cell.smallHeight;
            surface.textOutWithFont(int(at.x), int(at.y), cell.text, small);
            break;
        }
        }
        along += cell.advance;
    }

    // Text out with the cell's top-left at the position. A cell wholly beyond the canvas is
    // not handed to the painter at all (the surface would clip every pixel of it anyway);
    // the margin of a cell's height on each side leaves room for italic overhang.
    void drawCell(CellPosition cell, const QString& c, qint64 cellWidth) {
        const qint64 slack = qint64(std::abs(surface.font.height)) + cellWidth;
        if (!surface.isEmpty() &&
            (cell.x + cellWidth + slack < 0 || cell.x - slack > surface.width() ||
             cell.y + 2 * slack < 0 || cell.y - slack > surface.height()))
            return;
        surface.textOut(int(cell.x), int(cell.y), c);
    }
};

} // namespace

void DrawTextBlock(DrawingSurface& surface, RichText& text, const TextSettings& settings,
                   Arrangement arrangement, int canvasWidth) {
    if (!isArrangement(arrangement))
        return;
    LayoutWalk layout{surface,
                      settings,
                      arrangement,
                      canvasWidth,
                      qint64(settings.RowPitch) + settings.LineSpacing,
                      0,
                      {}};
    // The horizontal arrangements draw every mark as typed.
    const bool inColumns = isVertical(arrangement) && settings.Punctuation != vpOriginal;
    TextWalk::walk(
        text,
        [&](int line, int requestedLength, const RichText::Character& character) {
            setFontFromSelection(surface.font, character.attributes, character.pixelHeight);
            const QString shown = shownCharacter(character.string, settings.ChineseDigits);
            if (settings.MatchFallbackWeight)
                surface.font = FontFallback::matchedFont(surface.font, shown);
            else
                surface.font.name = FontFallback::faceFor(surface.font, shown);
            if (inColumns) {
                layout.placeInColumn(line, shown, requestedLength == 2 || shown != character.string,
                                     character.pixelHeight);
                return;
            }
            const qint64 offset = centringOffset(settings.RowPitch, character.pixelHeight);
            layout.placeCharacter(line, offset, shown);
        },
        [&](int) {
            layout.along = 0;
            layout.previous.reset();
        });
    surface.font.thickening = 0; // a thickened stand-in face is no font for what comes next
}

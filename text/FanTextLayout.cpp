// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The arrangement 扇面: the column plan inside the ring and the turned characters.
#include "FanTextLayout.h"
#include "FontFallback.h"

#include "TarvelError.h"
#include "TextLayout.h"
#include "TextMeasure.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double degreesToRadians = std::numbers::pi / 180.0;

// The cells of one kind of column: the radius of the first cell's centre, the distance from
// cell to cell, how many cells a column holds, and how many cells a short column starts lower.
struct ColumnRun {
    double firstRadius = 0;
    double pitch = 1;
    int cells = 0;
    // The angle between neighbouring columns and the angle kept free at the ring's sides,
    // both measured where the columns end nearest the centre.
    double step = 0;
    double side = 0;
};

ColumnRun columnRun(double top, int cellHeight, int cellWidth, int charSpacing, int lineSpacing,
                    double innerLimit) {
    ColumnRun run;
    run.pitch = std::max(1.0, double(cellHeight) + charSpacing);
    run.firstRadius = top - cellHeight / 2.0;
    const double room = run.firstRadius - cellHeight / 2.0 - innerLimit;
    run.cells = room < 0 ? 0 : int(std::floor(room / run.pitch + 1e-9)) + 1;
    const double nearest =
        std::max(run.firstRadius - (std::max(run.cells, 1) - 1) * run.pitch - cellHeight / 2.0,
                 std::max(1.0, double(cellHeight)));
    run.step = std::max(1.0, double(cellWidth) + lineSpacing) / nearest;
    run.side = (cellWidth / 2.0 + cellHeight / 4) / nearest;
    return run;
}

FanCell cellAt(int column, double angle, double radius) {
    FanCell cell;
    cell.column = column;
    // The characters turn in whole tenths of a degree; their centres follow the same angle.
    cell.angle = int(std::lround(angle / degreesToRadians * 10.0));
    const double turned = cell.angle / 10.0 * degreesToRadians;
    cell.centre = QPointF(radius * std::sin(turned), -radius * std::cos(turned));
    return cell;
}

int total(const std::vector<int>& lines) {
    int sum = 0;
    for (int count : lines)
        sum += count;
    return sum;
}

} // namespace

FanTextPlan planFanText(const FanRing& ring, const FanTextMeasure& measure, int charSpacing,
                        int lineSpacing, FanColumns columns) {
    FanTextPlan plan;
    plan.measure = measure;
    const int edge = measure.cellHeight / 4;
    const double innerLimit = double(ring.inner) + edge;
    const double half = ring.span * degreesToRadians / 2.0;
    const ColumnRun main = columnRun(double(ring.outer) - edge, measure.cellHeight,
                                     measure.cellWidth, charSpacing, lineSpacing, innerLimit);
    plan.longCells = main.cells;
    plan.shortCells = (main.cells + 1) / 2;
    const int lower = main.cells >= 2 && columns == fcLongShort
                          ? std::max(1, (main.cells - plan.shortCells) / 2)
                          : 0;
    const double room = 2.0 * (half - main.side);
    plan.columns = room < 0 ? 0 : int(std::floor(room / main.step + 1e-9)) + 1;

    // The main text: each line starts a column, and a line longer than its column goes on in
    // the next one.
    const double first = half - main.side;
    int column = -1;
    int placed = 0;
    for (int count : measure.mainLines) {
        int free = 0;
        for (int k = 0; k < count; ++k) {
            if (free == 0) {
                ++column;
                if (column >= plan.columns || main.cells == 0)
                    throw TarvelError(QCoreApplication::translate(
                                          "Text",
                                          "扇面放不下这段文字：每列最多 %1 个字，扇面最多 %2 列，"
                                          "还有 %3 个字排不下。")
                                          .arg(plan.longCells)
                                          .arg(plan.columns)
                                          .arg(total(measure.mainLines) - placed));
                const bool isShort = columns != fcLong && column % 2 == 1;
                free = isShort ? plan.shortCells : plan.longCells;
            }
            const bool isShort = columns != fcLong && column % 2 == 1;
            const int used = (isShort ? plan.shortCells : plan.longCells) - free;
            const int row = used + (isShort ? lower : 0);
            plan.cells.push_back(
                cellAt(column, first - column * main.step, main.firstRadius - row * main.pitch));
            --free;
            ++placed;
        }
    }

    plan.mainColumns = column + 1;

    // The inscription: smaller, its top a main cell lower, its first column a main column after
    // the last one of the text.
    const ColumnRun note =
        columnRun(double(ring.outer) - edge - main.pitch, measure.inscriptionHeight,
                  measure.inscriptionWidth, charSpacing, lineSpacing, innerLimit);
    double angle = column < 0 ? half - note.side : first - column * main.step - main.step;
    int noteColumn = column;
    int notePlaced = 0;
    bool firstNoteColumn = true;
    for (int count : measure.inscriptionLines) {
        int free = 0;
        for (int k = 0; k < count; ++k) {
            if (free == 0) {
                if (!firstNoteColumn)
                    angle -= note.step;
                firstNoteColumn = false;
                ++noteColumn;
                if (note.cells == 0 || angle < -half + note.side - 1e-9)
                    throw TarvelError(
                        QCoreApplication::translate(
                            "Text", "扇面放不下落款：落款每列最多 %1 个字，还有 %2 个字排不下。")
                            .arg(note.cells)
                            .arg(total(measure.inscriptionLines) - notePlaced));
                free = note.cells;
            }
            plan.cells.push_back(
                cellAt(noteColumn, angle, note.firstRadius - (note.cells - free) * note.pitch));
            --free;
            ++notePlaced;
        }
    }
    plan.inscriptionColumns = noteColumn - column;
    return plan;
}

namespace {

int inscriptionHeightOf(int pixelHeight) {
    return std::max(1, pixelHeight * inscriptionScaleNumerator / inscriptionScaleDenominator);
}

// Walks the editor's characters, telling each whether it belongs to the inscription: the lines
// after the first empty line. Empty lines start no column.
template <class Visit> void walkFanText(RichText& text, Visit&& visit) {
    bool inscription = false;
    bool lineHadCharacters = false;
    TextWalk::walk(
        text,
        [&](int line, int, const RichText::Character& character) {
            lineHadCharacters = true;
            visit(line, inscription, character);
        },
        [&](int) {
            if (!lineHadCharacters)
                inscription = true;
            lineHadCharacters = false;
        });
}

} // namespace

FanTextPlan planFanTextBlock(RichText& text, const TextSettings& settings, const FanRing& ring) {
    FanTextMeasure measure;
    DrawingSurface measuring;
    int lastLine = -1;
    walkFanText(text, [&](int line, bool inscription, const RichText::Character& character) {
        const int height =
            inscription ? inscriptionHeightOf(character.pixelHeight) : character.pixelHeight;
        setFontFromSelection(measuring.font, character.attributes, height);
        measuring.font.name = FontFallback::faceFor(measuring.font, character.string);
        const int width = measuring.textWidth(character.string);
        const int cell = measuring.textHeight(character.string);
        std::vector<int>& lines = inscription ? measure.inscriptionLines : measure.mainLines;
        if (line != lastLine)
            lines.push_back(0);
        lastLine = line;
        ++lines.back();
        int& tallest = inscription ? measure.inscriptionHeight : measure.cellHeight;
        int& widest = inscription ? measure.inscriptionWidth : measure.cellWidth;
        tallest = std::max(tallest, cell);
        widest = std::max(widest, width);
    });
    return planFanText(ring, measure, settings.CharSpacing, settings.LineSpacing,
                       settings.FanColumnStyle);
}

QString fanTextSizeReport(RichText& text, const TextSettings& settings, const FanRing& ring) {
    try {
        const FanTextPlan plan = planFanTextBlock(text, settings, ring);
        return QCoreApplication::translate(
                   "Text", "扇面文字占 %1 列（落款 %2 列），扇面可排 %3 列；长列最多 %4 个字，"
                           "短列 %5 个字。")
            .arg(plan.mainColumns)
            .arg(plan.inscriptionColumns)
            .arg(plan.columns)
            .arg(plan.longCells)
            .arg(plan.shortCells);
    } catch (const TarvelError& error) {
        return error.text();
    }
}

void DrawFanTextBlock(DrawingSurface& surface, RichText& text, const TextSettings& settings,
                      const FanRing& ring, const FanTextPlan& plan) {
    const QPointF centre = QPointF(ring.centre) + QPointF(settings.FanShiftX, settings.FanShiftY);
    std::size_t index = 0;
    DrawingSurface::Font font;
    walkFanText(text, [&](int, bool inscription, const RichText::Character& character) {
        if (index >= plan.cells.size())
            return;
        const FanCell& cell = plan.cells[index++];
        setFontFromSelection(font, character.attributes,
                             inscription ? inscriptionHeightOf(character.pixelHeight)
                                         : character.pixelHeight);
        if (settings.MatchFallbackWeight)
            font = FontFallback::matchedFont(font, character.string);
        else
            font.name = FontFallback::faceFor(font, character.string);
        font.escapement = -cell.angle;
        // The character's cell is centred on its place and turned about that centre: its
        // top-left corner, where the text goes out, is the corner turned with the column.
        const DrawingSurface::Font upright = surface.font;
        surface.font = font;
        const double width = surface.textWidth(character.string);
        const double height = surface.textHeight(character.string);
        surface.font = upright;
        const double turned = cell.angle / 10.0 * degreesToRadians;
        const double c = std::cos(turned), s = std::sin(turned);
        const QPointF corner(-width / 2 * c + height / 2 * s, -width / 2 * s - height / 2 * c);
        const QPointF origin = centre + cell.centre + corner;
        surface.textOutWithFont(int(std::lround(origin.x())), int(std::lround(origin.y())),
                                character.string, font);
    });
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "WorkTemplate.h"
#include "LayoutParts.h"
#include "Limits.h"
#include "MountedLayout.h"

#include "ColumnSetting.h"
#include "FanRingGeometry.h"
#include "RichText.h"
#include "TarvelError.h"
#include "TextMeasure.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

using namespace templateparts;

namespace {

constexpr int largestSide = limits::canvasSide;
// Spacing and sizes, in parts of the main characters' size.
constexpr double columnGap = 0.35;
constexpr double characterGap = 0.08;
constexpr double inscriptionScale = 0.4;
constexpr double inscriptionGap = 0.5;
// The share of the free height above the main text: its centre sits 15 % of the free height
// above the paper's centre, as calligraphers raise it.
constexpr double raisedShare = 0.5 - 0.15;
constexpr double marginShare = 0.08; // of the paper's side, around everything
constexpr int smallestCharacter = 8;
// 扇面: the largest ring the fan step draws, its outline, and the spacing of its text (the
// columns closer than on paper, as fans are written).
constexpr int largestFanRadius = 1000;
constexpr int smallestFanRadius = 10;
constexpr int fanLineWidth = 2;
constexpr double fanColumnGap = 0.2;
constexpr double fanSealScale = 1.25; // the name seal's side, in inscription characters
// Mounted, a fan's seal is a little narrower than the inscription's characters and turned no
// further than it reads.
constexpr double mountedFanSealScale = 0.9;
// A mounted couplet's lines cover this much of their strips, their characters at most this far
// apart (in parts of a character), the margin below them this much the margin above.
constexpr double mountedFill = 0.8;
constexpr double mountedSpread = 0.8;
constexpr double mountedBottomOverTop = 1.25;
constexpr int readableTurn = 30;

} // namespace

namespace templateparts {

int rounded(double value) {
    return int(std::lround(value));
}

QString withoutSpaces(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (!c.isSpace())
            kept += c;
    return kept;
}

} // namespace templateparts

namespace {

// The characters in columns of the given length, first column first (the rightmost).
QString inColumns(const QString& characters, int rows) {
    QStringList columns;
    for (int start = 0; start < characters.size(); start += rows)
        columns << characters.mid(start, rows);
    return columns.join(QLatin1Char('\n'));
}

} // namespace

namespace templateparts {

// The point size whose characters are at most this many pixels, and their pixel size.
std::pair<int, int> pointsFor(double pixels) {
    const int points = std::max(1, int(std::floor(pixels * 72.0 / 96.0)));
    return {points, (points * 96 + 36) / 72};
}

// A block's text as the text dialog would hold it (the work's face, the block's size) and the
// settings its text step gives: spacing and the conventions.
void setUpBlock(RichText& rich, TextSettings& settings, const TemplateLayout::Block& block,
                const WorkTemplate& work) {
    rich.setText(block.text);
    rich.selectAll();
    rich.setSelName(work.face);
    rich.setSelSize(block.points);
    settings.CharSpacing = block.charSpacing;
    settings.LineSpacing = block.lineSpacing;
    settings.Punctuation = punctuationOf(work);
    settings.ChineseDigits = work.chineseDigits;
}

TemplateLayout::Block measuredBlock(const QString& text, const WorkTemplate& work, double pixels,
                                    int arrangement) {
    TemplateLayout::Block block;
    block.text = text;
    std::tie(block.points, block.em) = pointsFor(pixels);
    block.arrangement = arrangement;
    block.charSpacing = rounded(characterGap * block.em);
    // One column (or row) has no neighbour to keep apart from.
    block.lineSpacing = text.contains(QLatin1Char('\n')) ? rounded(columnGap * block.em) : 0;
    measure(block, work);
    return block;
}

void measure(TemplateLayout::Block& block, const WorkTemplate& work) {
    RichText rich;
    TextSettings settings;
    setUpBlock(rich, settings, block, work);
    settings.Arrangement = Arrangement(block.arrangement);
    MeasureTextBlock(rich, settings);
    block.extent = QSize(settings.ExtentWidth, settings.ExtentHeight);
}

} // namespace templateparts

namespace {

// The block measured at the estimated size, made smaller until its measure fits the room.
TemplateLayout::Block fittedBlock(const QString& text, const WorkTemplate& work, double pixels,
                                  int arrangement, double roomWidth, double roomHeight,
                                  const QString& what, int count) {
    checkCharacterSize(pixels, what, count);
    TemplateLayout::Block block = measuredBlock(text, work, pixels, arrangement);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const double shrink =
            std::min(roomWidth / block.extent.width(), roomHeight / block.extent.height());
        if (shrink >= 1)
            break;
        pixels *= shrink * 0.99;
        checkCharacterSize(pixels, what, count);
        block = measuredBlock(text, work, pixels, arrangement);
    }
    return block;
}

} // namespace

namespace templateparts {

void mustFit(bool fits, const QString& what) {
    if (!fits)
        throw TarvelError(what);
}

void checkCharacterSize(double pixels, const QString& what, int count) {
    mustFit(pixels >= smallestCharacter,
            QCoreApplication::translate(
                "Templates", "%1有 %2 个字，在这张纸上每个字不到 %3 像素，放不下；请选大一些的纸或"
                             "少写几个字。")
                .arg(what)
                .arg(count)
                .arg(smallestCharacter));
}

} // namespace templateparts

namespace {

// An inscription line running down from a point, and its length.
TemplateLayout::Line inscriptionLine(const QString& text, int size, QPoint at) {
    TemplateLayout::Line line;
    line.text = withoutSpaces(text);
    line.size = size;
    line.charSpacing = std::max(1, size / 8);
    line.at = at;
    return line;
}

int lineLength(const TemplateLayout::Line& line) {
    return int(line.text.size()) * (line.size + line.charSpacing);
}

} // namespace

namespace templateparts {

void checkInside(const QSize& canvas, const QRect& area, const QString& what) {
    mustFit(QRect(QPoint(0, 0), canvas).contains(area),
            QCoreApplication::translate(
                "Templates", "%1放不下：纸张太小或正文太长，请选大一些的纸或少写几个字。")
                .arg(what));
}

} // namespace templateparts

namespace {

// 下款 after the last column, starting level with the main text's second character, the name
// seal below it; 引首章 and 上款 before the first column. left is the left edge of the main
// text, right its right edge, secondRow the top of its second character.
void placeInscriptions(TemplateLayout& layout, const WorkTemplate& work, int em, int left,
                       int right, int top, int secondRow, int size) {
    const int gap = rounded(inscriptionGap * em);
    if (!work.lower.isEmpty() || !work.nameSeal.isEmpty()) {
        const int x = left - gap - size;
        int y = secondRow;
        if (!work.lower.isEmpty()) {
            layout.inscriptions.push_back(inscriptionLine(work.lower, size, QPoint(x, y)));
            const auto& line = layout.inscriptions.back();
            checkInside(layout.canvas, QRect(line.at, QSize(size, lineLength(line))),
                        QCoreApplication::translate("Templates", "下款"));
            y += lineLength(line) + size / 4;
        }
        if (!work.nameSeal.isEmpty()) {
            const int side = rounded(1.5 * size);
            layout.seals.push_back(
                {work.nameSeal, QSize(side, side), QPoint(x + size / 2 - side / 2, y), true});
            checkInside(layout.canvas, QRect(layout.seals.back().at, QSize(side, side)),
                        QCoreApplication::translate("Templates", "名章"));
        }
    }
    int y = top;
    if (!work.leadingSeal.isEmpty()) {
        const QSize seal(rounded(1.1 * size), rounded(2.0 * size));
        layout.seals.push_back({work.leadingSeal, seal, QPoint(right + gap, y), false});
        checkInside(layout.canvas, QRect(layout.seals.back().at, seal),
                    QCoreApplication::translate("Templates", "引首章"));
        y += seal.height() + size / 4;
    }
    if (!work.upper.isEmpty()) {
        layout.inscriptions.push_back(inscriptionLine(work.upper, size, QPoint(right + gap, y)));
        const auto& line = layout.inscriptions.back();
        checkInside(layout.canvas, QRect(line.at, QSize(size, lineLength(line))),
                    QCoreApplication::translate("Templates", "上款"));
    }
}

// A scroll, a square or a horizontal work: the main text in columns read from right to left,
// as large as the paper allows with room for the inscription on both sides.
void layoutColumns(TemplateLayout& layout, const WorkTemplate& work) {
    const QString characters = withoutSpaces(work.text);
    const int count = int(characters.size());
    mustFit(count > 0, QCoreApplication::translate("Templates", "正文是空的：请写下要写的字。"));
    const QSize canvas = layout.canvas;
    const double width = canvas.width() * (1 - 2 * marginShare);
    const double height = canvas.height() * (1 - 2 * marginShare);
    const bool leftColumn = !work.lower.isEmpty() || !work.nameSeal.isEmpty();
    const bool rightColumn = !work.upper.isEmpty() || !work.leadingSeal.isEmpty();
    // In units of the character size: the inscription columns with their gaps.
    const double sideUnits = (leftColumn ? inscriptionGap + 1.5 * inscriptionScale : 0) +
                             (rightColumn ? inscriptionGap + 1.1 * inscriptionScale : 0);
    // The face's own proportions: a column's width and a character's step down it, in parts of
    // the character size, measured once.
    const TemplateLayout::Block sample = measuredBlock(QStringLiteral("一\n一"), work, 96, 3);
    const double columnWidth = (sample.extent.width() - sample.lineSpacing) / 2.0 / sample.em;
    const TemplateLayout::Block tall = measuredBlock(QStringLiteral("一一"), work, 96, 3);
    const double step = double(tall.extent.height()) / 2.0 / sample.em;
    double best = 0;
    int bestRows = count;
    // A short horizontal work is one row of characters, read from right to left.
    const int fewestColumns = work.format == WorkFormat::Horizontal && count <= 8 ? count : 1;
    for (int columns = fewestColumns; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const double across =
            width / (columns * columnWidth + columnGap * (columns - 1) + sideUnits);
        const double down = height / (rows * step);
        const double size = std::min(across, down);
        if (size > best) {
            best = size;
            bestRows = rows;
        }
    }
    // The estimate is refined on the measured block until it fits its room.
    TemplateLayout::Block block =
        fittedBlock(inColumns(characters, bestRows), work, best, 3, width - sideUnits * best,
                    height, QCoreApplication::translate("Templates", "正文"), count);
    const int top = rounded((canvas.height() - block.extent.height()) * raisedShare);
    const int secondRow = top + block.em + block.charSpacing;
    // The inscriptions are smaller than the main text, and short enough to end above the
    // bottom margin: 下款 from the second character down with the name seal under it, 上款
    // from the top under the leading seal.
    const double bottom = canvas.height() * (1 - marginShare);
    const auto fitting = [bottom](int start, const QString& text, double sealUnits) {
        const double units = withoutSpaces(text).size() * 1.125 + sealUnits;
        return units > 0 ? (bottom - start) / units : 1e9;
    };
    const int size =
        std::max(smallestCharacter,
                 int(std::min({inscriptionScale * block.em,
                               fitting(secondRow, work.lower, work.nameSeal.isEmpty() ? 0 : 1.75),
                               fitting(top, work.upper, work.leadingSeal.isEmpty() ? 0 : 2.25)})));
    const int gap = rounded(inscriptionGap * block.em);
    const int leftPart = leftColumn ? gap + rounded(1.5 * size) : 0;
    const int rightPart = rightColumn ? gap + rounded(1.1 * size) : 0;
    const int group = block.extent.width() + leftPart + rightPart;
    const int right = canvas.width() - (canvas.width() - group) / 2 - rightPart;
    block.leftMargin = canvas.width() - right;
    block.topMargin = top;
    layout.blocks.push_back(block);
    placeInscriptions(layout, work, block.em, right - block.extent.width(), right, top, secondRow,
                      size);
}

// A mounted couplet's 款 beside the 下联 and its 上款 beside the 上联, each in the room between
// the column and its strip's edge, at most 0.4 of the characters and at least half its own
// size inside the edge, which mounting covers.
void placeCoupletInscriptions(TemplateLayout& layout, const WorkTemplate& work, int stripWidth,
                              int stripHeight) {
    const int width = layout.canvas.width();
    const int band = layout.canvas.height() - stripHeight;
    for (const bool lowerSide : {true, false}) {
        const QString text = lowerSide ? work.lower : work.upper;
        const QString sealAbove = lowerSide ? QString() : work.leadingSeal;
        const QString sealBelow = lowerSide ? work.nameSeal : QString();
        if (text.isEmpty() && sealAbove.isEmpty() && sealBelow.isEmpty())
            continue;
        // The 上联 is the first block, on the right; the 下联 the second, on the left.
        const TemplateLayout::Block& block = layout.blocks[lowerSide ? 1 : 0];
        const int right = width - block.leftMargin;
        const int left = right - block.extent.width();
        const int stripLeft = lowerSide ? 0 : width - stripWidth;
        const int room = lowerSide ? left - stripLeft : stripLeft + stripWidth - right;
        const int size =
            std::max(smallestCharacter, std::min(rounded(inscriptionScale * block.em), room / 2));
        // Centred between the column and a margin of half its size at the strip's edge.
        const int offset = size / 2 + (room - size / 2 - size) / 2;
        const int nearest = lowerSide ? stripLeft + offset : right + room - offset - size;
        const int step = block.em + block.charSpacing;
        const int rows = int(withoutSpaces(block.text).size());
        const int top = block.topMargin;
        const int height = block.extent.height() - 2 * block.charSpacing;
        const int from = lowerSide ? top + (rows >= 6 ? 2 * step : step) : top;
        const QRect paper = QRect(stripLeft, band, stripWidth, stripHeight)
                                .adjusted(size / 2, size / 2, -size / 2, -size / 2);
        placeSide(layout, {text, sealAbove, sealBelow, lowerSide ? -1 : +1}, nearest, from,
                  top + height - size, size, [&](const QRect& area) {
                      mustFit(
                          paper.contains(area),
                          QCoreApplication::translate("Templates", "落款放不下：对联的纸条太窄。"));
                  });
    }
}

// A couplet in one picture, as it hangs: the 横批 across the top, read from right to left,
// the 上联 on the right and the 下联 on the left, each one column on a strip of the paper.
void layoutCouplet(TemplateLayout& layout, const WorkTemplate& work, int stripWidth,
                   int stripHeight) {
    const QStringList lines = work.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    mustFit(lines.size() == 2,
            QCoreApplication::translate("Templates", "对联要写两行：第一行上联，第二行下联。"));
    const QString first = withoutSpaces(lines[0]);
    const QString second = withoutSpaces(lines[1]);
    const int count = int(std::max(first.size(), second.size()));
    const int band = layout.canvas.height() - stripHeight;
    const bool inscribed = !work.lower.isEmpty() || !work.upper.isEmpty() ||
                           !work.nameSeal.isEmpty() || !work.leadingSeal.isEmpty();
    // Mounted, the column leaves room on both sides for a 款 of a third of its characters.
    const double across = stripWidth * (inscribed ? (work.mounted ? 0.45 : 0.6) : 0.7);
    const double down = stripHeight * (1 - 2 * marginShare);
    const double pixels = std::min(across, down / (count + characterGap * (count - 1)));
    const int width = layout.canvas.width();
    int left = 0, right = 0, top = 0, em = 0, secondRow = 0;
    (void)em;
    // Both lines at one size: that of the longer.
    const QString longer = first.size() >= second.size() ? first : second;
    const int points = fittedBlock(longer, work, pixels, 3, across, down,
                                   QCoreApplication::translate("Templates", "对联每行"), count)
                           .points;
    // Mounted, both lines spread down their strips as a scroll's text is, by the longer's
    // spacing, and stand a little above the middle.
    int spacing = -1;
    if (work.mounted && count > 1) {
        const TemplateLayout::Block block =
            measuredBlock(longer, work, points * 96.0 / 72.0 + 0.5, 3);
        const int characters = block.extent.height() - 2 * block.charSpacing;
        spacing = std::min(
            rounded(mountedSpread * block.em),
            block.charSpacing +
                std::max(0, int((mountedFill * stripHeight - characters) / double(count - 1))));
    }
    for (const auto& [text, stripLeft] : {std::pair{first, width - stripWidth}, {second, 0}}) {
        TemplateLayout::Block block = measuredBlock(text, work, points * 96.0 / 72.0 + 0.5, 3);
        block.leftMargin = width - stripLeft - stripWidth + (stripWidth - block.extent.width()) / 2;
        block.topMargin = band + rounded((stripHeight - block.extent.height()) * raisedShare);
        if (spacing >= 0) {
            block.charSpacing = spacing;
            measure(block, work);
            const int height = block.extent.height() - 2 * spacing;
            block.topMargin = band + rounded((stripHeight - height) / (1 + mountedBottomOverTop));
        }
        if (stripLeft == 0) {
            right = width - block.leftMargin;
            left = right - block.extent.width();
            top = block.topMargin;
            em = block.em;
            secondRow = top + block.em + block.charSpacing;
        }
        layout.blocks.push_back(block);
    }
    if (!work.banner.isEmpty()) {
        const QString banner = withoutSpaces(work.banner);
        const int n = int(banner.size());
        const double size = std::min(band * 0.6, width * 0.6 / (n + characterGap * (n - 1)));
        TemplateLayout::Block block =
            fittedBlock(banner, work, size, 1, width * 0.6, band * 0.8,
                        QCoreApplication::translate("Templates", "横批"), n);
        block.leftMargin = (width - block.extent.width()) / 2;
        block.topMargin = (band - block.extent.height()) / 2;
        layout.blocks.push_back(block);
    }
    if (work.mounted) {
        placeCoupletInscriptions(layout, work, stripWidth, stripHeight);
        return;
    }
    // The inscription goes on the 下联's strip; its seals and the 上款 with the 上联.
    // The inscription, its gap and the seal below it (a little wider) fit beside the column.
    const int side = std::min(rounded(inscriptionScale * em),
                              int(((stripWidth - (right - left)) / 2 - 2) / 1.75));
    mustFit(side >= smallestCharacter || !inscribed,
            QCoreApplication::translate("Templates", "落款放不下：对联的纸条太窄。"));
    WorkTemplate lower = work;
    lower.upper.clear();
    lower.leadingSeal.clear();
    placeInscriptions(layout, lower, side, left, right, top, secondRow, side);
    WorkTemplate upper = work;
    upper.lower.clear();
    upper.nameSeal.clear();
    const TemplateLayout::Block& firstBlock = layout.blocks.front();
    const int firstRight = width - firstBlock.leftMargin;
    placeInscriptions(layout, upper, side, firstRight - firstBlock.extent.width(), firstRight,
                      firstBlock.topMargin, secondRow, side);
}

// 扇面: the outer radius of the largest ring that fits the paper inside its margin.
double fanOuter(double width, double height, int span) {
    const double half = span * std::numbers::pi / 360.0;
    const double margin = marginShare * std::min(width, height);
    const double across = (width - 2 * margin) / (2 * std::sin(half));
    const double down = (height - 2 * margin) / (1 - fanInnerShare * std::cos(half));
    return std::min(across, down);
}

int fanOuterPixels(QSize canvas, int span) {
    return int(std::floor(fanOuter(canvas.width(), canvas.height(), span)));
}

TemplateLayout::Block fanBlock(const QString& text, int points) {
    TemplateLayout::Block block;
    block.text = text;
    block.points = points;
    block.em = (points * 96 + 36) / 72;
    block.fan = true;
    block.charSpacing = rounded(characterGap * block.em);
    block.lineSpacing = rounded(fanColumnGap * block.em);
    return block;
}

FanTextPlan planFanBlock(const TemplateLayout::Block& block, const WorkTemplate& work,
                         const FanRing& ring) {
    RichText rich;
    TextSettings settings;
    setUpBlock(rich, settings, block, work);
    settings.FanLayout = true;
    settings.FanColumnStyle = fanColumnsOf(work);
    return planFanTextBlock(rich, settings, ring);
}

double radiusOf(const FanCell& cell) {
    return std::hypot(cell.centre.x(), cell.centre.y());
}

// The name seal after the text of a fan: below the inscription's last character in its column,
// or, where that column has no room left, in a column of its own after it, level with the
// column's top; turned with its column as far as a seal turns (60 degrees) and the size of
// the inscription's characters and a quarter.
TemplateLayout::Seal fanSeal(const QString& text, const TemplateLayout::Block& block,
                             const FanRing& ring, const FanTextPlan& plan, bool mounted) {
    const FanTextMeasure& measure = plan.measure;
    int mainCount = 0;
    for (int count : measure.mainLines)
        mainCount += count;
    const bool inscribed = int(plan.cells.size()) > mainCount;
    const int height = inscribed ? measure.inscriptionHeight : measure.cellHeight;
    const int width = inscribed ? measure.inscriptionWidth : measure.cellWidth;
    const int side = rounded((mounted ? mountedFanSealScale : fanSealScale) * block.em *
                             inscriptionScaleNumerator / inscriptionScaleDenominator);
    const FanCell& last = plan.cells.back();
    const double innerLimit = ring.inner + measure.cellHeight / 4.0;
    double angle = last.angle / 10.0 * std::numbers::pi / 180.0;
    double radius = radiusOf(last) - height / 2.0 - height / 4.0 - side / 2.0;
    if (!inscribed || radius - side / 2.0 < innerLimit) {
        const auto top =
            std::find_if(plan.cells.begin(), plan.cells.end(),
                         [&](const FanCell& cell) { return cell.column == last.column; });
        radius = radiusOf(*top) + height / 2.0 - side / 2.0;
        const double nearest = radius - side / 2.0;
        angle -= (width / 2.0 + block.lineSpacing + side / 2.0) / nearest;
        const double half = ring.span * std::numbers::pi / 360.0;
        mustFit(nearest > innerLimit && angle - side / 2.0 / nearest >= -half,
                QCoreApplication::translate(
                    "Templates", "扇面放不下名章：落款后面没有地方了，请少写几个字或不盖名章。"));
    }
    TemplateLayout::Seal seal;
    seal.text = text;
    seal.size = QSize(side, side);
    const int turn = mounted ? readableTurn : 60;
    seal.angle = std::clamp(-int(std::lround(angle * 180.0 / std::numbers::pi)), -turn, turn);
    const QPointF centre =
        QPointF(ring.centre) + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
    const QPointF corner = centre - turnedSealCentre(seal.size, seal.angle);
    seal.at = QPoint(int(std::lround(corner.x())), int(std::lround(corner.y())));
    return seal;
}

// The outcome of the largest value from low to high that the attempt takes without an error,
// taking for granted that low fits and that what is smaller than a fitting value fits; at low
// the attempt's own error says what does not fit.
template <class Attempt> auto largestFitting(int low, int high, Attempt attempt) {
    auto best = attempt(low);
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        try {
            best = attempt(middle);
            low = middle;
        } catch (const TarvelError&) {
            high = middle - 1;
        }
    }
    return best;
}

// A folding fan: the ring as large as the paper allows, centred across it and in its height;
// the main text in the arrangement 扇面 as large as the ring holds it, the 上款 and 下款 as its
// inscription after the last column (a fan carries both in one inscription), the name seal
// after them.
void layoutFan(TemplateLayout& layout, const WorkTemplate& work) {
    mustFit(work.leadingSeal.isEmpty(),
            QCoreApplication::translate("Templates", "扇面上不盖引首章：请去掉引首章。"));
    const QString characters = withoutSpaces(work.text);
    mustFit(!characters.isEmpty(),
            QCoreApplication::translate("Templates", "正文是空的：请写下要写的字。"));
    const QSize canvas = layout.canvas;
    const int outer = fanOuterPixels(canvas, work.fanSpan);
    mustFit(outer <= largestFanRadius,
            QCoreApplication::translate(
                "Templates", "扇面在 %1 dpi 下外半径是 %2 像素，折扇最大 %3 像素；请降低分辨率。")
                .arg(layout.dpi)
                .arg(outer)
                .arg(largestFanRadius));
    mustFit(outer >= smallestFanRadius,
            QCoreApplication::translate(
                "Templates", "扇面在 %1 dpi 下外半径只有 %2 像素，太小了；请提高分辨率。")
                .arg(layout.dpi)
                .arg(outer));
    TemplateLayout::Fan fan;
    fan.ring.outer = outer;
    fan.ring.inner = rounded(fanInnerShare * outer);
    fan.ring.span = work.fanSpan;
    fan.lineWidth = fanLineWidth;
    const FanRingGeometry geometry =
        computeFanRingGeometry(fan.ring.outer, fan.ring.inner, fan.ring.span, fan.lineWidth);
    const double half = work.fanSpan * std::numbers::pi / 360.0;
    fan.ring.centre =
        QPoint(canvas.width() / 2,
               rounded((canvas.height() + outer + fan.ring.inner * std::cos(half)) / 2.0));
    fan.at = fan.ring.centre - geometry.centre;

    QStringList notes;
    for (const QString& note : {work.upper, work.lower})
        if (!withoutSpaces(note).isEmpty())
            notes << withoutSpaces(note);
    const QString text =
        notes.isEmpty() ? characters : characters + QStringLiteral("\n\n") + notes.join('\n');
    // The largest size at which the text, its inscription and the seal fit; at the smallest
    // size the layout's own refusal says what is left over.
    // roomy: each inscription column holds at least three characters (or its whole line), so
    // that large main characters do not leave the inscription one character per column.
    const auto attempt = [&](int points, int spacing, bool roomy) {
        TemplateLayout::Block block = fanBlock(text, points);
        if (spacing >= 0)
            block.lineSpacing = spacing;
        FanTextPlan plan = planFanBlock(block, work, fan.ring);
        if (roomy && !notes.isEmpty()) {
            const auto held =
                std::count_if(plan.cells.begin(), plan.cells.end(),
                              [&](const FanCell& cell) { return cell.column == plan.mainColumns; });
            if (held < std::min<qsizetype>(notes.front().size(), 3))
                throw TarvelError(QCoreApplication::translate("Templates", "落款太挤"));
        }
        std::optional<TemplateLayout::Seal> seal;
        if (!work.nameSeal.isEmpty())
            seal = fanSeal(work.nameSeal, block, fan.ring, plan, work.mounted);
        return std::tuple{block, plan, seal};
    };
    const int smallest = pointsFor(smallestCharacter).first;
    const int largest =
        std::max(smallest, pointsFor(0.8 * (fan.ring.outer - fan.ring.inner)).first);
    bool roomy = true;
    const auto sized = [&] {
        try {
            return largestFitting(smallest, largest,
                                  [&](int points) { return attempt(points, -1, true); });
        } catch (const TarvelError&) {
            roomy = false;
            return largestFitting(smallest, largest,
                                  [&](int points) { return attempt(points, -1, false); });
        }
    }();
    // A text that leaves the fan's left part empty spreads its columns, up to a character's
    // width apart.
    const TemplateLayout::Block& chosen = std::get<0>(sized);
    auto best = largestFitting(chosen.lineSpacing, std::max(chosen.lineSpacing, chosen.em),
                               [&](int spacing) { return attempt(chosen.points, spacing, roomy); });
    auto& [block, plan, seal] = best;
    fan.plan = plan;
    layout.blocks.push_back(block);
    if (seal)
        layout.seals.push_back(*seal);
    layout.fan = fan;
}

QString colorText(TColor color) {
    return QString::asprintf("#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                             (color >> 16) & 0xFF);
}

QJsonObject click(QPoint at) {
    return {{QStringLiteral("do"), QStringLiteral("click")},
            {QStringLiteral("at"), QJsonArray{at.x(), at.y()}}};
}

} // namespace

VerticalPunctuation punctuationOf(const WorkTemplate& work) {
    return work.mounted && work.punctuation == vpVertical ? vpVerticalSnug : work.punctuation;
}

FanColumns fanColumnsOf(const WorkTemplate& work) {
    return work.mounted && work.fanColumns == fcLongShort ? fcLongShortLevel : work.fanColumns;
}

QSize paperPixels(double widthCm, double heightCm, int dpi) {
    return QSize(rounded(widthCm / 2.54 * dpi), rounded(heightCm / 2.54 * dpi));
}

int fittingDpi(double longCm) {
    return std::max(1, int(std::floor(largestSide * 2.54 / longCm)));
}

QSizeF workCentimetres(const WorkTemplate& work) {
    if (work.format == WorkFormat::Couplet) {
        // Two strips with one strip's width between them, under a band as high as a strip is
        // wide for the 横批.
        return QSizeF(3 * work.shortCm, work.longCm + work.shortCm);
    }
    if (work.format == WorkFormat::Horizontal || work.format == WorkFormat::Fan)
        return QSizeF(work.longCm, work.shortCm);
    return QSizeF(work.shortCm, work.longCm);
}

int workDpi(const WorkTemplate& work) {
    const QSizeF paper = workCentimetres(work);
    if (work.dpi > 0)
        return work.dpi;
    int dpi = fittingDpi(std::max(paper.width(), paper.height()));
    // A fan is as sharp as the largest ring the fan step draws allows.
    while (work.format == WorkFormat::Fan && dpi > 1 &&
           fanOuterPixels(paperPixels(paper.width(), paper.height(), dpi), work.fanSpan) >
               largestFanRadius)
        --dpi;
    return dpi;
}

QPointF turnedSealCentre(QSize seal, int angle) {
    if (angle == 0)
        return QPointF(seal.width() / 2.0, seal.height() / 2.0);
    const int diagonal =
        int(std::sqrt(double(seal.width()) * seal.width() + double(seal.height()) * seal.height()));
    const double turn = angle * std::numbers::pi / 180.0;
    const double c = std::cos(turn), s = std::sin(turn);
    const double turned = std::floor(diagonal * (std::abs(c) + std::abs(s)));
    const double x = (seal.width() - diagonal) / 2.0, y = (seal.height() - diagonal) / 2.0;
    return QPointF(turned / 2 + x * c + y * s, turned / 2 - x * s + y * c);
}

namespace {

QString withChineseDigits(const QString& text) {
    QString written;
    for (const QChar character : text)
        written += shownCharacter(QString(character), true);
    return written;
}

} // namespace

TemplateLayout layoutTemplate(const WorkTemplate& asked) {
    // The inscription's lines are rotated text, which writes what it is given: its numerals
    // are written out here, before the lines are measured.
    WorkTemplate work = asked;
    if (work.chineseDigits) {
        work.upper = withChineseDigits(work.upper);
        work.lower = withChineseDigits(work.lower);
    }
    mustFit(
        work.longCm > 0 && work.shortCm > 0 && work.shortCm <= work.longCm,
        QCoreApplication::translate("Templates", "纸张的长边和短边都要大于 0，长边不短于短边。"));
    TemplateLayout layout;
    const QSizeF paper = workCentimetres(work);
    layout.dpi = workDpi(work);
    layout.canvas = paperPixels(paper.width(), paper.height(), layout.dpi);
    mustFit(layout.canvas.width() <= largestSide && layout.canvas.height() <= largestSide,
            QCoreApplication::translate(
                "Templates", "这张纸在 %1 dpi 下是 %2 × %3 像素，超过了画布最大的 %4 × %4 像素；"
                             "请降低分辨率。")
                .arg(layout.dpi)
                .arg(layout.canvas.width())
                .arg(layout.canvas.height())
                .arg(largestSide));
    if (work.format == WorkFormat::Couplet) {
        const QSize strip = paperPixels(work.shortCm, work.longCm, layout.dpi);
        layoutCouplet(layout, work, strip.width(), strip.height());
    } else if (work.format == WorkFormat::Fan) {
        layoutFan(layout, work);
    } else if (work.mounted) {
        layoutMounted(layout, work);
    } else {
        layoutColumns(layout, work);
    }
    return layout;
}

QJsonArray templateSteps(const WorkTemplate& work) {
    const TemplateLayout layout = layoutTemplate(work);
    QJsonArray steps;
    QJsonObject canvas{{QStringLiteral("do"), QStringLiteral("canvas")},
                       {QStringLiteral("width"), layout.canvas.width()},
                       {QStringLiteral("height"), layout.canvas.height()},
                       // Saved pictures carry the resolution, so they print at the paper's size.
                       {QStringLiteral("resolution"), layout.dpi}};
    if (work.picture.isEmpty() && work.mounted && work.format == WorkFormat::Couplet) {
        canvas.insert(QStringLiteral("picture"), QLatin1String(coupletPaperName));
        canvas.insert(QStringLiteral("layout"), QStringLiteral("stretch"));
    } else if (work.picture.isEmpty()) {
        // Around a fan the canvas is white; the ground colour is the fan's paper.
        canvas.insert(QStringLiteral("color"),
                      layout.fan ? QStringLiteral("#FFFFFF") : colorText(work.ground));
    } else {
        canvas.insert(QStringLiteral("picture"), work.picture);
        canvas.insert(QStringLiteral("layout"), QStringLiteral("stretch"));
    }
    steps.append(canvas);
    if (layout.fan) {
        const FanRing& ring = layout.fan->ring;
        steps.append(QJsonObject{{QStringLiteral("do"), QStringLiteral("fan")},
                                 {QStringLiteral("shape"), QStringLiteral("ring")},
                                 {QStringLiteral("radius"), ring.outer},
                                 {QStringLiteral("innerRadius"), ring.inner},
                                 {QStringLiteral("span"), ring.span},
                                 {QStringLiteral("lineWidth"), layout.fan->lineWidth},
                                 {QStringLiteral("lineColor"), QStringLiteral("#6B4423")},
                                 {QStringLiteral("fillColor"), colorText(work.ground)}});
        steps.append(click(layout.fan->at));
    }
    for (const TemplateLayout::Block& block : layout.blocks) {
        QJsonObject text{{QStringLiteral("do"), QStringLiteral("text")},
                         {QStringLiteral("punctuation"),
                          QLatin1String(punctuationScriptNames[punctuationOf(work)])},
                         {QStringLiteral("chineseDigits"), work.chineseDigits}};
        text.insert(QStringLiteral("plain"), block.text);
        text.insert(QStringLiteral("face"), work.face);
        text.insert(QStringLiteral("size"), block.points);
        text.insert(QStringLiteral("color"), colorText(work.ink));
        text.insert(QStringLiteral("leftMargin"), block.leftMargin);
        text.insert(QStringLiteral("topMargin"), block.topMargin);
        text.insert(QStringLiteral("charSpacing"), block.charSpacing);
        text.insert(QStringLiteral("lineSpacing"), block.lineSpacing);
        // Mounted, a character the face lacks (〇 in a date, often) is as heavy as the rest.
        if (work.mounted)
            text.insert(QStringLiteral("matchFallbackWeight"), true);
        if (block.fan) {
            // The block follows the ring just stamped.
            text.insert(QStringLiteral("fan"), true);
            text.insert(QStringLiteral("fanColumns"),
                        QLatin1String(fanColumnsScriptName(fanColumnsOf(work))));
        } else {
            text.insert(QStringLiteral("arrangement"), block.arrangement);
        }
        steps.append(text);
    }
    for (const TemplateLayout::Line& line : layout.inscriptions) {
        QJsonObject rotated{{QStringLiteral("do"), QStringLiteral("rotated")},
                            {QStringLiteral("text"), line.text},
                            {QStringLiteral("angle"), 0},
                            {QStringLiteral("charSpacing"), line.charSpacing},
                            {QStringLiteral("size"), QString::number(line.size)},
                            {QStringLiteral("face"), work.face},
                            {QStringLiteral("placement"), QStringLiteral("vertical")},
                            {QStringLiteral("color"), colorText(work.ink)}};
        if (work.mounted)
            rotated.insert(QStringLiteral("matchFallbackWeight"), true);
        steps.append(rotated);
        steps.append(click(line.at));
    }
    for (const TemplateLayout::Seal& seal : layout.seals) {
        QJsonObject keys{{QStringLiteral("do"), QStringLiteral("seal")},
                         {QStringLiteral("text"), seal.text},
                         {QStringLiteral("width"), seal.size.width()},
                         {QStringLiteral("height"), seal.size.height()},
                         {QStringLiteral("strokeWeight"), 700},
                         {QStringLiteral("edgeWidth"), std::max(1, seal.size.width() / 20)},
                         {QStringLiteral("face"), work.face},
                         {QStringLiteral("style"),
                          seal.intaglio ? QStringLiteral("intaglio") : QStringLiteral("relief")},
                         {QStringLiteral("corner"),
                          seal.intaglio ? QStringLiteral("square") : QStringLiteral("rounded")},
                         {QStringLiteral("arrangement"), 3},
                         {QStringLiteral("angle"), seal.angle}};
        if (work.mounted) {
            // Cut in a regular hand and pressed in cinnabar: the paper shows through the cut,
            // the edges worn a little. On a couplet's red paper the cut is white, so the seal
            // shows.
            const bool red = work.format == WorkFormat::Couplet;
            keys.insert(QStringLiteral("face"), QStringLiteral("AR PL UKai CN"));
            keys.insert(QStringLiteral("ink"), QStringLiteral("cinnabar"));
            keys.insert(QStringLiteral("smooth"), true);
            keys.insert(QStringLiteral("paper"), !red);
            if (red)
                keys.insert(QStringLiteral("style"), QStringLiteral("intaglio"));
            keys.insert(QStringLiteral("keepProportions"), true);
            keys.insert(QStringLiteral("wearStyle"), QStringLiteral("pressed"));
            keys.insert(QStringLiteral("wear"), 20);
        }
        steps.append(keys);
        steps.append(click(seal.at));
    }
    return steps;
}

QByteArray coupletPaper(const WorkTemplate& work) {
    const int dpi = workDpi(work);
    const QSizeF centimetres = workCentimetres(work);
    const QSize canvas = paperPixels(centimetres.width(), centimetres.height(), dpi);
    const QSize strip = paperPixels(work.shortCm, work.longCm, dpi);
    const int band = canvas.height() - strip.height();
    // The 横批 as wide as the space between the two lines and half a strip on each side, a
    // tenth of a strip of wall between it and them.
    const int gap = std::max(1, strip.width() / 10);
    QImage paper(canvas, QImage::Format_RGB32);
    paper.fill(Qt::white);
    const QColor ground(int(work.ground & 0xFF), int((work.ground >> 8) & 0xFF),
                        int((work.ground >> 16) & 0xFF));
    QPainter painter(&paper);
    painter.fillRect(QRect(0, band, strip.width(), strip.height()), ground);
    painter.fillRect(QRect(canvas.width() - strip.width(), band, strip.width(), strip.height()),
                     ground);
    painter.fillRect(QRect(strip.width() / 2, 0, canvas.width() - strip.width(), band - gap),
                     ground);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    paper.save(&buffer, "PNG");
    return png;
}

int defaultPaperOf(WorkFormat format) {
    switch (format) {
    case WorkFormat::Couplet:
        return 3;
    case WorkFormat::CentralScroll:
        return 0;
    case WorkFormat::Square:
        return 2;
    case WorkFormat::Fan:
        return 4;
    default:
        return 1;
    }
}

WorkTemplate workTemplateFromKeys(const QJsonObject& keys) {
    WorkTemplate work;
    const QString format = keys.value(QStringLiteral("format")).toString();
    for (int i = 0; i < int(std::size(workFormatKeys)); ++i)
        if (format == QLatin1String(workFormatKeys[i]))
            work.format = WorkFormat(i);
    const PaperSize* paper = &standardPapers[defaultPaperOf(work.format)];
    const QString paperName = keys.value(QStringLiteral("paper")).toString();
    for (const PaperSize& standard : standardPapers)
        if (paperName == QString::fromUtf8(standard.name))
            paper = &standard;
    work.longCm = keys.value(QStringLiteral("longCm")).toDouble(paper->longCm);
    work.shortCm = keys.value(QStringLiteral("shortCm")).toDouble(paper->shortCm);
    work.dpi = keys.value(QStringLiteral("dpi")).toInt(0);
    const auto colour = [&keys](const char* key, TColor fallback) {
        const QString text = keys.value(QLatin1String(key)).toString();
        return text.isEmpty() ? fallback : parseHtmlColor(text);
    };
    work.ground = colour("color", work.format == WorkFormat::Couplet ? 0x002E10C8 : work.ground);
    work.ink = colour("ink", work.ink);
    work.picture = keys.value(QStringLiteral("picture")).toString();
    work.face = keys.value(QStringLiteral("face")).toString(work.face);
    work.text = keys.value(QStringLiteral("text")).toString();
    work.banner = keys.value(QStringLiteral("banner")).toString();
    work.upper = keys.value(QStringLiteral("upper")).toString();
    work.lower = keys.value(QStringLiteral("lower")).toString();
    work.nameSeal = keys.value(QStringLiteral("nameSeal")).toString();
    work.leadingSeal = keys.value(QStringLiteral("leadingSeal")).toString();
    work.fanSpan = keys.value(QStringLiteral("span")).toInt(work.fanSpan);
    if (keys.value(QStringLiteral("fanColumns")).toString() == QLatin1String("long"))
        work.fanColumns = fcLong;
    const QString punctuation = keys.value(QStringLiteral("punctuation")).toString();
    for (int mode = vpOriginal; mode <= vpVerticalSnug; ++mode)
        if (punctuation == QLatin1String(punctuationScriptNames[mode]))
            work.punctuation = VerticalPunctuation(mode);
    work.chineseDigits = keys.value(QStringLiteral("chineseDigits")).toBool(work.chineseDigits);
    work.mounted = keys.value(QStringLiteral("mounted")).toBool(false);
    return work;
}

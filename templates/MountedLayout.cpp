// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "MountedLayout.h"

#include "LayoutParts.h"

#include <QCoreApplication>
#include <QRect>
#include <algorithm>
#include <cmath>

using namespace templateparts;

namespace {

// Spacing and sizes in parts of the main characters' size.
constexpr double columnSpacing = 0.15; // the text step's line spacing: columns 1.3 em apart
constexpr double characterSpacing = 0.08;
// Spread to fill the paper's long side, no further: characters 0.8 of a character apart,
// columns 1.6 em apart.
constexpr double widestCharacterSpacing = 0.8;
constexpr double widestColumnSpacing = 0.3;
constexpr double inscriptionShare = 0.4;
constexpr double smallestInscriptionShare = 0.3;
constexpr double inscriptionGap = 0.45; // between the main text's ink and the 款's
constexpr double marginShare = 0.08;    // of the paper's side, around everything
constexpr double bottomOverTop = 1.25;  // the main text sits a little above the middle
constexpr double longSideShare = 0.8;   // of a scroll's long side the text spreads over
constexpr double squareShare = 0.7;     // of both sides of a square
// Seals in parts of the 款's characters: the name seal a little narrower than they are, the
// leading seal narrow and twice as high as wide.
constexpr double nameSealShare = 0.85;
constexpr double leadingSealShare = 0.8;
constexpr int smallestCharacter = 8;
// The grid's estimate counts whole cells; the glyphs' ink is smaller, so the search for the
// largest size that fits starts above it.
constexpr double largestGuess = 1.3;

double columnEms(qsizetype columns) {
    return double(columns) * (1 + 2 * columnSpacing);
}

double lengthEms(qsizetype rows) {
    return double(rows) * (1 + characterSpacing) + characterSpacing;
}

bool isStem(QChar c) {
    return QStringLiteral("甲乙丙丁戊己庚辛壬癸").contains(c);
}

bool isBranch(QChar c) {
    return QStringLiteral("子丑寅卯辰巳午未申酉戌亥").contains(c);
}

qsizetype longest(const QStringList& columns) {
    qsizetype rows = 0;
    for (const QString& column : columns)
        rows = std::max(rows, column.size());
    return rows;
}

// A column of the inscription from a point down: one line per run between typed spaces, half
// a character apart. Returns the bottom of its last character.
int putColumn(std::vector<TemplateLayout::Line>& lines, const QString& column, int size,
              QPoint at) {
    const int spacing = std::max(1, size / 8);
    int y = at.y();
    int bottom = y;
    for (const QString& run : column.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        lines.push_back({run, size, spacing, QPoint(at.x(), y)});
        bottom = y + int(run.size()) * (size + spacing) - spacing;
        y = bottom + spacing + size / 2;
    }
    return bottom;
}

// How many characters of the inscription a column of this height holds.
int capacityOf(int height, int size, const QString& text) {
    const int spaces = int(text.count(QLatin1Char(' ')));
    const int spacing = std::max(1, size / 8);
    return std::max(1, (height + spacing - spaces * size / 2) / (size + spacing));
}

// The inscription's text with the user's spaces kept as one space between characters.
QString spacedOnce(const QString& text) {
    return text.simplified();
}

struct Placed {
    QRect ink; // of everything placed, to centre it on the paper
    bool fits = true;
};

} // namespace

void placeSide(TemplateLayout& layout, const InscriptionSide& side, int nearest, int from, int end,
               int size, const std::function<void(const QRect&)>& placed) {
    const QString text = spacedOnce(side.text);
    const int pitch = rounded(1.5 * size);
    int y = from;
    if (!side.sealAbove.isEmpty()) {
        const int width = rounded(leadingSealShare * size);
        const QSize seal(width, 2 * width);
        const QPoint at(nearest + (size - width) / 2, y);
        layout.seals.push_back({side.sealAbove, seal, at, false});
        placed(QRect(at, seal));
        y += seal.height() + size / 2;
    }
    int x = nearest;
    int bottom = y - size;
    if (!text.isEmpty()) {
        const QStringList parts = inscriptionColumns(text, capacityOf(end - y, size, text));
        // Columns read from right to left: the 上款's first column is its outermost.
        if (side.direction > 0)
            x += int(parts.size() - 1) * pitch;
        for (const QString& part : parts) {
            bottom = putColumn(layout.inscriptions, part, size, QPoint(x, y));
            placed(QRect(x, y, size, bottom - y));
            if (&part != &parts.back())
                x -= pitch;
        }
    }
    if (!side.sealBelow.isEmpty()) {
        const int side_ = rounded(nameSealShare * size);
        const QPoint at(x + (size - side_) / 2, bottom + size);
        layout.seals.push_back({side.sealBelow, QSize(side_, side_), at, true});
        placed(QRect(at, QSize(side_, side_)));
    }
}

MountedGrid chooseGrid(const QStringList& lines, QSizeF room, double sideEms) {
    const auto sized = [&](const QStringList& columns) {
        return std::min(room.width() / (columnEms(columns.size()) + sideEms),
                        room.height() / lengthEms(longest(columns)));
    };
    if (lines.size() > 1) {
        MountedGrid kept{lines, sized(lines)};
        if (kept.em >= smallestCharacter)
            return kept;
    }
    const QString characters = lines.join(QString());
    const qsizetype count = characters.size();
    const double roomShape = room.width() / room.height();
    MountedGrid best;
    double bestShape = 0;
    for (qsizetype rows = count; rows >= 1; --rows) {
        const qsizetype columns = (count + rows - 1) / rows;
        // Each number of columns once, with as few rows as it takes.
        if ((count + columns - 1) / columns != rows)
            continue;
        QStringList split;
        for (qsizetype start = 0; start < count; start += rows)
            split << characters.mid(start, rows);
        const double em = sized(split);
        // Within 2 % the block whose shape is nearest the room's: a square takes 2 × 2.
        const double shape = std::abs(std::log(columnEms(columns) / lengthEms(rows) / roomShape));
        if (em > best.em * 1.02 || (em > best.em * 0.98 && shape < bestShape)) {
            best = {split, em};
            bestShape = shape;
        }
    }
    return best;
}

QStringList inscriptionColumns(const QString& text, int capacity) {
    QString characters;
    std::vector<bool> spaceBefore;
    bool pending = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            pending = !characters.isEmpty();
            continue;
        }
        characters += c;
        spaceBefore.push_back(pending);
        pending = false;
    }
    const auto n = characters.size();
    const auto allowed = [&](qsizetype at) {
        return n - at >= 3 && !(isStem(characters[at - 1]) && isBranch(characters[at]));
    };
    std::vector<qsizetype> starts{0};
    qsizetype start = 0;
    while (n - start > capacity) {
        const qsizetype left = n - start;
        const qsizetype columns = (left + capacity - 1) / capacity;
        const qsizetype target = start + (left + columns - 1) / columns;
        qsizetype chosen = -1;
        double bestScore = 0;
        for (qsizetype at = start + 1; at <= start + capacity; ++at) {
            if (at - start < 2 || !allowed(at))
                continue;
            const double score =
                std::abs(double(at - target)) - (spaceBefore[std::size_t(at)] ? 1.5 : 0);
            if (chosen < 0 || score < bestScore) {
                chosen = at;
                bestScore = score;
            }
        }
        if (chosen < 0)
            chosen = start + capacity;
        starts.push_back(chosen);
        start = chosen;
    }
    // A last character alone joins the column before it.
    if (starts.size() > 1 && n - starts.back() == 1)
        starts.pop_back();
    starts.push_back(n);
    QStringList columns;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        QString column;
        for (qsizetype at = starts[i]; at < starts[i + 1]; ++at) {
            if (at > starts[i] && spaceBefore[std::size_t(at)])
                column += QLatin1Char(' ');
            column += characters[at];
        }
        columns << column;
    }
    return columns;
}

namespace {

// The whole layout at one size of the main characters, the columns spread apart by a share
// (0 to 1) of what would fill the paper's width; false when it does not fit the paper inside its
// margins.
bool placeMounted(TemplateLayout& layout, const WorkTemplate& work, const QStringList& columns,
                  double pixels, double spread) {
    const QSize canvas = layout.canvas;
    TemplateLayout::Block block;
    block.text = columns.join(QLatin1Char('\n'));
    std::tie(block.points, block.em) = pointsFor(pixels);
    const int em = block.em;
    block.arrangement = 3;
    block.charSpacing = rounded(characterSpacing * em);
    block.lineSpacing = columns.size() > 1 ? rounded(columnSpacing * em) : 0;
    const auto rows = longest(columns);
    measure(block, work);
    // The text spreads over the paper's long side (both sides of a square).
    const bool square = std::abs(canvas.width() - canvas.height()) * 20 < canvas.height();
    if ((canvas.height() > canvas.width() || square) && rows > 1) {
        const double target = (square ? squareShare : longSideShare) * canvas.height();
        const int characters = block.extent.height() - 2 * block.charSpacing;
        if (characters < target) {
            block.charSpacing =
                std::min(rounded(widestCharacterSpacing * em),
                         block.charSpacing + int((target - characters) / double(rows - 1)));
            measure(block, work);
        }
    }
    if ((canvas.width() > canvas.height() || square) && columns.size() > 1) {
        const double target = (square ? squareShare : longSideShare) * canvas.width();
        if (block.extent.width() < target) {
            block.lineSpacing =
                std::min(rounded(widestColumnSpacing * em),
                         block.lineSpacing +
                             int(spread * (target - block.extent.width()) / (2 * columns.size())));
            measure(block, work);
        }
    }
    const int step = em + block.charSpacing;
    // Placed first with the block's right edge on the paper's, then moved to the middle. The
    // block's measure ends with two spacings below the last character, and each column's
    // characters stand at the left of its pitch, the two line spacings on their right.
    const int height = block.extent.height() - 2 * block.charSpacing;
    const int top = rounded((canvas.height() - height) / (1 + bottomOverTop));
    const int right = canvas.width();
    const QRect mainInk(right - block.extent.width(), top,
                        block.extent.width() - 2 * block.lineSpacing, height);
    const int gap = rounded(inscriptionGap * em);
    Placed placed{mainInk};
    placed.fits = top >= rounded(marginShare * canvas.height());
    const auto inside = [&](const QRect& area) {
        placed.ink |= area;
        if (area.bottom() > canvas.height() - 1 - area.width() / 2 || area.top() < 0)
            placed.fits = false;
    };
    // The 款 from level with the second character (the third where the columns are long) to
    // one of its characters above the main text's last; a single row's inscription may take
    // the row's height.
    const int start = rows >= 6 ? top + 2 * step : rows >= 3 ? top + step : top;
    const auto sizedSide = [&](const QString& written, int from, int to) {
        const QString text = spacedOnce(written);
        int size = std::max(smallestCharacter, rounded(inscriptionShare * em));
        const int smallest = std::max(smallestCharacter, rounded(smallestInscriptionShare * em));
        const int chars = int(withoutSpaces(text).size());
        const auto holds = [&](int s) {
            return capacityOf(to - from - (rows > 1 ? s : 0), s, text);
        };
        // One column where a size in the range holds it all; otherwise columns of three or more.
        for (int s = size; s >= smallest; --s)
            if (holds(s) >= chars)
                return s;
        while (size > smallest && holds(size) < std::min(chars, 3))
            --size;
        return size;
    };
    const int lowerSize = sizedSide(work.lower, start, top + height);
    const int upperSize = sizedSide(work.upper, top, top + height);
    const int size = std::min(lowerSize, upperSize);
    const int end = top + height - (rows > 1 ? size : 0);
    if (!work.lower.isEmpty() || !work.nameSeal.isEmpty())
        placeSide(layout, {work.lower, QString(), work.nameSeal, -1}, mainInk.left() - gap - size,
                  start, end, size, inside);
    if (!work.upper.isEmpty() || !work.leadingSeal.isEmpty())
        placeSide(layout, {work.upper, work.leadingSeal, QString(), +1}, mainInk.right() + gap, top,
                  end, size, inside);
    const int room = canvas.width() - 2 * rounded(marginShare * canvas.width());
    if (!placed.fits || placed.ink.width() > room)
        return false;
    // The same margin left and right of everything.
    const int dx = (canvas.width() - 1 - placed.ink.right() - placed.ink.left()) / 2;
    block.leftMargin = -dx;
    block.topMargin = top;
    layout.blocks.push_back(block);
    for (auto& line : layout.inscriptions)
        line.at.rx() += dx;
    for (auto& seal : layout.seals)
        seal.at.rx() += dx;
    return true;
}

} // namespace

void layoutMounted(TemplateLayout& layout, const WorkTemplate& work) {
    QStringList lines;
    for (const QString& line : work.text.split(QLatin1Char('\n')))
        if (const QString kept = withoutSpaces(line); !kept.isEmpty())
            lines << kept;
    mustFit(!lines.isEmpty(),
            QCoreApplication::translate("Templates", "正文是空的：请写下要写的字。"));
    const int count = int(lines.join(QString()).size());
    const QSizeF room = QSizeF(layout.canvas) * (1 - 2 * marginShare);
    const double sideEms =
        (!work.lower.isEmpty() || !work.nameSeal.isEmpty() ? inscriptionGap + inscriptionShare
                                                           : 0) +
        (!work.upper.isEmpty() || !work.leadingSeal.isEmpty() ? inscriptionGap + inscriptionShare
                                                              : 0);
    const MountedGrid grid = chooseGrid(lines, room, sideEms);
    // The estimate made smaller until the inscriptions and seals fit too; at each size the
    // columns spread less before the characters are made smaller.
    for (double pixels = grid.em * largestGuess;; pixels *= 0.97) {
        checkCharacterSize(pixels, QCoreApplication::translate("Templates", "正文"), count);
        for (const double spread : {1.0, 0.5, 0.0}) {
            TemplateLayout trial;
            trial.canvas = layout.canvas;
            trial.dpi = layout.dpi;
            if (placeMounted(trial, work, grid.columns, pixels, spread)) {
                layout = trial;
                return;
            }
        }
    }
}

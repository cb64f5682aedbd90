// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Punctuation and half-width characters in vertical columns. Marks are placed by their ink,
// not by their cell: faces put a horizontal 。 anywhere in the bottom-left of the em, and
// only the ink shows where it really is.
#include "ColumnSetting.h"

#include "TextLayout.h"

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <tuple>

namespace {

const QString cornerMarks = QStringLiteral("。，、．");
const QString uprightMarks = QStringLiteral("：；！？");
const QString turnedMarks = QStringLiteral("「」『』《》〈〉（）【】〔〕—…“”‘’");
// The quotes of horizontal text become the corner brackets that columns use.
const QString horizontalQuotes = QStringLiteral("“”‘’");
const QString cornerBrackets = QStringLiteral("「」『』");
// The brackets that open and close, the quotes of horizontal text among them.
const QString openingBrackets = QStringLiteral("「『《〈（【〔“‘");
const QString closingBrackets = QStringLiteral("」』》〉）】〕”’");
const QString classicalMarks = QStringLiteral("。，、");

// The glyph's ink, relative to the top-left of its cell as text out draws it: the pixels it
// really lights, found by drawing it once. (Qt's tight bounding rectangle is the outline's
// box from the font's tables, which for some faces' dashes is several times the real ink.)
// Each font and mark is drawn once and kept.
struct InkKey {
    DrawingSurface::Font font;
    QString text;
    bool operator==(const InkKey&) const = default;
};

size_t qHash(const InkKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.font.name, key.font.height, key.font.weight, key.font.italic,
                      key.text);
}

QRect inkOf(const DrawingSurface::Font& font, const QString& text) {
    static QHash<InkKey, QRect> known;
    // Placed by the glyph alone: colour, underline and strike-out change no glyph.
    InkKey key{font, text};
    key.font.color = clBlack;
    key.font.underline = key.font.strikeout = false;
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    const QFont resolved = resolveFont(key.font);
    const QFontMetrics metrics(resolved);
    const int margin = metrics.height();
    QImage glyph(metrics.horizontalAdvance(text) + 2 * margin, 3 * margin, QImage::Format_Alpha8);
    glyph.fill(0);
    {
        QPainter painter(&glyph);
        painter.setFont(resolved);
        painter.setPen(Qt::black);
        painter.drawText(margin, margin + metrics.ascent(), text);
    }
    QRect ink;
    for (int y = 0; y < glyph.height(); ++y) {
        const uchar* row = glyph.constScanLine(y);
        for (int x = 0; x < glyph.width(); ++x)
            if (row[x] != 0)
                ink |= QRect(x, y, 1, 1);
    }
    ink.translate(-margin, -margin);
    if (known.size() > 4096)
        known.clear();
    known.insert(key, ink);
    return ink;
}

// The origin that centres the ink in the box given by left, top, width and height.
std::pair<qint64, qint64> centreInk(const QRect& ink, qint64 left, qint64 top, qint64 width,
                                    qint64 height) {
    return {left + (width - ink.width()) / 2 - ink.left(),
            top + (height - ink.height()) / 2 - ink.top()};
}

} // namespace

MarkClass markClassOf(QStringView character) {
    if (character.size() != 1)
        return MarkClass::NotAMark;
    const QChar c = character.front();
    if (cornerMarks.contains(c))
        return MarkClass::Corner;
    if (uprightMarks.contains(c))
        return MarkClass::Upright;
    if (turnedMarks.contains(c))
        return MarkClass::Turned;
    if (c.unicode() >= 0x80 && c.isPunct())
        return MarkClass::Other;
    return MarkClass::NotAMark;
}

bool isPunctuationMark(QStringView character) {
    return character.size() == 1 &&
           (character.front().isPunct() || markClassOf(character) != MarkClass::NotAMark);
}

QString shownCharacter(const QString& character, bool chineseDigits) {
    static const QString numerals = QStringLiteral("〇一二三四五六七八九");
    if (chineseDigits && character.size() == 1 && character.front() >= QLatin1Char('0') &&
        character.front() <= QLatin1Char('9'))
        return QString(numerals[character.front().unicode() - '0']);
    return character;
}

ColumnCell setInColumn(DrawingSurface& surface, const QString& shown, bool twoByte, int pixelHeight,
                       VerticalPunctuation mode, const ColumnContext& context) {
    ColumnCell cell;
    cell.text = shown;
    const qint64 along = context.along;
    const qint64 pitch = context.rowPitch;
    const MarkClass mark = twoByte ? markClassOf(shown) : MarkClass::NotAMark;
    const bool punctuation = isPunctuationMark(shown);

    if ((mode == vpNone && punctuation) ||
        (mode == vpClassical && punctuation &&
         (!classicalMarks.contains(shown) || !context.previous))) {
        cell.kind = ColumnCell::Kind::Dropped;
        return cell;
    }
    if (mode == vpClassical && punctuation) {
        // Half the character's height, at the column's right edge beside the lower part of
        // the character before it.
        cell.kind = ColumnCell::Kind::Small;
        cell.smallHeight = std::max(1, pixelHeight / 2);
        DrawingSurface::Font small = surface.font;
        small.height = cell.smallHeight;
        const QRect ink = inkOf(small, shown);
        const ColumnCell& before = *context.previous;
        const qint64 middle = before.boxTop + before.boxHeight * 3 / 4;
        cell.x = pitch - ink.width() - ink.left();
        cell.y = middle - ink.height() / 2 - ink.top();
        cell.advance = 0;
        return cell;
    }

    const qint64 height = surface.textHeight(shown);
    cell.boxTop = along;
    cell.boxHeight = height;
    cell.advance = height + context.charSpacing;
    if (!twoByte) {
        // A half-width character stands centred across the column and takes the height of
        // its ink; a blank takes half a cell.
        const QRect ink = inkOf(surface.font, shown);
        if (ink.isEmpty()) {
            cell.text.clear();
            cell.boxHeight = (pixelHeight + 1) / 2;
        } else {
            std::tie(cell.x, cell.y) = centreInk(ink, 0, along, pitch, ink.height());
            cell.boxHeight = ink.height();
        }
        cell.advance = cell.boxHeight + context.charSpacing;
        return cell;
    }

    // The cell of a full-width mark, centred across the column.
    const qint64 width = surface.textWidth(shown);
    const qint64 left = (pitch - width) / 2;
    const bool corner =
        mark == MarkClass::Corner && !(mode == vpCentered && classicalMarks.contains(shown));
    if (corner) {
        std::tie(cell.x, cell.y) = centreInk(inkOf(surface.font, shown), left + width / 2, along,
                                             width - width / 2, height / 2);
    } else if (mark == MarkClass::Upright || mark == MarkClass::Corner) {
        std::tie(cell.x, cell.y) =
            centreInk(inkOf(surface.font, shown), left, along, width, height);
    } else if (mark == MarkClass::Turned) {
        // A quarter turn clockwise about the origin takes the ink's (x, y) to (-y, x).
        const qsizetype quote = horizontalQuotes.indexOf(shown.front());
        if (quote >= 0)
            cell.text = QString(cornerBrackets[quote]);
        const QRect ink = inkOf(surface.font, cell.text);
        const QRect turned(-ink.bottom() - 1, ink.left(), ink.height(), ink.width());
        cell.kind = ColumnCell::Kind::Turned;
        // Set snug, an opening bracket stands in the lower half of its cell and a closing one
        // in the upper half, against the text they enclose.
        const bool snug = mode == vpVerticalSnug;
        if (snug && openingBrackets.contains(shown.front()))
            std::tie(cell.x, cell.y) =
                centreInk(turned, left, along + height / 2, width, height - height / 2);
        else if (snug && closingBrackets.contains(shown.front()))
            std::tie(cell.x, cell.y) = centreInk(turned, left, along, width, height / 2);
        else
            std::tie(cell.x, cell.y) = centreInk(turned, left, along, width, height);
    } else {
        // Characters and other marks as in the original layout.
        cell.x = centringOffset(pitch, pixelHeight);
        cell.y = along;
    }
    return cell;
}

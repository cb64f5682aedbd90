// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Rotated text: the byte walk, the fixed step between characters and the turned glyphs.
#include "RotatedText.h"

#include "FontFallback.h"
#include "Gbk.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Values so large only come from typed-in extremes; they are kept inside the int range so
// that no coordinate wraps around.
int saturated(qint64 value) {
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

// trunc of one projected step. A product that lies within rounding error of a whole number
// (cos 60° × 22 is 11.000000000000002, sin 30° × 22 is 10.999999999999998) is taken as that
// whole number, so the result does not depend on the last bit of the sine.
int truncatedStep(double value) {
    const double nearest = std::round(value);
    if (std::abs(value - nearest) < 1e-9 * std::max(1.0, std::abs(value)))
        value = nearest;
    return saturated(qint64(std::clamp(std::trunc(value), -4e18, 4e18)));
}

// One character's GBK bytes as the text to draw. A lone lead byte shows as the replacement
// character rather than vanishing (the converter keeps it back, waiting for a trail byte).
QString characterText(const QByteArray& c) {
    QString text = Gbk::decode(c);
    if (text.isEmpty())
        text = QString(QChar::ReplacementCharacter);
    return text;
}

void drawTurnedCharacter(DrawingSurface& surface, TColor colour, int x, int y, int angle, int size,
                         const QString& faceName, const QString& character,
                         bool matchFallbackWeight = false) {
    surface.font.color = colour;
    if (character.isEmpty())
        return;
    DrawingSurface::Font turned;
    turned.name = faceName;
    // A negative height asks for a character height of size pixels; sizes beyond what any
    // font can render are held to a range where negation cannot overflow.
    turned.height = -std::clamp(size, -1000000, 1000000);
    turned.width = 0;
    turned.weight = 400;
    turned.escapement = int((qint64(angle) * 10) % 3600);
    turned.charset = 1;
    turned.pitch = 0;
    turned.color = colour;
    if (matchFallbackWeight)
        turned = FontFallback::matchedFont(turned, character);
    else
        turned.name = FontFallback::faceFor(turned, character.toUcs4().value(0));
    surface.textOutWithFont(x, y, character, turned);
}

} // namespace

QPoint RotatedTextStep(const TSetSector& settings) {
    const double step = double(settings.Size) + double(settings.CharSpacing);
    const double theta = double(settings.Angle) * std::numbers::pi / 180.0;
    const int alongCos = truncatedStep(std::cos(theta) * step);
    const int alongSin = truncatedStep(std::sin(theta) * step);
    // Screen y grows downwards: the horizontal placement turns its rightward direction
    // clockwise for a positive angle, the vertical one turns its downward direction
    // counter-clockwise, the same way as the glyphs.
    if (settings.Placement == tpHorizontal)
        return QPoint(alongCos, alongSin);
    return QPoint(alongSin, alongCos);
}

QList<RotatedTextCell> RotatedTextCells(const TSetSector& settings, int x, int y) {
    QList<RotatedTextCell> cells;
    if (settings.Text.isEmpty())
        return cells;
    if (settings.Placement != tpHorizontal && settings.Placement != tpVertical)
        return cells;
    const QPoint step = RotatedTextStep(settings);
    const QByteArray& text = settings.Text;
    for (qsizetype k = 0; k < text.size();) {
        // A last lead byte has no follower and is taken alone.
        const qsizetype length =
            std::min<qsizetype>(Gbk::charLength(uchar(text[k])), text.size() - k);
        cells.append({text.mid(k, length), QPoint(x, y)});
        x = saturated(qint64(x) + step.x());
        y = saturated(qint64(y) + step.y());
        k += length;
    }
    return cells;
}

void DrawRotatedChar(DrawingSurface& surface, TColor colour, int x, int y, int angle, int size,
                     const QString& faceName, const QByteArray& c) {
    drawTurnedCharacter(surface, colour, x, y, angle, size, faceName,
                        c.isEmpty() ? QString() : characterText(c));
}

QStringList RotatedTextCharacters(const TSetSector& settings) {
    QList<QByteArray> walk;
    for (const RotatedTextCell& cell : RotatedTextCells(settings, 0, 0))
        walk.append(cell.bytes);
    return Gbk::drawnCharacters(walk, settings.Characters);
}

void DrawRotatedText(DrawingSurface& surface, int x, int y, const TSetSector& settings) {
    const QList<RotatedTextCell> cells = RotatedTextCells(settings, x, y);
    const QStringList characters = RotatedTextCharacters(settings);
    for (qsizetype k = 0; k < cells.size(); ++k)
        drawTurnedCharacter(surface, settings.Color, cells[k].origin.x(), cells[k].origin.y(),
                            settings.Angle, settings.Size, settings.FaceName, characters[k],
                            settings.MatchFallbackWeight);
}

qint32 RotatedTextSizeFromText(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw TarvelError(QCoreApplication::translate("Text", "“%1”不是有效的整数。").arg(text));
    if (value < smallestRotatedTextSize || value > largestRotatedTextSize)
        throw TarvelError(
            QCoreApplication::translate(
                "Text", "字号 %1 超出范围：请输入 %2 到 %3 之间的整数（字高的像素数）。")
                .arg(value)
                .arg(smallestRotatedTextSize)
                .arg(largestRotatedTextSize));
    return value;
}

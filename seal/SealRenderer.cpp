// The seal renderer: character model, cell table, outline, colours and the characters.
#include "SealRenderer.h"

#include "Gbk.h"
#include "TarvelError.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// A bitmap filled with one colour in a single pass.
DrawingSurface filledSurface(int width, int height, TColor color) {
    DrawingSurface surface(QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32));
    if (!surface.isEmpty())
        surface.image().fill(toRgb(color));
    return surface;
}

int clampToInt(qint64 value) {
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

bool isLeadByte(char byte) {
    return quint8(byte) >= 127;
}

} // namespace

int sealSide(qint32 requested) {
    if (requested > maxSealSide)
        throw TarvelError(
            QStringLiteral("印章边长 %1 太大：印章最多 %2 × %2 像素，与最大的画布一样大。")
                .arg(requested)
                .arg(maxSealSide));
    return std::max(requested, 0);
}

int CountDisplayChars(QByteArrayView text) {
    const qsizetype high = std::count_if(text.begin(), text.end(), isLeadByte);
    return int(text.size() - high / 2);
}

QList<QByteArray> splitDisplayChars(QByteArrayView text) {
    QList<QByteArray> chars;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
        chars.append(text.sliced(i, length).toByteArray());
        i += length;
    }
    return chars;
}

SealColors sealColors(::SealStyle style) {
    if (style == stIntaglio)
        return {clWhite, clRed, 0x003232F0};
    return {clRed, clRed, 0x00D2D2D2};
}

SealLineCells sealLineCells(::Arrangement arrangement, QSize seal, qint32 edge, qint32 spacing,
                            int lineCount, int line, int charCount) {
    SealLineCells cells;
    if (charCount <= 0 || lineCount <= 0)
        return cells;
    const qint64 w = seal.width(), h = seal.height(), e = edge, s = spacing;
    const qint64 n = lineCount, r = line, k = charCount;
    if (!isArrangement(arrangement))
        arrangement = arHorzLeftToRight;
    const bool vertical = isVertical(arrangement);
    // Horizontal layouts share the cell height among the rows and give each row its own
    // width; vertical ones the other way round. Division truncates toward zero.
    const qint64 cw = vertical ? (w - 2 * e - (n - 1) * s) / n : (w - 2 * e - (k - 1) * s) / k;
    const qint64 ch = vertical ? (h - 2 * e - (k - 1) * s) / k : (h - 2 * e - (n - 1) * s) / n;
    cells.cellWidth = cw;
    cells.cellHeight = ch;
    cells.origins.reserve(charCount);
    for (qint64 j = 1; j <= k; ++j) {
        qint64 x = 0, y = 0;
        switch (arrangement) {
        case arHorzRightToLeft:
            x = w - e - j * cw - (j - 1) * s;
            y = e + r * (ch + s);
            break;
        case arVertLeftToRight:
            x = e + r * (cw + s);
            y = e + (j - 1) * (ch + s);
            break;
        case arVertRightToLeft:
            x = w - e - (r + 1) * cw - r * s;
            y = e + (j - 1) * (ch + s);
            break;
        case arHorzLeftToRight:
        default:
            x = e + (j - 1) * (cw + s);
            y = e + r * (ch + s);
            break;
        }
        cells.origins.append(QPoint(clampToInt(x), clampToInt(y)));
    }
    return cells;
}

void drawSealOutline(DrawingSurface& surface, ::CornerShape corner, const SealColors& colors) {
    surface.pen = {colors.pen, 1};
    surface.brush = {colors.brush, DrawingSurface::BrushStyle::Solid};
    const int w = surface.width(), h = surface.height();
    if (corner == cnRounded)
        surface.roundRect(0, 0, w, h, 8, 8);
    else
        surface.rectangle(0, 0, w, h);
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
}

namespace {

// The weight of the face that serves a font, 0 when the font database cannot tell.
int faceWeight(const QFont& font) {
    const QFontInfo info(font);
    return QFontDatabase::weight(info.family(), info.styleName());
}

// Draws text with its cell's top-left at (x, y), every pixel either untouched or in the
// text colour: the seal is a keyed picture, so no edge may blend. A face without the
// requested boldness is thickened by an outline around every stroke, growing with the
// missing weight: em/24 for bold over regular, em/12 at the heaviest weight.
void drawSealText(DrawingSurface& surface, int x, int y, const QString& text, QFont font,
                  TColor color, int missingWeight) {
    font.setStyleStrategy(QFont::NoAntialias);
    const int baseline = y + QFontMetrics(font).ascent();
    QPainter painter(&surface.image());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const QColor ink = toQColor(color);
    if (missingWeight <= 0) {
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(x, baseline, text);
        return;
    }
    const qreal thickening = font.pixelSize() * missingWeight / (600.0 * 12.0);
    QPainterPath path;
    path.addText(x, baseline, font, text);
    painter.setPen(QPen(ink, thickening, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ink);
    painter.drawPath(path);
}

} // namespace

void DrawSealChar(DrawingSurface& surface, int cellWidth, int cellHeight, int x, int y,
                  const QString& text, int weight) {
    if (cellWidth <= 0 || cellHeight <= 0 || text.isEmpty() || surface.isEmpty())
        return;
    DrawingSurface::Font font = surface.font;
    font.height = cellHeight; // positive: the whole character cell, internal leading included
    // Half the cell as the half width makes a full-width character about a cell wide; a
    // one-pixel cell still squeezes the glyph rather than leaving it at its natural width.
    font.width = std::max(cellWidth / 2, 1);
    font.weight = std::clamp(weight, 1, 1000);
    font.escapement = 0;
    font.italic = false;
    font.underline = false;
    font.strikeout = false;
    font.charset = 134; // GB2312
    const int ownWeight = faceWeight(resolveFont(font));
    // Half a step of weight is within what a face's own design covers.
    int missing = 0;
    if (ownWeight > 0 && font.weight > ownWeight + 50) {
        missing = font.weight - ownWeight;
        font.weight = ownWeight;
    }
    drawSealText(surface, x, y, text, resolveFont(font), font.color, missing);
}

QString gbkCharToString(const QByteArray& bytes) {
    const QString text = Gbk::decode(bytes);
    return text.isEmpty() ? QString(QChar::ReplacementCharacter) : text;
}

namespace {

DrawingSurface renderSealLines(const TSetStamper& settings, const QList<QByteArray>& lines,
                               const QStringList& characters, TColor* textColor) {
    const int w = sealSide(settings.SealWidth), h = sealSide(settings.SealHeight);
    DrawingSurface seal = filledSurface(w, h, sealKeyColor);

    const SealColors colors = sealColors(settings.SealStyle);
    if (textColor)
        *textColor = colors.text;
    drawSealOutline(seal, settings.CornerShape, colors);

    const int lineCount = int(lines.size());
    for (int r = 0; r < lineCount; ++r) {
        const QStringList chars = Gbk::drawnCharacters(
            splitDisplayChars(lines[r]), r < characters.size() ? characters[r] : QString());
        const SealLineCells cells =
            sealLineCells(settings.Arrangement, QSize(w, h), settings.EdgeWidth,
                          settings.CharSpacing, lineCount, r, CountDisplayChars(lines[r]));
        const qsizetype count = std::min(chars.size(), cells.origins.size());
        for (qsizetype j = 0; j < count; ++j) {
            seal.font.name = settings.FontName;
            seal.font.color = colors.text;
            const QPoint at = cells.origins[j];
            // A cell wholly outside the bitmap leaves no ink on it.
            if (qint64(at.x()) >= w || qint64(at.y()) >= h || at.x() + cells.cellWidth <= 0 ||
                at.y() + cells.cellHeight <= 0 || cells.cellWidth > INT_MAX ||
                cells.cellHeight > INT_MAX)
                continue;
            DrawSealChar(seal, int(cells.cellWidth), int(cells.cellHeight), at.x(), at.y(),
                         chars[j], settings.StrokeWeight);
        }
    }
    seal.transparentColor = sealKeyColor;
    seal.transparent = true;
    return seal;
}

} // namespace

DrawingSurface renderSeal(const TSetStamper& settings, const QList<QByteArray>& lines,
                          TColor* textColor) {
    return renderSealLines(settings, lines, {}, textColor);
}

DrawingSurface renderSealText(const TSetStamper& settings, const QStringList& lines,
                              TColor* textColor) {
    QList<QByteArray> bytes;
    bytes.reserve(lines.size());
    for (const QString& line : lines)
        bytes.append(Gbk::encode(line));
    return renderSealLines(settings, bytes, lines, textColor);
}

DrawingSurface framedSeal(const DrawingSurface& seal, int width, int height) {
    DrawingSurface framed = filledSurface(width, height, sealKeyColor);
    framed.transparentColor = sealKeyColor;
    // The seal's own key pixels land on key pixels, so a straight copy equals a keyed draw.
    framed.blockCopy(0, 0, seal);
    return framed;
}

int sealDiagonal(int width, int height) {
    const double w = width, h = height;
    return int(std::sqrt(w * w + h * h));
}

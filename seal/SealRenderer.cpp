// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal renderer: character model, cell table, outline, colours and the characters.
#include "SealRenderer.h"

#include "FontFallback.h"
#include "Gbk.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <vector>

namespace {

// A bitmap filled with one colour in a single pass.
DrawingSurface filledSurface(int width, int height, TColor color) {
    DrawingSurface surface(
        newImage(QSize(std::max(width, 0), std::max(height, 0)), QImage::Format_RGB32));
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
            QCoreApplication::translate(
                "Seal", "印章边长 %1 太大：印章最多 %2 × %2 像素，与最大的画布一样大。")
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

SealColors sealColors(::SealStyle style, ::SealInk ink) {
    TColor paste = clRed;
    switch (ink) {
    case siCinnabar:
        paste = 0x001C30C4; // red 196, green 48, blue 28
        break;
    case siVermilion:
        paste = 0x002858E8; // red 232, green 88, blue 40
        break;
    case siRed:
    default:
        return sealColors(style);
    }
    if (style == stIntaglio)
        return {clWhite, paste, paste};
    return {paste, paste, 0x00D2D2D2};
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

QList<int> proportionalLineCounts(::Arrangement arrangement, QSize seal, int count) {
    if (count <= 0)
        return {};
    const bool vertical = isArrangement(arrangement) && isVertical(arrangement);
    const double w = std::max(seal.width(), 1), h = std::max(seal.height(), 1);
    int bestLines = 1;
    double best = 0;
    bool bestTall = false;
    for (int lines = 1; lines <= count; ++lines) {
        const int perLine = (count + lines - 1) / lines;
        if (perLine * (lines - 1) >= count)
            continue; // a line would be left empty
        const double across = vertical ? w / lines : w / perLine;
        const double down = vertical ? h / perLine : h / lines;
        const double off = std::max(across / down, down / across);
        // On a tie the characters stand side by side: a seal reads across its columns.
        const bool tall = across <= down;
        if (lines == 1 || off < best - 1e-9 || (off < best + 1e-9 && tall && !bestTall)) {
            best = off;
            bestLines = lines;
            bestTall = tall;
        }
    }
    const int perLine = (count + bestLines - 1) / bestLines;
    const int shortLines = bestLines * perLine - count;
    QList<int> counts;
    for (int i = 0; i < bestLines; ++i)
        counts.append(i < shortLines ? perLine - 1 : perLine);
    return counts;
}

namespace {

// The width a full-width character of the face that draws text has at a cell height, for a
// height of 1000 pixels: the face's own proportions.
double naturalWidthPerMille(const QString& face, const QString& text) {
    DrawingSurface::Font font;
    font.name = face;
    font.height = 1000;
    font.charset = 134;
    font.name = FontFallback::faceFor(font, text.toUcs4().value(0));
    const QFontMetricsF metrics(resolveFont(font));
    const double advance = metrics.horizontalAdvance(QChar(0x56FD)); // 国
    return advance > 0 ? advance : 1000;
}

QList<SealGlyphCell> layOutProportionally(const TSetStamper& settings,
                                          const QList<QStringList>& lineChars) {
    QStringList all;
    for (const QStringList& chars : lineChars)
        all += chars;
    const QSize seal(sealSide(settings.SealWidth), sealSide(settings.SealHeight));
    const QList<int> counts = proportionalLineCounts(settings.Arrangement, seal,
                                                     int(std::min<qsizetype>(all.size(), INT_MAX)));
    QList<SealGlyphCell> glyphs;
    int next = 0;
    for (int r = 0; r < counts.size(); ++r) {
        const SealLineCells cells =
            sealLineCells(settings.Arrangement, seal, settings.EdgeWidth, settings.CharSpacing,
                          int(counts.size()), r, counts[r]);
        if (cells.cellWidth <= 0 || cells.cellHeight <= 0 || cells.cellWidth > INT_MAX ||
            cells.cellHeight > INT_MAX) {
            next += counts[r];
            continue;
        }
        const int cw = int(cells.cellWidth), ch = int(cells.cellHeight);
        for (const QPoint& at : cells.origins) {
            SealGlyphCell glyph;
            glyph.text = all[next++];
            glyph.cell = QRect(at, QSize(cw, ch));
            // The glyph's own width at the cell's height; a wider cell stretches it by at most
            // maxGlyphDistortion, a narrower one squeezes it as much and lowers it.
            const double own = naturalWidthPerMille(settings.FontName, glyph.text) * ch / 1000.0;
            int gw = cw, gh = ch;
            if (cw > own * maxGlyphDistortion) {
                gw = std::max(1, int(own * maxGlyphDistortion));
                glyph.distortion = cw / own;
            } else if (cw * maxGlyphDistortion < own) {
                gh = std::max(1, int(cw * maxGlyphDistortion * 1000.0 /
                                     naturalWidthPerMille(settings.FontName, glyph.text)));
                glyph.distortion = own / cw;
            } else {
                glyph.distortion = std::max(cw / own, own / cw);
            }
            glyph.glyph = QRect(at.x() + (cw - gw) / 2, at.y() + (ch - gh) / 2, gw, gh);
            glyphs.append(glyph);
        }
    }
    return glyphs;
}

QList<QStringList> charactersOfLines(const QList<QByteArray>& lines, const QStringList& text) {
    QList<QStringList> chars;
    for (qsizetype r = 0; r < lines.size(); ++r)
        chars.append(Gbk::drawnCharacters(splitDisplayChars(lines[r]),
                                          r < text.size() ? text[r] : QString()));
    return chars;
}

QList<QByteArray> gbkLines(const QStringList& lines) {
    QList<QByteArray> bytes;
    bytes.reserve(lines.size());
    for (const QString& line : lines)
        bytes.append(Gbk::encode(line));
    return bytes;
}

} // namespace

QList<SealGlyphCell> proportionalSealCells(const TSetStamper& settings, const QStringList& lines) {
    return layOutProportionally(settings, charactersOfLines(gbkLines(lines), lines));
}

double sealShapeDistortion(const TSetStamper& settings, const QStringList& lines) {
    double most = 1;
    for (const SealGlyphCell& glyph : proportionalSealCells(settings, lines))
        most = std::max(most, glyph.distortion);
    return most;
}

namespace {

// The outline, or a frame of frameWidth pixels, with rounded corners of the given radius.
void drawFrame(DrawingSurface& surface, ::CornerShape corner, const SealColors& colors,
               int frameWidth, int radius) {
    const int w = surface.width(), h = surface.height();
    surface.pen = {colors.pen, 1};
    if (frameWidth <= 1) {
        surface.brush = {colors.brush, DrawingSurface::BrushStyle::Solid};
        if (corner == cnRounded)
            surface.roundRect(0, 0, w, h, 2 * radius, 2 * radius);
        else
            surface.rectangle(0, 0, w, h);
        surface.brush.style = DrawingSurface::BrushStyle::Clear;
        return;
    }
    const int frame = std::min(frameWidth, (std::min(w, h) + 1) / 2);
    // The whole shape in the frame's colour, then the ground inset by the frame: the inner
    // corners of a rounded frame keep the outer curve's centre, so they grow square once the
    // frame is as wide as the corner's radius.
    surface.brush = {colors.pen, DrawingSurface::BrushStyle::Solid};
    if (corner == cnRounded)
        surface.roundRect(0, 0, w, h, 2 * radius, 2 * radius);
    else
        surface.rectangle(0, 0, w, h);
    surface.pen = {colors.brush, 1};
    surface.brush = {colors.brush, DrawingSurface::BrushStyle::Solid};
    const int innerRadius = std::max(0, radius - frame);
    if (w - 2 * frame > 0 && h - 2 * frame > 0) {
        if (corner == cnRounded && innerRadius > 0)
            surface.roundRect(frame, frame, w - frame, h - frame, 2 * innerRadius, 2 * innerRadius);
        else
            surface.rectangle(frame, frame, w - frame, h - frame);
    }
    surface.pen = {colors.pen, 1};
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
}

} // namespace

void drawSealOutline(DrawingSurface& surface, ::CornerShape corner, const SealColors& colors) {
    drawFrame(surface, corner, colors, 1, 4);
}

void drawSealOutline(DrawingSurface& surface, ::CornerShape corner, const SealColors& colors,
                     int frameWidth) {
    drawFrame(surface, corner, colors, frameWidth, 4);
}

void wearSeal(DrawingSurface& seal, const QList<TColor>& inks, int wear, qint32 seed) {
    if (wear <= 0 || seal.isEmpty() || inks.isEmpty())
        return;
    wear = std::min(wear, 100);
    const int w = seal.width(), h = seal.height();
    std::vector<char> ink(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ink[std::size_t(y) * w + x] = inks.contains(seal.pixel(x, y));
    const auto isInk = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && ink[std::size_t(y) * w + x];
    };
    // The engine's raw output is fixed by the C++ standard, so a seed wears the same pixels
    // on every platform. What is lost is marked first, so that a pixel broken away in this
    // pass does not turn its neighbours into edges.
    std::mt19937 random{quint32(seed)};
    std::vector<char> lost(ink.size());
    // An edge pixel breaks away with a chance of up to one in three.
    const quint32 edgeChance = quint32(wear) * (0xFFFFFFFFu / 300);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isInk(x, y) &&
                (!isInk(x - 1, y) || !isInk(x + 1, y) || !isInk(x, y - 1) || !isInk(x, y + 1)) &&
                random() < edgeChance)
                lost[std::size_t(y) * w + x] = 1;
    // Specks of up to two pixels' radius, one for every 200 pixels at full wear.
    const qint64 specks = qint64(w) * h * wear / 20000;
    for (qint64 i = 0; i < specks; ++i) {
        const int cx = int(random() % quint32(w)), cy = int(random() % quint32(h));
        const int r = int(random() % 3);
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r && isInk(x, y))
                    lost[std::size_t(y) * w + x] = 1;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (lost[std::size_t(y) * w + x])
                seal.setPixel(x, y, sealKeyColor);
}

namespace {

// A smooth random field in 0..1 with features about spacing pixels apart: random values on a
// grid, blended with a smooth step between them.
class ValueNoise {
public:
    ValueNoise(int width, int height, int spacing, std::mt19937& random)
        : spacing(std::max(spacing, 1)), columns(width / this->spacing + 2),
          rows(height / this->spacing + 2), values(std::size_t(columns) * rows) {
        for (float& value : values)
            value = float(random() >> 8) / float(1u << 24);
    }
    float at(int x, int y) const {
        const int gx = x / spacing, gy = y / spacing;
        const float fx = smooth(float(x % spacing) / spacing),
                    fy = smooth(float(y % spacing) / spacing);
        const auto v = [&](int cx, int cy) { return values[std::size_t(cy) * columns + cx]; };
        const float top = v(gx, gy) + (v(gx + 1, gy) - v(gx, gy)) * fx;
        const float bottom = v(gx, gy + 1) + (v(gx + 1, gy + 1) - v(gx, gy + 1)) * fx;
        return top + (bottom - top) * fy;
    }

private:
    static float smooth(float t) { return t * t * (3 - 2 * t); }
    int spacing, columns, rows;
    std::vector<float> values;
};

// The 8-connected parts of the set pixels of a mask: each pixel's part, and each part's size.
struct Parts {
    std::vector<int> of;
    std::vector<int> size;
};
Parts partsOf(const std::vector<char>& mask, int w, int h) {
    Parts parts{std::vector<int>(mask.size(), -1), {}};
    std::vector<int> stack;
    for (std::size_t start = 0; start < mask.size(); ++start) {
        if (!mask[start] || parts.of[start] >= 0)
            continue;
        const int label = int(parts.size.size());
        int count = 0;
        parts.of[start] = label;
        stack.push_back(int(start));
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            ++count;
            const int x = i % w, y = i / w;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                        continue;
                    const std::size_t n = std::size_t(ny) * w + nx;
                    if (mask[n] && parts.of[n] < 0) {
                        parts.of[n] = label;
                        stack.push_back(int(n));
                    }
                }
        }
        parts.size.push_back(count);
    }
    return parts;
}

} // namespace

void wearSealPressed(DrawingSurface& seal, const QList<TColor>& inks, int wear, qint32 seed) {
    if (wear <= 0 || seal.isEmpty() || inks.isEmpty())
        return;
    const double amount = std::min(wear, 100) / 100.0;
    const int w = seal.width(), h = seal.height();
    const std::size_t area = std::size_t(w) * std::size_t(h);
    std::vector<char> ink(area);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ink[std::size_t(y) * w + x] = inks.contains(seal.pixel(x, y));
    const auto isInk = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && ink[std::size_t(y) * w + x];
    };
    // How deep each ink pixel lies: 1 on an edge, 2 next to one, 3 further in.
    std::vector<char> depth(area, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!isInk(x, y))
                continue;
            char d = 3;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (!isInk(x + dx, y + dy))
                        d = std::min<char>(d, std::max(std::abs(dx), std::abs(dy)));
            depth[std::size_t(y) * w + x] = d;
        }

    std::mt19937 random{quint32(seed)};
    const int shorter = std::min(w, h);
    const ValueNoise edges(w, h, std::max(6, shorter / 8), random);
    const ValueNoise paste(w, h, std::max(12, shorter / 3), random);
    const ValueNoise holes(w, h, 3, random);
    // The fields' levels are taken from their own values over the ink, so that a wear takes
    // the same share of the edges and makes the same share of the paste thin at every seed:
    // a fifth of the edge at full wear, a tenth of the next row in, thin paste over a quarter.
    // The seal's outer edge (next to the bitmap's border or the key colour) wears apart from
    // the strokes' edges, so that the frame keeps its share whatever the strokes are.
    const auto outerEdge = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || seal.pixel(nx, ny) == sealKeyColor)
                    return true;
            }
        return false;
    };
    std::vector<char> outer(area, 0);
    std::vector<float> outerValues, edgeValues, innerValues, pasteValues;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const char d = depth[std::size_t(y) * w + x];
            if (d == 1 && outerEdge(x, y)) {
                outer[std::size_t(y) * w + x] = 1;
                outerValues.push_back(edges.at(x, y));
            } else if (d == 1)
                edgeValues.push_back(edges.at(x, y));
            else if (d == 2)
                innerValues.push_back(edges.at(x, y));
            if (d > 0)
                pasteValues.push_back(paste.at(x, y));
        }
    const auto level = [](std::vector<float>& values, double share) {
        if (values.empty() || share <= 0)
            return -1.0f;
        const auto at =
            values.begin() +
            std::ptrdiff_t(std::min(values.size() - 1, std::size_t(share * values.size())));
        std::nth_element(values.begin(), at, values.end());
        return *at;
    };
    const float outerLevel = level(outerValues, 0.22 * amount);
    const float edgeLevel = level(edgeValues, 0.12 * amount);
    const float innerLevel = level(innerValues, 0.2 * amount);
    const float thinLevel = level(pasteValues, 0.2 * amount);
    std::vector<char> lost(area, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            if (!ink[i])
                continue;
            // Thin paste: fully thin a little inside a patch's border.
            const double thin = std::clamp((thinLevel - paste.at(x, y)) / 0.05, 0.0, 1.0);
            const float e = edges.at(x, y);
            const bool eroded =
                (depth[i] == 1 && e < (outer[i] ? outerLevel : edgeLevel) + thin * 0.05) ||
                (depth[i] == 2 && e < innerLevel + thin * 0.05);
            // Holes open inside the paste; the edges are the erosion's.
            const bool hole = thin > 0 && depth[i] > 1 && holes.at(x, y) < thin * 0.3;
            lost[i] = eroded || hole;
        }

    // Corners: a convex corner of a stroke thick enough to have an inside loses its tip, and
    // the seal's own corners are cut round. Only the design's corners: the ends of a run worn
    // away stay as they broke.
    const int rounds = 1 + int(amount * 2);
    std::vector<char> left(area), rounded(area, 0);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < area; ++i)
            left[i] = ink[i] && !rounded[i];
        const auto remains = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < w && y < h && left[std::size_t(y) * w + x];
        };
        const auto inner = [&](int x, int y) {
            return remains(x, y) && remains(x - 1, y) && remains(x + 1, y) && remains(x, y - 1) &&
                   remains(x, y + 1);
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!remains(x, y) || inner(x, y))
                    continue;
                const int sides = !remains(x - 1, y) + !remains(x + 1, y) + !remains(x, y - 1) +
                                  !remains(x, y + 1);
                // Two open sides at a right angle, the diagonal inside set: a corner's tip.
                const bool corner = sides == 2 && remains(x - 1, y) != remains(x + 1, y);
                bool thick = false;
                for (int dy = -1; dy <= 1 && !thick; ++dy)
                    for (int dx = -1; dx <= 1 && !thick; ++dx)
                        thick = inner(x + dx, y + dy);
                if (corner && thick)
                    rounded[std::size_t(y) * w + x] = 1;
            }
    }
    for (std::size_t i = 0; i < area; ++i)
        lost[i] = lost[i] || rounded[i];
    const int radius = 1 + int(amount * 6);
    for (int y = 0; y < std::min(radius, h); ++y)
        for (int x = 0; x < std::min(radius, w); ++x) {
            const int dx = radius - x, dy = radius - y;
            if (dx * dx + dy * dy <= radius * radius)
                continue;
            for (const auto& [cx, cy] : {std::pair{x, y}, std::pair{w - 1 - x, y},
                                         std::pair{x, h - 1 - y}, std::pair{w - 1 - x, h - 1 - y}})
                if (isInk(cx, cy))
                    lost[std::size_t(cy) * w + cx] = 1;
        }

    // No salt: a lost spot smaller than a speck is printed after all, and a crumb of ink that
    // the wear cut off from its stroke goes with the rest.
    const Parts holesFound = partsOf(lost, w, h);
    for (std::size_t i = 0; i < area; ++i)
        if (lost[i] && holesFound.size[holesFound.of[i]] < minWearSpeck)
            lost[i] = 0;
    for (std::size_t i = 0; i < area; ++i)
        left[i] = ink[i] && !lost[i];
    const Parts before = partsOf(ink, w, h);
    const Parts after = partsOf(left, w, h);
    for (std::size_t i = 0; i < area; ++i)
        if (left[i] && after.size[after.of[i]] < minWearSpeck &&
            before.size[before.of[i]] > after.size[after.of[i]])
            lost[i] = 1;

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (lost[std::size_t(y) * w + x])
                seal.setPixel(x, y, sealKeyColor);
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
                  TColor color, double thickening) {
    font.setStyleStrategy(QFont::NoAntialias);
    const int baseline = y + QFontMetrics(font).ascent();
    QPainter painter(&surface.image());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const QColor ink = toQColor(color);
    if (thickening <= 0) {
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(x, baseline, text);
        return;
    }
    QPainterPath path;
    path.addText(x, baseline, font, text);
    painter.setPen(QPen(ink, thickening, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ink);
    painter.drawPath(path);
}

} // namespace

namespace {

// The weight a face is drawn at for a request and the outline that makes up the rest.
struct SealFace {
    DrawingSurface::Font font;
    double thickening = 0;
};
SealFace sealFace(DrawingSurface::Font font) {
    const int ownWeight = faceWeight(resolveFont(font));
    // Half a step of weight is within what a face's own design covers.
    int missing = 0;
    if (ownWeight > 0 && font.weight > ownWeight + 50) {
        missing = font.weight - ownWeight;
        font.weight = ownWeight;
    }
    const double thickening = resolveFont(font).pixelSize() * missing / (600.0 * 12.0);
    return {font, thickening};
}

} // namespace

void DrawSealChar(DrawingSurface& surface, int cellWidth, int cellHeight, int x, int y,
                  const QString& text, int weight, bool matchFallbackWeight) {
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
    const QString chosen = font.name;
    font.name = FontFallback::faceFor(font, text.toUcs4().value(0));
    SealFace drawn = sealFace(font);
    if (matchFallbackWeight && font.name != chosen) {
        // The stems the seal's own face has as it is drawn here, outline included.
        font.name = chosen;
        const SealFace own = sealFace(font);
        const double stems = FontFallback::stemWidth(own.font) + own.thickening;
        const double standIn = FontFallback::stemWidth(drawn.font) + drawn.thickening;
        if (FontFallback::stemWidth(own.font) > 0 && stems > standIn)
            drawn.thickening += stems - standIn;
    }
    drawSealText(surface, x, y, text, resolveFont(drawn.font), drawn.font.color, drawn.thickening);
}

QString gbkCharToString(const QByteArray& bytes) {
    const QString text = Gbk::decode(bytes);
    return text.isEmpty() ? QString(QChar::ReplacementCharacter) : text;
}

namespace {

// cornerRadius is that of a rounded seal: 4 pixels, larger only for the enlarged picture that
// smooth edges are made from.
DrawingSurface renderSealLines(const TSetStamper& settings, const QList<QByteArray>& lines,
                               const QStringList& characters, TColor* textColor,
                               int cornerRadius = 4) {
    const int w = sealSide(settings.SealWidth), h = sealSide(settings.SealHeight);
    DrawingSurface seal = filledSurface(w, h, sealKeyColor);

    SealColors colors = sealColors(settings.SealStyle, settings.Ink);
    // 透底: what is not paste is left out, so the paper shows through the cut strokes of an
    // intaglio seal and around the raised strokes of a relief one.
    if (settings.Paper) {
        if (settings.SealStyle == stIntaglio)
            colors.text = sealKeyColor;
        else
            colors.brush = sealKeyColor;
    }
    if (textColor)
        *textColor = colors.text;
    drawFrame(seal, settings.CornerShape, colors, settings.FrameWidth, cornerRadius);

    const int lineCount = settings.KeepProportions ? 0 : int(lines.size());
    if (settings.KeepProportions) {
        seal.font.name = settings.FontName;
        seal.font.color = colors.text;
        for (const SealGlyphCell& glyph :
             layOutProportionally(settings, charactersOfLines(lines, characters)))
            DrawSealChar(seal, glyph.glyph.width(), glyph.glyph.height(), glyph.glyph.x(),
                         glyph.glyph.y(), glyph.text, settings.StrokeWeight,
                         settings.MatchFallbackWeight);
    }
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
                         chars[j], settings.StrokeWeight, settings.MatchFallbackWeight);
        }
    }
    if (settings.Wear > 0) {
        // The paste's colours: the frame and ground of an intaglio seal, the frame and
        // strokes of a relief one.
        const QList<TColor> inks = {colors.pen,
                                    settings.SealStyle == stIntaglio ? colors.brush : colors.text};
        if (settings.WearStyle == wsPressed)
            wearSealPressed(seal, inks, settings.Wear, settings.WearSeed);
        else
            wearSeal(seal, inks, settings.Wear, settings.WearSeed);
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

QImage renderSmoothSeal(const TSetStamper& settings, const QStringList& lines) {
    const int w = sealSide(settings.SealWidth), h = sealSide(settings.SealHeight);
    if (w == 0 || h == 0)
        return QImage();
    // Four times larger each way, held within the largest seal.
    const int scale = std::clamp(maxSealSide / std::max(w, h), 1, 4);
    TSetStamper large = settings;
    large.SealWidth = w * scale;
    large.SealHeight = h * scale;
    large.EdgeWidth = int(std::clamp<qint64>(qint64(settings.EdgeWidth) * scale, INT_MIN, INT_MAX));
    large.CharSpacing =
        int(std::clamp<qint64>(qint64(settings.CharSpacing) * scale, INT_MIN, INT_MAX));
    large.FrameWidth = std::max(1, std::min(settings.FrameWidth, maxSealSide)) * scale;
    large.Wear = 0;
    QList<QByteArray> bytes;
    for (const QString& line : lines)
        bytes.append(Gbk::encode(line));
    const DrawingSurface big = renderSealLines(large, bytes, lines, nullptr, 4 * scale);

    // Each pixel is the average of its block, the key colour counting as nothing at all: the
    // coverage becomes the alpha and no key colour blends into an edge.
    QImage smooth = newImage(QSize(w, h), QImage::Format_ARGB32_Premultiplied);
    const QRgb key = toRgb(sealKeyColor) & 0xFFFFFF;
    const int samples = scale * scale;
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(smooth.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int red = 0, green = 0, blue = 0, covered = 0;
            for (int sy = 0; sy < scale; ++sy) {
                const auto* row = reinterpret_cast<const QRgb*>(big.scanLine(y * scale + sy));
                for (int sx = 0; sx < scale; ++sx) {
                    const QRgb p = row[x * scale + sx] & 0xFFFFFF;
                    if (p == key)
                        continue;
                    red += qRed(p);
                    green += qGreen(p);
                    blue += qBlue(p);
                    ++covered;
                }
            }
            out[x] = qRgba((red + samples / 2) / samples, (green + samples / 2) / samples,
                           (blue + samples / 2) / samples, (covered * 255 + samples / 2) / samples);
        }
    }
    if (settings.Wear > 0) {
        // The wear of the keyed seal, pixel for pixel: what it takes away is clear here too.
        TSetStamper fresh = settings;
        fresh.Wear = 0;
        const DrawingSurface unworn = renderSealText(fresh, lines);
        const DrawingSurface worn = renderSealText(settings, lines);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (worn.pixel(x, y) == sealKeyColor && unworn.pixel(x, y) != sealKeyColor)
                    smooth.setPixel(x, y, 0);
    }
    return smooth;
}

QImage turnedSmoothSeal(const QImage& seal, int angle, QSize size) {
    QImage turned = newImage(size, QImage::Format_ARGB32_Premultiplied);
    turned.fill(Qt::transparent);
    if (seal.isNull() || turned.isNull())
        return turned;
    QPainter painter(&turned);
    if (angle % 360 == 0) {
        painter.drawImage(0, 0, seal);
        return turned;
    }
    // As the keyed seal: in the top-left of the square of its diagonal, turned about the
    // square's centre, counter-clockwise for a positive angle.
    const int side = sealDiagonal(seal.width(), seal.height());
    QImage square = newImage(QSize(side, side), QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter(&square).drawImage(0, 0, seal);
    const QImage rotated = allocated(
        square.transformed(QTransform().rotate(-angle), Qt::SmoothTransformation), square.size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, rotated);
    return turned;
}

QList<FaceGap> sealGaps(const TSetStamper& settings, const QStringList& lines) {
    DrawingSurface::Font face;
    face.name = settings.FontName;
    face.height = -std::max(1, settings.SealHeight);
    const QString missing = charactersMissingFrom(face, lines.join(QString()));
    if (missing.isEmpty())
        return {};
    return {FaceGap{settings.FontName, missing}};
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

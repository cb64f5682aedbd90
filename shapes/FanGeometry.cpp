// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan picture, step by step as the preview draws it.
#include "FanGeometry.h"

#include "TarvelError.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARVEL_X86_ROW_SCAN 1
#endif

namespace {

// A floating-point division truncated toward zero, as the outline's constants are defined.
int truncDiv(qint64 numerator, double denominator) {
    return int(std::trunc(double(numerator) / denominator));
}

// Colours compare as they are stored in a picture, so a system colour matches its pixels.
bool sameInk(TColor a, TColor b) {
    return (toRgb(a) & 0xFFFFFF) == (toRgb(b) & 0xFFFFFF);
}

// A run of one row holding no pixel of the outline's ink: columns first to last.
struct OpenRun {
    int first;
    int last;
};

// The first column at or after x whose pixel has the ink's colour (alpha ignored), or width.
int nextInkPixel(const QRgb* row, int x, int width, QRgb ink) {
    for (; x < width; ++x)
        if ((row[x] & 0xFFFFFF) == ink)
            return x;
    return width;
}

#ifdef TARVEL_X86_ROW_SCAN
// Eight pixels at a time: most of a fan's row is the area between two or four ink pixels.
__attribute__((target("avx2"))) int nextInkPixelAvx2(const QRgb* row, int x, int width, QRgb ink) {
    const __m256i colour = _mm256_set1_epi32(int(ink));
    const __m256i mask = _mm256_set1_epi32(0xFFFFFF);
    for (; x + 8 <= width; x += 8) {
        const __m256i pixels =
            _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x)), mask);
        const int hits =
            _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(pixels, colour)));
        if (hits != 0)
            return x + __builtin_ctz(unsigned(hits));
    }
    return nextInkPixel(row, x, width, ink);
}
#endif

// The open runs of every row, row by row from the left: runs[rowStart[y]] up to
// runs[rowStart[y + 1]] are those of row y.
void findOpenRuns(const DrawingSurface& picture, QRgb ink, std::vector<OpenRun>& runs,
                  std::vector<std::size_t>& rowStart) {
    auto next = nextInkPixel;
#ifdef TARVEL_X86_ROW_SCAN
    if (__builtin_cpu_supports("avx2"))
        next = nextInkPixelAvx2;
#endif
    const int width = picture.width();
    rowStart.assign(std::size_t(picture.height()) + 1, 0);
    for (int y = 0; y < picture.height(); ++y) {
        rowStart[std::size_t(y)] = runs.size();
        const auto* row = reinterpret_cast<const QRgb*>(picture.scanLine(y));
        int x = 0;
        while (x < width) {
            const int inkAt = next(row, x, width, ink);
            if (inkAt > x)
                runs.push_back({x, inkAt - 1});
            x = inkAt + 1;
        }
    }
    rowStart.back() = runs.size();
}

} // namespace

QPoint FanGeometry::topArcStart() const {
    return QPoint(B, H / 2);
}
QPoint FanGeometry::topArcEnd() const {
    return QPoint(A, H / 2);
}
QPoint FanGeometry::rightSideStart() const {
    return QPoint(B, t);
}
QPoint FanGeometry::rightSideEnd() const {
    return QPoint(8 * k, H);
}
QPoint FanGeometry::bottomArcStart() const {
    return QPoint(W - 4 * k, H);
}
QPoint FanGeometry::bottomArcEnd() const {
    return QPoint(4 * k, H);
}
QPoint FanGeometry::leftSideStart() const {
    return QPoint(4 * k, H);
}
QPoint FanGeometry::leftSideEnd() const {
    return QPoint(A, t);
}
QPoint FanGeometry::fillSeed() const {
    return QPoint(B / 2, H / 2);
}

FanGeometry computeFanGeometry(qint32 radius) {
    FanGeometry g;
    if (radius <= 0)
        return g;
    const qint64 width = 4 * qint64(radius);
    if (width > maxFanPictureSide)
        throw TarvelError(
            QCoreApplication::translate("Shapes", "半径 %1 太大：无法创建 %2 × %3 像素的扇面图片。")
                .arg(radius)
                .arg(width)
                .arg(2 * qint64(radius)));
    g.W = int(width);
    g.H = 2 * radius;
    g.e = truncDiv(g.W, 32);
    g.A = -g.e;
    g.B = g.W + g.e;
    g.t = truncDiv(20 * qint64(radius), 35);
    g.k = truncDiv(radius, 3);
    g.m = truncDiv(g.H, 8);
    return g;
}

DrawingSurface createFanPicture(const FanGeometry& geometry, bool canvasUsesColor) {
    if (geometry.W <= 0 || geometry.H <= 0)
        return DrawingSurface();
    DrawingSurface picture(QImage(geometry.W, geometry.H, QImage::Format_RGB32));
    if (!picture.isEmpty())
        fillFanBackground(picture, canvasUsesColor);
    if (picture.isEmpty())
        throw TarvelError(
            QCoreApplication::translate("Shapes", "内存不足：无法创建 %1 × %2 像素的扇面图片。")
                .arg(geometry.W)
                .arg(geometry.H));
    return picture;
}

void fillFanBackground(DrawingSurface& picture, bool canvasUsesColor) {
    picture.brush.color = canvasUsesColor ? clFuchsia : clWhite;
    picture.brush.style = DrawingSurface::BrushStyle::Solid;
    picture.fillRect(0, 0, picture.width(), picture.height());
}

void setFanPenAndBrush(DrawingSurface& picture, const FanSettingsRecord& settings,
                       TColor outlineInk) {
    picture.pen.width = settings.LineWidth;
    picture.pen.color = outlineInk;
    picture.brush.style = DrawingSurface::BrushStyle::Solid;
    picture.brush.color = settings.FillColor;
}

void drawTopArc(DrawingSurface& picture, const FanGeometry& g) {
    const QPoint start = g.topArcStart(), end = g.topArcEnd();
    picture.arc(g.A, 0, g.B, g.H, start.x(), start.y(), end.x(), end.y());
}

void drawRightSide(DrawingSurface& picture, const FanGeometry& g) {
    picture.moveTo(g.rightSideStart().x(), g.rightSideStart().y());
    picture.lineTo(g.rightSideEnd().x(), g.rightSideEnd().y());
}

void drawBottomArc(DrawingSurface& picture, const FanGeometry& g) {
    const QPoint start = g.bottomArcStart(), end = g.bottomArcEnd();
    picture.arc(4 * g.k, g.H - g.m, g.W - 4 * g.k, g.H + g.m, start.x(), start.y(), end.x(),
                end.y());
}

void drawLeftSide(DrawingSurface& picture, const FanGeometry& g) {
    picture.moveTo(g.leftSideStart().x(), g.leftSideStart().y());
    picture.lineTo(g.leftSideEnd().x(), g.leftSideEnd().y());
}

void fillFan(DrawingSurface& picture, const FanGeometry& g, TColor outlineInk) {
    const QPoint seed = g.fillSeed();
    if (picture.format() != DrawingSurface::Format::Bit32 || seed.x() < 0 || seed.y() < 0 ||
        seed.x() >= picture.width() || seed.y() >= picture.height()) {
        picture.floodFill(seed.x(), seed.y(), outlineInk);
        return;
    }
    // The same pixels as the border fill from the seed, found from whole rows instead of pixel
    // by pixel: each row is cut at the outline's ink into open runs, and the fill is every run
    // joined to the seed's through runs of the rows above and below that share a column with it.
    const QRgb ink = toRgb(fromRgb(toRgb(outlineInk))) & 0xFFFFFF;
    std::vector<OpenRun> runs;
    std::vector<std::size_t> rowStart;
    findOpenRuns(picture, ink, runs, rowStart);
    const auto runsOfRow = [&](int y) {
        return std::pair(runs.begin() + std::ptrdiff_t(rowStart[std::size_t(y)]),
                         runs.begin() + std::ptrdiff_t(rowStart[std::size_t(y) + 1]));
    };
    // The seed's run; none when the seed is ink.
    const auto [seedFirst, seedEnd] = runsOfRow(seed.y());
    const auto seedRun = std::find_if(seedFirst, seedEnd, [&](const OpenRun& run) {
        return run.first <= seed.x() && seed.x() <= run.last;
    });
    if (seedRun == seedEnd)
        return;

    std::vector<char> reached(runs.size(), 0);
    std::vector<std::pair<std::size_t, int>> pending; // run index, row
    reached[std::size_t(seedRun - runs.begin())] = 1;
    pending.emplace_back(std::size_t(seedRun - runs.begin()), seed.y());
    const QRgb fillRgb = toRgb(picture.brush.color);
    QImage& image = picture.image();
    while (!pending.empty()) {
        const auto [index, y] = pending.back();
        pending.pop_back();
        const OpenRun run = runs[index];
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + run.first, row + run.last + 1, fillRgb);
        for (const int next : {y - 1, y + 1}) {
            if (next < 0 || next >= picture.height())
                continue;
            const auto [first, end] = runsOfRow(next);
            // Runs of a row are sorted and apart, so those sharing a column with this one
            // follow the first that does not end before it starts.
            auto other = std::lower_bound(first, end, run.first,
                                          [](const OpenRun& r, int x) { return r.last < x; });
            for (; other != end && other->first <= run.last; ++other) {
                const std::size_t otherIndex = std::size_t(other - runs.begin());
                if (!reached[otherIndex]) {
                    reached[otherIndex] = 1;
                    pending.emplace_back(otherIndex, next);
                }
            }
        }
    }
}

TColor outlineInkFor(const FanSettingsRecord& settings, TColor seedColor) {
    if (!sameInk(settings.LineColor, seedColor))
        return settings.LineColor;
    for (TColor candidate :
         {TColor(0x00010101), TColor(0x00020202), TColor(0x00030303), TColor(0x00040404)}) {
        if (!sameInk(candidate, seedColor) && !sameInk(candidate, settings.FillColor) &&
            !sameInk(candidate, settings.LineColor))
            return candidate;
    }
    return settings.LineColor; // unreachable: four candidates, three colours to avoid
}

void recolourOutline(DrawingSurface& picture, TColor standIn, TColor lineColor) {
    const QRgb from = toRgb(standIn) & 0xFFFFFF;
    const QRgb to = toRgb(lineColor);
    QImage& image = picture.image();
    if (picture.format() == DrawingSurface::Format::Bit32) {
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::replace_if(
                row, row + picture.width(), [from](QRgb p) { return (p & 0xFFFFFF) == from; },
                to | 0xFF000000u);
        }
        return;
    }
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (sameInk(picture.pixel(x, y), standIn))
                picture.setPixel(x, y, lineColor);
}

DrawingSurface renderFanPicture(const FanSettingsRecord& settings, bool canvasUsesColor,
                                int largestSide) {
    const int cut = std::max(largestSide, largestStampedFanSide);
    const FanGeometry geometry = computeFanGeometry(settings.Radius);
    DrawingSurface picture = createFanPicture(geometry, canvasUsesColor);
    if (picture.isEmpty())
        return picture;
    const QPoint seed = geometry.fillSeed();
    const TColor outlineInk = outlineInkFor(settings, picture.pixel(seed.x(), seed.y()));
    setFanPenAndBrush(picture, settings, outlineInk);
    drawTopArc(picture, geometry);
    drawRightSide(picture, geometry);
    drawBottomArc(picture, geometry);
    drawLeftSide(picture, geometry);
    fillFan(picture, geometry, outlineInk);
    if (!sameInk(outlineInk, settings.LineColor))
        recolourOutline(picture, outlineInk, settings.LineColor);
    if (picture.width() > cut || picture.height() > cut) {
        // The bottom-left pixel of the cut picture may lie inside the fan: the key is named.
        const QSize size(std::min(picture.width(), cut), std::min(picture.height(), cut));
        DrawingSurface kept(allocated(picture.image().copy(QRect(QPoint(0, 0), size)), size));
        kept.transparentColor = picture.pixel(0, picture.height() - 1);
        picture = std::move(kept);
    }
    picture.transparent = true;
    return picture;
}

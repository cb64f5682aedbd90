// The fan picture, step by step as the preview draws it.
#include "FanGeometry.h"

#include "TarvelError.h"

#include <algorithm>
#include <cmath>

namespace {

// A floating-point division truncated toward zero, as the outline's constants are defined.
int truncDiv(qint64 numerator, double denominator) {
    return int(std::trunc(double(numerator) / denominator));
}

// Colours compare as they are stored in a picture, so a system colour matches its pixels.
bool sameInk(TColor a, TColor b) {
    return (toRgb(a) & 0xFFFFFF) == (toRgb(b) & 0xFFFFFF);
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
        throw TarvelError(QStringLiteral("半径 %1 太大：无法创建 %2 × %3 像素的扇面图片。")
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
        throw TarvelError(QStringLiteral("内存不足：无法创建 %1 × %2 像素的扇面图片。")
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
    picture.floodFill(g.fillSeed().x(), g.fillSeed().y(), outlineInk);
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

DrawingSurface renderFanPicture(const FanSettingsRecord& settings, bool canvasUsesColor) {
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
    if (picture.width() > largestStampedFanSide || picture.height() > largestStampedFanSide) {
        // The bottom-left pixel of the cut picture may lie inside the fan: the key is named.
        DrawingSurface kept(picture.image().copy(0, 0, std::min(picture.width(), largestStampedFanSide),
                                                 std::min(picture.height(), largestStampedFanSide)));
        kept.transparentColor = picture.pixel(0, picture.height() - 1);
        picture = std::move(kept);
    }
    picture.transparent = true;
    return picture;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle picture, step by step as the preview draws it.
#include "CircleGeometry.h"

#include "TarvelError.h"

#include <QCoreApplication>
#include <algorithm>

qint64 circlePictureSide(qint32 radius) {
    return 2 * qint64(radius);
}

DrawingSurface createCirclePicture(qint32 radius, qint64 largestSide) {
    const qint64 side = circlePictureSide(radius);
    if (side <= 0)
        return DrawingSurface();
    const QString tooLarge =
        QCoreApplication::translate("Shapes", "半径 %1 太大：无法创建 %2 × %2 像素的圆形图片。")
            .arg(radius)
            .arg(side);
    if (side > maxCirclePictureSide)
        throw TarvelError(tooLarge);
    const int kept = int(std::min(side, std::max(largestSide, largestStampedSide)));
    DrawingSurface picture(kept, kept);
    if (picture.isEmpty())
        throw TarvelError(tooLarge);
    return picture;
}

void fillCircleBackground(DrawingSurface& picture) {
    picture.brush.color = clFuchsia;
    picture.brush.style = DrawingSurface::BrushStyle::Solid;
    picture.fillRect(0, 0, picture.width(), picture.height());
}

void setCirclePenAndBrush(DrawingSurface& picture, const CircleSettingsRecord& settings) {
    if (settings.LineWidth >= 0)
        picture.pen.width = settings.LineWidth;
    picture.pen.color = settings.LineColor;
    picture.brush.style = DrawingSurface::BrushStyle::Solid;
    picture.brush.color = settings.FillColor;
}

void drawCircleEllipse(DrawingSurface& picture, qint64 side) {
    picture.ellipse(0, 0, int(side), int(side));
}

DrawingSurface renderCirclePicture(const CircleSettingsRecord& settings, qint64 largestSide) {
    DrawingSurface picture = createCirclePicture(settings.Radius, largestSide);
    if (picture.isEmpty())
        return picture;
    fillCircleBackground(picture);
    setCirclePenAndBrush(picture, settings);
    const qint64 side = circlePictureSide(settings.Radius);
    drawCircleEllipse(picture, side);
    picture.transparent = true;
    if (side > picture.width())
        picture.transparentColor = clFuchsia;
    return picture;
}

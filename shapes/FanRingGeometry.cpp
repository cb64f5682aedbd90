// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The folding-fan ring: its extent and its smooth picture.
#include "FanRingGeometry.h"

#include "TarvelError.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>
#include <numbers>

FanRingGeometry computeFanRingGeometry(qint32 outer, qint32 inner, qint32 span, qint32 lineWidth) {
    if (inner < 0 || inner >= outer)
        throw TarvelError(QCoreApplication::translate(
                              "Shapes", "折扇的内半径（%1）必须不小于 0 且小于外半径（%2）。")
                              .arg(inner)
                              .arg(outer));
    if (span <= 0 || span > 180)
        throw TarvelError(
            QCoreApplication::translate("Shapes", "折扇的角度（%1°）必须大于 0° 且不超过 180°。")
                .arg(span));
    if (qint64(outer) * 2 > maxFanPictureSide)
        throw TarvelError(
            QCoreApplication::translate("Shapes", "折扇的外半径（%1）太大，最大为 %2。")
                .arg(outer)
                .arg(maxFanPictureSide / 2));
    FanRingGeometry ring;
    ring.outer = outer;
    ring.inner = inner;
    ring.span = span;
    ring.lineWidth = std::max(lineWidth, 1);
    // The outline reaches outside the ring by half its width, and by up to its whole width at
    // a mitred corner; the smooth edge one pixel more.
    ring.padding = ring.lineWidth + 1;
    const double half = span * std::numbers::pi / 360.0;
    // The ends of the outer arc give the width; the ends of the inner arc the lowest point.
    const int halfWidth = int(std::ceil(outer * std::sin(half) - 1e-9));
    const int below = int(std::ceil(-inner * std::cos(half) - 1e-9));
    ring.centre = QPoint(ring.padding + halfWidth, ring.padding + outer);
    ring.size = QSize(2 * (ring.padding + halfWidth), ring.centre.y() + below + ring.padding);
    return ring;
}

DrawingSurface renderFanRingPicture(const FanSettingsRecord& settings) {
    const FanRingGeometry ring = computeFanRingGeometry(settings.Radius, settings.InnerRadius,
                                                        settings.Span, settings.LineWidth);
    QImage image(ring.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw TarvelError(QCoreApplication::translate("Shapes", "内存不足，无法画出这把折扇"));
    image.fill(Qt::transparent);
    // Qt's angles run counter-clockwise from three o'clock; the ring is centred on twelve.
    const double first = 90.0 - ring.span / 2.0;
    const QPointF centre(ring.centre);
    const QRectF outerBox(centre - QPointF(ring.outer, ring.outer),
                          QSizeF(2.0 * ring.outer, 2.0 * ring.outer));
    const QRectF innerBox(centre - QPointF(ring.inner, ring.inner),
                          QSizeF(2.0 * ring.inner, 2.0 * ring.inner));
    QPainterPath path;
    path.arcMoveTo(outerBox, first);
    path.arcTo(outerBox, first, ring.span);
    if (ring.inner > 0)
        path.arcTo(innerBox, first + ring.span, -ring.span);
    else
        path.lineTo(centre);
    path.closeSubpath();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(toQColor(settings.LineColor), ring.lineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(toQColor(settings.FillColor));
    painter.drawPath(path);
    painter.end();
    return DrawingSurface::withAlpha(image);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "ImageControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

ImageControl::ImageControl(QWidget* parent, QSize initialSize) : QWidget(parent) {
    // The picture is painted over every pixel it covers: a control that grows repaints only
    // the new part.
    setAttribute(Qt::WA_StaticContents);
    setControlSize(initialSize.width(), initialSize.height());
    setMouseTracking(true);
}

void ImageControl::showPicture(Picture* picture) {
    shown = picture ? picture : &own;
    followPictureSize();
    update();
}

void ImageControl::setPicture(const DrawingSurface& picture) {
    shown->setPicture(picture);
    update();
}

void ImageControl::setPicture(DrawingSurface&& picture) {
    shown->setPicture(std::move(picture));
    update();
}

void ImageControl::setGraphic(const QImage& graphic) {
    shown->setGraphic(graphic);
    update();
}

void ImageControl::clearPicture() {
    shown->clearPicture();
    update();
}

void ImageControl::setTransparent(bool transparent) {
    shown->setTransparent(transparent);
    update();
}

void ImageControl::setControlSize(qint64 w, qint64 h) {
    shown->setSize(w, h);
    followPictureSize();
}

void ImageControl::followPictureSize() {
    const QSize wanted =
        shownScale == 1.0 ? shown->size() : ZoomCache::viewSize(shown->size(), shownScale);
    if (size() != wanted || minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
    if (shown->size() != lastPictureSize) {
        lastPictureSize = shown->size();
        emit pictureResized(lastPictureSize);
    }
}

void ImageControl::setZoom(double zoom, double devicePixelRatio) {
    zoom = std::clamp(zoom, ZoomCache::minimumZoom, ZoomCache::maximumZoom);
    devicePixelRatio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    if (zoom == zoomFactor && devicePixelRatio == pixelRatio)
        return;
    zoomFactor = zoom;
    pixelRatio = devicePixelRatio;
    shownScale = pixelRatio == 1.0 ? zoomFactor : zoomFactor / pixelRatio;
    zoomed.clear();
    followPictureSize();
    update();
}

QPoint ImageControl::toPicture(QPointF at) const {
    if (shownScale == 1.0)
        return at.toPoint();
    return QPoint(int(std::floor(at.x() / shownScale)), int(std::floor(at.y() / shownScale)));
}

QRect ImageControl::toControl(const QRect& area) const {
    if (shownScale == 1.0)
        return area;
    const auto from = [this](int p) { return int(std::floor(p * shownScale)); };
    const auto to = [this](int p) { return int(std::ceil((p + 1) * shownScale)) - 1; };
    return QRect(QPoint(from(area.left()), from(area.top())),
                 QPoint(to(area.right()), to(area.bottom())));
}

void ImageControl::pictureChanged(const QRect& changed) {
    followPictureSize();
    if (shownScale == 1.0) {
        if (changed.isNull())
            update();
        else
            update(changed);
    } else if (changed.isNull() || shown->picture().isEmpty()) {
        zoomed.clear();
        update();
    } else if (!zoomed.isEmpty()) {
        // Only the changed part of the zoomed-out copy is made again.
        const QImage& image = shownImage();
        const QRect area = zoomed.update(image, changed);
        zoomedFor = image.cacheKey();
        if (pixelRatio == 1.0)
            update(area);
        else
            update(QRectF(area.x() / pixelRatio, area.y() / pixelRatio, area.width() / pixelRatio,
                          area.height() / pixelRatio)
                       .toAlignedRect());
    } else {
        update(toControl(changed));
    }
}

const QImage& ImageControl::shownImage() {
    const DrawingSurface& surface = shown->picture();
    if (!surface.transparent)
        return surface.image();
    // Shown as it will be stamped, the key colour left out; made again only when the pixels
    // or the key changed (any write to the pixels changes the image's cache key).
    const TColor key = surface.effectiveTransparentColor();
    if (keyedShownFor != surface.image().cacheKey() || keyedShownKey != key) {
        keyedShown = surface.keyedForDisplay();
        keyedShownFor = surface.image().cacheKey();
        keyedShownKey = key;
    }
    return keyedShown;
}

void ImageControl::paintEvent(QPaintEvent* event) {
    const DrawingSurface& surface = shown->picture();
    if (surface.isEmpty())
        return;
    QPainter painter(this);
    if (shownScale != 1.0) {
        const QImage& image = shownImage();
        if (zoomFactor < 1.0) {
            // The copy is made again when the picture changed without a word to the control.
            if (zoomed.isEmpty() || zoomedFor != image.cacheKey() || zoomed.zoom() != zoomFactor ||
                zoomed.pictureSize() != image.size()) {
                zoomed.rebuild(image, zoomFactor);
                zoomedFor = image.cacheKey();
            }
            if (!zoomed.isEmpty() && pixelRatio == 1.0) {
                const QRect r = event->rect().intersected(zoomed.view().rect());
                painter.drawImage(r.topLeft(), zoomed.view(), r);
                return;
            }
            if (!zoomed.isEmpty()) {
                // The copy has one pixel a device pixel.
                const QRectF r = QRectF(event->rect()).intersected(QRectF(rect()));
                const QRectF source(r.x() * pixelRatio, r.y() * pixelRatio, r.width() * pixelRatio,
                                    r.height() * pixelRatio);
                painter.drawImage(r, zoomed.view(), source);
                return;
            }
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
        }
        // Only the picture pixels the painted rectangle shows are scaled.
        const QRect r = event->rect();
        const QRect source = QRect(QPoint(int(std::floor(r.left() / shownScale)),
                                          int(std::floor(r.top() / shownScale))),
                                   QPoint(int(std::ceil((r.right() + 1) / shownScale)) - 1,
                                          int(std::ceil((r.bottom() + 1) / shownScale)) - 1))
                                 .intersected(image.rect());
        const QRectF target(source.left() * shownScale, source.top() * shownScale,
                            source.width() * shownScale, source.height() * shownScale);
        painter.drawImage(target, image, source);
        return;
    }
    const QImage& image = shownImage();
    const QRect r = event->rect().intersected(image.rect());
    painter.drawImage(r.topLeft(), image, r);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(toPicture(event->position()), event->button());
    QWidget::mousePressEvent(event);
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(toPicture(event->position()));
    QWidget::mouseMoveEvent(event);
}

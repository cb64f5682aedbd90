// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

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
    const QSize wanted = shown->size();
    if (size() != wanted || minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

void ImageControl::pictureChanged(const QRect& changed) {
    followPictureSize();
    if (changed.isNull())
        update();
    else
        update(changed);
}

void ImageControl::paintEvent(QPaintEvent* event) {
    const DrawingSurface& surface = shown->picture();
    if (surface.isEmpty())
        return;
    QPainter painter(this);
    if (surface.transparent) {
        // Shown as it will be stamped, the key colour left out; made again only when the
        // pixels or the key changed (any write to the pixels changes the image's cache key).
        const TColor key = surface.effectiveTransparentColor();
        if (keyedShownFor != surface.image().cacheKey() || keyedShownKey != key) {
            keyedShown = surface.keyedForDisplay();
            keyedShownFor = surface.image().cacheKey();
            keyedShownKey = key;
        }
        const QRect r = event->rect().intersected(keyedShown.rect());
        painter.drawImage(r.topLeft(), keyedShown, r);
    } else {
        const QRect r = event->rect().intersected(surface.image().rect());
        painter.drawImage(r.topLeft(), surface.image(), r);
    }
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->position().toPoint(), event->button());
    QWidget::mousePressEvent(event);
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

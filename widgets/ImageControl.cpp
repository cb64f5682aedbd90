#include "ImageControl.h"

#include "TarvelError.h"

#include <QMouseEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent, QSize initialSize) : QWidget(parent) {
    setControlSize(initialSize.width(), initialSize.height());
    setMouseTracking(true);
}

DrawingSurface& ImageControl::canvas() {
    if (kind == Kind::Graphic)
        throw TarvelError(QStringLiteral("Can only modify an image if it contains a bitmap"));
    if (kind == Kind::Empty) {
        surface = DrawingSurface(width(), height());
        surface.transparent = isTransparent;
        kind = Kind::Bitmap;
    }
    return surface;
}

void ImageControl::setPicture(const DrawingSurface& picture) {
    surface = picture;
    kind = Kind::Bitmap;
    update();
}

void ImageControl::setPicture(DrawingSurface&& picture) {
    surface = std::move(picture);
    kind = Kind::Bitmap;
    update();
}

void ImageControl::setGraphic(const QImage& graphic) {
    surface = DrawingSurface(graphic);
    kind = Kind::Graphic;
    update();
}

void ImageControl::clearPicture() {
    surface = DrawingSurface();
    kind = Kind::Empty;
    update();
}

void ImageControl::setTransparent(bool transparent) {
    isTransparent = transparent;
    surface.transparent = transparent;
    update();
}

void ImageControl::setControlSize(int w, int h) {
    setFixedSize(std::max(w, 0), std::max(h, 0));
}

void ImageControl::pictureChanged() { update(); }

void ImageControl::paintEvent(QPaintEvent* event) {
    if (surface.isEmpty()) return;
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
        painter.drawImage(0, 0, keyedShown);
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

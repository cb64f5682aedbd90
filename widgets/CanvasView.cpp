// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "CanvasView.h"

#include "ImageControl.h"
#include "ZoomCache.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The zooms the steps go through.
constexpr std::array zoomSteps = {1.0 / 20, 1.0 / 16, 1.0 / 12, 1.0 / 10, 1.0 / 8, 1.0 / 6,
                                  1.0 / 5,  1.0 / 4,  1.0 / 3,  1.0 / 2,  2.0 / 3, 1.0,
                                  1.5,      2.0,      3.0,      4.0,      6.0,     8.0};

} // namespace

CanvasView::CanvasView(QWidget* parent) : QScrollArea(parent) {}

void CanvasView::setCanvas(ImageControl* canvas) {
    shownCanvas = canvas;
    setWidget(canvas);
    canvas->installEventFilter(this);
}

double CanvasView::zoom() const {
    return shownCanvas ? shownCanvas->zoom() : 1.0;
}

double CanvasView::zoomStep(double zoom, int direction) {
    if (direction > 0) {
        for (double step : zoomSteps)
            if (step > zoom * (1 + 1e-6))
                return step;
        return zoomSteps.back();
    }
    for (auto step = zoomSteps.rbegin(); step != zoomSteps.rend(); ++step)
        if (*step < zoom * (1 - 1e-6))
            return *step;
    return zoomSteps.front();
}

QString CanvasView::zoomText(double zoom) {
    return QString::number(std::round(zoom * 1000) / 10, 'g', 6).append(QLatin1Char('%'));
}

void CanvasView::zoomAbout(double zoom, QPointF anchor) {
    if (!shownCanvas)
        return;
    zoom = std::clamp(zoom, ZoomCache::minimumZoom, ZoomCache::maximumZoom);
    fitted = false;
    const double ratio = devicePixelRatioF();
    if (zoom == shownCanvas->zoom() && ratio == pixelRatio)
        return;
    pixelRatio = ratio;
    // The picture point under the anchor, in picture pixels.
    const QPointF point = (anchor - QPointF(shownCanvas->pos())) / shownCanvas->scale();
    shownCanvas->setZoom(zoom, ratio);
    const double scale = shownCanvas->scale();
    horizontalScrollBar()->setValue(int(std::lround(point.x() * scale - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(point.y() * scale - anchor.y())));
    emit zoomChanged(zoom);
}

void CanvasView::setZoom(double zoom) {
    zoomAbout(zoom, QPointF(viewport()->width(), viewport()->height()) / 2);
}

double CanvasView::fittingZoom() const {
    if (!shownCanvas)
        return 1.0;
    const QSize area = maximumViewportSize();
    const QSize picture = shownCanvas->shownSize();
    if (picture.isEmpty() || area.isEmpty())
        return 1.0;
    const double zoom = devicePixelRatioF() * std::min(double(area.width()) / picture.width(),
                                                       double(area.height()) / picture.height());
    return std::clamp(zoom, ZoomCache::minimumZoom, ZoomCache::maximumZoom);
}

void CanvasView::fitToWindow() {
    zoomAbout(fittingZoom(), QPointF(0, 0));
    fitted = true;
}

void CanvasView::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    // On a high-density screen the zoom counts device pixels from the start.
    if (devicePixelRatioF() != pixelRatio)
        zoomAbout(zoom(), QPointF(0, 0));
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    // A fitted picture stays fitted as the window changes size, until another zoom is chosen.
    if (fitted)
        fitToWindow();
}

void CanvasView::actualSize() {
    setZoom(1.0);
}

void CanvasView::zoomIn() {
    setZoom(zoomStep(zoom(), 1));
}

void CanvasView::zoomOut() {
    setZoom(zoomStep(zoom(), -1));
}

void CanvasView::showNewPicture() {
    if (!shownCanvas || !isVisible())
        return;
    const QSize area = maximumViewportSize();
    const QSize picture = shownCanvas->shownSize();
    const double ratio = devicePixelRatioF();
    if (picture.width() > area.width() * ratio || picture.height() > area.height() * ratio)
        fitToWindow();
    else
        zoomAbout(1.0, QPointF(0, 0));
}

void CanvasView::wheelZoom(QWheelEvent* wheel, QPointF onViewport) {
    // A notch is one step; a touchpad's small turns add up to notches.
    wheelRemainder += wheel->angleDelta().y();
    for (; wheelRemainder >= 120; wheelRemainder -= 120)
        zoomAbout(zoomStep(zoom(), 1), onViewport);
    for (; wheelRemainder <= -120; wheelRemainder += 120)
        zoomAbout(zoomStep(zoom(), -1), onViewport);
    wheel->accept();
}

bool CanvasView::viewportEvent(QEvent* event) {
    // Ctrl+wheel beside the canvas; over it the canvas's filter sees it first.
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            wheelZoom(wheel, wheel->position());
            return true;
        }
    }
    return QScrollArea::viewportEvent(event);
}

bool CanvasView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != shownCanvas)
        return QScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            wheelZoom(wheel, QPointF(shownCanvas->pos()) + wheel->position());
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier)
            break;
        if (!key->isAutoRepeat()) {
            const bool held = event->type() == QEvent::KeyPress;
            if (held != spaceHeld) {
                spaceHeld = held;
                if (held)
                    QApplication::setOverrideCursor(Qt::OpenHandCursor);
                else
                    QApplication::restoreOverrideCursor();
            }
            dragging = dragging && held;
        }
        return true;
    }
    case QEvent::FocusOut:
        if (spaceHeld)
            QApplication::restoreOverrideCursor();
        spaceHeld = dragging = false;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (spaceHeld) {
            // The press drags the picture and places nothing.
            dragging = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            dragFrom = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (dragging) {
            const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            const QPoint by = at - dragFrom;
            dragFrom = at;
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - by.x());
            verticalScrollBar()->setValue(verticalScrollBar()->value() - by.y());
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (dragging || spaceHeld) {
            dragging = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

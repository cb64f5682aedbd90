// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The image control every picture of the program lives in: the work canvas, the hidden
// snapshot and loader, and the dialogs' previews. It holds a picture that may be empty; the
// first drawing on an empty control creates a white bitmap of the control's size.
#pragma once

#include "DrawingSurface.h"
#include "Picture.h"
#include "ZoomCache.h"

#include <QWidget>

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr, QSize initialSize = QSize(105, 105));

    // Shows a picture kept elsewhere (the composition's canvas, say) instead of the control's
    // own; the control takes that picture's size. nullptr goes back to the control's own.
    void showPicture(Picture* picture);

    bool hasPicture() const { return shown->hasPicture(); }
    bool holdsBitmap() const { return shown->holdsBitmap(); }
    // The picture as it is (an empty surface when there is none).
    const DrawingSurface& picture() const { return shown->picture(); }
    // The drawing surface: creates a white bitmap of the control's size, taking the
    // control's transparency, when the control has no picture; fails for a picture that is
    // not a bitmap.
    DrawingSurface& canvas() { return shown->canvas(); }
    void setPicture(const DrawingSurface& picture);
    void setPicture(DrawingSurface&& picture);
    // A picture that is not a bitmap (a decoded graphic): it can be shown and copied but not
    // drawn on.
    void setGraphic(const QImage& graphic);
    void clearPicture();

    bool transparent() const { return shown->transparent(); }
    void setTransparent(bool transparent);

    // The control's size is the canvas size.
    void setControlSize(qint64 width, qint64 height);
    // Call after drawing on canvas(), or after the shown picture changed elsewhere, so the
    // screen follows; only the rectangle given is painted again when one is given.
    void pictureChanged(const QRect& changed = QRect());

    // The zoom the picture is shown at, 1 for one picture pixel a screen pixel (as every
    // dialog's preview shows it): the control's size follows it, and presses and moves report
    // picture pixels. Below 1 the control paints from a smoothly downscaled copy that follows
    // pictureChanged; above 1 each picture pixel is a square.
    // On a high-density screen the zoom counts device pixels, given their ratio to the
    // control's pixels: at 100 % one picture pixel is one device pixel.
    void setZoom(double zoom, double devicePixelRatio = 1.0);
    double zoom() const { return zoomFactor; }
    // Control pixels a picture pixel: the zoom over the device pixel ratio.
    double scale() const { return shownScale; }
    // The picture's size, which the control has at 100 %.
    QSize shownSize() const { return shown->size(); }
    // The picture pixel under a point of the control.
    QPoint toPicture(QPointF at) const;
    // The part of the control that shows a rectangle of the picture.
    QRect toControl(const QRect& area) const;

signals:
    // Positions are picture pixels.
    void mousePressed(QPoint position, Qt::MouseButton button);
    void mouseMoved(QPoint position);
    // The picture took another size (a new canvas, an opened work).
    void pictureResized(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void followPictureSize();
    // The picture as painted: the keyed copy of a transparent picture, or the picture.
    const QImage& shownImage();
    Picture own;
    Picture* shown = &own;
    // A transparent picture as last shown, with what it was made from.
    QImage keyedShown;
    qint64 keyedShownFor = 0;
    TColor keyedShownKey = 0;
    double zoomFactor = 1.0;
    double pixelRatio = 1.0;
    double shownScale = 1.0;
    QSize lastPictureSize;
    // The zoomed-out copy, with the cache key of the image it was last brought up to date with.
    ZoomCache zoomed;
    qint64 zoomedFor = 0;
};

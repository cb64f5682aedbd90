// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The scrollable area the work canvas is shown in, and its zoom: fit to the window, actual
// size, steps in and out, Ctrl+wheel about the pointer; panning with the scroll bars, the wheel
// and Space+drag.
#pragma once

#include <QPoint>
#include <QScrollArea>

class ImageControl;
class QWheelEvent;

class CanvasView final : public QScrollArea {
    Q_OBJECT
public:
    explicit CanvasView(QWidget* parent = nullptr);

    // The control shown, which the view zooms.
    void setCanvas(ImageControl* canvas);
    ImageControl* canvas() const { return shownCanvas; }

    double zoom() const;
    // Zooms keeping the picture point under anchor (a point of the viewport) under it.
    void zoomAbout(double zoom, QPointF anchor);
    // Zooms keeping the middle of the viewport where it is.
    void setZoom(double zoom);
    // The zoom that shows the whole picture in the viewport without scroll bars.
    double fittingZoom() const;
    void fitToWindow();
    void actualSize();
    void zoomIn();
    void zoomOut();
    // A picture that has just taken its size: fitted when it is larger than the viewport,
    // otherwise at its actual size.
    void showNewPicture();

    // The zoom one step above (direction 1) or below (-1) the one given.
    static double zoomStep(double zoom, int direction);
    // The zoom as the status bar shows it: "25%", "12.5%".
    static QString zoomText(double zoom);

signals:
    void zoomChanged(double zoom);

protected:
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wheelZoom(QWheelEvent* wheel, QPointF onViewport);
    ImageControl* shownCanvas = nullptr;
    // Shown by fitToWindow, and kept so while the window changes size.
    bool fitted = false;
    // Device pixels a pixel of the view, as the zoom was last shown with.
    double pixelRatio = 1.0;
    // Space is held: a press of the left button drags the picture instead of reaching it.
    bool spaceHeld = false;
    bool dragging = false;
    QPoint dragFrom;
    int wheelRemainder = 0;
};

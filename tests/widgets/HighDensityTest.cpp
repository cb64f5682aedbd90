// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The canvas on a screen of two device pixels a pixel: 100 % shows one canvas pixel a device
// pixel, and presses still reach the canvas pixel under them.
#include "CanvasView.h"
#include "ImageControl.h"
#include "ZoomCache.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

TEST(HighDensity, OneCanvasPixelADevicePixelAtActualSize) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QImage picture(400, 300, QImage::Format_RGB32);
    QRandomGenerator random(9);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
    CanvasView view;
    view.resize(600, 500);
    auto* canvas = new ImageControl(nullptr, picture.size());
    canvas->setPicture(DrawingSurface(picture));
    view.setCanvas(canvas);
    view.show();
    ASSERT_EQ(view.devicePixelRatioF(), 2.0);

    // Shown, the view counts its 100 % in device pixels.
    EXPECT_EQ(view.zoom(), 1.0);
    EXPECT_EQ(canvas->size(), QSize(200, 150));
    QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1.0);
    EXPECT_EQ(shown, picture);

    QPoint pressed;
    QObject::connect(canvas, &ImageControl::mousePressed,
                     [&](QPoint at, Qt::MouseButton) { pressed = at; });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(50.75, 30.25), QPointF(50.75, 30.25),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    EXPECT_EQ(pressed, QPoint(101, 60));

    // Zoomed out, the copy is drawn one pixel a device pixel too.
    view.setZoom(0.5);
    EXPECT_EQ(canvas->size(), QSize(100, 75));
    shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1.0);
    ZoomCache fresh;
    fresh.rebuild(picture, 0.5);
    EXPECT_EQ(shown, fresh.view());
}

} // namespace

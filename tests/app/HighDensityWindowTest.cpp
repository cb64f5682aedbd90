// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window on a screen of two device pixels a pixel: at 100 % the work shows one canvas
// pixel a device pixel, and the next run opens the window where, as large and as zoomed as
// this one left it, maximised or not.
#include "CanvasView.h"
#include "ImageControl.h"
#include "Unit1.h"

#include <QApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(HighDensityWindow, ActualSizeIsADevicePixelAndTheWindowComesBack) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QTemporaryDir folder;
    QSettings settings(folder.filePath(QStringLiteral("tarvel.ini")), QSettings::IniFormat);

    QImage picture(300, 200, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
    {
        TForm1 form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_EQ(form.devicePixelRatioF(), 2.0);
        TSetStruct canvas;
        canvas.Width = picture.width();
        canvas.Height = picture.height();
        form.composition().newCanvas(canvas, QImage());
        form.Image1->canvas().draw(0, 0, DrawingSurface(picture));
        form.ScrollBox1->actualSize();
        EXPECT_EQ(form.StatusZoom->text(), QStringLiteral("100%"));
        EXPECT_EQ(form.Image1->size(), QSize(150, 100));
        QImage shown = form.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        shown.setDevicePixelRatio(1.0);
        EXPECT_EQ(shown, picture);

        form.setGeometry(120, 80, 900, 640);
        form.ScrollBox1->setZoom(0.5);
        form.saveView(settings);
    }
    TForm1 next;
    next.restoreView(settings);
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    EXPECT_EQ(next.geometry(), QRect(120, 80, 900, 640));
    EXPECT_EQ(next.ScrollBox1->zoom(), 0.5);

    next.showMaximized();
    QTRY_VERIFY(next.isMaximized());
    next.saveView(settings);
    TForm1 last;
    last.restoreView(settings);
    last.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&last));
    EXPECT_TRUE(last.isMaximized());
    // Un-maximised, it goes back to the size and place it had before.
    last.showNormal();
    QTRY_COMPARE(last.geometry(), QRect(120, 80, 900, 640));
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The image control: an empty control gets a white bitmap of its size on first drawing, a
// non-bitmap picture refuses drawing, and a transparent picture is shown without its key.
#include "ImageControl.h"
#include "TarvelError.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ImageControlTest : ::testing::Test {
    ImageControl image{nullptr, QSize(30, 20)};
};

TEST_F(ImageControlTest, FirstDrawingCreatesAWhiteBitmapOfTheControlSize) {
    EXPECT_FALSE(image.hasPicture());
    EXPECT_TRUE(image.picture().isEmpty());
    image.setTransparent(true);
    DrawingSurface& canvas = image.canvas();
    EXPECT_TRUE(image.hasPicture());
    EXPECT_TRUE(image.holdsBitmap());
    EXPECT_EQ(canvas.size(), QSize(30, 20));
    EXPECT_EQ(canvas.pixel(29, 19), clWhite);
    EXPECT_TRUE(canvas.transparent);
    // Drawing again reaches the same picture.
    canvas.setPixel(3, 4, clRed);
    EXPECT_EQ(image.canvas().pixel(3, 4), clRed);
    image.clearPicture();
    EXPECT_FALSE(image.hasPicture());
    image.setControlSize(8, 6);
    EXPECT_EQ(image.canvas().size(), QSize(8, 6));
}

TEST_F(ImageControlTest, APictureThatIsNotABitmapCannotBeDrawnOn) {
    QImage graphic(4, 4, QImage::Format_ARGB32);
    graphic.fill(Qt::green);
    image.setGraphic(graphic);
    EXPECT_TRUE(image.hasPicture());
    EXPECT_FALSE(image.holdsBitmap());
    EXPECT_EQ(image.picture().pixel(1, 1), 0x0000FF00u);
    try {
        image.canvas();
        ADD_FAILURE() << "drawing on a graphic did not fail";
    } catch (const TarvelError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Can only modify an image if it contains a bitmap"));
    }
}

TEST_F(ImageControlTest, ATransparentPictureIsShownWithoutItsKeyColour) {
    DrawingSurface picture(4, 4);
    picture.brush.color = clFuchsia;
    picture.fillRect(0, 0, 4, 4);
    picture.setPixel(1, 1, clRed);
    picture.transparent = true;
    image.setControlSize(4, 4);
    image.setPicture(picture);
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::blue);
    parent.setPalette(palette);
    image.setParent(&parent);
    parent.resize(4, 4);
    const QImage shown = parent.grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::blue));
    image.setParent(nullptr);
}

TEST_F(ImageControlTest, PressesAndMovesReportTheCanvasPoint) {
    QPoint pressedAt, movedTo;
    Qt::MouseButton pressedWith = Qt::NoButton;
    QObject::connect(&image, &ImageControl::mousePressed, [&](QPoint at, Qt::MouseButton b) {
        pressedAt = at;
        pressedWith = b;
    });
    QObject::connect(&image, &ImageControl::mouseMoved, [&](QPoint at) { movedTo = at; });
    image.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&image));
    QTest::mousePress(&image, Qt::MiddleButton, Qt::NoModifier, QPoint(7, 9));
    EXPECT_EQ(pressedAt, QPoint(7, 9));
    EXPECT_EQ(pressedWith, Qt::MiddleButton);
    QTest::mouseMove(&image, QPoint(12, 3));
    QApplication::processEvents();
    EXPECT_EQ(movedTo, QPoint(12, 3));
}

} // namespace

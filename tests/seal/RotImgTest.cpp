// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// TRotateImage: when RotatedGraphic is rebuilt and what it holds, ImageCanvas, the display
// rectangle, auto size, loading, and what the control paints.
#include "RotImg.h"

#include "TarvelError.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

namespace {

class RotateImageTest : public ::testing::Test {
protected:
    // Counts the rebuilds of a control.
    int watch(TRotateImage& image) {
        rebuilds = 0;
        QObject::connect(&image, &TRotateImage::rotatedRebuilt, [this] { ++rebuilds; });
        return rebuilds;
    }
    int rebuilds = 0;
};

DrawingSurface numberedPicture(int w, int h) {
    DrawingSurface picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, TColor(((y * w + x) * 2654435761u) & 0x00FEFEFE));
    return picture;
}

} // namespace

TEST_F(RotateImageTest, StartsEmptyAt105Square) {
    TRotateImage image;
    EXPECT_EQ(image.size(), QSize(105, 105));
    EXPECT_TRUE(image.pictureIsEmpty());
    EXPECT_TRUE(image.RotatedGraphic().isEmpty());
    EXPECT_EQ(image.Angle(), 0);
    EXPECT_TRUE(image.UniqueSize());
    EXPECT_FALSE(image.Center());
    EXPECT_FALSE(image.Stretch());
    EXPECT_FALSE(image.Transparent());
    EXPECT_FALSE(image.AutoSize());
    EXPECT_FALSE(image.PaletteNotify());
}

TEST_F(RotateImageTest, SameAngleTwiceRebuildsOnce) {
    TRotateImage image;
    image.setPicture(numberedPicture(20, 10));
    watch(image);
    image.setAngle(30);
    image.setAngle(30);
    EXPECT_EQ(rebuilds, 1);
    image.setAngle(390); // a different value, even though it turns the same way
    EXPECT_EQ(rebuilds, 2);
    // Each property rebuilds on a change only.
    image.setUniqueSize(true);
    image.setCenter(false);
    image.setStretch(false);
    image.setTransparent(false);
    EXPECT_EQ(rebuilds, 2);
    image.setUniqueSize(false);
    image.setCenter(true);
    image.setStretch(true);
    image.setTransparent(true);
    EXPECT_EQ(rebuilds, 6);
    image.setIncrementalDisplay(true);
    EXPECT_EQ(rebuilds, 6);
}

TEST_F(RotateImageTest, EmptyingThePictureGivesZeroByZero) {
    TRotateImage image;
    image.setPicture(numberedPicture(30, 30));
    image.setAngle(20);
    EXPECT_FALSE(image.RotatedGraphic().isEmpty());
    image.clearPicture();
    EXPECT_EQ(image.RotatedGraphic().size(), QSize(0, 0));
    // A bitmap without pixels gives nothing either.
    image.setPicture(DrawingSurface(0, 12));
    EXPECT_EQ(image.RotatedGraphic().size(), QSize(0, 0));
}

TEST_F(RotateImageTest, ImageCanvasMakesABitmapOfTheControlsSize) {
    TRotateImage image;
    image.setControlSize(70, 70);
    watch(image);
    {
        ImageCanvasEdit canvas = image.ImageCanvas();
        EXPECT_TRUE(image.pictureHoldsBitmap());
        EXPECT_EQ(canvas->size(), QSize(70, 70));
        EXPECT_EQ(canvas->pixel(35, 35), clWhite);
        canvas->brush.color = clBlue;
        canvas->fillRect(0, 0, 10, 10);
        canvas->transparentColor = clWhite;
        EXPECT_EQ(rebuilds, 1); // the new bitmap is a change of the picture
    }
    // Drawing through the canvas is a change too.
    EXPECT_EQ(rebuilds, 2);
    const DrawingSurface& turned = image.RotatedGraphic();
    ASSERT_EQ(turned.size(), QSize(102, 102));
    EXPECT_EQ(turned.pixel(5, 5), clBlue);
    EXPECT_EQ(turned.pixel(101, 101), clWhite); // the picture's transparent colour as ground
    EXPECT_EQ(turned.transparentColor, std::optional<TColor>(clWhite));
}

TEST_F(RotateImageTest, ImageCanvasRefusesOtherGraphics) {
    TRotateImage image;
    QImage photo(8, 6, QImage::Format_RGB32);
    photo.fill(Qt::green);
    image.setPictureGraphic(photo);
    try {
        (void)image.ImageCanvas();
        FAIL() << "no error raised";
    } catch (const TarvelError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Can only modify an image if it contains a bitmap"));
    }
    EXPECT_FALSE(image.pictureHoldsBitmap());
    EXPECT_EQ(image.pictureGraphic(), photo);
}

TEST_F(RotateImageTest, OtherGraphicsTurnOnTheControlsColour) {
    TRotateImage image;
    image.setColor(clWhite);
    image.setUniqueSize(false);
    QImage photo(40, 40, QImage::Format_ARGB32);
    photo.fill(QColor(0, 0, 255));
    photo.setPixel(0, 0, qRgba(0, 0, 0, 0)); // a clear pixel shows the colour beneath
    image.setPictureGraphic(photo);
    EXPECT_EQ(image.RotatedGraphic().pixel(0, 0), clWhite);
    image.setAngle(45);
    const DrawingSurface& turned = image.RotatedGraphic();
    ASSERT_EQ(turned.size(), QSize(56, 56));
    EXPECT_EQ(turned.pixel(0, 0), clWhite);
    EXPECT_EQ(turned.pixel(55, 55), clWhite);
    EXPECT_EQ(turned.pixel(28, 28), clBlue);
    EXPECT_EQ(turned.transparentColor, std::optional<TColor>(clWhite));
    // A new colour rebuilds with the new ground.
    watch(image);
    image.setColor(clBlack);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(image.RotatedGraphic().pixel(0, 0), clBlack);
}

TEST_F(RotateImageTest, WholeTurnsKeepThePixels) {
    TRotateImage image;
    const DrawingSurface picture = numberedPicture(50, 30);
    image.setPicture(picture);
    for (long double degrees : {0.0L, 360.0L, -720.0L}) {
        image.setAngle(degrees);
        const DrawingSurface& turned = image.RotatedGraphic();
        ASSERT_EQ(turned.size(), QSize(61, 61)) << double(degrees);
        EXPECT_EQ(turned.image().copy(0, 0, 50, 30), picture.image());
    }
}

TEST_F(RotateImageTest, QuarterTurnWithoutUniqueSize) {
    TRotateImage image;
    image.setUniqueSize(false);
    const DrawingSurface picture = numberedPicture(51, 37);
    image.setPicture(picture);
    image.setAngle(90);
    const DrawingSurface& turned = image.RotatedGraphic();
    ASSERT_EQ(turned.size(), QSize(37, 51));
    for (int y = 0; y < 51; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(turned.pixel(x, y), picture.pixel(50 - y, x));
    // The picture bitmap was brought to 32 bits by the turn.
    EXPECT_EQ(image.pictureBitmap().format(), DrawingSurface::Format::Bit32);
}

TEST_F(RotateImageTest, ThirtyDegreesSquareAndCentre) {
    TRotateImage image;
    DrawingSurface picture = numberedPicture(70, 70);
    picture.transparentColor = clFuchsia;
    image.setPicture(picture);
    image.setUniqueSize(false);
    image.setAngle(30);
    EXPECT_EQ(image.RotatedGraphic().size(), QSize(95, 95));
    const QImage turned = image.RotatedGraphic().image();
    image.setUniqueSize(true);
    ASSERT_EQ(image.RotatedGraphic().size(), QSize(102, 102));
    EXPECT_EQ(image.RotatedGraphic().image().copy(0, 0, 95, 95), turned);
    image.setCenter(true);
    EXPECT_EQ(image.RotatedGraphic().image().copy(3, 3, 95, 95), turned);
    EXPECT_EQ(image.RotatedGraphic().pixel(1, 1), clFuchsia);
    EXPECT_FALSE(image.RotatedGraphic().transparent);
    image.setTransparent(true);
    EXPECT_TRUE(image.RotatedGraphic().transparent);
    EXPECT_TRUE(image.pictureBitmap().transparent);
    EXPECT_EQ(image.RotatedGraphic().transparentColor, std::optional<TColor>(clFuchsia));
}

TEST_F(RotateImageTest, AutomaticTransparentColourIsTheBottomLeftPixel) {
    TRotateImage image;
    DrawingSurface picture(10, 10);
    picture.brush.color = 0x00345678;
    picture.fillRect(0, 9, 1, 10);
    image.setPicture(picture);
    image.setAngle(45);
    EXPECT_EQ(image.RotatedGraphic().pixel(0, 0), 0x00345678u);
    EXPECT_EQ(image.RotatedGraphic().transparentColor, std::optional<TColor>(0x00345678));
}

TEST_F(RotateImageTest, DisplayRectFollowsStretchAndCentre) {
    TRotateImage image;
    image.setControlSize(150, 120);
    image.setPicture(numberedPicture(30, 30)); // a 45 x 45 square
    EXPECT_EQ(image.DisplayRect(), QRect(0, 0, 45, 45));
    image.setCenter(true);
    EXPECT_EQ(image.DisplayRect(), QRect(52, 37, 45, 45));
    image.setControlSize(20, 20);
    EXPECT_EQ(image.DisplayRect(), QRect(-12, -12, 45, 45));
    image.setStretch(true);
    EXPECT_EQ(image.DisplayRect(), QRect(0, 0, 20, 20));
}

TEST_F(RotateImageTest, AutoSizeFollowsTheTurnedPicture) {
    TRotateImage image;
    image.setUniqueSize(false);
    image.setPicture(numberedPicture(70, 70));
    image.setAutoSize(true);
    EXPECT_EQ(image.size(), QSize(70, 70));
    image.setAngle(30);
    EXPECT_EQ(image.size(), QSize(95, 95));
    image.setAlign(TRotateImage::alTop);
    int w = 500, h = 500;
    EXPECT_TRUE(image.CanAutoSize(w, h));
    EXPECT_EQ(w, 500);
    EXPECT_EQ(h, 95);
    image.setAlign(TRotateImage::alClient);
    w = h = 7;
    EXPECT_TRUE(image.CanAutoSize(w, h));
    EXPECT_EQ(QSize(w, h), QSize(7, 7));
}

TEST_F(RotateImageTest, LoadingRebuildsOnceAtTheEnd) {
    TRotateImage image;
    watch(image);
    image.beginLoading();
    image.setPicture(numberedPicture(10, 10));
    image.setAngle(15);
    image.setCenter(true);
    EXPECT_EQ(rebuilds, 0);
    EXPECT_TRUE(image.RotatedGraphic().isEmpty());
    image.Loaded();
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(image.RotatedGraphic().size(), QSize(17, 17));
}

TEST_F(RotateImageTest, OpaqueOnlyWhenAnOpaquePictureCoversTheControl) {
    TRotateImage image;
    image.setControlSize(20, 20);
    image.setPicture(numberedPicture(40, 40));
    image.setAngle(1); // the earlier turned picture covers the control from now on
    EXPECT_TRUE(image.testAttribute(Qt::WA_OpaquePaintEvent));
    image.setTransparent(true);
    EXPECT_FALSE(image.testAttribute(Qt::WA_OpaquePaintEvent));
    image.clearPicture();
    EXPECT_FALSE(image.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(RotateImageTest, PaintsTheTurnedPictureLeavingOutItsKey) {
    TRotateImage image;
    image.setControlSize(80, 80);
    image.setTransparent(true);
    DrawingSurface picture(20, 20);
    picture.brush.color = clFuchsia;
    picture.fillRect(0, 0, 20, 20);
    picture.brush.color = clBlue;
    picture.fillRect(0, 0, 10, 10);
    picture.transparentColor = clFuchsia;
    image.setPicture(picture);

    QImage shown(80, 80, QImage::Format_RGB32);
    shown.fill(Qt::green);
    image.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(15, 15), qRgb(0, 255, 0)); // the key lets the ground show
    EXPECT_EQ(shown.pixel(70, 70), qRgb(0, 255, 0)); // outside the picture

    image.clearPicture();
    shown.fill(Qt::green);
    image.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 255, 0));
}

TEST_F(RotateImageTest, ProgressReachesTheHandler) {
    TRotateImage image;
    int calls = 0;
    quint8 percent = 0;
    image.OnProgress = [&](QObject* sender, TRotateImage::TProgressStage stage, quint8 done, bool,
                           const QRect&, const QString& msg) {
        ++calls;
        percent = done;
        EXPECT_EQ(sender, &image);
        EXPECT_EQ(stage, TRotateImage::psRunning);
        EXPECT_EQ(msg, QStringLiteral("loading"));
    };
    image.PictureProgress(TRotateImage::psRunning, 40, true, QRect(), QStringLiteral("loading"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(percent, 40);
    QImage indexed(2, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6)});
    indexed.fill(0);
    image.setPictureGraphic(indexed);
    EXPECT_EQ(image.GetPalette(), QList<QRgb>({qRgb(1, 2, 3), qRgb(4, 5, 6)}));
}

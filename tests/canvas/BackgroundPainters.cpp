// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The tile, stretch and centre painters: tile counts and positions, the truncating centre
// offset, nearest-pixel stretching and where each source pixel lands on the canvas.
#include "BackgroundPainters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Every pixel of the picture differs from its neighbours: (x, y, 77) plus a salt.
QImage numbered(int width, int height, int salt = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x + salt) & 255, (y + salt) & 255, (x / 256 + y / 256 * 16 + salt) & 255));
    return image;
}

TColor canvasPixel(const DrawingSurface& canvas, int x, int y) {
    return canvas.pixel(x, y);
}
TColor picturePixel(const QImage& image, int x, int y) {
    return fromRgb(image.pixel(x, y));
}

// The obvious way: one block copy per listed tile.
DrawingSurface tiledByBlockCopies(QSize canvasSize, const QImage& picture) {
    DrawingSurface canvas(canvasSize.width(), canvasSize.height());
    const DrawingSurface bitmap = plainBitmapCopy(picture);
    for (const QPoint& at : tilePositions(canvasSize, picture.size()))
        canvas.blockCopy(at.x(), at.y(), bitmap);
    return canvas;
}

} // namespace

TEST(TilePositions, ThreeHundredByTwoHundredOnEightHundredBySixHundred) {
    const std::vector<QPoint> positions = tilePositions(QSize(800, 600), QSize(300, 200));
    ASSERT_EQ(positions.size(), 4u * 5u);
    const int xs[] = {0, 300, 600, 900};
    const int ys[] = {0, 200, 400, 600, 800};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(positions[size_t(r * 4 + c)], QPoint(xs[c], ys[r]));
}

TEST(TilePositions, CountsUseIntegerDivisionPlusTwo) {
    EXPECT_EQ(tilePositions(QSize(64, 64), QSize(64, 64)).size(), 3u * 3u);
    EXPECT_EQ(tilePositions(QSize(0, 0), QSize(10, 10)).size(), 2u * 2u);
    EXPECT_EQ(tilePositions(QSize(799, 10), QSize(800, 3)).size(), 2u * 5u);
    EXPECT_TRUE(tilePositions(QSize(100, 100), QSize(0, 5)).empty());
}

TEST(TileBackground, EveryCanvasPixelComesFromTheWrappedPicture) {
    const QImage picture = numbered(300, 200);
    DrawingSurface canvas(800, 600);
    paintBackground(canvas, picture, plTile);
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 3)
            ASSERT_EQ(canvasPixel(canvas, x, y), picturePixel(picture, x % 300, y % 200))
                << x << "," << y;
    // The clipped corner tile and the last pixel.
    EXPECT_EQ(canvasPixel(canvas, 799, 599), picturePixel(picture, 199, 199));
    EXPECT_EQ(canvasPixel(canvas, 600, 400), picturePixel(picture, 0, 0));
}

TEST(TileBackground, RowLayingEqualsOneBlockCopyPerTile) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const QSize canvasSize(int(random() % 300), int(random() % 200));
        const QImage picture = numbered(1 + int(random() % 90), 1 + int(random() % 70), round);
        DrawingSurface canvas(canvasSize.width(), canvasSize.height());
        tileBackground(canvas, plainBitmapCopy(picture));
        EXPECT_EQ(canvas.image(), tiledByBlockCopies(canvasSize, picture).image())
            << "round " << round << " canvas " << canvasSize.width() << "x" << canvasSize.height();
    }
    // A 24-bit canvas takes the block-copy way and lands the same pixels.
    const QImage picture = numbered(13, 9);
    DrawingSurface canvas24(50, 40, DrawingSurface::Format::Bit24);
    tileBackground(canvas24, plainBitmapCopy(picture));
    const DrawingSurface reference = tiledByBlockCopies(QSize(50, 40), picture);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(canvas24.pixel(x, y), reference.pixel(x, y));
}

// A decoded picture is laid without a copy of its own, and a 24-bit one lands the colours of
// its 32-bit conversion in every layout.
TEST(PaintBackground, TakesDecodedPicturesWithoutACopy) {
    const QImage picture = numbered(37, 23, 3);
    const QImage picture24 = picture.convertToFormat(QImage::Format_BGR888);
    for (const QImage& decoded : {picture, picture24})
        EXPECT_EQ(plainBitmapCopy(decoded).image().constBits(), decoded.constBits());
    for (const PictureLayout layout : {plTile, plStretch, plCenter}) {
        DrawingSurface canvas(90, 61), canvas24(90, 61);
        paintBackground(canvas, picture, layout);
        paintBackground(canvas24, picture24, layout);
        EXPECT_EQ(canvas24.image(), canvas.image()) << int(layout);
    }
}

TEST(CenterBackground, OffsetsTruncateTowardZero) {
    EXPECT_EQ(centerOffset(QSize(800, 600), QSize(1000, 500)), QPoint(-100, 50));
    EXPECT_EQ(centerOffset(QSize(10, 10), QSize(15, 10)), QPoint(-2, 0)); // -5 div 2 is -2
    EXPECT_EQ(centerOffset(QSize(10, 10), QSize(3, 4)), QPoint(3, 3));
    EXPECT_EQ(centerOffset(QSize(0, 0), QSize(3, 5)), QPoint(-1, -2));
}

TEST(CenterBackground, LargerPictureIsCutOnAllSides) {
    const QImage picture = numbered(1000, 500);
    DrawingSurface canvas(800, 600);
    paintBackground(canvas, picture, plCenter);
    // The picture's top-left pixel sits at (-100, 50): rows above it keep the canvas white.
    EXPECT_EQ(canvasPixel(canvas, 0, 49), clWhite);
    EXPECT_EQ(canvasPixel(canvas, 799, 0), clWhite);
    EXPECT_EQ(canvasPixel(canvas, 0, 50), picturePixel(picture, 100, 0));
    EXPECT_EQ(canvasPixel(canvas, 799, 549), picturePixel(picture, 899, 499));
    EXPECT_EQ(canvasPixel(canvas, 400, 550), clWhite);
    EXPECT_EQ(canvasPixel(canvas, 123, 321), picturePixel(picture, 223, 271));
}

TEST(CenterBackground, OddDifferenceLandsOnTheTruncatedPixel) {
    const QImage picture = numbered(15, 10);
    DrawingSurface canvas(10, 10);
    paintBackground(canvas, picture, plCenter);
    EXPECT_EQ(canvasPixel(canvas, 0, 0), picturePixel(picture, 2, 0));
    EXPECT_EQ(canvasPixel(canvas, 9, 9), picturePixel(picture, 11, 9));
}

TEST(StretchBackground, NearestPixelOverTheWholeCanvas) {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(9, 9, 9));
    DrawingSurface canvas(4, 6);
    paintBackground(canvas, picture, plStretch);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvasPixel(canvas, x, y), picturePixel(picture, x / 2, y / 3))
                << x << "," << y;
}

TEST(PaintBackground, UnknownLayoutTilesAndEmptyCanvasIsLeftAlone) {
    const QImage picture = numbered(3, 2);
    DrawingSurface tiled(7, 5);
    paintBackground(tiled, picture, PictureLayout(7));
    EXPECT_EQ(tiled.image(), tiledByBlockCopies(QSize(7, 5), picture).image());
    for (PictureLayout layout : {plTile, plStretch, plCenter}) {
        DrawingSurface empty(0, 600);
        paintBackground(empty, picture, layout);
        EXPECT_TRUE(empty.isEmpty());
    }
}

TEST(PlainBitmapCopy, TurnsAnyFormatIntoAnOpaqueBitmap) {
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50)});
    indexed.setPixel(0, 0, 1);
    indexed.setPixel(1, 0, 0);
    const DrawingSurface bitmap = plainBitmapCopy(indexed);
    ASSERT_EQ(bitmap.size(), QSize(2, 1));
    EXPECT_EQ(bitmap.pixel(0, 0), 0x003264C8u);
    EXPECT_EQ(bitmap.pixel(1, 0), 0x00030201u);
}

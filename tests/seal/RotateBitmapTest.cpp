// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// RotateBitmap: the fixed-point coefficients, sizes and pivots, exact quarter turns, and the
// row-span form proved equal to the plain per-pixel mapping on random pictures.
#include "RotateBitmap.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <random>

namespace {

// The plain form of the mapping, one pixel at a time with 32-bit products and shifts.
QImage referenceRotate(const QImage& source, QRgb bg, long double degrees) {
    long double a = degrees;
    while (a > 180)
        a -= 360;
    while (a < -180)
        a += 360;
    const long double theta = -a * 3.14159265358979323846264338327950288L / 180;
    const qint32 s = qint32(std::trunc(65536 * std::sin(theta)));
    const qint32 c = qint32(std::trunc(65536 * std::cos(theta)));
    const qint32 w = source.width(), h = source.height();
    const qint32 nW = (std::abs(c) * w + std::abs(s) * h) / 65536;
    const qint32 nH = (std::abs(s) * w + std::abs(c) * h) / 65536;
    QImage out(nW, nH, QImage::Format_RGB32);
    qint32 px = (nW - 1) / 2, pb = (nH - 1) / 2;
    if (a == 0 || a == -90)
        px = nW / 2;
    if (a == 0 || a == 90)
        pb = nH / 2;
    for (qint32 y = 0; y < nH; ++y) {
        for (qint32 x = 0; x < nW; ++x) {
            const qint32 b = nH - 1 - y;
            const qint32 u = x - px, v = b - pb;
            const qint32 sx = w / 2 + ((u * c - v * s) >> 16);
            const qint32 sb = h / 2 + ((u * s + v * c) >> 16);
            const bool inside = sx >= 0 && sx < w && sb >= 0 && sb < h;
            out.setPixel(x, y, inside ? source.pixel(sx, h - 1 - sb) : bg);
        }
    }
    return out;
}

// A picture whose every pixel is different, so that a wrong source pixel cannot hide.
DrawingSurface numberedPicture(int w, int h) {
    DrawingSurface picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, TColor(((y * w + x) * 2654435761u) & 0x00FEFEFE));
    return picture;
}

constexpr TColor bg = 0x00FF00FF;

} // namespace

TEST(RotateBitmap, CoefficientsAreTruncatedFromExtendedPrecision) {
    struct Case {
        long double degrees;
        qint32 sine, cosine;
    };
    const Case cases[] = {{30, -32768, 56755}, {60, -56755, 32767}, {-30, 32768, 56755},
                          {-60, 56755, 32767}, {90, -65536, 0},     {-90, 65536, 0},
                          {180, 0, -65536},    {-180, 0, -65536},   {0, 0, 65536},
                          {45, -46340, 46340}};
    for (const Case& c : cases) {
        const RotationCoefficients k = rotationCoefficients(c.degrees);
        EXPECT_EQ(k.sine, c.sine) << double(c.degrees);
        EXPECT_EQ(k.cosine, c.cosine) << double(c.degrees);
    }
}

TEST(RotateBitmap, AnglesAreNormalisedIntoOneTurn) {
    EXPECT_EQ(normalizeAngle(390), 30);
    EXPECT_EQ(normalizeAngle(-190), 170);
    EXPECT_EQ(normalizeAngle(180), 180);
    EXPECT_EQ(normalizeAngle(-180), -180);
    EXPECT_EQ(normalizeAngle(540), 180);
    EXPECT_EQ(normalizeAngle(-540), -180);
    EXPECT_EQ(normalizeAngle(-720), 0);
    EXPECT_EQ(normalizeAngle(190.5L), -169.5L);
    // Turns that could never end by subtracting 360 at a time.
    EXPECT_EQ(normalizeAngle(1e30L), std::fmod(1e30L, 360.0L) - 360);
    EXPECT_EQ(normalizeAngle(INFINITY), 0);
    EXPECT_EQ(normalizeAngle(NAN), 0);
}

TEST(RotateBitmap, SizesAndPivots) {
    EXPECT_EQ(rotatedSize(QSize(70, 70), rotationCoefficients(30)), QSize(95, 95));
    EXPECT_EQ(rotatedSize(QSize(51, 37), rotationCoefficients(90)), QSize(37, 51));
    EXPECT_EQ(rotatedSize(QSize(2000, 2000), rotationCoefficients(30)), QSize(2732, 2732));
    EXPECT_EQ(destinationPivot(QSize(52, 38), 0), QPoint(26, 19));
    EXPECT_EQ(destinationPivot(QSize(52, 38), 90), QPoint(25, 19));
    EXPECT_EQ(destinationPivot(QSize(52, 38), -90), QPoint(26, 18));
    EXPECT_EQ(destinationPivot(QSize(52, 38), 180), QPoint(25, 18));
    EXPECT_EQ(destinationPivot(QSize(51, 37), 30), QPoint(25, 18));
    EXPECT_EQ(uniqueSquareSide(70, 70), 102);
    EXPECT_EQ(uniqueSquareSide(50, 50), 74);
    // A turned picture the memory cannot hold is a failure, not an empty picture.
    DrawingSurface line(1, 1000000);
    EXPECT_THROW(RotateBitmap(line, clWhite, 45), std::bad_alloc);
}

TEST(RotateBitmap, WholeTurnsLeavePixelsUnchanged) {
    const DrawingSurface picture = numberedPicture(51, 37);
    for (long double degrees : {0.0L, 360.0L, -720.0L}) {
        DrawingSurface source = picture;
        const DrawingSurface out = RotateBitmap(source, bg, degrees);
        EXPECT_EQ(out.image(), picture.image()) << double(degrees);
    }
}

TEST(RotateBitmap, QuarterAndHalfTurnsArePermutations) {
    const DrawingSurface picture = numberedPicture(51, 37);
    DrawingSurface source = picture;
    const DrawingSurface left = RotateBitmap(source, bg, 90);
    ASSERT_EQ(left.size(), QSize(37, 51));
    const DrawingSurface right = RotateBitmap(source, bg, -90);
    ASSERT_EQ(right.size(), QSize(37, 51));
    const DrawingSurface half = RotateBitmap(source, bg, 180);
    ASSERT_EQ(half.size(), QSize(51, 37));
    for (int y = 0; y < 51; ++y)
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(left.pixel(x, y), picture.pixel(50 - y, x)) << x << "," << y;
            ASSERT_EQ(right.pixel(x, y), picture.pixel(y, 36 - x)) << x << "," << y;
        }
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 51; ++x)
            ASSERT_EQ(half.pixel(x, y), picture.pixel(50 - x, 36 - y)) << x << "," << y;
    // -180 is the same half turn.
    EXPECT_EQ(RotateBitmap(source, bg, -180).image(), half.image());
}

TEST(RotateBitmap, ThirtyDegreesTurnsCounterClockwiseWithBackgroundOutside) {
    DrawingSurface source(70, 70);
    source.brush.color = 0x00123456;
    source.fillRect(0, 0, 70, 70);
    // A mark in the top-right corner moves up and to the left under a counter-clockwise turn.
    source.brush.color = clBlue;
    source.fillRect(60, 0, 70, 10);
    const DrawingSurface out = RotateBitmap(source, bg, 30);
    ASSERT_EQ(out.size(), QSize(95, 95));
    // The corners of the square outside the turned picture are the background.
    EXPECT_EQ(out.pixel(0, 0), bg);
    EXPECT_EQ(out.pixel(94, 94), bg);
    EXPECT_EQ(out.pixel(47, 47), 0x00123456u);
    int markX = 0, markY = 0, marks = 0;
    for (int y = 0; y < 95; ++y)
        for (int x = 0; x < 95; ++x)
            if (out.pixel(x, y) == clBlue) {
                markX += x;
                markY += y;
                ++marks;
            }
    ASSERT_GT(marks, 80);
    // The mark's centre (65, 5) lies 30 and 30 from the centre; turned by 30 degrees it
    // lands at about (47 + 11, 47 - 41).
    EXPECT_NEAR(double(markX) / marks, 58, 2);
    EXPECT_NEAR(double(markY) / marks, 6, 2);
}

TEST(RotateBitmap, EquivalentAnglesGiveTheSamePicture) {
    const DrawingSurface picture = numberedPicture(40, 23);
    DrawingSurface a = picture, b = picture;
    EXPECT_EQ(RotateBitmap(a, bg, 390).image(), RotateBitmap(b, bg, 30).image());
    EXPECT_EQ(RotateBitmap(a, bg, -190).image(), RotateBitmap(b, bg, 170).image());
}

TEST(RotateBitmap, KeyColourSurvivesExactly) {
    DrawingSurface source(64, 48);
    source.brush.color = clFuchsia;
    source.fillRect(0, 0, 64, 48);
    source.brush.color = 0x003232F0;
    source.pen = {clRed, 1};
    source.ellipse(5, 5, 59, 43);
    const QSet<TColor> allowed = {clFuchsia, 0x003232F0, clRed};
    for (long double degrees : {7.0L, 33.3L, -45.0L, 59.0L}) {
        DrawingSurface copy = source;
        const DrawingSurface out = RotateBitmap(copy, clFuchsia, degrees);
        int keyed = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const TColor c = out.pixel(x, y);
                ASSERT_TRUE(allowed.contains(c)) << std::hex << c;
                keyed += c == clFuchsia;
            }
        EXPECT_GT(keyed, 0);
    }
}

TEST(RotateBitmap, SourceIsBroughtToThirtyTwoBitsInPlace) {
    DrawingSurface source = numberedPicture(9, 7);
    const QImage original = source.image();
    source.setFormat(DrawingSurface::Format::Bit24);
    const DrawingSurface out = RotateBitmap(source, bg, 90);
    EXPECT_EQ(source.format(), DrawingSurface::Format::Bit32);
    EXPECT_EQ(source.image(), original);
    EXPECT_EQ(out.pixel(0, 0), source.pixel(8, 0));
    EXPECT_EQ(out.format(), DrawingSurface::Format::Bit32);
}

TEST(RotateBitmap, DegenerateInputsGiveEmptyPictures) {
    DrawingSurface empty;
    EXPECT_TRUE(RotateBitmap(empty, bg, 30).isEmpty());
    // A tiny turn of a single pixel leaves no whole pixel: (65535 + 0) div 65536 = 0.
    DrawingSurface dot(1, 1);
    EXPECT_TRUE(RotateBitmap(dot, bg, 0.0001L).isEmpty());
}

TEST(RotateBitmap, RowSpansEqualThePlainMappingOnRandomPictures) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> side(1, 90);
    std::uniform_real_distribution<double> turn(-400, 400);
    const long double special[] = {0, 90, -90, 180, -180, 45, -45, 30, 60, -60, 0.0001L, 135, 1};
    for (int round = 0; round < 160; ++round) {
        const int w = side(random), h = side(random);
        const long double degrees = round < int(std::size(special))
                                        ? special[round]
                                        : static_cast<long double>(turn(random));
        DrawingSurface picture = numberedPicture(w, h);
        const QImage expected = referenceRotate(picture.image(), toRgb(bg), degrees);
        const DrawingSurface actual = RotateBitmap(picture, bg, degrees);
        if (expected.isNull()) {
            EXPECT_TRUE(actual.isEmpty());
            continue;
        }
        ASSERT_EQ(actual.image(), expected) << w << "x" << h << " at " << double(degrees);
    }
    // One larger picture, wide and flat.
    DrawingSurface wide = numberedPicture(333, 121);
    const QImage expected = referenceRotate(wide.image(), toRgb(bg), 23.75L);
    EXPECT_EQ(RotateBitmap(wide, bg, 23.75L).image(), expected);
}

TEST(RotatedPicture, UniqueSizeSquareAndCentre) {
    DrawingSurface picture = numberedPicture(70, 70);
    DrawingSurface copy = picture;
    const DrawingSurface turned = RotateBitmap(copy, bg, 30);

    RotatedPictureOptions options;
    options.angle = 30;
    options.uniqueSize = false;
    EXPECT_EQ(rebuildRotatedPicture(picture, bg, options).image(), turned.image());

    options.uniqueSize = true;
    const DrawingSurface square = rebuildRotatedPicture(picture, bg, options);
    ASSERT_EQ(square.size(), QSize(102, 102));
    EXPECT_EQ(square.image().copy(0, 0, 95, 95), turned.image());
    EXPECT_EQ(square.pixel(100, 100), bg);
    EXPECT_EQ(square.pixel(95, 10), bg);

    options.center = true;
    options.transparent = true;
    const DrawingSurface centred = rebuildRotatedPicture(picture, bg, options);
    ASSERT_EQ(centred.size(), QSize(102, 102));
    EXPECT_EQ(centred.image().copy(3, 3, 95, 95), turned.image());
    EXPECT_EQ(centred.pixel(2, 50), bg);
    EXPECT_TRUE(centred.transparent);
    EXPECT_EQ(centred.transparentColor, std::optional<TColor>(bg));
}

TEST(RotatedPicture, WholeTurnsAreCopiedIntoTheSquare) {
    DrawingSurface picture = numberedPicture(50, 50);
    for (long double degrees : {0.0L, 360.0L, -720.0L}) {
        RotatedPictureOptions options;
        options.angle = degrees;
        const DrawingSurface square = rebuildRotatedPicture(picture, clWhite, options);
        ASSERT_EQ(square.size(), QSize(74, 74));
        EXPECT_EQ(square.image().copy(0, 0, 50, 50), picture.image());
        EXPECT_EQ(square.pixel(50, 0), clWhite);
        EXPECT_EQ(square.pixel(73, 73), clWhite);
        EXPECT_FALSE(square.transparent);
        EXPECT_EQ(square.transparentColor, std::optional<TColor>(clWhite));
    }
    DrawingSurface empty;
    EXPECT_TRUE(rebuildRotatedPicture(empty, bg, RotatedPictureOptions{}).isEmpty());
}

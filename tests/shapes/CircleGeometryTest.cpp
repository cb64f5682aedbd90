// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle picture: size, key background, outline and fill where the geometry puts them.
#include "CircleGeometry.h"
#include "TarvelError.h"

#include <QGuiApplication>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Pixel centres clearly inside a ring band or clearly outside it (1 pixel of slack at every
// edge) must have the band's colour; pixels on an edge may go either way. An outline of width
// w reaches (w - 1) / 2 pixels beyond the circle's edge and the rest inside it.
void expectCircle(const DrawingSurface& p, double radius, int outline, TColor lineColor,
                  TColor fillColor) {
    const double outer = radius + (outline - 1) / 2;
    const double inner = outer - outline;
    const double centre = radius;
    int checked = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            const TColor c = p.pixel(x, y);
            if (d > outer + 1) {
                ASSERT_EQ(c, clFuchsia) << x << "," << y;
            } else if (d < inner - 1) {
                ASSERT_EQ(c, fillColor) << x << "," << y;
            } else if (d > inner + 1 && d < outer - 1) {
                ASSERT_EQ(c, lineColor) << x << "," << y;
            } else {
                continue;
            }
            ++checked;
        }
    EXPECT_GT(checked, p.width() * p.height() * 3 / 4);
}

TEST(CirclePicture, DefaultsGiveAWhiteDiscWithABlackTwoPixelOutlineOnMagenta) {
    const DrawingSurface p = renderCirclePicture(CircleSettingsRecord{});
    ASSERT_EQ(p.size(), QSize(100, 100));
    EXPECT_TRUE(p.transparent);
    EXPECT_FALSE(p.transparentColor.has_value());
    EXPECT_EQ(p.effectiveTransparentColor(), clFuchsia); // the bottom-left pixel
    // The middle row: two outline pixels at each side, white between.
    for (int x : {0, 1, 98, 99})
        EXPECT_EQ(p.pixel(x, 50), clBlack) << x;
    for (int x : {2, 50, 97})
        EXPECT_EQ(p.pixel(x, 50), clWhite) << x;
    for (int y : {0, 1, 98, 99})
        EXPECT_EQ(p.pixel(50, y), clBlack) << y;
    EXPECT_EQ(p.pixel(50, 2), clWhite);
    for (QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 99), QPoint(99, 99)})
        EXPECT_EQ(p.pixel(corner.x(), corner.y()), clFuchsia);
    expectCircle(p, 50, 2, clBlack, clWhite);
}

TEST(CirclePicture, ColoursAndWidthsFollowTheSettings) {
    CircleSettingsRecord s;
    s.Radius = 30;
    s.LineWidth = 5;
    s.LineColor = clRed;
    s.FillColor = clBlue;
    const DrawingSurface wide = renderCirclePicture(s);
    ASSERT_EQ(wide.size(), QSize(60, 60));
    expectCircle(wide, 30, 5, clRed, clBlue);

    // A width of 0 and a negative width both draw one pixel wide.
    s.LineWidth = 0;
    const DrawingSurface zero = renderCirclePicture(s);
    s.LineWidth = -7;
    const DrawingSurface negative = renderCirclePicture(s);
    s.LineWidth = 1;
    const DrawingSurface one = renderCirclePicture(s);
    EXPECT_EQ(zero.image(), one.image());
    EXPECT_EQ(negative.image(), one.image());
    EXPECT_EQ(one.pixel(0, 30), clRed);
    EXPECT_EQ(one.pixel(1, 30), clBlue);

    // An outline wider than the radius leaves no fill, and reaching the bottom-left corner it
    // becomes the key colour itself: the whole picture is left out when stamped.
    s.LineWidth = 100;
    const DrawingSurface solid = renderCirclePicture(s);
    EXPECT_EQ(solid.pixel(30, 30), clRed);
    EXPECT_EQ(solid.pixel(0, 0), clRed);
    EXPECT_EQ(solid.effectiveTransparentColor(), clRed);
}

// A circle wider than the largest canvas keeps only its top-left 4000 x 4000 pixels, the same
// pixels a whole picture would have there, keyed by magenta.
TEST(CirclePicture, ACircleLargerThanAnyCanvasKeepsOnlyWhatCanLand) {
    CircleSettingsRecord s;
    s.Radius = 2500;
    s.LineWidth = 7;
    s.LineColor = clBlue;
    s.FillColor = clRed;
    const DrawingSurface cut = renderCirclePicture(s);
    ASSERT_EQ(cut.size(), QSize(4000, 4000));
    EXPECT_EQ(cut.effectiveTransparentColor(), clFuchsia);
    DrawingSurface whole(5000, 5000);
    fillCircleBackground(whole);
    setCirclePenAndBrush(whole, s);
    drawCircleEllipse(whole, 5000);
    EXPECT_TRUE(cut.image() == whole.image().copy(0, 0, 4000, 4000));
    s.Radius = 8192; // a gigabyte before; now 64 MB
    EXPECT_EQ(renderCirclePicture(s).size(), QSize(4000, 4000));
}

TEST(CirclePicture, RadiusOfZeroOrLessGivesNoPicture) {
    for (qint32 radius : {0, -1, -50, std::numeric_limits<qint32>::min()}) {
        CircleSettingsRecord s;
        s.Radius = radius;
        EXPECT_TRUE(renderCirclePicture(s).isEmpty()) << radius;
    }
}

TEST(CirclePicture, TooLargeARadiusFailsWithAClearMessage) {
    for (qint32 radius : {8193, 100000, std::numeric_limits<qint32>::max()}) {
        CircleSettingsRecord s;
        s.Radius = radius;
        try {
            renderCirclePicture(s);
            ADD_FAILURE() << "no error for radius " << radius;
        } catch (const TarvelError& error) {
            const qint64 side = 2 * qint64(radius);
            EXPECT_EQ(error.text(),
                      QStringLiteral("半径 %1 太大：无法创建 %2 × %2 像素的圆形图片。")
                          .arg(radius)
                          .arg(side));
        }
    }
    CircleSettingsRecord largest;
    largest.Radius = 8192;
    EXPECT_EQ(circlePictureSide(largest.Radius), maxCirclePictureSide);
}

} // namespace

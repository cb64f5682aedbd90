// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan picture: its constants, where the outline's ink lands, what the fill reaches and
// what the key colour leaves out.
#include "FanGeometry.h"
#include "FanRingGeometry.h"
#include "TarvelError.h"

#include <QGuiApplication>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr TColor fill = clRed;

FanSettingsRecord settings(qint32 radius, qint32 lineWidth, TColor lineColor, TColor fillColor) {
    FanSettingsRecord s;
    s.Radius = radius;
    s.LineWidth = lineWidth;
    s.LineColor = lineColor;
    s.FillColor = fillColor;
    return s;
}

// The fan's area, worked out from the geometry with real numbers: inside the upper half of the
// big ellipse (or below its middle), between the two sides, outside the small bottom ellipse.
bool insideFan(const FanGeometry& g, double x, double y) {
    const double cx = (g.A + g.B) / 2.0, cy = g.H / 2.0;
    const double a = (g.B - g.A) / 2.0, b = g.H / 2.0;
    const bool underTopArc = y >= cy || std::pow((x - cx) / a, 2) + std::pow((y - cy) / b, 2) < 1;
    auto side = [](QPoint p, QPoint q, double x, double y) {
        return (q.x() - p.x()) * (y - p.y()) - (q.y() - p.y()) * (x - p.x());
    };
    const bool leftOfRightSide = side(g.rightSideStart(), g.rightSideEnd(), x, y) > 0;
    const bool rightOfLeftSide = side(g.leftSideEnd(), g.leftSideStart(), x, y) < 0;
    const double bx = (g.bottomArcEnd().x() + g.bottomArcStart().x()) / 2.0;
    const double ba = (g.bottomArcStart().x() - g.bottomArcEnd().x()) / 2.0;
    const bool aboveBottomArc =
        std::pow((x - bx) / ba, 2) + std::pow((y - g.H) / double(g.m), 2) > 1;
    return underTopArc && leftOfRightSide && rightOfLeftSide && aboveBottomArc;
}

// Every pixel whose whole neighbourhood (2 pixels each way) lies inside the fan must have the
// fill colour; one whose neighbourhood lies wholly outside must not: it is background, or ink
// of a side where the side runs on below the bottom arc. Returns how many pixels were checked.
int expectFanRegions(const DrawingSurface& p, const FanGeometry& g, TColor inside, TColor outside,
                     TColor line) {
    int checked = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            int votes = 0;
            for (double dy : {-2.0, 0.0, 2.0})
                for (double dx : {-2.0, 0.0, 2.0})
                    votes += insideFan(g, x + 0.5 + dx, y + 0.5 + dy) ? 1 : 0;
            const TColor c = p.pixel(x, y);
            if (votes == 9) {
                EXPECT_EQ(c, inside) << x << "," << y;
                if (c != inside)
                    return checked;
            } else if (votes == 0) {
                EXPECT_TRUE(c == outside || c == line) << x << "," << y << ": " << c;
                if (c != outside && c != line)
                    return checked;
            } else {
                continue;
            }
            ++checked;
        }
    return checked;
}

TEST(FanGeometry, DefaultRadiusGivesTheListedConstants) {
    const FanGeometry g = computeFanGeometry(100);
    EXPECT_EQ(g.W, 400);
    EXPECT_EQ(g.H, 200);
    EXPECT_EQ(g.e, 12);
    EXPECT_EQ(g.A, -12);
    EXPECT_EQ(g.B, 412);
    EXPECT_EQ(g.t, 57);
    EXPECT_EQ(g.k, 33);
    EXPECT_EQ(g.m, 25);
    EXPECT_EQ(g.topArcStart(), QPoint(412, 100));
    EXPECT_EQ(g.topArcEnd(), QPoint(-12, 100));
    EXPECT_EQ(g.rightSideStart(), QPoint(412, 57));
    EXPECT_EQ(g.rightSideEnd(), QPoint(264, 200));
    EXPECT_EQ(g.bottomArcStart(), QPoint(268, 200));
    EXPECT_EQ(g.bottomArcEnd(), QPoint(132, 200));
    EXPECT_EQ(g.leftSideStart(), QPoint(132, 200));
    EXPECT_EQ(g.leftSideEnd(), QPoint(-12, 57));
    EXPECT_EQ(g.fillSeed(), QPoint(206, 100));
}

TEST(FanGeometry, ConstantsTruncateAtTheEndsOfTheRadiusRange) {
    const FanGeometry small = computeFanGeometry(10);
    EXPECT_EQ((std::array<int, 6>{small.W, small.H, small.e, small.t, small.k, small.m}),
              (std::array<int, 6>{40, 20, 1, 5, 3, 2}));
    const FanGeometry large = computeFanGeometry(1000);
    EXPECT_EQ((std::array<int, 6>{large.W, large.H, large.e, large.t, large.k, large.m}),
              (std::array<int, 6>{4000, 2000, 125, 571, 333, 250}));
    EXPECT_EQ(computeFanGeometry(0).W, 0);
    EXPECT_THROW(computeFanGeometry(5000), TarvelError);
}

TEST(FanPicture, OutlineAndFillOfTheDefaultRadius) {
    const FanGeometry g = computeFanGeometry(100);
    const DrawingSurface p = renderFanPicture(settings(100, 1, clGray, fill), true);
    ASSERT_EQ(p.size(), QSize(400, 200));
    EXPECT_TRUE(p.transparent);
    EXPECT_EQ(p.effectiveTransparentColor(), clFuchsia);
    // The top arc touches the top edge in the middle; the bottom arc rises 25 pixels.
    EXPECT_EQ(p.pixel(200, 0), clGray);
    EXPECT_EQ(p.pixel(200, 1), fill);
    EXPECT_EQ(p.pixel(200, 174), fill);
    EXPECT_EQ(p.pixel(200, 175), clGray);
    EXPECT_EQ(p.pixel(200, 176), clFuchsia);
    EXPECT_EQ(p.pixel(206, 100), fill);
    // The top arc and the left side both leave through the left edge, the arc above the side.
    std::vector<int> leftEdgeInk;
    for (int y = 0; y < 200; ++y)
        if (p.pixel(0, y) == clGray)
            leftEdgeInk.push_back(y);
    ASSERT_FALSE(leftEdgeInk.empty());
    EXPECT_GE(leftEdgeInk.front(), 65);
    EXPECT_LE(leftEdgeInk.back(), 70);
    // The right side runs on the line through (412, 57) and (264, 200).
    for (int x = 280; x < 400; ++x) {
        const double ideal = 57 + (x - 412) * (200.0 - 57) / (264 - 412);
        int nearest = 1000;
        for (int y = 0; y < 200; ++y)
            if (p.pixel(x, y) == clGray && std::abs(y + 0.5 - ideal) < std::abs(nearest))
                nearest = int(std::lround(y + 0.5 - ideal));
        EXPECT_LE(std::abs(nearest), 1) << x;
    }
    EXPECT_GT(expectFanRegions(p, g, fill, clFuchsia, clGray), 70000);
}

TEST(FanPicture, WideOutlinesStillHoldTheFill) {
    for (qint32 radius : {10, 37, 250}) {
        const FanGeometry g = computeFanGeometry(radius);
        const DrawingSurface p = renderFanPicture(settings(radius, 10, clBlue, fill), false);
        EXPECT_EQ(p.pixel(0, p.height() - 1), clWhite) << radius;
        EXPECT_EQ(p.pixel(g.fillSeed().x(), g.fillSeed().y()), fill) << radius;
        // The fill never reaches the corners outside the outline (a thick outline may).
        for (QPoint corner : {QPoint(0, 0), QPoint(g.W - 1, 0), QPoint(g.W - 1, g.H - 1)})
            EXPECT_NE(p.pixel(corner.x(), corner.y()), fill) << radius;
    }
}

// No more than the top-left 4000 x 4000 pixels of a fan can land on the largest canvas: a wider
// fan is drawn whole, then cut, with its key named; past 8192 pixels of width it is refused.
TEST(FanPicture, AFanWiderThanAnyCanvasKeepsOnlyWhatCanLand) {
    const FanGeometry g = computeFanGeometry(1500); // 6000 x 3000
    const DrawingSurface p = renderFanPicture(settings(1500, 3, clGray, fill), true);
    ASSERT_EQ(p.width(), 4000);
    ASSERT_EQ(p.height(), 3000);
    EXPECT_EQ(p.effectiveTransparentColor(), clFuchsia);
    EXPECT_EQ(p.pixel(0, 2999), clFuchsia);
    for (int y = 20; y < 3000; y += 97)
        for (int x = 20; x < 4000; x += 89) {
            if (std::abs(y - g.H / 2) < 8)
                continue; // where the top arc meets its middle line
            if (insideFan(g, x - 12, y) && insideFan(g, x + 12, y) && insideFan(g, x, y - 12) &&
                insideFan(g, x, y + 12)) {
                ASSERT_EQ(p.pixel(x, y), fill) << x << "," << y;
            }
        }
    try {
        renderFanPicture(settings(2049, 1, clGray, fill), true);
        ADD_FAILURE() << "a fan of 8196 pixels was drawn";
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("半径 2049 太大：无法创建 8196 × 4098 像素的扇面图片。"));
    }
}

TEST(FanPicture, BackgroundIsMagentaOnlyWhenTheCanvasUsesAColour) {
    const DrawingSurface plain = renderFanPicture(FanSettingsRecord{}, false);
    const DrawingSurface keyed = renderFanPicture(FanSettingsRecord{}, true);
    EXPECT_EQ(plain.effectiveTransparentColor(), clWhite);
    EXPECT_EQ(keyed.effectiveTransparentColor(), clFuchsia);
    int magenta = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            magenta += plain.pixel(x, y) == clFuchsia ? 1 : 0;
    EXPECT_EQ(magenta, 0);
    // Both share the outline: the same pixels are grey.
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            ASSERT_EQ(plain.pixel(x, y) == clGray, keyed.pixel(x, y) == clGray) << x << "," << y;
}

// In the picture's bottom row: the x of the right side's last pixel and of the bottom arc's
// rightmost pixel, each drawn alone.
std::pair<int, int> bottomRowEnds(qint32 radius) {
    const FanGeometry g = computeFanGeometry(radius);
    DrawingSurface side(g.W, g.H), arc(g.W, g.H);
    side.pen.color = arc.pen.color = clBlack;
    drawRightSide(side, g);
    drawBottomArc(arc, g);
    int sideX = -1, arcX = -1;
    for (int x = 0; x < g.W; ++x) {
        if (side.pixel(x, g.H - 1) == clBlack && sideX < 0)
            sideX = x;
        if (arc.pixel(x, g.H - 1) == clBlack)
            arcX = x;
    }
    return {sideX, arcX};
}

TEST(FanPicture, RightSideEndsZeroFourOrEightPixelsLeftOfTheBottomArcEnd) {
    const auto [side99, arc99] = bottomRowEnds(99);
    const auto [side100, arc100] = bottomRowEnds(100);
    const auto [side101, arc101] = bottomRowEnds(101);
    // The side ends at (8k, H) with k = 33 for all three; the arc ends at (4R - 4k, H).
    EXPECT_EQ(side99, 265);
    EXPECT_EQ(side100, 265);
    EXPECT_EQ(side101, 265);
    EXPECT_EQ(arc100 - arc99, 4);
    EXPECT_EQ(arc101 - arc99, 8);
    EXPECT_EQ(arc99, 262);
    const FanGeometry g99 = computeFanGeometry(99), g100 = computeFanGeometry(100),
                      g101 = computeFanGeometry(101);
    EXPECT_EQ(g99.bottomArcStart().x() - g99.rightSideEnd().x(), 0);
    EXPECT_EQ(g100.bottomArcStart().x() - g100.rightSideEnd().x(), 4);
    EXPECT_EQ(g101.bottomArcStart().x() - g101.rightSideEnd().x(), 8);
}

TEST(FanPicture, OutlineOfTheSeedColourStillHoldsTheFill) {
    // A white outline on the white background, and a magenta one on magenta: the outline is
    // drawn in a stand-in colour for the fill and takes its own colour afterwards.
    const FanGeometry g = computeFanGeometry(100);
    for (bool useColor : {false, true}) {
        const TColor background = useColor ? clFuchsia : clWhite;
        const DrawingSurface p = renderFanPicture(settings(100, 2, background, fill), useColor);
        EXPECT_EQ(p.pixel(200, 0), background);
        EXPECT_EQ(p.pixel(206, 100), fill);
        EXPECT_GT(expectFanRegions(p, g, fill, background, background), 70000);
        int others = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 400; ++x)
                others += p.pixel(x, y) != fill && p.pixel(x, y) != background ? 1 : 0;
        EXPECT_EQ(others, 0) << "stand-in colour left behind";
    }
    // Outline, fill and background all white: a white picture, and no failure.
    const DrawingSurface white = renderFanPicture(settings(100, 1, clWhite, clWhite), false);
    EXPECT_EQ(white.pixel(200, 0), clWhite);
    EXPECT_EQ(white.pixel(206, 100), clWhite);
}

} // namespace

// The fill by open runs reaches exactly the pixels of the border fill from the seed, whatever
// the radius, the line width and the colours (the line colour equal to the background's too).
TEST(FanPicture, FillByRunsEqualsTheBorderFill) {
    std::vector<qint32> radii;
    for (qint32 radius = 1; radius <= 64; ++radius)
        radii.push_back(radius);
    for (qint32 radius : {97, 100, 101, 333, 1000})
        radii.push_back(radius);
    int compared = 0;
    for (const qint32 radius : radii)
        for (const qint32 lineWidth : {0, 1, 2, 3, 5, 12, 40}) {
            if (radius > 100 && lineWidth % 2 == 0 && lineWidth != 12)
                continue; // fewer of the large ones
            const bool canvasUsesColor = (radius + lineWidth) % 2 == 0;
            const TColor line = lineWidth == 3 ? (canvasUsesColor ? clFuchsia : clWhite) : clGray;
            const FanSettingsRecord s =
                settings(radius, lineWidth, line, lineWidth == 5 ? line : fill);
            const FanGeometry g = computeFanGeometry(radius);
            DrawingSurface outlined = createFanPicture(g, canvasUsesColor);
            const QPoint seed = g.fillSeed();
            const TColor ink = outlineInkFor(s, outlined.pixel(seed.x(), seed.y()));
            setFanPenAndBrush(outlined, s, ink);
            drawTopArc(outlined, g);
            drawRightSide(outlined, g);
            drawBottomArc(outlined, g);
            drawLeftSide(outlined, g);
            DrawingSurface byRuns(outlined.image().copy());
            byRuns.brush = outlined.brush;
            fillFan(byRuns, g, ink);
            outlined.floodFill(seed.x(), seed.y(), ink);
            ASSERT_EQ(byRuns.image(), outlined.image())
                << "radius " << radius << ", line width " << lineWidth;
            ++compared;
        }
    EXPECT_EQ(compared, 66 * 7 + 3 * 4); // radii up to 100 with every width, the rest with four
}

// The folding-fan ring: the picture reaches the outer arc's ends at the sides, the inner arc's
// ends at the bottom, and the outline's width plus a pixel beyond on every side.
TEST(FanRing, SizeAndCentreAtSeveralRadiiAndSpans) {
    struct Case {
        qint32 outer, inner, span, lineWidth;
        QSize size;
        QPoint centre;
    };
    const Case cases[] = {
        {100, 45, 140, 2, QSize(194, 91), QPoint(97, 103)},
        {100, 45, 180, 1, QSize(204, 104), QPoint(102, 102)},
        {200, 90, 100, 3, QSize(316, 151), QPoint(158, 204)},
        {100, 0, 60, 1, QSize(104, 104), QPoint(52, 102)},
    };
    for (const Case& c : cases) {
        const FanRingGeometry ring = computeFanRingGeometry(c.outer, c.inner, c.span, c.lineWidth);
        EXPECT_EQ(ring.size, c.size) << c.outer << " " << c.span;
        EXPECT_EQ(ring.centre, c.centre) << c.outer << " " << c.span;
    }
}

TEST(FanRing, BadRingsSayWhatDoesNotFit) {
    const std::pair<std::array<qint32, 3>, QString> cases[] = {
        {{100, 100, 140}, QStringLiteral("折扇的内半径（100）必须不小于 0 且小于外半径（100）。")},
        {{100, 120, 140}, QStringLiteral("折扇的内半径（120）必须不小于 0 且小于外半径（100）。")},
        {{100, 45, 0}, QStringLiteral("折扇的角度（0°）必须大于 0° 且不超过 180°。")},
        {{100, 45, 181}, QStringLiteral("折扇的角度（181°）必须大于 0° 且不超过 180°。")},
    };
    for (const auto& [values, message] : cases) {
        try {
            computeFanRingGeometry(values[0], values[1], values[2], 1);
            ADD_FAILURE() << "accepted " << values[1] << " " << values[2];
        } catch (const TarvelError& error) {
            EXPECT_EQ(error.text(), message);
        }
    }
}

TEST(FanRing, OutlineFillHoleAndSmoothEdgesOnACanvas) {
    FanSettingsRecord ring = settings(100, 2, clGray, fill);
    ring.Shape = fsRing;
    const DrawingSurface picture = renderFanRingPicture(ring);
    ASSERT_TRUE(picture.hasAlpha());
    ASSERT_EQ(picture.size(), QSize(194, 91));
    // Down the middle from the centre (97, 103): the outline of width 2 covers radii 99 to 101
    // and 44 to 46 (rows 3 and 58 lie wholly inside it), the fill lies between, the hole and
    // the corners are clear.
    const auto argb = [&](int x, int y) { return picture.image().pixel(x, y); };
    EXPECT_EQ(qAlpha(argb(97, 0)), 0);
    EXPECT_EQ(argb(97, 3), 0xFF808080u);
    EXPECT_EQ(argb(97, 31), 0xFFFF0000u); // radius 72: the fill
    EXPECT_EQ(argb(97, 58), 0xFF808080u);
    EXPECT_EQ(qAlpha(argb(97, 83)), 0); // radius 20: the hole
    EXPECT_EQ(qAlpha(argb(0, 0)), 0);
    EXPECT_EQ(qAlpha(argb(0, 90)), 0);

    // Composited onto a canvas: outside the ring the canvas stays exactly as it was, the edge
    // blends the outline into the canvas, and no key colour appears anywhere.
    constexpr TColor canvasBlue = 0x00A04020;
    DrawingSurface canvas(300, 200);
    canvas.brush.color = canvasBlue;
    canvas.fillRect(0, 0, 300, 200);
    canvas.draw(10, 20, picture);
    EXPECT_EQ(canvas.pixel(10, 20), canvasBlue);
    EXPECT_EQ(canvas.pixel(107, 103), canvasBlue); // the hole
    EXPECT_EQ(canvas.pixel(107, 51), fill);
    int blended = 0;
    int keyed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const TColor p = canvas.pixel(x, y);
            keyed += p == clWhite || p == clFuchsia;
            blended += p != canvasBlue && p != clGray && p != fill;
        }
    EXPECT_EQ(keyed, 0);
    EXPECT_GT(blended, 100);
}

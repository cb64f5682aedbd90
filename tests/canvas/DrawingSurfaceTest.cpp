// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Pixel-exact checks of the drawing surface operations every picture of the program relies on.
#include "DrawingSurface.h"

#include <QGuiApplication>
#include <array>
#include <gtest/gtest.h>
#include <map>

namespace {

constexpr TColor red = clRed;
constexpr TColor blue = clBlue;
constexpr TColor green = 0x0000FF00;

// The picture as rows of characters, one per pixel, from a legend of colours; '?' for others.
std::vector<std::string> rows(const DrawingSurface& s, const std::map<TColor, char>& legend) {
    std::vector<std::string> out;
    for (int y = 0; y < s.height(); ++y) {
        std::string row;
        for (int x = 0; x < s.width(); ++x) {
            auto it = legend.find(s.pixel(x, y));
            row += it == legend.end() ? '?' : it->second;
        }
        out.push_back(row);
    }
    return out;
}

int countColor(const DrawingSurface& s, TColor color, QRect area = QRect()) {
    if (area.isNull())
        area = QRect(0, 0, s.width(), s.height());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (s.pixel(x, y) == color)
                ++n;
    return n;
}

TEST(DrawingSurfaceCreate, NewBitmapIsWhiteInBothFormats) {
    for (auto format : {DrawingSurface::Format::Bit24, DrawingSurface::Format::Bit32}) {
        DrawingSurface s(7, 5, format);
        EXPECT_EQ(s.format(), format);
        EXPECT_EQ(countColor(s, clWhite), 35);
    }
    // A picture the memory cannot hold is a failure, not an empty picture drawn on as if whole.
    EXPECT_THROW(DrawingSurface(1000000, 1000000), std::bad_alloc);
}

TEST(DrawingSurfaceCreate, RowsHoldBlueGreenRed) {
    DrawingSurface s(2, 2, DrawingSurface::Format::Bit24);
    s.setPixel(1, 1, 0x00112233); // red 0x33, green 0x22, blue 0x11
    const uchar* row = s.scanLine(1);
    EXPECT_EQ(row[3], 0x11);
    EXPECT_EQ(row[4], 0x22);
    EXPECT_EQ(row[5], 0x33);
    s.setFormat(DrawingSurface::Format::Bit32);
    row = s.scanLine(1);
    EXPECT_EQ(row[4], 0x11);
    EXPECT_EQ(row[5], 0x22);
    EXPECT_EQ(row[6], 0x33);
    EXPECT_EQ(s.pixel(1, 1), 0x00112233u);
}

TEST(DrawingSurfaceResize, KeepsPixelsAndFillsNewAreaWithBrushColour) {
    DrawingSurface s(3, 2);
    s.brush.color = red;
    s.fillRect(0, 0, 3, 2);
    s.brush.color = blue;
    s.setSize(5, 4);
    EXPECT_EQ(rows(s, {{red, 'r'}, {blue, 'b'}}),
              (std::vector<std::string>{"rrrbb", "rrrbb", "bbbbb", "bbbbb"}));
    s.setSize(2, 1);
    EXPECT_EQ(rows(s, {{red, 'r'}, {blue, 'b'}}), (std::vector<std::string>{"rr"}));
    DrawingSurface none;
    none.setSize(2, 2);
    EXPECT_EQ(countColor(none, clWhite), 4);
}

TEST(DrawingSurfaceFillRect, RightAndBottomAreExclusiveAndClipped) {
    DrawingSurface s(6, 5);
    s.brush.color = red;
    s.fillRect(1, 1, 4, 3);
    s.brush.color = blue;
    s.fillRect(-3, 4, 2, 99);
    EXPECT_EQ(rows(s, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}}),
              (std::vector<std::string>{"......", ".rrr..", ".rrr..", "......", "bb...."}));
}

TEST(DrawingSurfaceEllipse, WidthZeroAndOneDrawTheSameOnePixelOutline) {
    DrawingSurface one(12, 12), zero(12, 12);
    for (DrawingSurface* s : {&one, &zero}) {
        s->pen.color = red;
        s->brush.color = blue;
    }
    one.pen.width = 1;
    zero.pen.width = 0;
    one.ellipse(1, 1, 11, 11);
    zero.ellipse(1, 1, 11, 11);
    EXPECT_EQ(one.image(), zero.image());
    // A circle of diameter 10 in the box (1, 1, 11, 11): outline one pixel thick, blue inside,
    // white outside the box, mirror symmetric.
    const std::vector<std::string> expected = {"............", //
                                               "....rrrr....", //
                                               "..rrbbbbrr..", //
                                               "..rbbbbbbr..", //
                                               ".rbbbbbbbbr.", //
                                               ".rbbbbbbbbr.", //
                                               ".rbbbbbbbbr.", //
                                               ".rbbbbbbbbr.", //
                                               "..rbbbbbbr..", //
                                               "..rrbbbbrr..", //
                                               "....rrrr....", //
                                               "............"};
    EXPECT_EQ(rows(one, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}}), expected);
}

TEST(DrawingSurfaceEllipse, WidthTwoLiesInsideTheBoxAndWidthThreeIsCentredOnTheEdge) {
    DrawingSurface s(30, 30);
    s.pen.color = red;
    s.brush.color = blue;
    s.pen.width = 2;
    s.ellipse(5, 5, 25, 25);
    // Along the middle row: two outline pixels at each end of the box, fill between.
    EXPECT_EQ(rows(s, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}})[15],
              ".....rrbbbbbbbbbbbbbbbbrr.....");
    EXPECT_EQ(s.pixel(15, 5), red);
    EXPECT_EQ(s.pixel(15, 6), red);
    EXPECT_EQ(s.pixel(15, 7), blue);
    EXPECT_EQ(s.pixel(15, 24), red);
    EXPECT_EQ(s.pixel(15, 25), clWhite);

    DrawingSurface w3(30, 30);
    w3.pen.color = red;
    w3.brush.color = blue;
    w3.pen.width = 3;
    w3.ellipse(5, 5, 25, 25);
    EXPECT_EQ(rows(w3, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}})[15],
              "....rrrbbbbbbbbbbbbbbbbrrr....");
}

TEST(DrawingSurfaceEllipse, ClearBrushLeavesTheInside) {
    DrawingSurface s(12, 12);
    s.pen.color = red;
    s.brush.color = blue;
    s.brush.style = DrawingSurface::BrushStyle::Clear;
    s.ellipse(1, 1, 11, 11);
    EXPECT_EQ(countColor(s, blue), 0);
    EXPECT_EQ(s.pixel(6, 6), clWhite);
    EXPECT_EQ(countColor(s, red), 28);
}

TEST(DrawingSurfaceLine, EndPointIsExcluded) {
    DrawingSurface s(8, 8);
    s.pen.color = red;
    s.moveTo(1, 1);
    s.lineTo(5, 1);
    EXPECT_EQ(rows(s, {{red, 'r'}, {clWhite, '.'}})[1], ".rrrr...");
    EXPECT_EQ(s.penPosition(), QPoint(5, 1));
    s.lineTo(5, 5); // continues from the pen position, again without its end
    for (int y = 1; y < 5; ++y)
        EXPECT_EQ(s.pixel(5, y), red) << y;
    EXPECT_EQ(s.pixel(5, 5), clWhite);
    s.lineTo(2, 2); // diagonal back up and left
    EXPECT_EQ(s.pixel(4, 4), red);
    EXPECT_EQ(s.pixel(3, 3), red);
    EXPECT_EQ(s.pixel(2, 2), clWhite);
    EXPECT_EQ(countColor(s, red), 4 + 4 + 3);
}

TEST(DrawingSurfaceArc, RunsCounterClockwiseFromStartToEnd) {
    // Inked pixels per quadrant, away from the axes where both halves meet.
    auto quadrants = [](const DrawingSurface& s) {
        return std::array<int, 4>{countColor(s, red, QRect(23, 0, 18, 18)),   // upper right
                                  countColor(s, red, QRect(0, 0, 18, 18)),    // upper left
                                  countColor(s, red, QRect(0, 23, 18, 18)),   // lower left
                                  countColor(s, red, QRect(23, 23, 18, 18))}; // lower right
    };
    DrawingSurface quarter(41, 41);
    quarter.pen.color = red;
    quarter.arc(0, 0, 41, 41, 41, 20, 20, 0); // from the right point to the top point
    const auto q = quadrants(quarter);
    EXPECT_GT(q[0], 10);
    EXPECT_EQ(q[1], 0);
    EXPECT_EQ(q[2], 0);
    EXPECT_EQ(q[3], 0);

    DrawingSurface rest(41, 41);
    rest.pen.color = red;
    rest.arc(0, 0, 41, 41, 20, 0, 41, 20); // from the top round the left to the right point
    const auto r = quadrants(rest);
    EXPECT_EQ(r[0], 0);
    EXPECT_GT(r[1], 10);
    EXPECT_GT(r[2], 10);
    EXPECT_GT(r[3], 10);

    // The upper half used by the fan outline: start on the right, end on the left.
    DrawingSurface upper(41, 41);
    upper.pen.color = red;
    upper.arc(0, 0, 41, 41, 41, 20, 0, 20);
    EXPECT_EQ(upper.pixel(20, 0), red);
    EXPECT_EQ(countColor(upper, red, QRect(0, 22, 41, 19)), 0);
}

TEST(DrawingSurfaceFloodFill, DiagonalOnePixelLineHoldsTheFill) {
    for (auto format : {DrawingSurface::Format::Bit24, DrawingSurface::Format::Bit32}) {
        DrawingSurface s(10, 10, format);
        s.pen.color = clBlack;
        s.moveTo(0, 9);
        s.lineTo(10, -1); // the anti-diagonal x + y = 9, steps only diagonally
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(s.pixel(x, 9 - x), clBlack) << x;
        s.brush.color = red;
        s.floodFill(0, 0, clBlack);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const TColor want = x + y < 9 ? red : x + y == 9 ? clBlack : clWhite;
                ASSERT_EQ(s.pixel(x, y), want) << x << "," << y;
            }
    }
}

TEST(DrawingSurfaceFloodFill, StopsAtTheEdgesAndFillsOverOtherColours) {
    DrawingSurface s(9, 6);
    s.pen.color = clBlack;
    s.brush.color = clBlack;
    s.fillRect(4, 0, 5, 6); // a wall from the top edge to the bottom edge
    s.setPixel(1, 2, green);
    s.setPixel(7, 3, green);
    s.brush.color = blue;
    s.floodFill(2, 3, clBlack);
    EXPECT_EQ(rows(s, {{blue, 'b'}, {clBlack, '#'}, {clWhite, '.'}, {green, 'g'}}),
              (std::vector<std::string>{"bbbb#....", "bbbb#....", "bbbb#....", "bbbb#..g.",
                                        "bbbb#....", "bbbb#...."}));
}

TEST(DrawingSurfaceFloodFill, SeedOnTheBorderOrOutsideDoesNothing) {
    DrawingSurface s(5, 5);
    s.setPixel(2, 2, clBlack);
    s.brush.color = red;
    s.floodFill(2, 2, clBlack);
    s.floodFill(-1, 2, clBlack);
    s.floodFill(2, 5, clBlack);
    EXPECT_EQ(countColor(s, red), 0);
}

TEST(DrawingSurfaceFloodFill, FillsAWindingRegionCompletely) {
    // A spiral-like comb: the fill must turn back up and down through every tooth.
    DrawingSurface s(21, 11);
    s.brush.color = clBlack;
    for (int x = 2; x < 21; x += 4)
        s.fillRect(x, 0, x + 1, 9);
    for (int x = 4; x < 21; x += 4)
        s.fillRect(x, 2, x + 1, 11);
    s.brush.color = red;
    s.floodFill(0, 0, clBlack);
    EXPECT_EQ(countColor(s, clWhite), 0);
    EXPECT_EQ(countColor(s, red), 21 * 11 - countColor(s, clBlack));
}

TEST(DrawingSurfaceDraw, TransparentPictureLeavesOutExactlyTheKeyPixels) {
    DrawingSurface picture(3, 3);
    const TColor nearKey = 0x00FE00FF;
    const std::vector<TColor> colours = {red,       clFuchsia, green, clFuchsia, nearKey,
                                         clFuchsia, clFuchsia, blue,  clBlack};
    for (int i = 0; i < 9; ++i)
        picture.setPixel(i % 3, i / 3, colours[i]);
    picture.transparent = true; // key: the bottom-left pixel, magenta

    DrawingSurface canvas(5, 5);
    canvas.brush.color = clGray;
    canvas.fillRect(0, 0, 5, 5);
    canvas.draw(1, 1, picture);
    for (int i = 0; i < 9; ++i) {
        const TColor want = colours[i] == clFuchsia ? clGray : colours[i];
        EXPECT_EQ(canvas.pixel(1 + i % 3, 1 + i / 3), want) << i;
    }
    EXPECT_EQ(countColor(canvas, clGray), 16 + 4);

    // A fixed transparent colour wins over the bottom-left pixel.
    picture.transparentColor = red;
    canvas.fillRect(0, 0, 5, 5);
    canvas.draw(-1, -1, picture); // clipped: only the bottom-right 2 x 2 lands
    EXPECT_EQ(canvas.pixel(0, 0), nearKey);
    EXPECT_EQ(canvas.pixel(1, 0), clFuchsia);
    EXPECT_EQ(canvas.pixel(0, 1), blue);
    EXPECT_EQ(canvas.pixel(1, 1), clBlack);
    EXPECT_EQ(countColor(canvas, clGray), 21);

    // Not transparent: every pixel is copied.
    picture.transparent = false;
    canvas.draw(2, 2, picture);
    EXPECT_EQ(canvas.pixel(3, 2), clFuchsia);
    EXPECT_EQ(canvas.pixel(2, 4), clFuchsia);
}

TEST(DrawingSurfaceDraw, StretchDrawAndCopiesSampleTheNearestPixel) {
    DrawingSurface picture(2, 1);
    picture.setPixel(0, 0, red);
    picture.setPixel(1, 0, blue);
    DrawingSurface canvas(6, 2, DrawingSurface::Format::Bit24);
    canvas.stretchDraw(QRect(0, 0, 4, 2), picture);
    EXPECT_EQ(rows(canvas, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}}),
              (std::vector<std::string>{"rrbb..", "rrbb.."}));
    canvas.copyRect(QRect(4, 0, 2, 1), picture, QRect(1, 0, 1, 1));
    EXPECT_EQ(rows(canvas, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}})[0], "rrbbbb");
    canvas.blockCopy(5, 1, picture); // clipped at the right edge
    EXPECT_EQ(rows(canvas, {{red, 'r'}, {blue, 'b'}, {clWhite, '.'}})[1], "rrbb.r");
}

TEST(DrawingSurfaceText, InkLiesInsideTheCellThatStartsAtThePoint) {
    DrawingSurface s(120, 80);
    s.font.height = -32;
    s.font.color = clBlack;
    s.brush.style = DrawingSurface::BrushStyle::Clear;
    const QString text = QStringLiteral("田A");
    const int w = s.textWidth(text), h = s.textHeight(text);
    ASSERT_GT(w, 20);
    ASSERT_GE(h, 32);
    s.textOut(30, 20, text);
    const QRect cell(30, 20, w, h);
    int inside = 0, outside = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != clWhite)
                (cell.contains(x, y) ? inside : outside)++;
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);

    // A solid brush fills the cell behind the glyphs first.
    DrawingSurface solid(120, 80);
    solid.font = s.font;
    solid.brush.color = clGray;
    solid.textOut(30, 20, text);
    EXPECT_GT(countColor(solid, clGray, cell), w * h / 2);
    EXPECT_EQ(countColor(solid, clGray), countColor(solid, clGray, cell));
    EXPECT_EQ(solid.pixel(30, 20), clGray);
    EXPECT_EQ(solid.pixel(29, 20), clWhite);
    EXPECT_EQ(solid.pixel(30 + w, 20), clWhite);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Rotated text: the byte walk, the step between characters, and where the turned glyphs land.
#include "RotatedText.h"

#include "Gbk.h"
#include "TarvelError.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

// Bounding box of the pixels that are not white, inside the region.
QRect inkBox(const DrawingSurface& s, QRect region = QRect(0, 0, 1 << 20, 1 << 20)) {
    region &= QRect(0, 0, s.width(), s.height());
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (s.pixel(x, y) != clWhite)
                box |= QRect(x, y, 1, 1);
    return box;
}

TSetSector line(const char* text, int angle, TextPlacement placement) {
    TSetSector s;
    s.Text = QByteArray(text);
    s.Angle = angle;
    s.Size = 20;
    s.CharSpacing = 2;
    s.Placement = placement;
    s.Color = clBlack;
    return s;
}

QList<QPoint> origins(const TSetSector& s, int x = 100, int y = 100) {
    QList<QPoint> points;
    for (const RotatedTextCell& cell : RotatedTextCells(s, x, y))
        points << cell.origin;
    return points;
}

DrawingSurface drawn(const TSetSector& s, int x = 100, int y = 100) {
    DrawingSurface surface(300, 300);
    DrawRotatedText(surface, x, y, s);
    return surface;
}

// One row per angle and placement: the first three cell origins from (100, 100), step 22.
struct StepCase {
    int angle;
    TextPlacement placement;
    QList<QPoint> expected;
};

} // namespace

TEST(RotatedTextWalk, EachStepIsTruncatedTowardZeroByItself) {
    const StepCase cases[] = {
        {0, tpHorizontal, {{100, 100}, {122, 100}, {144, 100}}},
        {0, tpVertical, {{100, 100}, {100, 122}, {100, 144}}},
        {90, tpHorizontal, {{100, 100}, {100, 122}, {100, 144}}},
        {90, tpVertical, {{100, 100}, {122, 100}, {144, 100}}},
        {180, tpHorizontal, {{100, 100}, {78, 100}, {56, 100}}},
        {-180, tpHorizontal, {{100, 100}, {78, 100}, {56, 100}}},
        {180, tpVertical, {{100, 100}, {100, 78}, {100, 56}}},
        {-180, tpVertical, {{100, 100}, {100, 78}, {100, 56}}},
        // 22 cos 45° = 15.556: 15 per step, the fractions never add up to a 16th pixel.
        {45, tpHorizontal, {{100, 100}, {115, 115}, {130, 130}}},
        {-45, tpHorizontal, {{100, 100}, {115, 85}, {130, 70}}},
        {135, tpVertical, {{100, 100}, {115, 85}, {130, 70}}},
        // 22 sin 30° and 22 cos 60° are 11 within rounding error and count as 11.
        {30, tpHorizontal, {{100, 100}, {119, 111}, {138, 122}}},
        {60, tpVertical, {{100, 100}, {119, 111}, {138, 122}}},
    };
    for (const StepCase& c : cases)
        EXPECT_EQ(origins(line("ABC", c.angle, c.placement)), c.expected)
            << "angle " << c.angle << " placement " << c.placement;
}

TEST(RotatedTextWalk, BytesOf127AndAboveTakeTheirFollower) {
    const auto cells = RotatedTextCells(line("\x7F"
                                             "AB",
                                             0, tpHorizontal),
                                        100, 100);
    ASSERT_EQ(cells.size(), 2);
    EXPECT_EQ(cells[0], (RotatedTextCell{QByteArray("\x7F"
                                                    "A"),
                                         {100, 100}}));
    EXPECT_EQ(cells[1], (RotatedTextCell{QByteArray("B"), {122, 100}}));

    // "中文" and a last lead byte with nothing after it, taken alone.
    const auto gbk = RotatedTextCells(line("\xD6\xD0\xCE\xC4\xD6", 0, tpVertical), 5, 7);
    ASSERT_EQ(gbk.size(), 3);
    EXPECT_EQ(gbk[0], (RotatedTextCell{QByteArray("\xD6\xD0"), {5, 7}}));
    EXPECT_EQ(gbk[1], (RotatedTextCell{QByteArray("\xCE\xC4"), {5, 29}}));
    EXPECT_EQ(gbk[2], (RotatedTextCell{QByteArray("\xD6"), {5, 51}}));
}

TEST(RotatedTextWalk, NothingForEmptyTextOrUnknownPlacement) {
    EXPECT_TRUE(RotatedTextCells(line("", 0, tpHorizontal), 0, 0).isEmpty());
    EXPECT_TRUE(RotatedTextCells(line("AB", 0, TextPlacement(2)), 0, 0).isEmpty());
    EXPECT_EQ(inkBox(drawn(line("AB", 0, TextPlacement(-1)))), QRect());
    EXPECT_EQ(inkBox(drawn(line("", 45, tpVertical))), QRect());
}

TEST(RotatedTextWalk, ExtremeSizesSaturateInsteadOfWrapping) {
    TSetSector s = line("AB", 0, tpHorizontal);
    s.Size = 2147483647;
    s.CharSpacing = 2147483647;
    EXPECT_EQ(origins(s, 10, 0), (QList<QPoint>{{10, 0}, {2147483647, 0}}));
}

TEST(RotatedTextInk, AngleZeroPutsCellsAt100_122_144) {
    // "一" is one horizontal stroke: each cell's ink is a short bar.
    const DrawingSurface row = drawn(line("\xD2\xBB\xD2\xBB\xD2\xBB", 0, tpHorizontal));
    const QRect whole = inkBox(row);
    EXPECT_GE(whole.left(), 100);
    EXPECT_LT(whole.right(), 166);
    for (int x : {100, 122, 144}) {
        const QRect cell = inkBox(row, QRect(x, 90, 22, 40));
        EXPECT_GE(cell.width(), 15) << x;
        EXPECT_LE(cell.height(), 4) << x;
        EXPECT_GE(cell.top(), 100) << x;
        EXPECT_LT(cell.bottom(), 120) << x;
    }
    const DrawingSurface column = drawn(line("\xD2\xBB\xD2\xBB\xD2\xBB", 0, tpVertical));
    EXPECT_GE(inkBox(column).top(), 100);
    EXPECT_LT(inkBox(column).bottom(), 166);
    for (int y : {100, 122, 144})
        EXPECT_GE(inkBox(column, QRect(95, y, 30, 22)).width(), 15) << y;
}

TEST(RotatedTextInk, NinetyDegreesTurnsGlyphsAQuarterCounterClockwise) {
    // Horizontal placement stacks downwards; each bar stands upright, right of x and above
    // the cell's own y.
    const DrawingSurface s = drawn(line("\xD2\xBB\xD2\xBB\xD2\xBB", 90, tpHorizontal));
    for (int y : {100, 122, 144}) {
        const QRect bar = inkBox(s, QRect(90, y - 22, 40, 22));
        EXPECT_LE(bar.width(), 4) << y;
        EXPECT_GE(bar.height(), 15) << y;
        EXPECT_GT(bar.left(), 100) << y;
        EXPECT_LT(bar.right(), 122) << y;
    }
    EXPECT_EQ(inkBox(s).top(), inkBox(s, QRect(90, 78, 40, 22)).top());
    EXPECT_LE(inkBox(s).bottom(), 144);
    // Vertical placement steps right: three upright bars side by side.
    const DrawingSurface v = drawn(line("\xD2\xBB\xD2\xBB\xD2\xBB", 90, tpVertical));
    for (int x : {100, 122, 144})
        EXPECT_GE(inkBox(v, QRect(x, 70, 22, 31)).height(), 15) << x;
}

TEST(RotatedTextInk, HalfTurnDrawsUpsideDownAndStepsBack) {
    for (int angle : {180, -180}) {
        // "L" upright has its foot at the bottom; turned over, the foot is at the top and
        // the glyph lies left of and above the point.
        const DrawingSurface upright = drawn(line("L", 0, tpHorizontal));
        const DrawingSurface over = drawn(line("L", angle, tpHorizontal));
        const QRect u = inkBox(upright);
        const QRect o = inkBox(over);
        EXPECT_LT(o.right(), 100);
        EXPECT_LT(o.bottom(), 100);
        EXPECT_NEAR(o.width(), u.width(), 1);
        EXPECT_NEAR(o.height(), u.height(), 1);
        EXPECT_GE(inkBox(upright, QRect(u.left(), u.bottom() - 1, u.width(), 2)).width(), 6);
        EXPECT_GE(inkBox(over, QRect(o.left(), o.top(), o.width(), 2)).width(), 6);

        const DrawingSurface left = drawn(line("LLL", angle, tpHorizontal), 200, 100);
        for (int x : {200, 178, 156})
            EXPECT_TRUE(inkBox(left, QRect(x - 22, 70, 22, 30)).isValid());
        EXPECT_GE(inkBox(left).left(), 134);
        const DrawingSurface up = drawn(line("LLL", angle, tpVertical), 100, 200);
        for (int y : {200, 178, 156})
            EXPECT_TRUE(inkBox(up, QRect(70, y - 22, 30, 22)).isValid());
        EXPECT_GE(inkBox(up).top(), 134);
    }
}

TEST(RotatedTextInk, ByteWalkShowsOnTheSurface) {
    // 127 swallows the first "L": two cells in the column, none at y = 144.
    const DrawingSurface s = drawn(line("\x7F"
                                        "LL",
                                        0, tpVertical));
    EXPECT_TRUE(inkBox(s, QRect(100, 122, 22, 22)).isValid());
    EXPECT_FALSE(inkBox(s, QRect(0, 144, 300, 156)).isValid());
    // A lone last lead byte still takes a cell of its own, the third one.
    const DrawingSurface lone = drawn(line("LL\xD6", 0, tpHorizontal));
    EXPECT_TRUE(inkBox(lone, QRect(144, 95, 22, 30)).isValid());
    EXPECT_FALSE(inkBox(lone, QRect(166, 0, 134, 300)).isValid());
}

// 𠀀 (beyond the basic plane) and the vertical comma ︐ have no GBK code: in the bytes they
// are placeholders, and the line draws them from the characters typed. Each cell holds what
// a line of its character alone draws there, and not what the placeholder's bytes draw.
TEST(RotatedTextInk, CharactersWithoutAGbkCodeAreDrawnAsThemselves) {
    TSetSector s = line("", 0, tpHorizontal);
    s.Size = 40;
    s.Characters = QStringLiteral("永𠀀︐");
    s.Text = Gbk::encode(s.Characters);
    ASSERT_EQ(RotatedTextCells(s, 0, 0).size(), 3);
    const QStringList characters = {QStringLiteral("永"), QStringLiteral("𠀀"),
                                    QStringLiteral("︐")};
    EXPECT_EQ(RotatedTextCharacters(s), characters);
    const DrawingSurface whole = drawn(s, 10, 10);
    TSetSector bytesOnly = s;
    bytesOnly.Characters.clear();
    const DrawingSurface replaced = drawn(bytesOnly, 10, 10);
    for (int k = 0; k < 3; ++k) {
        TSetSector alone = s;
        alone.Characters = characters[k];
        alone.Text = Gbk::encode(alone.Characters);
        const DrawingSurface expected = drawn(alone, 10 + 42 * k, 10);
        const QRect cell(10 + 42 * k, 0, 42, 80);
        EXPECT_EQ(whole.image().copy(cell), expected.image().copy(cell)) << k;
        EXPECT_TRUE(inkBox(whole, cell).isValid()) << k;
        if (k > 0)
            EXPECT_NE(whole.image().copy(cell), replaced.image().copy(cell)) << k;
    }
}

TEST(RotatedTextInk, ColourIsExactAndSystemColoursFollowThePalette) {
    TSetSector s = line("\xD6\xD0", 0, tpHorizontal);
    s.Size = 60;
    s.Color = clRed;
    DrawingSurface red = drawn(s, 10, 10);
    bool fullRed = false;
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x) {
            const TColor p = red.pixel(x, y);
            ASSERT_EQ(p & 0xFF, 0xFFu) << x << "," << y; // red over white keeps full red
            fullRed |= p == clRed;
        }
    EXPECT_TRUE(fullRed);

    s.Color = clBtnFace;
    DrawingSurface face(300, 300);
    face.brush.color = clBlack;
    face.fillRect(0, 0, 300, 300);
    DrawRotatedText(face, 10, 10, s);
    EXPECT_EQ(face.pixel(0, 0), clBlack);
    const TColor button = fromQColor(QGuiApplication::palette().color(QPalette::Button));
    bool found = false;
    for (int y = 0; y < 100 && !found; ++y)
        for (int x = 0; x < 100 && !found; ++x)
            found = face.pixel(x, y) == button;
    EXPECT_TRUE(found);
}

TEST(RotatedTextInk, SizeIsACharacterHeightInPixels) {
    // "中" fills most of its em square: at 100 pixels (not 100 points, which would be 133
    // pixels) its ink stands between 85 and 100 pixels tall.
    TSetSector s = line("\xD6\xD0", 0, tpHorizontal);
    s.Size = 100;
    const QRect ink = inkBox(drawn(s, 10, 10));
    EXPECT_GE(ink.height(), 85);
    EXPECT_LE(ink.height(), 100);
    EXPECT_GE(ink.top(), 10);
}

TEST(RotatedTextInk, SurfaceKeepsItsFontButTakesTheColour) {
    DrawingSurface s(50, 50);
    s.font.name = QStringLiteral("楷体");
    s.font.height = -13;
    s.font.escapement = 0;
    DrawingSurface::Font expected = s.font;
    expected.color = 0x00123456;
    DrawRotatedChar(s, 0x00123456, 5, 5, 45, 30, QStringLiteral("宋体"), "A");
    EXPECT_EQ(s.font, expected);
    // An empty character takes the colour and draws nothing.
    DrawRotatedChar(s, clRed, 5, 5, 0, 30, QStringLiteral("宋体"), QByteArray());
    EXPECT_EQ(s.font.color, clRed);
    DrawingSurface blank(50, 50);
    DrawRotatedChar(blank, clRed, 5, 5, 0, 30, QStringLiteral("宋体"), QByteArray());
    EXPECT_EQ(inkBox(blank), QRect());
}

TEST(RotatedTextSize, WholeNumbersInTheRangeOnly) {
    EXPECT_EQ(RotatedTextSizeFromText(QStringLiteral("20")), 20);
    EXPECT_EQ(RotatedTextSizeFromText(QStringLiteral(" 36 ")), 36);
    EXPECT_EQ(RotatedTextSizeFromText(QStringLiteral("1")), 1);
    EXPECT_EQ(RotatedTextSizeFromText(QStringLiteral("1000")), 1000);
    for (const char* outside : {"-20", "-5", "0", "1001", "99999"}) {
        try {
            RotatedTextSizeFromText(QString::fromLatin1(outside));
            ADD_FAILURE() << outside;
        } catch (const TarvelError& e) {
            EXPECT_EQ(
                e.text(),
                QStringLiteral("字号 %1 超出范围：请输入 1 到 1000 之间的整数（字高的像素数）。")
                    .arg(QString::fromLatin1(outside)));
        }
    }
    // The largest size still draws: the middle stroke of 一 lands on a canvas of its size.
    TSetSector large;
    large.Text = Gbk::encode(QStringLiteral("一"));
    large.Size = largestRotatedTextSize;
    large.Color = clBlack;
    DrawingSurface canvas(largestRotatedTextSize, largestRotatedTextSize);
    DrawRotatedText(canvas, 0, 0, large);
    EXPECT_FALSE(inkBox(canvas).isEmpty());
    for (const QString& bad :
         {QString(), QStringLiteral("2O"), QStringLiteral("1.5"), QStringLiteral("99999999999")}) {
        try {
            RotatedTextSizeFromText(bad);
            ADD_FAILURE() << bad.toStdString();
        } catch (const TarvelError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("“%1”不是有效的整数。").arg(bad));
        }
    }
}

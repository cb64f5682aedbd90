// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal renderer: character count, the cell table of the four arrangements, outline and
// colours, and where the characters' ink lands on the seal bitmap.
#include "SealRenderer.h"
#include "FontFallback.h"
#include "Gbk.h"
#include "TarvelError.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRect>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QByteArray gbk(const QString& text) {
    return Gbk::encode(text);
}

// The bounding box of the pixels of one colour inside a rectangle.
QRect inkBox(const DrawingSurface& s, TColor ink, QRect area) {
    area = area.intersected(QRect(0, 0, s.width(), s.height()));
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (s.pixel(x, y) == ink) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (left > right)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

int countColour(const DrawingSurface& s, TColor colour, QRect area) {
    area = area.intersected(QRect(0, 0, s.width(), s.height()));
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += s.pixel(x, y) == colour;
    return n;
}

// Every pixel that is neither the ground nor the outline: the characters' ink, blended
// edges included.
QRect markedBox(const DrawingSurface& s, TColor ground, QRect area) {
    area = area.intersected(QRect(1, 1, s.width() - 2, s.height() - 2));
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (s.pixel(x, y) != ground) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (left > right)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

TSetStamper intaglio() {
    TSetStamper settings;
    settings.SealStyle = stIntaglio;
    return settings;
}

} // namespace

TEST(SealText, CountDisplayCharsLooksAtByteValues) {
    EXPECT_EQ(CountDisplayChars(QByteArray()), 0);
    EXPECT_EQ(CountDisplayChars("AB"), 2);
    EXPECT_EQ(CountDisplayChars(gbk(QStringLiteral("永和九年"))), 4);
    EXPECT_EQ(CountDisplayChars(gbk(QStringLiteral("A永"))), 2);
    EXPECT_EQ(CountDisplayChars(QByteArray("\xB0")), 1);
    // A lead byte with a low trail byte: three bytes of value, one of them high.
    EXPECT_EQ(CountDisplayChars(QByteArray("\xB0\x41")), 2);
    EXPECT_EQ(CountDisplayChars(QByteArray("\x7F\x41")), 2);
}

TEST(SealText, SplitTakesALeadByteWithItsNeighbour) {
    EXPECT_EQ(splitDisplayChars(gbk(QStringLiteral("A永B"))),
              QList<QByteArray>({"A", gbk(QStringLiteral("永")), "B"}));
    EXPECT_EQ(splitDisplayChars(QByteArray("a\xB0")), QList<QByteArray>({"a", "\xB0"}));
    EXPECT_EQ(splitDisplayChars(QByteArray("\xB0\x41")), QList<QByteArray>({"\xB0\x41"}));
    EXPECT_TRUE(splitDisplayChars(QByteArray()).isEmpty());
    EXPECT_EQ(gbkCharToString(gbk(QStringLiteral("印"))), QStringLiteral("印"));
    EXPECT_EQ(gbkCharToString("\xB0"), QString(QChar::ReplacementCharacter));
}

TEST(SealLayout, WorkedExamplesOfTheCellTable) {
    // Four characters in one row on a 50 x 50 seal, edge 1, spacing 1.
    const SealLineCells row = sealLineCells(arHorzLeftToRight, QSize(50, 50), 1, 1, 1, 0, 4);
    EXPECT_EQ(row.cellWidth, 11);
    EXPECT_EQ(row.cellHeight, 48);
    EXPECT_EQ(row.origins, QList<QPoint>({{1, 1}, {13, 1}, {25, 1}, {37, 1}}));

    const SealLineCells back = sealLineCells(arHorzRightToLeft, QSize(50, 50), 1, 1, 1, 0, 4);
    EXPECT_EQ(back.cellWidth, 11);
    EXPECT_EQ(back.origins, QList<QPoint>({{38, 1}, {26, 1}, {14, 1}, {2, 1}}));

    // Two columns on a 60 x 40 seal with edge 2 and spacing 4, first column at the right.
    const SealLineCells first = sealLineCells(arVertRightToLeft, QSize(60, 40), 2, 4, 2, 0, 3);
    const SealLineCells second = sealLineCells(arVertRightToLeft, QSize(60, 40), 2, 4, 2, 1, 2);
    EXPECT_EQ(first.cellWidth, 26);
    EXPECT_EQ(first.cellHeight, (40 - 4 - 8) / 3);
    EXPECT_EQ(first.origins, QList<QPoint>({{32, 2}, {32, 15}, {32, 28}}));
    EXPECT_EQ(second.cellHeight, (40 - 4 - 4) / 2);
    EXPECT_EQ(second.origins, QList<QPoint>({{2, 2}, {2, 22}}));

    const SealLineCells left = sealLineCells(arVertLeftToRight, QSize(60, 40), 2, 4, 2, 1, 2);
    EXPECT_EQ(left.cellWidth, 26);
    EXPECT_EQ(left.origins, QList<QPoint>({{32, 2}, {32, 22}}));

    // Second row of three in a horizontal layout.
    const SealLineCells lower = sealLineCells(arHorzLeftToRight, QSize(50, 50), 1, 1, 3, 1, 2);
    EXPECT_EQ(lower.cellHeight, (50 - 2 - 2) / 3);
    EXPECT_EQ(lower.origins.first(), QPoint(1, 1 + 15 + 1));
}

TEST(SealLayout, OddInputsNeverFail) {
    // Unknown arrangements lay out as arrangement 0.
    EXPECT_EQ(sealLineCells(Arrangement(7), QSize(50, 50), 1, 1, 1, 0, 4),
              sealLineCells(arHorzLeftToRight, QSize(50, 50), 1, 1, 1, 0, 4));
    // Text that does not fit: the division truncates toward zero and the cells go negative.
    const SealLineCells tight = sealLineCells(arHorzLeftToRight, QSize(10, 10), 1, 5, 1, 0, 4);
    EXPECT_EQ(tight.cellWidth, (10 - 2 - 15) / 4);
    EXPECT_EQ(tight.cellWidth, -1);
    EXPECT_EQ(tight.origins.size(), 4);
    // Extreme spacing cannot overflow; origins are held to the int range.
    const SealLineCells huge =
        sealLineCells(arHorzRightToLeft, QSize(50, 50), INT_MAX, INT_MIN, 2, 1, 9);
    EXPECT_EQ(huge.origins.size(), 9);
    EXPECT_TRUE(sealLineCells(arHorzLeftToRight, QSize(50, 50), 1, 1, 1, 0, 0).origins.isEmpty());
    EXPECT_EQ(sealSide(-5), 0);
    EXPECT_EQ(sealSide(4000), 4000);
    try {
        sealSide(4001);
        ADD_FAILURE() << "a side of 4001 was accepted";
    } catch (const TarvelError& e) {
        EXPECT_EQ(
            e.text(),
            QStringLiteral("印章边长 4001 太大：印章最多 4000 × 4000 像素，与最大的画布一样大。"));
    }
    EXPECT_EQ(sealDiagonal(50, 50), 70);
    EXPECT_EQ(sealDiagonal(60, 40), 72);
}

TEST(SealColours, BothStylesExactly) {
    EXPECT_EQ(sealColors(stIntaglio), (SealColors{clWhite, clRed, 0x003232F0}));
    EXPECT_EQ(sealColors(stRelief), (SealColors{clRed, clRed, 0x00D2D2D2}));

    TSetStamper settings = intaglio();
    TColor textColor = 0;
    const QList<QByteArray> blank = {" "};
    DrawingSurface seal = renderSeal(settings, blank, &textColor);
    EXPECT_EQ(textColor, clWhite);
    ASSERT_EQ(seal.size(), QSize(50, 50));
    EXPECT_TRUE(seal.transparent);
    EXPECT_EQ(seal.transparentColor, std::optional<TColor>(clFuchsia));
    // A one-pixel red outline along the outermost pixels, the ground inside it.
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(seal.pixel(i, 0), clRed);
        EXPECT_EQ(seal.pixel(i, 49), clRed);
        EXPECT_EQ(seal.pixel(0, i), clRed);
        EXPECT_EQ(seal.pixel(49, i), clRed);
    }
    EXPECT_EQ(countColour(seal, 0x003232F0, QRect(1, 1, 48, 48)), 48 * 48);

    settings.SealStyle = stRelief;
    seal = renderSeal(settings, blank, &textColor);
    EXPECT_EQ(textColor, clRed);
    EXPECT_EQ(seal.pixel(0, 0), clRed);
    EXPECT_EQ(countColour(seal, 0x00D2D2D2, QRect(1, 1, 48, 48)), 48 * 48);
}

// The pastes: today's red unchanged, cinnabar and vermilion in the place of the red.
TEST(SealColours, PastesTakeThePlaceOfTheRed) {
    for (::SealStyle style : {stIntaglio, stRelief})
        EXPECT_EQ(sealColors(style, siRed), sealColors(style));
    EXPECT_EQ(sealColors(stIntaglio, siCinnabar), (SealColors{clWhite, 0x001C30C4, 0x001C30C4}));
    EXPECT_EQ(sealColors(stRelief, siVermilion), (SealColors{0x002858E8, 0x002858E8, 0x00D2D2D2}));
    TSetStamper settings;
    settings.SealStyle = stRelief;
    settings.Ink = siCinnabar;
    TColor text = 0;
    const DrawingSurface seal = renderSeal(settings, {" "}, &text);
    EXPECT_EQ(text, 0x001C30C4u);
    EXPECT_EQ(seal.pixel(0, 25), 0x001C30C4u);
}

// A frame of n pixels along the edge, the ground inside it; a width of 1 is the outline of
// before, to the pixel.
TEST(SealOutline, FrameWidthThickensTheFrameInward) {
    TSetStamper settings;
    settings.SealStyle = stRelief;
    const QList<QByteArray> blank = {" "};
    settings.FrameWidth = 0;
    const DrawingSurface thin = renderSeal(settings, blank);
    settings.FrameWidth = 1;
    EXPECT_EQ(renderSeal(settings, blank).image(), thin.image());
    for (::CornerShape corner : {cnSquare, cnRounded}) {
        settings.CornerShape = corner;
        settings.FrameWidth = 5;
        const DrawingSurface seal = renderSeal(settings, blank);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(seal.pixel(i, 25), clRed) << corner << " " << i;
            EXPECT_EQ(seal.pixel(25, 49 - i), clRed) << corner << " " << i;
        }
        EXPECT_EQ(seal.pixel(5, 25), 0x00D2D2D2u) << corner;
        EXPECT_EQ(seal.pixel(44, 44), 0x00D2D2D2u) << corner;
        EXPECT_EQ(seal.pixel(0, 0), corner == cnRounded ? clFuchsia : clRed);
    }
}

// 做旧: the same seed wears the same pixels, another seed others; wear only takes ink away
// (to the key colour), more of it as the wear grows, and none at 0.
TEST(SealWear, SeededErosionOfTheInkOnly) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 80;
    settings.SealHeight = 80;
    const QList<QByteArray> lines = {gbk(QStringLiteral("寿山")), gbk(QStringLiteral("福海"))};
    const DrawingSurface fresh = renderSeal(settings, lines);
    settings.WearSeed = 7;
    EXPECT_EQ(renderSeal(settings, lines).image(), fresh.image());
    auto lost = [&](int wear, qint32 seed) {
        settings.Wear = wear;
        settings.WearSeed = seed;
        const DrawingSurface worn = renderSeal(settings, lines);
        int count = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                if (worn.pixel(x, y) != fresh.pixel(x, y)) {
                    EXPECT_EQ(worn.pixel(x, y), clFuchsia) << x << "," << y;
                    EXPECT_TRUE(fresh.pixel(x, y) == clRed || fresh.pixel(x, y) == 0x003232F0)
                        << x << "," << y;
                    ++count;
                }
        return std::pair(count, worn.image());
    };
    const auto [some, first] = lost(30, 7);
    const auto [again, second] = lost(30, 7);
    EXPECT_EQ(first, second);
    EXPECT_GT(some, 0);
    EXPECT_NE(lost(30, 8).second, first);
    EXPECT_GT(lost(100, 7).first, 2 * some);
}

// Smooth edges: an alpha picture whose edge pixels are parts of the seal's own colours over
// nothing. Red and grey have equal green and blue, so any blend with the key colour's blue
// would show. The turn keeps the whole seal.
TEST(SealSmooth, EdgesBlendWithNothingButTheSeal) {
    TSetStamper settings;
    settings.SealStyle = stRelief;
    settings.CornerShape = cnRounded;
    settings.SealWidth = 80;
    settings.SealHeight = 80;
    settings.SmoothEdges = true;
    const QImage smooth =
        renderSmoothSeal(settings, {QStringLiteral("寿山"), QStringLiteral("福海")});
    ASSERT_EQ(smooth.size(), QSize(80, 80));
    int partial = 0, mixed = 0;
    qint64 coverage = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const QRgb p = smooth.pixel(x, y);
            coverage += qAlpha(p);
            if (qAlpha(p) == 0)
                continue;
            ASSERT_LE(std::abs(qGreen(p) - qBlue(p)), 1) << x << "," << y;
            partial += qAlpha(p) < 255;
            mixed += p != qRgba(255, 0, 0, 255) && p != qRgba(210, 210, 210, 255);
        }
    // The rounded corners fade into nothing; the strokes' edges are red and grey mixed.
    EXPECT_GT(partial, 8);
    EXPECT_GT(mixed, partial + 100);
    EXPECT_EQ(qAlpha(smooth.pixel(0, 0)), 0);
    EXPECT_EQ(smooth.pixel(40, 0), qRgba(255, 0, 0, 255));

    const QImage turned = turnedSmoothSeal(smooth, 30, QSize(116, 116));
    ASSERT_EQ(turned.size(), QSize(116, 116));
    qint64 turnedCoverage = 0;
    for (int y = 0; y < 116; ++y)
        for (int x = 0; x < 116; ++x)
            turnedCoverage += qAlpha(turned.pixel(x, y));
    EXPECT_NEAR(double(turnedCoverage), double(coverage), coverage * 0.02);
    EXPECT_EQ(turnedSmoothSeal(smooth, 0, QSize(116, 116)).copy(0, 0, 80, 80), smooth);
}

TEST(SealOutline, RoundedCornersStayKeyed) {
    TSetStamper settings = intaglio();
    settings.CornerShape = cnRounded;
    const DrawingSurface seal = renderSeal(settings, {" "});
    for (QPoint corner : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 49), QPoint(49, 49)})
        EXPECT_EQ(seal.pixel(corner.x(), corner.y()), clFuchsia) << corner.x() << corner.y();
    EXPECT_EQ(seal.pixel(1, 0), clFuchsia);
    // The straight parts of the outline and the ground are as for a square seal.
    EXPECT_EQ(seal.pixel(25, 0), clRed);
    EXPECT_EQ(seal.pixel(0, 25), clRed);
    EXPECT_EQ(seal.pixel(25, 25), 0x003232F0u);
    EXPECT_EQ(seal.pixel(2, 2), 0x003232F0u);
    // Nothing but the three colours: no blended fringe next to the key.
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const TColor c = seal.pixel(x, y);
            ASSERT_TRUE(c == clFuchsia || c == clRed || c == 0x003232F0) << x << "," << y;
        }
}

TEST(SealInk, FourCharactersInArrangementsZeroAndOne) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 200;
    settings.SealHeight = 60;
    // cw = (200 - 2 - 3) div 4 = 48, ch = 58; cells at x = 1, 50, 99, 148.
    const QList<QByteArray> lines = {gbk(QStringLiteral("永永永永"))};
    const DrawingSurface seal = renderSeal(settings, lines);
    for (int j = 0; j < 4; ++j) {
        const QRect cell(1 + j * 49, 1, 48, 58);
        const QRect box = inkBox(seal, clWhite, cell);
        ASSERT_FALSE(box.isNull()) << j;
        // A full-width character fills most of its cell, and nothing reaches the spacing.
        EXPECT_GE(box.width(), 24) << j;
        EXPECT_GE(box.height(), 24) << j;
        EXPECT_EQ(markedBox(seal, 0x003232F0, QRect(cell.right() + 1, 1, 1, 58)), QRect()) << j;
    }

    settings.Arrangement = arHorzRightToLeft;
    const QList<QByteArray> mixed = {gbk(QStringLiteral("永一"))};
    // cw = (200 - 2 - 1) div 2 = 98: the first character at x = 200 - 1 - 98 = 101, the
    // second at 200 - 1 - 196 - 1 = 2.
    const DrawingSurface back = renderSeal(settings, mixed);
    const QRect first = markedBox(back, 0x003232F0, QRect(101, 1, 98, 58));
    const QRect second = markedBox(back, 0x003232F0, QRect(2, 1, 98, 58));
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    // "永" is tall, "一" a single flat stroke: the ink tells which cell holds which.
    EXPECT_GT(first.height(), 3 * second.height());
}

TEST(SealInk, OnlyTheFourColoursOfTheSeal) {
    for (::SealStyle style : {stIntaglio, stRelief}) {
        TSetStamper settings;
        settings.SealStyle = style;
        settings.CornerShape = cnRounded;
        settings.SealWidth = 80;
        settings.SealHeight = 80;
        settings.StrokeWeight = 900;
        const QList<QByteArray> lines = {gbk(QStringLiteral("寿山")), gbk(QStringLiteral("福海"))};
        const DrawingSurface seal = renderSeal(settings, lines);
        const SealColors colors = sealColors(style);
        int ink = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x) {
                const TColor c = seal.pixel(x, y);
                ASSERT_TRUE(c == clFuchsia || c == colors.pen || c == colors.brush ||
                            c == colors.text)
                    << x << "," << y << " " << std::hex << c;
                ink += (x > 0 && y > 0 && x < 79 && y < 79 && c == colors.text);
            }
        EXPECT_GT(ink, 400);
    }
}

TEST(SealInk, ColumnsInArrangementThree) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 60;
    settings.SealHeight = 40;
    settings.EdgeWidth = 2;
    settings.CharSpacing = 4;
    settings.Arrangement = arVertRightToLeft;
    // Line 0 is the right column (x 32..57), line 1, empty of ink here, the left one.
    const DrawingSurface seal = renderSeal(settings, {gbk(QStringLiteral("永")), " "});
    const QRect right = markedBox(seal, 0x003232F0, QRect(32, 2, 26, 36));
    ASSERT_FALSE(right.isNull());
    EXPECT_GE(right.left(), 32);
    EXPECT_LE(right.right(), 57);
    EXPECT_EQ(markedBox(seal, 0x003232F0, QRect(1, 1, 31, 38)), QRect());
}

TEST(SealInk, LetterAndCharacterShareTwoEqualCells) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 100;
    settings.SealHeight = 50;
    // Two cells of (100 - 2 - 1) div 2 = 48 at x = 1 and 50.
    const DrawingSurface seal = renderSeal(settings, {gbk(QStringLiteral("A永"))});
    const QRect letter = markedBox(seal, 0x003232F0, QRect(1, 1, 48, 48));
    const QRect character = markedBox(seal, 0x003232F0, QRect(50, 1, 48, 48));
    ASSERT_FALSE(letter.isNull());
    ASSERT_FALSE(character.isNull());
    // The letter, about half a cell wide, stands at the left of its cell.
    EXPECT_LT(letter.right(), 1 + 48 * 3 / 4);
    EXPECT_LT(letter.width(), character.width());
}

TEST(SealInk, EmptyLineLeavesAnEmptyRow) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 60;
    settings.SealHeight = 92;
    // Three rows of (92 - 2 - 2) div 3 = 29 at y = 1, 31, 61.
    const QList<QByteArray> lines = {gbk(QStringLiteral("永")), QByteArray(),
                                     gbk(QStringLiteral("永"))};
    const DrawingSurface seal = renderSeal(settings, lines);
    EXPECT_FALSE(markedBox(seal, 0x003232F0, QRect(1, 1, 58, 29)).isNull());
    EXPECT_EQ(markedBox(seal, 0x003232F0, QRect(1, 31, 58, 29)), QRect());
    EXPECT_FALSE(markedBox(seal, 0x003232F0, QRect(1, 61, 58, 29)).isNull());
}

// A 120 x 120 intaglio seal of 福: the width of its white ink and the x of the ink's centre
// (left and right added, halved) in the 118-pixel cell at x = 1. The Kai and Song faces of
// old state half an em as their average width; the brush faces and LXGW WenKai nearly a whole
// em, which once drew their characters 53 pixels wide at x = 32. Measured from the ideograph,
// a full-width character is as wide as the cell (to the pixel) in every face, and its ink
// fills the cell and centres in it (within the face's own design); the AR PL pictures are those of
// before to the pixel.
TEST(SealInk, OneCharacterFillsItsCellInEveryFace) {
    const bool brush = QFontDatabase::addApplicationFont(
                           QStringLiteral(TARVEL_FONTS_FOLDER "/MaShanZheng.ttf")) >= 0;
    struct Row {
        const char* face;
        int width; // exact where the pixels are those of before, else 0
        int centre;
    };
    const Row rows[] = {{"AR PL KaitiM GB", 103, 56},
                        {"AR PL SungtiL GB", 108, 58},
                        {"LXGW WenKai", 0, 0},
                        {"Ma Shan Zheng", 0, 0}};
    TSetStamper settings = intaglio();
    settings.SealWidth = 120;
    settings.SealHeight = 120;
    for (const Row& row : rows) {
        settings.FontName = QString::fromUtf8(row.face);
        if (settings.FontName == QLatin1String("Ma Shan Zheng") && !brush)
            continue;
        DrawingSurface::Font request;
        request.name = settings.FontName;
        request.height = 118;
        request.width = 59;
        request.charset = 134;
        // Within the rounding of the natural half width to a pixel and of the stretch to a
        // whole percent.
        EXPECT_NEAR(QFontMetricsF(resolveFont(request)).horizontalAdvance(QChar(0x4E00)), 118, 2)
            << row.face;

        const DrawingSurface seal = renderSeal(settings, {gbk(QStringLiteral("福"))});
        const QRect box = inkBox(seal, clWhite, QRect(1, 1, 118, 118));
        const int centre = (box.left() + box.right()) / 2;
        if (row.width) {
            EXPECT_EQ(box.width(), row.width) << row.face;
            EXPECT_EQ(centre, row.centre) << row.face;
        }
        EXPECT_GE(box.width(), 100) << row.face;
        EXPECT_NEAR(centre, 59.5, 4) << row.face;
    }
    if (!brush)
        GTEST_SKIP() << "the build left out Ma Shan Zheng (see the configure message)";
}

// 𠀀 and ︐ have no GBK code: a seal of the editor's text draws them as themselves in their
// cells (as DrawSealChar draws them there), not as the placeholder's bytes.
TEST(SealInk, CharactersWithoutAGbkCodeAreDrawnAsThemselves) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 100;
    settings.FontName = QStringLiteral("AR PL KaitiM GB");
    const DrawingSurface seal = renderSealText(settings, {QStringLiteral("𠀀︐")});
    // Two cells of (100 - 2 - 1) div 2 = 48 by 48, at x = 1 and 50.
    DrawingSurface expected = renderSeal(settings, {"  "});
    expected.font.name = settings.FontName;
    expected.font.color = clWhite;
    DrawSealChar(expected, 48, 48, 1, 1, QStringLiteral("𠀀"), settings.StrokeWeight);
    DrawSealChar(expected, 48, 48, 50, 1, QStringLiteral("︐"), settings.StrokeWeight);
    EXPECT_EQ(seal.image(), expected.image());
    const DrawingSurface replaced = renderSeal(settings, {gbk(QStringLiteral("𠀀︐"))});
    for (const QRect cell : {QRect(1, 1, 48, 48), QRect(50, 1, 48, 48)}) {
        EXPECT_FALSE(inkBox(seal, clWhite, cell).isNull());
        EXPECT_NE(seal.image().copy(cell), replaced.image().copy(cell));
    }
}

// A character the seal's brush face lacks is drawn from the Fonts folder's face that the
// fallback chain names: 盡 in Ma Shan Zheng exactly as in LXGW WenKai.
TEST(SealInk, MissingCharactersComeFromTheFallbackChain) {
    if (QFontDatabase::addApplicationFont(QStringLiteral(TARVEL_FONTS_FOLDER "/MaShanZheng.ttf")) <
        0)
        GTEST_SKIP() << "the build left out Ma Shan Zheng (see the configure message)";
    FontFallback::setFaces({QStringLiteral("Ma Shan Zheng"), QStringLiteral("AR PL KaitiM GB"),
                            QStringLiteral("LXGW WenKai")});
    TSetStamper settings = intaglio();
    settings.FontName = QStringLiteral("Ma Shan Zheng");
    const DrawingSurface brush = renderSeal(settings, {gbk(QStringLiteral("盡"))});
    settings.FontName = QStringLiteral("LXGW WenKai");
    const DrawingSurface kai = renderSeal(settings, {gbk(QStringLiteral("盡"))});
    FontFallback::setFaces({});
    EXPECT_EQ(brush.image(), kai.image());
    EXPECT_FALSE(inkBox(kai, clWhite, QRect(1, 1, 48, 48)).isNull());
}

// With matchFallbackWeight the characters the brush face lacks have stems 0.8 to 1.25 times
// those of the face's own characters, measured as the median run of the white ink
// across a seal of each; drawn as the fallback face has them, they are much thinner.
TEST(SealInk, FallbackCharactersMatchTheFacesStems) {
    if (QFontDatabase::addApplicationFont(QStringLiteral(TARVEL_FONTS_FOLDER "/MaShanZheng.ttf")) <
        0)
        GTEST_SKIP() << "the build left out Ma Shan Zheng (see the configure message)";
    FontFallback::setFaces({QStringLiteral("Ma Shan Zheng"), QStringLiteral("LXGW WenKai")});
    const auto stem = [](const DrawingSurface& seal, QRect cell) {
        std::vector<int> runs;
        for (const bool rows : {true, false})
            for (int i = 0; i < (rows ? cell.height() : cell.width()); ++i) {
                int run = 0;
                for (int j = 0; j <= (rows ? cell.width() : cell.height()); ++j) {
                    const QPoint at =
                        rows ? cell.topLeft() + QPoint(j, i) : cell.topLeft() + QPoint(i, j);
                    if (j < (rows ? cell.width() : cell.height()) &&
                        seal.pixel(at.x(), at.y()) == clWhite)
                        ++run;
                    else if (run > 0)
                        runs.push_back(std::exchange(run, 0));
                }
            }
        std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
        return double(runs[runs.size() / 2]);
    };
    TSetStamper settings = intaglio();
    settings.FontName = QStringLiteral("Ma Shan Zheng");
    settings.SealWidth = 300;
    settings.SealHeight = 300;
    settings.KeepProportions = true; // 2 x 2, each character in a square cell
    const auto ratio = [&](bool matched) {
        settings.MatchFallbackWeight = matched;
        const QRect inside(1, 1, 298, 298);
        return stem(renderSealText(settings, {QStringLiteral("門馬車長")}), inside) /
               stem(renderSealText(settings, {QStringLiteral("永和山水")}), inside);
    };
    EXPECT_GE(ratio(true), 0.8);
    EXPECT_LE(ratio(true), 1.25);
    EXPECT_LT(ratio(false), 0.8);
    FontFallback::setFaces({});
}

TEST(SealChar, CellHeightWidthAndWeight) {
    auto drawn = [](int cw, int ch, int weight) {
        DrawingSurface s(200, 120);
        s.brush = {clWhite, DrawingSurface::BrushStyle::Solid};
        s.fillRect(0, 0, 200, 120);
        s.font.name = QStringLiteral("宋体");
        s.font.color = clBlack;
        DrawSealChar(s, cw, ch, 10, 10, QStringLiteral("国"), weight);
        return s;
    };
    const DrawingSurface wide = drawn(96, 96, 400);
    const QRect wideBox = markedBox(wide, clWhite, QRect(0, 0, 200, 120));
    ASSERT_FALSE(wideBox.isNull());
    // The glyph stays inside its cell and a full-width character is about a cell wide.
    EXPECT_GE(wideBox.left(), 10);
    EXPECT_GE(wideBox.top(), 10);
    EXPECT_LE(wideBox.bottom(), 10 + 96);
    EXPECT_GE(wideBox.width(), 96 * 6 / 10);
    EXPECT_LE(wideBox.right(), 10 + 96 + 2);
    // Half the cell width squeezes the glyph horizontally only.
    const QRect narrowBox = markedBox(drawn(48, 96, 400), clWhite, QRect(0, 0, 200, 120));
    EXPECT_NEAR(narrowBox.width(), wideBox.width() / 2.0, 4);
    EXPECT_NEAR(narrowBox.height(), wideBox.height(), 2);
    // Heavier strokes put down more ink.
    const int light = countColour(drawn(96, 96, 400), clBlack, QRect(0, 0, 200, 120));
    const int heavy = countColour(drawn(96, 96, 1000), clBlack, QRect(0, 0, 200, 120));
    EXPECT_GT(heavy, light * 12 / 10);
    // A cell without width or height draws nothing.
    for (QSize cell : {QSize(0, 40), QSize(40, 0), QSize(-5, 40), QSize(40, -5)})
        EXPECT_EQ(
            markedBox(drawn(cell.width(), cell.height(), 400), clWhite, QRect(0, 0, 200, 120)),
            QRect());
}

TEST(SealRender, NonPositiveAndAbsurdSizesNeverFail) {
    TSetStamper settings = intaglio();
    settings.SealWidth = 0;
    EXPECT_TRUE(renderSeal(settings, {gbk(QStringLiteral("印"))}).isEmpty());
    settings.SealWidth = -40;
    EXPECT_TRUE(renderSeal(settings, {gbk(QStringLiteral("印"))}).isEmpty());
    settings.SealWidth = 3;
    settings.SealHeight = 3;
    settings.EdgeWidth = 5;
    const DrawingSurface tiny = renderSeal(settings, {gbk(QStringLiteral("印章"))});
    EXPECT_EQ(tiny.size(), QSize(3, 3));
    EXPECT_EQ(tiny.pixel(1, 1), 0x003232F0u);
    settings.SealWidth = 2500; // larger than the old cut of 2048, within the largest canvas
    settings.SealHeight = 7;
    settings.EdgeWidth = INT_MIN;
    settings.CharSpacing = INT_MAX;
    EXPECT_EQ(renderSeal(settings, {gbk(QStringLiteral("印章"))}).size(), QSize(2500, 7));
    settings.SealWidth = 1 << 30;
    EXPECT_THROW(renderSeal(settings, {gbk(QStringLiteral("印章"))}), TarvelError);
}

TEST(SealFrame, SealInTheTopLeftOfAKeyedSquare) {
    TSetStamper settings = intaglio();
    settings.CornerShape = cnRounded;
    const DrawingSurface seal = renderSeal(settings, {gbk(QStringLiteral("印"))});
    const DrawingSurface framed = framedSeal(seal, 70, 70);
    ASSERT_EQ(framed.size(), QSize(70, 70));
    EXPECT_EQ(framed.transparentColor, std::optional<TColor>(clFuchsia));
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(framed.pixel(x, y), (x < 50 && y < 50) ? seal.pixel(x, y) : clFuchsia)
                << x << "," << y;
    EXPECT_TRUE(framedSeal(DrawingSurface(), 0, 10).isEmpty());
}

// Regrouped by count and shape: two side by side on a square or wide seal, one above the
// other on a tall one, three as one line and two, four as 2 x 2.
TEST(SealLooks, CharactersRegroupedByTheSealsShape) {
    struct Row {
        Arrangement arrangement;
        QSize seal;
        int count;
        QList<int> lines;
    } rows[] = {
        {arHorzLeftToRight, {160, 160}, 2, {2}},    {arVertRightToLeft, {160, 160}, 2, {1, 1}},
        {arHorzLeftToRight, {80, 160}, 2, {1, 1}},  {arVertRightToLeft, {80, 160}, 2, {2}},
        {arVertRightToLeft, {160, 160}, 3, {1, 2}}, {arHorzLeftToRight, {160, 160}, 3, {1, 2}},
        {arVertLeftToRight, {160, 160}, 4, {2, 2}}, {arHorzLeftToRight, {400, 100}, 4, {4}},
        {arHorzLeftToRight, {160, 160}, 1, {1}},    {arHorzLeftToRight, {160, 160}, 0, {}}};
    for (const Row& row : rows)
        EXPECT_EQ(proportionalLineCounts(row.arrangement, row.seal, row.count), row.lines)
            << row.arrangement << " " << row.seal.width() << "x" << row.seal.height() << " "
            << row.count;
}

// On the ink: each glyph's box in the seal has the proportions of the same glyph drawn
// undistorted within 1.25 : 1 (and a pixel's rounding), and the shape that forces more is
// told.
TEST(SealLooks, GlyphsKeepTheirProportions) {
    const auto ownShape = [](const QString& c) {
        DrawingSurface s(300, 300);
        s.font.name = QStringLiteral("宋体");
        s.font.height = 200;
        s.font.color = clBlack;
        s.textOut(10, 10, c);
        const QRect box = inkBox(s, clBlack, QRect(0, 0, 300, 300));
        return double(box.width()) / box.height();
    };
    struct Row {
        Arrangement arrangement;
        QSize seal;
        QStringList lines;
        bool forced;
    } rows[] = {{arHorzLeftToRight, {160, 80}, {"国图"}, false},
                {arVertRightToLeft, {160, 160}, {"国图"}, true},
                {arVertRightToLeft, {80, 160}, {"国", "图"}, false},
                {arVertRightToLeft, {160, 160}, {"国图围团"}, false},
                {arVertRightToLeft, {160, 160}, {"国图围"}, true},
                {arHorzLeftToRight, {300, 60}, {"国", "图"}, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lines.join(QLatin1Char('/')).toStdString());
        TSetStamper settings = intaglio();
        settings.SealWidth = row.seal.width();
        settings.SealHeight = row.seal.height();
        settings.Arrangement = row.arrangement;
        settings.KeepProportions = true;
        const DrawingSurface seal = renderSealText(settings, row.lines);
        const QList<SealGlyphCell> cells = proportionalSealCells(settings, row.lines);
        ASSERT_EQ(cells.size(), row.lines.join(QString()).size());
        for (const SealGlyphCell& cell : cells) {
            const QRect box = inkBox(seal, clWhite, cell.cell);
            ASSERT_FALSE(box.isNull()) << cell.text.toStdString();
            const double shape = double(box.width()) / box.height() / ownShape(cell.text);
            EXPECT_LE(std::max(shape, 1 / shape), maxGlyphDistortion + 2.0 / box.height())
                << cell.text.toStdString() << " " << box.width() << "x" << box.height();
        }
        EXPECT_EQ(sealShapeDistortion(settings, row.lines) > maxGlyphDistortion + 0.01, row.forced);
    }
}

namespace {

// The parts of a set of pixels, 8-connected, by their sizes.
QList<int> partSizes(QList<QPoint> pixels) {
    QSet<QPoint> left(pixels.begin(), pixels.end());
    QList<int> sizes;
    while (!left.isEmpty()) {
        QList<QPoint> stack = {*left.begin()};
        left.erase(left.begin());
        int size = 0;
        while (!stack.isEmpty()) {
            const QPoint p = stack.takeLast();
            ++size;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (left.remove(p + QPoint(dx, dy)))
                        stack.append(p + QPoint(dx, dy));
        }
        sizes.append(size);
    }
    return sizes;
}

} // namespace

// Pressed wear at the usual amount (50) keeps 85 to 95 % of the frame printed, loses nothing
// in spots smaller than 3 x 3 pixels, takes only ink, is the same for the same seed and grows
// with the wear.
TEST(SealWear, PressedWearKeepsMostOfTheFrameWithoutSpecks) {
    for (const SealStyle style : {stIntaglio, stRelief})
        for (const int frameWidth : {1, 4})
            for (const qint32 seed : {1, 2, 3, 4, 5, 6}) {
                SCOPED_TRACE(QStringLiteral("style %1 frame %2 seed %3")
                                 .arg(style)
                                 .arg(frameWidth)
                                 .arg(seed)
                                 .toStdString());
                TSetStamper settings;
                settings.SealStyle = style;
                settings.SealWidth = 120;
                settings.SealHeight = 120;
                settings.FrameWidth = frameWidth;
                settings.WearStyle = wsPressed;
                settings.WearSeed = seed;
                const QList<QByteArray> lines = {gbk(QStringLiteral("寿山")),
                                                 gbk(QStringLiteral("福海"))};
                const DrawingSurface fresh = renderSeal(settings, lines);
                const auto worn = [&](int wear) {
                    settings.Wear = wear;
                    return renderSeal(settings, lines);
                };
                const DrawingSurface usual = worn(50);
                EXPECT_EQ(worn(50).image(), usual.image());
                QList<QPoint> lost;
                int frame = 0, printed = 0;
                for (int y = 0; y < 120; ++y)
                    for (int x = 0; x < 120; ++x) {
                        const TColor was = fresh.pixel(x, y), now = usual.pixel(x, y);
                        if (now != was) {
                            ASSERT_EQ(now, clFuchsia) << x << "," << y;
                            ASSERT_TRUE(was == clRed || was == 0x003232F0) << x << "," << y;
                            lost.append(QPoint(x, y));
                        }
                        if (std::min({x, y, 119 - x, 119 - y}) < frameWidth) {
                            ++frame;
                            printed += now == clRed;
                        }
                    }
                EXPECT_GE(printed, frame * 85 / 100);
                EXPECT_LE(printed, frame * 95 / 100);
                for (const int size : partSizes(lost))
                    EXPECT_GE(size, minWearSpeck);
                const auto lostAt = [&](int wear) {
                    return 14400 - countColour(worn(wear), clRed, QRect(0, 0, 120, 120));
                };
                EXPECT_LT(lostAt(25), lostAt(50));
                EXPECT_LT(lostAt(50), lostAt(75));
            }
}

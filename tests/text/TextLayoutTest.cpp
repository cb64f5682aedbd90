// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text layout in its four arrangements at 96 pixels per inch: where every character's cell
// goes, checked against the surface's own text out at the expected places and by where the
// ink lands.
#include "TextLayout.h"
#include "FanTextLayout.h"
#include "FontFallback.h"
#include "Gbk.h"
#include "RotatedText.h"
#include "TarvelError.h"
#include "TextMeasure.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr int canvasWidth = 800;

class TextLayout : public ::testing::Test {
protected:
    void SetUp() override { resetTextSettings(settings); }
    // Writes the text in the Song face at one size and measures it as an apply would.
    void write(const QString& plain, int points = 20) {
        text.setText(plain);
        text.selectAll();
        text.setSelName(QStringLiteral("宋体"));
        text.setSelSize(points);
    }
    static DrawingSurface blank(TColor background = clWhite) {
        DrawingSurface surface(canvasWidth, 240);
        surface.brush.color = background;
        surface.fillRect(0, 0, surface.width(), surface.height());
        surface.brush.style = DrawingSurface::BrushStyle::Clear;
        return surface;
    }
    // The font the layout must choose for a character of the given size: a cell of +H.
    static DrawingSurface::Font songAt(int points, TColor color = clWindowText) {
        RichText::Attributes attributes;
        attributes.Name = QStringLiteral("宋体");
        attributes.Size = points;
        attributes.Color = color;
        DrawingSurface::Font font;
        setFontFromSelection(font, attributes, qRound(points * 96 / 72.0));
        return font;
    }
    DrawingSurface drawn(Arrangement arrangement, TColor background = clWhite) {
        DrawingSurface surface = blank(background);
        DrawTextBlock(surface, text, settings, arrangement, canvasWidth);
        return surface;
    }
    RichText text;
    TextSettings settings;
};

// The box of every pixel that is not the background.
QRect inkBox(const DrawingSurface& surface, TColor background = clWhite) {
    QRect box;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

struct Cell {
    QPoint at;
    QString c;
    int points = 20;
};

DrawingSurface reference(const std::vector<Cell>& cells) {
    DrawingSurface surface(canvasWidth, 240);
    surface.brush.color = clWhite;
    surface.fillRect(0, 0, surface.width(), surface.height());
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    for (const Cell& cell : cells) {
        DrawingSurface::Font font;
        RichText::Attributes attributes;
        attributes.Name = QStringLiteral("宋体");
        attributes.Size = cell.points;
        setFontFromSelection(font, attributes, qRound(cell.points * 96 / 72.0));
        surface.font = font;
        surface.textOut(cell.at.x(), cell.at.y(), cell.c);
    }
    return surface;
}

TEST_F(TextLayout, WorkedExampleInTheFourArrangements) {
    write(QStringLiteral("中文\n中文"));
    MeasureTextBlock(text, settings);
    ASSERT_EQ(settings.RowPitch, 32);
    DrawingSurface metrics = blank();
    metrics.font = songAt(20);
    const int w1 = metrics.textWidth(QStringLiteral("中"));
    const int w2 = metrics.textWidth(QStringLiteral("文"));
    const int h1 = metrics.textHeight(QStringLiteral("中"));
    ASSERT_GT(w1, 10);
    ASSERT_GT(h1, 20);
    const QString zhong = QStringLiteral("中"), wen = QStringLiteral("文");

    const std::vector<Cell> expected[4] = {
        {{{50, 52}, zhong}, {{52 + w1, 52}, wen}, {{50, 89}, zhong}, {{52 + w1, 89}, wen}},
        {{{748 - w1, 52}, zhong},
         {{748 - w1 - w2 - 2, 52}, wen},
         {{748 - w1, 89}, zhong},
         {{748 - w1 - w2 - 2, 89}, wen}},
        {{{52, 50}, zhong}, {{52, 52 + h1}, wen}, {{89, 50}, zhong}, {{89, 52 + h1}, wen}},
        {{{715, 50}, zhong}, {{715, 52 + h1}, wen}, {{678, 50}, zhong}, {{678, 52 + h1}, wen}},
    };
    for (int arrangement = 0; arrangement < 4; ++arrangement) {
        SCOPED_TRACE(arrangement);
        const DrawingSurface surface = drawn(Arrangement(arrangement));
        EXPECT_EQ(surface.image(), reference(expected[arrangement]).image());
        // The first character's ink lies inside its own cell and nowhere before it.
        const QPoint first = expected[arrangement][0].at;
        const QRect ink = inkBox(surface);
        const QRect firstInk = inkBox(reference({expected[arrangement][0]}));
        ASSERT_FALSE(firstInk.isEmpty());
        EXPECT_TRUE(QRect(first, QSize(w1, h1)).contains(firstInk))
            << first.x() << "," << first.y();
        EXPECT_GE(ink.top(), 50);
        EXPECT_GE(ink.left(), arrangement == 1 ? 748 - w1 - w2 - 2 : 50);
    }
}

TEST_F(TextLayout, SmallCharacterIsCentredInTheRow) {
    write(QStringLiteral("中文"));
    text.setSelStart(2);
    text.setSelLength(2);
    text.setSelSize(10); // H = 13 in a row of RowPitch 32: 9 pixels below the row's top
    MeasureTextBlock(text, settings);
    ASSERT_EQ(settings.RowPitch, 32);
    DrawingSurface metrics = blank();
    metrics.font = songAt(20);
    const int w1 = metrics.textWidth(QStringLiteral("中"));
    const DrawingSurface surface = drawn(arHorzLeftToRight);
    const Cell small{{52 + w1, 59}, QStringLiteral("文"), 10};
    EXPECT_EQ(surface.image(), reference({{{50, 52}, QStringLiteral("中")}, small}).image());
    const QRect smallInk = inkBox(reference({small}));
    EXPECT_GE(smallInk.top(), 59);
    EXPECT_LT(smallInk.bottom(), 59 + 13);
}

TEST_F(TextLayout, AfterACancelRowsAreLineSpacingApart) {
    write(QStringLiteral("中\n中"));
    // RowPitch 0 after a reset: off = -27 div 2 = -13, and the rows are 5 pixels apart.
    const DrawingSurface surface = drawn(arHorzLeftToRight);
    EXPECT_EQ(
        surface.image(),
        reference({{{50, 37}, QStringLiteral("中")}, {{50, 42}, QStringLiteral("中")}}).image());
}

TEST_F(TextLayout, ClearBrushKeepsThePictureAndColoursAreTheCharacters) {
    write(QStringLiteral("中文"));
    text.setSelStart(0);
    text.setSelLength(2);
    text.setSelColor(clRed);
    MeasureTextBlock(text, settings);
    const TColor blue = 0x00FF0000;
    const DrawingSurface surface = drawn(arHorzLeftToRight, blue);
    EXPECT_EQ(surface.pixel(50, 52), blue); // the cell's empty corner shows the picture
    DrawingSurface metrics = blank();
    metrics.font = songAt(20);
    const int w1 = metrics.textWidth(QStringLiteral("中"));
    // Glyph edges blend with the blue picture: the red character's pixels keep green at 0
    // and reach full red; the black one's never gain red or green.
    int firstRed = 0, secondRedOrGreen = 0, green = 0, changed = 0;
    for (int y = 52; y < 52 + 27; ++y)
        for (int x = 50; x < 52 + 2 * w1; ++x) {
            const TColor p = surface.pixel(x, y);
            changed += p != blue;
            green = std::max<int>(green, (p >> 8) & 0xFF);
            if (x < 50 + w1)
                firstRed = std::max<int>(firstRed, p & 0xFF);
            else
                secondRedOrGreen = std::max<int>(secondRedOrGreen, p & 0xFFFF);
        }
    EXPECT_GT(changed, 40);
    EXPECT_GE(firstRed, 0xE0);
    EXPECT_EQ(green, 0);
    EXPECT_EQ(secondRedOrGreen, 0);
}

TEST_F(TextLayout, NothingToDrawLeavesTheCanvasAlone) {
    const QImage untouched = blank().image();
    text.setText(QString());
    EXPECT_EQ(drawn(arHorzLeftToRight).image(), untouched);
    write(QStringLiteral("\n\n"));
    MeasureTextBlock(text, settings);
    for (int arrangement = 0; arrangement < 4; ++arrangement)
        EXPECT_EQ(drawn(Arrangement(arrangement)).image(), untouched);
    write(QStringLiteral("中文"));
    MeasureTextBlock(text, settings);
    EXPECT_EQ(drawn(Arrangement(4)).image(), untouched);
    EXPECT_EQ(drawn(Arrangement(-1)).image(), untouched);
}

TEST_F(TextLayout, CellsBeyondTheEdgesAreClipped) {
    write(QStringLiteral("中文"));
    MeasureTextBlock(text, settings);
    settings.LeftMargin = 790; // the first character straddles the right edge
    const DrawingSurface surface = drawn(arHorzLeftToRight);
    EXPECT_EQ(surface.image(), reference({{{790, 52}, QStringLiteral("中")}}).image());
    EXPECT_FALSE(inkBox(surface).isEmpty());
    const QImage untouched = blank().image();
    for (qint32 margin : {std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min()}) {
        settings.LeftMargin = margin;
        settings.TopMargin = margin;
        for (int arrangement = 0; arrangement < 4; ++arrangement)
            EXPECT_EQ(drawn(Arrangement(arrangement)).image(), untouched);
    }
}

TEST_F(TextLayout, FontComesFromTheSelectionAndStaysOnTheLastCharacter) {
    RichText::Attributes attributes;
    attributes.Name = QStringLiteral("楷体");
    attributes.Size = 30;
    attributes.Color = clPurple;
    attributes.Charset = 134;
    attributes.pitch = RichText::Pitch::Fixed;
    attributes.Bold = attributes.Underline = true;
    DrawingSurface::Font font;
    font.escapement = 0;
    setFontFromSelection(font, attributes, 40);
    EXPECT_EQ(font.name, QStringLiteral("楷体"));
    EXPECT_EQ(font.height, 40); // the cell height overrides the size
    EXPECT_EQ(font.color, clPurple);
    EXPECT_EQ(font.charset, 134);
    EXPECT_EQ(font.pitch, 1);
    EXPECT_EQ(font.weight, 700);
    EXPECT_TRUE(font.underline);
    EXPECT_FALSE(font.italic || font.strikeout);

    write(QStringLiteral("中文a"));
    MeasureTextBlock(text, settings);
    text.setSelStart(0);
    DrawingSurface surface = blank();
    DrawTextBlock(surface, text, settings, arVertRightToLeft, canvasWidth);
    EXPECT_EQ(text.selStart(), 4);
    EXPECT_EQ(text.selText(), QByteArray("a"));
    EXPECT_EQ(surface.font.height, 27);
    EXPECT_EQ(surface.font.name, QStringLiteral("宋体"));
}

// 扇面 in a ring of radii 300 and 135 over 140 degrees, cells of 40 x 40 with the default
// spacings: a long column holds 3 characters (the first centred 270 from the centre, 42 apart),
// the columns stand 15.53 degrees apart where they end nearest the centre, 8 of them; the
// inscription, cells of 24, starts a main cell lower with 4 to a column.
struct FanCase {
    FanColumns columns;
    std::vector<int> mainLines;
    std::vector<int> inscriptionLines;
    // Characters as (column, angle in tenths, x, y) from the ring's centre.
    std::vector<std::tuple<int, int, double, double>> cells;
};

TEST(FanTextPlan, ColumnAnglesAndPlacesLongAndShort) {
    const FanRing ring{QPoint(0, 0), 300, 135, 140};
    const FanCase cases[] = {
        {fcLong,
         {5},
         {2, 1},
         {{0, 596, 232.8787, -136.6291},
          {0, 596, 196.6531, -115.3757},
          {0, 596, 160.4275, -94.1223},
          {1, 441, 187.8965, -193.8941},
          {1, 441, 158.6681, -163.7328},
          // The inscription: a main column after the text, a main cell lower, smaller steps.
          {2, 286, 112.9713, -207.2040},
          {2, 286, 100.5253, -184.3764},
          {3, 172, 69.7871, -225.4457}}},
        // The short second column holds 2 characters and starts a cell lower.
        {fcLongShort,
         {5},
         {},
         {{0, 596, 232.8787, -136.6291},
          {0, 596, 196.6531, -115.3757},
          {0, 596, 160.4275, -94.1223},
          {1, 441, 158.6681, -163.7328},
          {1, 441, 129.4398, -133.5715}}},
        // Each line starts a column of its own.
        {fcLong, {1, 1}, {}, {{0, 596, 232.8787, -136.6291}, {1, 441, 187.8965, -193.8941}}},
    };
    FanTextMeasure measure{{}, {}, 40, 40, 24, 24};
    for (const FanCase& c : cases) {
        measure.mainLines = c.mainLines;
        measure.inscriptionLines = c.inscriptionLines;
        const FanTextPlan plan = planFanText(ring, measure, 2, 5, c.columns);
        EXPECT_EQ(plan.longCells, 3);
        EXPECT_EQ(plan.shortCells, 2);
        EXPECT_EQ(plan.columns, 8);
        ASSERT_EQ(plan.cells.size(), c.cells.size());
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            SCOPED_TRACE(i);
            const auto& [column, angle, x, y] = c.cells[i];
            EXPECT_EQ(plan.cells[i].column, column);
            EXPECT_EQ(plan.cells[i].angle, angle);
            EXPECT_NEAR(plan.cells[i].centre.x(), x, 1e-3);
            EXPECT_NEAR(plan.cells[i].centre.y(), y, 1e-3);
        }
    }
}

TEST(FanTextPlan, TextLongerThanTheFanHoldsSaysWhatIsLeftOver) {
    const FanRing ring{QPoint(0, 0), 300, 135, 140};
    FanTextMeasure measure{{25}, {}, 40, 40, 24, 24};
    const auto message = [&] {
        try {
            planFanText(ring, measure, 2, 5, fcLong);
        } catch (const TarvelError& error) {
            return error.text();
        }
        return QString();
    };
    EXPECT_EQ(message(), QStringLiteral("扇面放不下这段文字：每列最多 3 个字，扇面最多 8 列，"
                                        "还有 1 个字排不下。"));
    measure.mainLines = {24};
    EXPECT_EQ(message(), QString());
    measure.inscriptionLines = {3};
    EXPECT_EQ(message(),
              QStringLiteral("扇面放不下落款：落款每列最多 4 个字，还有 3 个字排不下。"));
}

TEST_F(TextLayout, FanBlockTurnsEachCharacterAboutItsPlace) {
    write(QStringLiteral("一二"), 30);
    settings.FanLayout = true;
    const FanRing ring{QPoint(400, 330), 300, 135, 140};
    const FanTextPlan plan = planFanTextBlock(text, settings, ring);
    ASSERT_EQ(plan.cells.size(), 2u);
    DrawingSurface surface(canvasWidth, 340);
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawFanTextBlock(surface, text, settings, ring, plan);
    // The ink of each character lies around its place, none of it far away.
    for (const FanCell& cell : plan.cells) {
        const QPoint at = (QPointF(ring.centre) + cell.centre).toPoint();
        int ink = 0;
        for (int y = at.y() - 20; y <= at.y() + 20; ++y)
            for (int x = at.x() - 20; x <= at.x() + 20; ++x)
                ink += surface.pixel(x, y) != clWhite;
        EXPECT_GT(ink, 20);
    }
    int stray = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.pixel(x, y) == clWhite)
                continue;
            bool near = false;
            for (const FanCell& cell : plan.cells) {
                const QPointF at = QPointF(ring.centre) + cell.centre;
                near = near || (std::abs(x - at.x()) <= 24 && std::abs(y - at.y()) <= 24);
            }
            stray += !near;
        }
    EXPECT_EQ(stray, 0);
    // A shift moves every pixel by itself.
    settings.FanShiftX = 7;
    settings.FanShiftY = -3;
    DrawingSurface moved(canvasWidth, 340);
    moved.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawFanTextBlock(moved, text, settings, ring, plan);
    EXPECT_EQ(moved.image().copy(7, 0, 700, 300), surface.image().copy(0, 3, 700, 300));
}

} // namespace

namespace {

// The box of the pixels where one channel of 0x00BBGGRR (0 red, 2 blue) stands out, so a
// mark drawn in red is found among black characters, antialiased edges included.
// Twice the centre of a box, so that odd and even widths compare without rounding.
int doubleCentreX(const QRect& box) {
    return box.left() + box.right() + 1;
}
int doubleCentreY(const QRect& box) {
    return box.top() + box.bottom() + 1;
}

QRect channelBox(const DrawingSurface& surface, int channel) {
    QRect box;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            const TColor p = surface.pixel(x, y);
            const int c[3] = {int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)};
            if (c[channel] > c[(channel + 1) % 3] && c[channel] > c[(channel + 2) % 3])
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

// One column "字", a red mark, a blue half-width "a", "字", in each convention and both vertical
// arrangements: where the mark's ink lands, whether it takes room, where the "a" stands, and
// that the measured column is the drawn one.
TEST_F(TextLayout, PunctuationInColumns) {
    enum Where {
        TopRight,
        Centred,
        TurnedCentred,
        TurnedLow,
        TurnedHigh,
        SmallBesideBefore,
        Dropped
    };
    struct Row {
        const char* mark;
        VerticalPunctuation mode;
        Where where;
    };
    const Row rows[] = {
        {"。", vpVertical, TopRight},
        {"，", vpVertical, TopRight},
        {"．", vpVertical, TopRight},
        {"？", vpVertical, Centred},
        {"：", vpVertical, Centred},
        {"《", vpVertical, TurnedCentred},
        {"—", vpVertical, TurnedCentred},
        {"。", vpCentered, Centred},
        {"、", vpCentered, Centred},
        {"．", vpCentered, TopRight},
        {"！", vpCentered, Centred},
        {"）", vpCentered, TurnedCentred},
        {"。", vpClassical, SmallBesideBefore},
        {"，", vpClassical, SmallBesideBefore},
        {"？", vpClassical, Dropped},
        {"》", vpClassical, Dropped},
        {"。", vpNone, Dropped},
        {"…", vpNone, Dropped},
        {"。", vpVerticalSnug, TopRight},
        {"《", vpVerticalSnug, TurnedLow},
        {"「", vpVerticalSnug, TurnedLow},
        {"）", vpVerticalSnug, TurnedHigh},
        {"」", vpVerticalSnug, TurnedHigh},
        {"—", vpVerticalSnug, TurnedCentred},
    };
    DrawingSurface metrics = blank();
    metrics.font = songAt(20);
    const int h = metrics.textHeight(QStringLiteral("字"));
    const auto song = [](TColor color) {
        RichText::Attributes a;
        a.Name = QStringLiteral("宋体");
        a.Size = 20;
        a.Color = color;
        return a;
    };
    for (const Row& row : rows) {
        for (const Arrangement arrangement : {arVertLeftToRight, arVertRightToLeft}) {
            SCOPED_TRACE(std::string(row.mark) + " mode " + std::to_string(row.mode) +
                         " arrangement " + std::to_string(arrangement));
            RichTextModel model;
            model.paragraphs.push_back({RichTextAlignment::Left,
                                        {{QStringLiteral("字"), song(clBlack)},
                                         {QString::fromUtf8(row.mark), song(0x0000FF)},
                                         {QStringLiteral("a"), song(0xFF0000)},
                                         {QStringLiteral("字"), song(clBlack)}}});
            text.setModel(model);
            settings.Arrangement = arrangement;
            settings.Punctuation = row.mode;
            MeasureTextBlock(text, settings);
            ASSERT_EQ(settings.RowPitch, 32);
            const DrawingSurface surface = drawn(arrangement);
            const QRect mark = channelBox(surface, 0);
            const QRect a = channelBox(surface, 2);
            // The column's slot: 32 wide at the left margin, or 37 left of the right one.
            const int slot = arrangement == arVertLeftToRight ? 50 : canvasWidth - 50 - 37;
            const int centre = slot + 16;
            const int markTop = 50 + h + 2; // the mark's room starts after the first 字
            const bool takesRoom = row.where != SmallBesideBefore && row.where != Dropped;
            switch (row.where) {
            case TopRight:
                EXPECT_GE(mark.left(), centre);
                EXPECT_GE(mark.top(), markTop);
                EXPECT_LT(mark.bottom(), markTop + h / 2);
                break;
            case Centred:
            case TurnedCentred:
                // Within a pixel and a half: the column is RowPitch wide, the glyph's cell
                // a few pixels less, and ink of odd width cannot sit on an even middle.
                EXPECT_NEAR(doubleCentreX(mark), 2 * centre, 3);
                EXPECT_NEAR(doubleCentreY(mark), 2 * markTop + h, 3);
                break;
            case TurnedLow:
            case TurnedHigh:
                // Centred across, and in the lower or the upper half of the cell.
                EXPECT_NEAR(doubleCentreX(mark), 2 * centre, 3);
                EXPECT_NEAR(doubleCentreY(mark),
                            2 * markTop + (row.where == TurnedLow ? 3 * h / 2 : h / 2), 3);
                break;
            case SmallBesideBefore:
                // Small, right of the column's middle, beside the lower half of the first 字.
                EXPECT_GT(mark.left(), centre);
                EXPECT_LE(mark.right(), slot + 32);
                EXPECT_GE(mark.top(), 50 + h / 2);
                EXPECT_LT(mark.bottom(), 50 + h);
                EXPECT_LT(mark.height(), h / 4);
                break;
            case Dropped:
                EXPECT_TRUE(mark.isEmpty());
                break;
            }
            if (row.where == TurnedCentred || row.where == TurnedLow || row.where == TurnedHigh) {
                // A quarter turn: the ink's width and height exchange.
                DrawingSurface upright = blank();
                upright.font = songAt(20, 0x0000FF);
                upright.textOut(100, 100, QString::fromUtf8(row.mark));
                const QRect unturned = channelBox(upright, 0);
                EXPECT_NE(unturned.width(), unturned.height());
                EXPECT_NEAR(mark.width(), unturned.height(), 1);
                EXPECT_NEAR(mark.height(), unturned.width(), 1);
            }
            // The half-width "a" is centred across the column where the mark's room ends.
            ASSERT_FALSE(a.isEmpty());
            EXPECT_NEAR(doubleCentreX(a), 2 * centre, 3);
            EXPECT_EQ(a.top(), takesRoom ? markTop + h + 2 : markTop);
            // The measured column: each room and its spacing, the "a" by its ink's height, then
            // CharSpacing and the margin on both sides.
            const int column = (takesRoom ? h + 2 : 0) + 2 * (h + 2) + a.height() + 2;
            EXPECT_EQ(settings.ExtentHeight, column + 2 + 2 * 50);
        }
    }
}

TEST_F(TextLayout, ConventionsLeaveRowsAloneAndDigitsBecomeNumerals) {
    write(QStringLiteral("（2026）。"));
    const DrawingSurface left = drawn(arHorzLeftToRight);
    const DrawingSurface right = drawn(arHorzRightToLeft);
    settings.Punctuation = vpNone;
    EXPECT_EQ(drawn(arHorzLeftToRight).image(), left.image());
    EXPECT_EQ(drawn(arHorzRightToLeft).image(), right.image());

    settings.Punctuation = vpOriginal;
    settings.ChineseDigits = true;
    const DrawingSurface numerals = drawn(arVertRightToLeft);
    write(QStringLiteral("（二〇二六）。"));
    settings.ChineseDigits = false;
    EXPECT_EQ(numerals.image(), drawn(arVertRightToLeft).image());
}

TEST_F(TextLayout, PunctuationOnlyAndAFaceWithoutTheMarksDrawSoundly) {
    for (const VerticalPunctuation mode : {vpVertical, vpCentered, vpClassical, vpNone}) {
        SCOPED_TRACE(mode);
        write(QStringLiteral("。，《》——……\n"));
        text.selectAll();
        text.setSelName(QStringLiteral("DejaVu Sans")); // a Latin face: the marks fall back
        settings.Arrangement = arVertRightToLeft;
        settings.Punctuation = mode;
        MeasureTextBlock(text, settings);
        const QRect ink = inkBox(drawn(arVertRightToLeft));
        // Classical marks need a character before them; with none, nothing is left to draw
        // and the column is measured empty.
        const bool nothing = mode == vpClassical || mode == vpNone;
        EXPECT_EQ(ink.isEmpty(), nothing);
        if (nothing)
            EXPECT_EQ(settings.ExtentHeight, 2 + 2 * 50);
        else
            EXPECT_GE(settings.ExtentHeight, ink.bottom() + 1 + 2 + 50);
    }
}

// 盡, which the brush face lacks, is drawn from the face the fallback chain puts first for it
// (the heavier Kai face that has it), in rows and in columns under a punctuation convention;
// the other Kai face that has it does not draw it.
TEST_F(TextLayout, CharacterTheFaceLacksIsDrawnInTheChainsFace) {
    if (QFontDatabase::addApplicationFont(QStringLiteral(TARVEL_FONTS_FOLDER "/MaShanZheng.ttf")) <
        0)
        GTEST_SKIP() << "the build left out the brush faces (see the configure message)";
    FontFallback::setFaces({QStringLiteral("Ma Shan Zheng"), QStringLiteral("AR PL UKai TW"),
                            QStringLiteral("LXGW WenKai")});
    settings.Arrangement = arVertRightToLeft;
    for (const VerticalPunctuation mode : {vpOriginal, vpVertical}) {
        SCOPED_TRACE(mode);
        settings.Punctuation = mode;
        const auto inFace = [&](const QString& face) {
            write(QStringLiteral("盡"), 28);
            text.selectAll();
            text.setSelName(face);
            MeasureTextBlock(text, settings);
            return drawn(arVertRightToLeft).image();
        };
        const QImage brush = inFace(QStringLiteral("Ma Shan Zheng"));
        EXPECT_EQ(brush, inFace(QStringLiteral("LXGW WenKai")));
        EXPECT_NE(brush, inFace(QStringLiteral("AR PL UKai TW")));
        // "补字同粗细": the stand-in is thickened towards the brush face's stems, over the same
        // place; in its own face it stays as it is.
        settings.MatchFallbackWeight = true;
        const auto ink = [](const QImage& picture) {
            int dark = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    dark += qGray(picture.pixel(x, y)) < 128;
            return dark;
        };
        const QImage matched = inFace(QStringLiteral("Ma Shan Zheng"));
        EXPECT_EQ(inFace(QStringLiteral("LXGW WenKai")), brush);
        EXPECT_GT(ink(matched), ink(brush) * 5 / 4);
        settings.MatchFallbackWeight = false;
        // A line of rotated text takes the same choice.
        if (mode == vpOriginal) {
            TSetSector line;
            line.Characters = QStringLiteral("盡");
            line.Text = Gbk::encode(line.Characters);
            line.Size = 28;
            line.FaceName = QStringLiteral("Ma Shan Zheng");
            line.Color = clBlack;
            const auto rotated = [&](bool match) {
                line.MatchFallbackWeight = match;
                DrawingSurface surface = blank();
                DrawRotatedText(surface, 40, 40, line);
                return ink(surface.image());
            };
            EXPECT_GT(rotated(true), rotated(false) * 5 / 4);
        }
    }
    FontFallback::setFaces({});
}

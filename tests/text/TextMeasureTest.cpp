// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Measuring the text block and the size check, at 96 pixels per inch.
#include "TextMeasure.h"
#include "DrawingSurface.h"
#include "Gbk.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

TSetStruct canvasOf(qint32 width, qint32 height) {
    TSetStruct canvas;
    canvas.Width = width;
    canvas.Height = height;
    return canvas;
}

class TextMeasure : public ::testing::Test {
protected:
    void SetUp() override { resetTextSettings(settings); }
    // Replaces the text and gives all of it one size.
    void write(const QString& plain, int points = 20) {
        text.setText(plain);
        text.selectAll();
        text.setSelSize(points);
    }
    void resize(int start, int length, int points) {
        text.setSelStart(start);
        text.setSelLength(length);
        text.setSelSize(points);
    }
    RichText text;
    TextSettings settings;
};

TEST_F(TextMeasure, WorkedExampleAndItsVerticalExchange) {
    ASSERT_EQ(screenPixelsPerInch(), 96);
    write(QStringLiteral("中文"));
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.RowPitch, 32);
    EXPECT_EQ(settings.ExtentWidth, 160);
    EXPECT_EQ(settings.ExtentHeight, 137);
    EXPECT_EQ(textSizeReport(settings, TSetStruct{}), QStringLiteral("文本尺寸为:160*137。"));
    // The walk leaves the selection on the last character.
    EXPECT_EQ(text.selStart(), 2);
    EXPECT_EQ(text.selLength(), 2);

    for (Arrangement vertical : {arVertLeftToRight, arVertRightToLeft}) {
        settings.Arrangement = vertical;
        MeasureTextBlock(text, settings);
        EXPECT_EQ(settings.ExtentWidth, 137);
        EXPECT_EQ(settings.ExtentHeight, 160);
    }
}

TEST_F(TextMeasure, OneByteCharacterAddsHalfItsHeightRoundedUp) {
    write(QStringLiteral("中文a"));
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.ExtentWidth, 160 + 14 + 2);
    EXPECT_EQ(estimatedAdvance(13, 1), 7);
    EXPECT_EQ(estimatedAdvance(13, 2), 13);
}

TEST_F(TextMeasure, EmptyEditorMeasuresNothingAndFits) {
    text.setText(QString());
    settings.ExtentWidth = 99;
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.RowPitch, 0);
    EXPECT_EQ(settings.ExtentWidth, 0);
    EXPECT_EQ(settings.ExtentHeight, 0);
    EXPECT_EQ(textSizeReport(settings, canvasOf(0, 0)), QStringLiteral("文本尺寸为:0*0。"));
}

TEST_F(TextMeasure, LinesAddTheRunningMaximumAcross) {
    // An empty middle line takes a slot of the tallest height so far; a trailing line break
    // adds no line.
    write(QStringLiteral("中\n\n中\n"));
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.ExtentHeight, 3 * 37 + 100);
    EXPECT_EQ(settings.ExtentWidth, 29 + 2 + 100);

    // A short line after a tall one still adds the tall one's height; not the other way round.
    write(QStringLiteral("中\n中"));
    resize(4, 2, 10);
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.ExtentHeight, 37 + 37 + 100);
    write(QStringLiteral("中\n中"));
    resize(0, 2, 10);
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.ExtentHeight, (18 + 5) + (32 + 5) + 100);
    EXPECT_EQ(settings.RowPitch, 32);
}

TEST_F(TextMeasure, NegativeLineSpacingMakesThePitchSmallerThanTheCharacter) {
    write(QStringLiteral("中"));
    settings.LineSpacing = -10;
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.RowPitch, 17);
    EXPECT_EQ(settings.ExtentHeight, 17 - 10 + 100);
}

TEST_F(TextMeasure, Byte127StartsATwoByteCharacter) {
    EXPECT_EQ(Gbk::charLength(126), 1);
    EXPECT_EQ(Gbk::charLength(127), 2);
    write(QStringLiteral("abc"));
    EXPECT_EQ(TextWalk::selectCharacter(text, 0, 127), 2);
    EXPECT_EQ(text.selText(), QByteArray("ab"));
    EXPECT_EQ(TextWalk::selectCharacter(text, 2, 'c'), 1);
    EXPECT_EQ(text.selText(), QByteArray("c"));
}

TEST_F(TextMeasure, SizeCheckWarnsExactlyWhenTheCanvasIsSmaller) {
    write(QStringLiteral("中文"));
    MeasureTextBlock(text, settings);
    const QString fits = QStringLiteral("文本尺寸为:160*137。");
    const QString warning = QStringLiteral("文本超出图片范围了，请重新调整文本或者图片大小。");
    EXPECT_EQ(textSizeReport(settings, canvasOf(160, 137)), fits);
    EXPECT_EQ(textSizeReport(settings, canvasOf(159, 137)), fits + warning);
    EXPECT_EQ(textSizeReport(settings, canvasOf(160, 136)), fits + warning);
    // Negative spacings give a negative extent, which no canvas holds.
    settings.ExtentWidth = -900;
    settings.ExtentHeight = -2900;
    EXPECT_EQ(textSizeReport(settings, canvasOf(800, 600)),
              QStringLiteral("文本尺寸为:-900*-2900。") + warning);
    settings.ExtentWidth = 10;
    settings.ExtentHeight = -1;
    EXPECT_EQ(textSizeReport(settings, canvasOf(800, 600)),
              QStringLiteral("文本尺寸为:10*-1。") + warning);
}

TEST_F(TextMeasure, ExtremeSpacingsStayInRange) {
    write(QStringLiteral("中文"));
    settings.LeftMargin = std::numeric_limits<qint32>::max();
    settings.TopMargin = std::numeric_limits<qint32>::min();
    MeasureTextBlock(text, settings);
    EXPECT_EQ(settings.ExtentWidth, std::numeric_limits<qint32>::max());
    EXPECT_EQ(settings.ExtentHeight, std::numeric_limits<qint32>::min());
}

TEST_F(TextMeasure, WrappedDisplayLinesAreReadAtTheirTruePositions) {
    write(QStringLiteral("中文中文中文中文\n中"));
    resize(14, 2, 10); // the last character of the first paragraph
    text.setWordWrap(true, 80);
    ASSERT_GT(text.lineCount(), 2);
    for (int line = 0; line + 1 < text.lineCount(); ++line)
        EXPECT_EQ(TextWalk::nextLinePosition(text, line, 0), text.lineStart(line + 1));
    std::vector<int> heights;
    TextWalk::walk(
        text, [&](int, int, const RichText::Character& c) { heights.push_back(c.pixelHeight); },
        [](int) {});
    ASSERT_EQ(heights.size(), 9u);
    EXPECT_EQ(heights[7], 13);
    EXPECT_EQ(heights[8], 27);
    EXPECT_EQ(text.selStart(), 18);
}

} // namespace

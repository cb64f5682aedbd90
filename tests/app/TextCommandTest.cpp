// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The add-text command and the text nudges on the real main window: when the block is drawn,
// where its ink lands, and how the margins move in each direction.
#include "ImageControl.h"
#include "RichEditWidget.h"
#include "RichText.h"
#include "TextLayout.h"
#include "Unit1.h"
#include "Unit8.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A white 800 x 200 canvas with the given characters of the measured example's font (the Song
// face at 20 points, a cell of 27 pixels) drawn at the given cells.
DrawingSurface expectedCanvas(const std::vector<std::pair<QPoint, QString>>& cells) {
    DrawingSurface surface(800, 200);
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    RichText::Attributes song;
    song.Name = QStringLiteral("宋体");
    song.Size = 20;
    setFontFromSelection(surface.font, song, 27);
    for (const auto& [at, c] : cells)
        surface.textOut(at.x(), at.y(), c);
    return surface;
}

class TextCommand : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        form->createDialogs();
        ASSERT_NE(form->Form8, nullptr);
        form->Image1->setControlSize(800, 200);
        RichText& text = form->Form8->richText();
        text.setText(QStringLiteral("中文"));
        text.selectAll();
        text.setSelName(QStringLiteral("宋体"));
        text.setSelSize(20);
        DrawingSurface metrics = expectedCanvas({});
        w1 = metrics.textWidth(QStringLiteral("中"));
    }
    // Runs the add-text command, doing in the dialog what the user does.
    void addText(const std::function<void(TForm8&)>& inDialog) {
        QTimer::singleShot(0, form.get(), [this, inDialog] { inDialog(*form->Form8); });
        form->ToolButton1Click();
    }
    ::testing::AssertionResult canvasShows(const DrawingSurface& expected) {
        if (!form->Image1->hasPicture())
            return ::testing::AssertionFailure() << "no picture";
        if (form->Image1->picture().image().convertToFormat(QImage::Format_RGB32) !=
            expected.image().convertToFormat(QImage::Format_RGB32))
            return ::testing::AssertionFailure() << "the canvas differs";
        return ::testing::AssertionSuccess();
    }
    std::unique_ptr<TForm1> form;
    int w1 = 0;
};

TEST_F(TextCommand, ConfirmDrawsAtOnceAndUndoTakesItAway) {
    addText([](TForm8& dialog) { dialog.Button1->click(); });
    EXPECT_EQ(form->composition().lastKind(), ekText);
    EXPECT_TRUE(form->ToolButton22->isEnabled());
    EXPECT_TRUE(canvasShows(
        expectedCanvas({{{50, 52}, QStringLiteral("中")}, {{52 + w1, 52}, QStringLiteral("文")}})));
    form->ToolButton22Click();
    EXPECT_FALSE(form->Image1->hasPicture()); // the snapshot of the empty canvas
}

// A block whose face lacks characters names them in the status bar when it is stamped, as a
// rotated line and a seal do; a block drawn whole in its faces takes the warning away.
TEST_F(TextCommand, FallbackCharactersAreNamedInTheStatusBar) {
    RichText& text = form->Form8->richText();
    text.setText(QStringLiteral("一堃𠀀"));
    text.selectAll();
    text.setSelName(QStringLiteral("AR PL KaitiM GB"));
    addText([](TForm8& dialog) { dialog.Button1->click(); });
    EXPECT_EQ(form->StatusPanel2->text(),
              QStringLiteral("警告：字体“AR PL KaitiM GB”中没有“堃𠀀”，改用后备字体画出。"));
    text.setText(QStringLiteral("一"));
    addText([](TForm8& dialog) { dialog.Button1->click(); });
    EXPECT_EQ(form->StatusPanel2->text(), QString());
}

TEST_F(TextCommand, CancelDrawsNothingAndKeepsWhatANudgeMoves) {
    addText([](TForm8& dialog) { dialog.Button3->click(); });
    EXPECT_EQ(form->composition().lastKind(), ekNone);
    EXPECT_FALSE(form->Form8->TextSettings.Confirmed);
    EXPECT_FALSE(form->ToolButton22->isEnabled());
    form->ToolButton31Click(); // nothing to move
    EXPECT_FALSE(form->Image1->hasPicture());
    // A block drawn, then the dialog cancelled: the arrow still moves that block as it was
    // drawn, whatever the dialog holds since.
    addText([](TForm8& dialog) { dialog.Button1->click(); });
    addText([](TForm8& dialog) { dialog.Button3->click(); });
    EXPECT_EQ(form->composition().lastKind(), ekText);
    form->ToolButton31Click();
    EXPECT_EQ(form->Form8->TextSettings.LeftMargin, 60);
    EXPECT_TRUE(canvasShows(
        expectedCanvas({{{60, 52}, QStringLiteral("中")}, {{62 + w1, 52}, QStringLiteral("文")}})));
}

TEST_F(TextCommand, ClosingAfterTheSizeCheckStillDraws) {
    addText([](TForm8& dialog) {
        dialog.Button4->click();
        dialog.close();
    });
    EXPECT_TRUE(form->Form8->TextSettings.Confirmed);
    EXPECT_TRUE(canvasShows(
        expectedCanvas({{{50, 52}, QStringLiteral("中")}, {{52 + w1, 52}, QStringLiteral("文")}})));
}

// Esc is "取消", not the close box: a block confirmed earlier and undone is not drawn again
// when the dialog is only looked at.
TEST_F(TextCommand, EscAfterAnEarlierConfirmDrawsNothing) {
    addText([](TForm8& dialog) { dialog.Button1->click(); });
    form->ToolButton22Click();
    ASSERT_FALSE(form->Image1->hasPicture());
    addText([](TForm8& dialog) { QTest::keyClick(dialog.RichEdit1, Qt::Key_Escape); });
    EXPECT_FALSE(form->Form8->isVisible());
    EXPECT_FALSE(form->Form8->TextSettings.Confirmed);
    EXPECT_FALSE(form->Image1->hasPicture());
}

TEST_F(TextCommand, NudgesMoveTheBlockTheWayOfTheArrow) {
    addText([](TForm8& dialog) {
        dialog.RadioButton2->click();
        dialog.Button1->click();
    });
    const int first = 748 - w1, second = 746 - 2 * w1; // both characters are w1 wide
    EXPECT_TRUE(canvasShows(expectedCanvas(
        {{{first, 52}, QStringLiteral("中")}, {{second, 52}, QStringLiteral("文")}})));
    for (int i = 0; i < 3; ++i)
        form->ToolButton31Click();
    EXPECT_EQ(form->Form8->TextSettings.LeftMargin, 20);
    EXPECT_TRUE(canvasShows(expectedCanvas(
        {{{first + 30, 52}, QStringLiteral("中")}, {{second + 30, 52}, QStringLiteral("文")}})));
    form->ToolButton35Click(); // up
    form->ToolButton30Click(); // left
    EXPECT_EQ(form->Form8->TextSettings.LeftMargin, 30);
    EXPECT_EQ(form->Form8->TextSettings.TopMargin, 40);
    EXPECT_TRUE(canvasShows(expectedCanvas(
        {{{first + 20, 42}, QStringLiteral("中")}, {{second + 20, 42}, QStringLiteral("文")}})));

    // In a left-to-right arrangement the margin grows to the right.
    addText([](TForm8& dialog) {
        dialog.RadioButton3->click();
        dialog.Button1->click();
    });
    form->ToolButton31Click();
    EXPECT_EQ(form->Form8->TextSettings.LeftMargin, 60);
}

} // namespace

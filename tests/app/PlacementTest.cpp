// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The placement workflow through the real main window: the stamp at a canvas press, undo and
// the four nudges, with the circle as the element.
#include "PlacementFixture.h"

#include <QScrollArea>
#include <QToolButton>

namespace {

constexpr TColor canvasGrey = 0x00606060;

using Placement = MainWindowTest;

TEST_F(Placement, APressOrDoubleClickThatStampsNothingAddsNoStep) {
    EXPECT_FALSE(form.ToolButton22->isEnabled());
    EXPECT_FALSE(form.MenuRedo->isEnabled());
    paintCanvas(canvasGrey);
    press(QPoint(40, 30));
    EXPECT_FALSE(form.ToolButton22->isEnabled());
    EXPECT_EQ(count(canvasGrey), 1273 * 649); // nothing drawn
    EXPECT_EQ(form.composition().lastKind(), ekNone);
    // A double click that places a circle: the second press of the click adds nothing, so one
    // undo takes the circle away.
    confirmCircle();
    press(QPoint(10, 20));
    sendMouse(QEvent::MouseButtonDblClick, QPoint(10, 20), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form.composition().steps().size(), 1u);
    form.ToolButton22Click();
    EXPECT_EQ(count(canvasGrey), 1273 * 649);
    EXPECT_FALSE(form.ToolButton22->isEnabled());
    EXPECT_TRUE(form.MenuRedo->isEnabled());
}

TEST_F(Placement, RightAndMiddlePressesStampLikeALeftPress) {
    paintCanvas(canvasGrey);
    confirmCircle();
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::PointingHandCursor);
    press(QPoint(10, 20), Qt::RightButton);
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(form.Form6->pending());
    EXPECT_EQ(form.composition().lastKind(), ekCircle);
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(10, 20));
    EXPECT_EQ(at(60, 70), clWhite);    // the centre
    EXPECT_EQ(at(10, 70), clBlack);    // the outline's left end
    EXPECT_EQ(at(10, 20), canvasGrey); // a corner, left out

    confirmCircle();
    press(QPoint(300, 200), Qt::MiddleButton);
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(300, 200));
    EXPECT_EQ(at(350, 250), clWhite);
    EXPECT_EQ(at(60, 70), clWhite); // the first circle stays
    form.ToolButton22Click();
    EXPECT_EQ(at(350, 250), canvasGrey);
    EXPECT_EQ(at(60, 70), clWhite);
}

TEST_F(Placement, NudgeWithNothingPlacedKeepsThePicture) {
    paintCanvas(canvasGrey);
    form.ToolButton31Click();
    EXPECT_EQ(count(canvasGrey), 1273 * 649);
    EXPECT_FALSE(form.ToolButton22->isEnabled());
}

// The pixels of undo and nudge are the composition's; here the buttons reach it.
TEST_F(Placement, UndoAndNudgeButtonsReachTheComposition) {
    paintCanvas(canvasGrey);
    confirmCircle();
    press(QPoint(100, 100));
    form.ToolButton22Click();
    EXPECT_EQ(count(canvasGrey), 1273 * 649);
    form.ToolButton31Click(); // right
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(110, 100));
    EXPECT_EQ(at(110, 150), clBlack);
    EXPECT_TRUE(form.ToolButton22->isEnabled()); // the undone circle is back, moved
    form.ToolButton36Click();                    // down
    form.ToolButton30Click();                    // left
    form.ToolButton35Click();                    // up
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(100, 100));
    // The arrow keys with the canvas focused, and Alt+arrows anywhere in the window.
    QTest::keyClick(form.Image1, Qt::Key_Right);
    QTest::keyClick(form.Image1, Qt::Key_Down);
    QTest::keyClick(form.ScrollBox1, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(100, 110));
    QTest::keyClick(form.ScrollBox1, Qt::Key_Up); // the scroll area's own: no nudge
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(100, 110));
}

// Without the mouse: Enter on the canvas stamps what is armed in the middle of the canvas in
// view, and only then; the arrows take it on from there.
TEST_F(Placement, EnterOnTheCanvasStampsWhatIsArmed) {
    paintCanvas(canvasGrey);
    QTest::keyClick(form.Image1, Qt::Key_Return);
    EXPECT_EQ(count(canvasGrey), 1273 * 649); // nothing armed, nothing stamped
    confirmCircle();
    QTest::keyClick(form.Image1, Qt::Key_Return);
    const QRect inView = form.Image1->visibleRegion().boundingRect();
    ASSERT_FALSE(inView.isEmpty());
    const QPoint middle = form.Image1->toPicture(inView.center());
    EXPECT_EQ(form.composition().position(ekCircle), middle);
    EXPECT_LT(count(canvasGrey), 1273 * 649);
    QTest::keyClick(form.Image1, Qt::Key_Right);
    EXPECT_EQ(form.composition().position(ekCircle), middle + QPoint(10, 0));
}

TEST_F(Placement, StampOnACanvasWithoutAPictureCreatesAWhiteOneOfTheControlSize) {
    ASSERT_FALSE(form.Image1->hasPicture());
    confirmCircle();
    press(QPoint(5, 5));
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().size(), QSize(1273, 649));
    EXPECT_EQ(at(1272, 648), clWhite);
    EXPECT_EQ(at(5, 55), clBlack);

    form.ToolButton23Click(); // clear: no picture again, size kept
    EXPECT_FALSE(form.Image1->hasPicture());
    confirmCircle();
    press(QPoint(600, 300));
    EXPECT_EQ(form.Image1->picture().size(), QSize(1273, 649));
    EXPECT_EQ(at(600, 350), clBlack);
    EXPECT_EQ(at(5, 55), clWhite);
    // Undo goes back over the clear to the first circle, and once more to no picture at all.
    form.ToolButton22Click();
    form.ToolButton22Click();
    EXPECT_EQ(at(5, 55), clBlack);
    form.MenuUndo->trigger();
    EXPECT_FALSE(form.Image1->hasPicture());
}

} // namespace

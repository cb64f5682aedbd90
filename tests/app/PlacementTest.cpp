// The placement workflow through the real main window: the stamp at a canvas press, undo and
// the four nudges, with the circle as the element.
#include "PlacementFixture.h"

#include <QToolButton>

namespace {

constexpr TColor canvasGrey = 0x00606060;

using Placement = MainWindowTest;

TEST_F(Placement, PressWithNothingPendingReplacesTheSnapshotAndEnablesUndo) {
    EXPECT_FALSE(form.ToolButton22->isEnabled());
    paintCanvas(canvasGrey);
    press(QPoint(40, 30));
    EXPECT_TRUE(form.ToolButton22->isEnabled());
    ASSERT_TRUE(form.Image3->hasPicture());
    EXPECT_EQ(form.Image3->picture().image(), form.Image1->picture().image());
    EXPECT_EQ(count(canvasGrey), 1273 * 649); // nothing drawn
    EXPECT_EQ(form.composition().LastKind, ekNone);

    paintCanvas(clBlue);
    press(QPoint(1, 1));
    EXPECT_EQ(form.Image3->picture().pixel(5, 5), clBlue);
    // The undo goes back to the latest press, not the first.
    form.ToolButton22Click();
    EXPECT_EQ(at(5, 5), clBlue);
    EXPECT_FALSE(form.ToolButton22->isEnabled());
}

TEST_F(Placement, RightAndMiddlePressesStampLikeALeftPress) {
    paintCanvas(canvasGrey);
    confirmCircle();
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::PointingHandCursor);
    press(QPoint(10, 20), Qt::RightButton);
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(form.Form6->pending());
    EXPECT_EQ(form.composition().LastKind, ekCircle);
    EXPECT_EQ(form.composition().CirclePos, QPoint(10, 20));
    EXPECT_EQ(at(60, 70), clWhite);    // the centre
    EXPECT_EQ(at(10, 70), clBlack);    // the outline's left end
    EXPECT_EQ(at(10, 20), canvasGrey); // a corner, left out

    confirmCircle();
    press(QPoint(300, 200), Qt::MiddleButton);
    EXPECT_EQ(form.composition().CirclePos, QPoint(300, 200));
    EXPECT_EQ(at(350, 250), clWhite);
    EXPECT_EQ(at(60, 70), clWhite); // the first circle stays
    EXPECT_EQ(form.Image3->picture().pixel(350, 250), canvasGrey);
}

TEST_F(Placement, NudgeWithNothingPlacedRestoresTheEmptySnapshot) {
    paintCanvas(canvasGrey);
    ASSERT_TRUE(form.Image1->hasPicture());
    form.ToolButton31Click();
    EXPECT_FALSE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->size(), QSize(1273, 649));
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
    EXPECT_EQ(form.composition().CirclePos, QPoint(110, 100));
    EXPECT_EQ(at(110, 150), clBlack);
    EXPECT_FALSE(form.ToolButton22->isEnabled()); // a nudge leaves undo alone
    form.ToolButton36Click();                     // down
    form.ToolButton30Click();                     // left
    form.ToolButton35Click();                     // up
    EXPECT_EQ(form.composition().CirclePos, QPoint(100, 100));
}

TEST_F(Placement, StampOnACanvasWithoutAPictureCreatesAWhiteOneOfTheControlSize) {
    ASSERT_FALSE(form.Image1->hasPicture());
    confirmCircle();
    press(QPoint(5, 5));
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().size(), QSize(1273, 649));
    EXPECT_EQ(at(1272, 648), clWhite);
    EXPECT_EQ(at(5, 55), clBlack);
    EXPECT_FALSE(form.Image3->hasPicture()); // the snapshot is of the empty canvas

    form.ToolButton23Click(); // clear: no picture again, size kept
    EXPECT_FALSE(form.Image1->hasPicture());
    confirmCircle();
    press(QPoint(600, 300));
    EXPECT_EQ(form.Image1->picture().size(), QSize(1273, 649));
    EXPECT_EQ(at(600, 350), clBlack);
    EXPECT_EQ(at(5, 55), clWhite);
}

} // namespace

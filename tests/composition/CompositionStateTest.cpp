// The composition without any window: the stamp of pending elements in their fixed order,
// undo and the nudges, with exact pixels.
#include "CompositionState.h"
#include "CircleGeometry.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor canvasGrey = 0x00606060;

// A keyed picture waiting for the press, as the seal, circle and fan dialogs hand it over.
struct WaitingPicture final : PlacedElement {
    explicit WaitingPicture(DrawingSurface picture) : picture(std::move(picture)) {}
    DrawingSurface picture;
    bool armed = false;
    bool pending() const override { return armed; }
    void disarm() override { armed = false; }
    Stamp stamp() const override { return Stamp{&picture, nullptr}; }
};

// A plain square of one colour, keyed by magenta that it does not contain.
DrawingSurface square(int side, TColor colour) {
    DrawingSurface picture(side, side);
    picture.brush.color = colour;
    picture.fillRect(0, 0, side, side);
    picture.transparent = true;
    picture.transparentColor = clFuchsia;
    return picture;
}

struct Composition : ::testing::Test {
    Composition() {
        TSetStruct settings;
        settings.Width = 400;
        settings.Height = 300;
        settings.UseColor = true;
        settings.BackgroundColor = canvasGrey;
        state.newCanvas(settings, QImage());
        state.attach(ekCircle, &circle);
    }
    TColor at(int x, int y) const { return state.canvas().picture().pixel(x, y); }
    int count(TColor colour) const {
        const DrawingSurface& p = state.canvas().picture();
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                n += p.pixel(x, y) == colour;
        return n;
    }
    void stampCircle(QPoint point) {
        circle.armed = true;
        ASSERT_TRUE(state.stampPendingAt(point));
    }

    CompositionState state;
    WaitingPicture circle{renderCirclePicture(CircleSettingsRecord{})};
};

TEST_F(Composition, PendingElementsLandInTheFixedOrderAndTheLastOneIsNudged) {
    // Attached in another order than they are stamped: seal, then circle, then fan on top.
    WaitingPicture fan{square(20, clBlue)};
    WaitingPicture seal{square(60, clRed)};
    state.attach(ekFan, &fan);
    state.attach(ekSeal, &seal);
    fan.armed = seal.armed = true;
    EXPECT_TRUE(state.stampPendingAt(QPoint(10, 10)));
    EXPECT_EQ(at(15, 15), clBlue);
    EXPECT_EQ(at(50, 50), clRed);
    EXPECT_FALSE(fan.pending() || seal.pending());
    EXPECT_EQ(state.LastKind, ekFan);
    EXPECT_EQ(state.SealPos, QPoint(10, 10));
    EXPECT_EQ(state.stampedArea(), QRect(10, 10, 60, 60)); // all the view repaints
    EXPECT_TRUE(state.Changed);
    // A press with nothing pending stamps nothing and changes nothing.
    state.markSaved();
    EXPECT_FALSE(state.stampPendingAt(QPoint(100, 100)));
    EXPECT_FALSE(state.Changed);
    EXPECT_EQ(count(canvasGrey), 400 * 300 - 60 * 60);
}

TEST_F(Composition, UndoGoesBackOneStampOnly) {
    stampCircle(QPoint(0, 0));
    stampCircle(QPoint(300, 0));
    EXPECT_EQ(at(350, 50), clWhite);
    EXPECT_EQ(state.stampedArea(), QRect(300, 0, 100, 100));
    state.undo();
    EXPECT_EQ(at(350, 50), canvasGrey); // the second circle is gone
    EXPECT_EQ(at(50, 50), clWhite);     // the first one stays
    state.undo();                       // the one snapshot again
    EXPECT_EQ(at(50, 50), clWhite);
    // The snapshot is a picture of its own: drawing on the canvas leaves it alone.
    stampCircle(QPoint(200, 150));
    EXPECT_EQ(state.undoSnapshot().picture().pixel(250, 200), canvasGrey);
    EXPECT_EQ(at(250, 200), clWhite);
}

TEST_F(Composition, UndoThenNudgeDrawsTheElementAgainTenPixelsOn) {
    stampCircle(QPoint(100, 100));
    state.undo();
    EXPECT_EQ(count(canvasGrey), 400 * 300);
    state.nudge(10, 0);
    EXPECT_EQ(state.CirclePos, QPoint(110, 100));
    EXPECT_EQ(at(110, 150), clBlack);
    EXPECT_EQ(at(100, 150), canvasGrey);
    // Repeated nudges move the one element over the same background.
    for (QPoint step :
         {QPoint(0, 10), QPoint(-10, 0), QPoint(-10, 0), QPoint(0, -10), QPoint(0, -10)})
        state.nudge(step.x(), step.y());
    EXPECT_EQ(state.CirclePos, QPoint(90, 90));
    EXPECT_EQ(at(140, 140), clWhite);
    EXPECT_EQ(at(90, 140), clBlack);
    EXPECT_EQ(at(110, 150), clWhite); // inside the moved circle, not a left-over outline
    // Exactly one circle's worth of ink: the picture's pixels other than its key colour.
    int circleInk = 0;
    for (int y = 0; y < circle.picture.height(); ++y)
        for (int x = 0; x < circle.picture.width(); ++x)
            circleInk += circle.picture.pixel(x, y) != clFuchsia;
    EXPECT_EQ(count(clBlack) + count(clWhite), circleInk);
    EXPECT_EQ(count(clBlack) + count(clWhite) + count(canvasGrey), 400 * 300);
}

} // namespace

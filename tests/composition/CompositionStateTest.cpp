// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The composition without any window: the stamp of pending elements in their fixed order,
// undo and the nudges, with exact pixels.
#include "CompositionState.h"
#include "CircleGeometry.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor canvasGrey = 0x00606060;

// An element waiting for the press, as the seal, circle and fan dialogs hand it over: a record
// the composition draws.
struct WaitingPicture final : PlacedElement {
    explicit WaitingPicture(Element record) : record(std::move(record)) {}
    Element record;
    bool armed = false;
    bool pending() const override { return armed; }
    void disarm() override { armed = false; }
    Element element() const override { return record; }
};

Element circleRecord() {
    Element element;
    element.kind = ekCircle;
    return element;
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
    WaitingPicture circle{circleRecord()};
};

TEST_F(Composition, PendingElementsLandInTheFixedOrderAndTheLastOneIsNudged) {
    // Attached in another order than they are stamped: seal, then circle, then fan on top.
    Element sealRecord;
    sealRecord.kind = ekSeal;
    sealRecord.seal.SealWidth = sealRecord.seal.SealHeight = 60;
    sealRecord.sealLines = QStringList{QStringLiteral("印")};
    Element fanRecord;
    fanRecord.kind = ekFan;
    fanRecord.fan.Radius = 10;
    fanRecord.fan.FillColor = clBlue;
    WaitingPicture fan{fanRecord};
    WaitingPicture seal{sealRecord};
    state.attach(ekFan, &fan);
    state.attach(ekSeal, &seal);
    fan.armed = seal.armed = true;
    EXPECT_TRUE(state.stampPendingAt(QPoint(10, 10)));
    // The canvas with the seal, then the fan, drawn at their points.
    const auto expected = [&](QPoint fanAt) {
        DrawingSurface canvas(400, 300);
        canvas.brush.color = canvasGrey;
        canvas.fillRect(0, 0, 400, 300);
        canvas.draw(10, 10, renderElement(sealRecord).picture);
        canvas.draw(fanAt.x(), fanAt.y(), renderElement(fanRecord).picture);
        return canvas.image();
    };
    EXPECT_TRUE(state.canvas().picture().image() == expected(QPoint(10, 10)));
    EXPECT_EQ(at(30, 20), clBlue);
    EXPECT_FALSE(fan.pending() || seal.pending());
    EXPECT_EQ(state.lastKind(), ekFan);
    EXPECT_EQ(state.position(ekSeal), QPoint(10, 10));
    // All the view repaints: the two pictures' rectangles.
    EXPECT_EQ(state.stampedArea(),
              QRect(QPoint(10, 10), renderElement(sealRecord).picture.image().size()) |
                  QRect(QPoint(10, 10), renderElement(fanRecord).picture.image().size()));
    EXPECT_TRUE(state.isModified());
    // A press with nothing pending stamps nothing, changes nothing and adds no step.
    state.markSaved();
    EXPECT_FALSE(state.stampPendingAt(QPoint(100, 100)));
    EXPECT_FALSE(state.isModified());
    EXPECT_EQ(state.steps().size(), 2u);
    // The nudge moves the last element; the others of the press stay where they landed.
    EXPECT_TRUE(state.nudge(0, 10));
    EXPECT_TRUE(state.canvas().picture().image() == expected(QPoint(10, 20)));
    EXPECT_EQ(state.position(ekFan), QPoint(10, 20));
}

TEST_F(Composition, UndoAndRedoWalkEveryStepOfTheHistory) {
    stampCircle(QPoint(0, 0));
    stampCircle(QPoint(300, 0));
    const QImage beforeEffect = state.canvas().picture().image().copy();
    state.applyEffect(efBlur);
    // The first effect keeps its base, not the picture it filtered over.
    EXPECT_TRUE(state.steps().at(3).before.picture.picture().image().isNull());
    const TColor blurredEdge = at(300, 50);
    ASSERT_NE(blurredEdge, clBlack);
    state.clear();
    ASSERT_EQ(state.steps().size(), 5u); // the new canvas, two stamps, the effect, clear
    EXPECT_FALSE(state.canvas().hasPicture());
    ASSERT_TRUE(state.undo()); // clear
    EXPECT_TRUE(state.effectBaseTaken());
    ASSERT_TRUE(state.undo()); // the effect: its state goes with it
    EXPECT_FALSE(state.effectBaseTaken());
    EXPECT_EQ(state.currentEffect(), efNone);
    EXPECT_EQ(state.canvas().picture().image(), beforeEffect);
    EXPECT_EQ(state.canvas().picture().image().format(), beforeEffect.format());
    ASSERT_TRUE(state.undo()); // the second circle; the first one stays
    EXPECT_EQ(at(350, 50), canvasGrey);
    EXPECT_EQ(at(50, 50), clWhite);
    ASSERT_TRUE(state.undo());
    EXPECT_EQ(count(canvasGrey), 400 * 300);
    ASSERT_TRUE(state.undo()); // the new canvas: the canvas before it, with its own size
    EXPECT_FALSE(state.canvas().hasPicture());
    EXPECT_EQ(state.canvas().size(), QSize(1273, 649));
    EXPECT_FALSE(state.undo());
    EXPECT_FALSE(state.canUndo());
    for (int step = 0; step < 3; ++step)
        ASSERT_TRUE(state.redo());
    EXPECT_EQ(state.canvas().size(), QSize(400, 300));
    EXPECT_EQ(at(350, 50), clWhite);
    ASSERT_TRUE(state.redo());
    EXPECT_EQ(state.currentEffect(), efBlur);
    EXPECT_EQ(at(300, 50), blurredEdge);
    ASSERT_TRUE(state.redo());
    EXPECT_FALSE(state.redo());
    EXPECT_FALSE(state.canvas().hasPicture());
}

// Effects one after another keep no pictures: undo filters the base again. A stamp between
// them is kept, since the base alone cannot give it back.
TEST_F(Composition, EffectsUndoToWhatTheyFiltered) {
    state.applyEffect(efOutline);
    state.applyEffect(efSoft);
    EXPECT_EQ(state.steps().at(2).before.picture.hasPicture(), false);
    stampCircle(QPoint(100, 100));
    const DrawingSurface stamped = state.canvas().picture();
    state.applyEffect(efBlur);
    state.undo();
    EXPECT_EQ(state.canvas().picture().image(), stamped.image());
    state.undo();                 // the circle
    state.undo();                 // soft: back to the outline, filtered again from the base
    state.applyEffect(efOutline); // what the outline gives, for comparison
    const QImage outline = state.canvas().picture().image();
    state.undo();
    state.redo();
    EXPECT_EQ(state.canvas().picture().image(), outline);
    EXPECT_EQ(state.currentEffect(), efOutline);
}

TEST_F(Composition, UndoThenNudgeDrawsTheElementAgainTenPixelsOn) {
    stampCircle(QPoint(100, 100));
    state.undo();
    EXPECT_EQ(count(canvasGrey), 400 * 300);
    state.nudge(10, 0);
    EXPECT_EQ(state.position(ekCircle), QPoint(110, 100));
    EXPECT_EQ(at(110, 150), clBlack);
    EXPECT_EQ(at(100, 150), canvasGrey);
    // Repeated nudges move the one element over the same background.
    for (QPoint step :
         {QPoint(0, 10), QPoint(-10, 0), QPoint(-10, 0), QPoint(0, -10), QPoint(0, -10)})
        state.nudge(step.x(), step.y());
    EXPECT_EQ(state.position(ekCircle), QPoint(90, 90));
    EXPECT_EQ(at(140, 140), clWhite);
    EXPECT_EQ(at(90, 140), clBlack);
    EXPECT_EQ(at(110, 150), clWhite); // inside the moved circle, not a left-over outline
    // Exactly one circle's worth of ink: the picture's pixels other than its key colour.
    int circleInk = 0;
    const DrawingSurface picture = renderElement(circle.record).picture;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            circleInk += picture.pixel(x, y) != clFuchsia;
    EXPECT_EQ(count(clBlack) + count(clWhite), circleInk);
    EXPECT_EQ(count(clBlack) + count(clWhite) + count(canvasGrey), 400 * 300);
    // The nudges replaced the stamp: one undo takes the circle away, redo brings it back moved.
    EXPECT_EQ(state.steps().size(), 2u);
    state.undo();
    EXPECT_EQ(count(canvasGrey), 400 * 300);
    state.redo();
    EXPECT_EQ(at(90, 140), clBlack);
}

TEST_F(Composition, WhatANudgeCannotMoveStaysPut) {
    // Nothing placed yet: the canvas keeps its picture.
    EXPECT_FALSE(state.nudge(10, 0));
    EXPECT_EQ(count(canvasGrey), 400 * 300);
    // A new canvas ends what a nudge moves; undoing it brings the circle back within reach.
    stampCircle(QPoint(0, 0));
    TSetStruct smaller;
    smaller.Width = 200;
    smaller.Height = 150;
    state.newCanvas(smaller, QImage());
    EXPECT_EQ(state.lastKind(), ekNone);
    EXPECT_FALSE(state.nudge(10, 0));
    EXPECT_EQ(state.canvas().size(), QSize(200, 150));
    EXPECT_FALSE(state.isModified()); // a blank canvas is no work to lose
    state.undo();
    EXPECT_EQ(state.canvas().picture().size(), QSize(400, 300));
    EXPECT_EQ(state.lastKind(), ekCircle);
    EXPECT_TRUE(state.nudge(10, 0));
    EXPECT_EQ(at(60, 50), clWhite);
}

// The pixels of the oldest steps are let go past the bound; their recipe stays, so the work
// still holds every step, and undo stops where the pixels end.
TEST_F(Composition, HistoryForgetsOldPixelsButKeepsTheWholeRecipe) {
    const int stamps = int(History::stepLimit) + 5;
    for (int i = 0; i < stamps; ++i)
        stampCircle(QPoint(i % 300, 0));
    ASSERT_EQ(state.steps().size(), std::size_t(stamps) + 1); // and the canvas
    EXPECT_EQ(state.steps().recipe().size(), std::size_t(stamps) + 1);
    EXPECT_EQ(state.steps().recipe().front()->kind, Step::Kind::Canvas);
    EXPECT_TRUE(state.steps().at(5).pixelsForgotten);
    EXPECT_FALSE(state.steps().at(6).pixelsForgotten);
    // A stamp keeps only the rectangle it changed, before and after, beside its recipe.
    const HistoryStep& newest = state.steps().at(std::size_t(stamps));
    EXPECT_EQ(newest.bytes(), 2 * 100 * 100 * 4 + newest.recipe->bytes());
    int undone = 0;
    while (state.undo())
        ++undone;
    EXPECT_EQ(undone, int(History::stepLimit));
    EXPECT_EQ(at(54, 50), clWhite); // the first circles, never undone
}

// New canvases of one colour keep only that colour in the history, filled again by undo and
// redo; a canvas drawn on since keeps its pixels.
TEST_F(Composition, CanvasesOfOneColourKeepNoPixels) {
    TSetStruct settings;
    settings.UseColor = true;
    settings.Resolution = 300;
    for (const TColor colour : {TColor(0x00112233), TColor(0x00445566)}) {
        settings.Width = colour == 0x00112233 ? 640 : 320;
        settings.Height = 200;
        settings.BackgroundColor = colour;
        state.newCanvas(settings, QImage());
    }
    // Back to the grey canvas of the fixture, where a circle replaces the two new canvases.
    ASSERT_TRUE(state.undo());
    ASSERT_TRUE(state.undo());
    stampCircle(QPoint(0, 0));
    const QImage drawn = state.canvas().picture().image().copy();
    state.newCanvas(settings, QImage());
    state.newCanvas(settings, QImage());
    const std::size_t last = state.steps().size() - 1;
    EXPECT_EQ(state.steps().at(last).bytes(), state.steps().at(last).recipe->bytes());
    EXPECT_EQ(state.steps().at(last - 1).after.plainColor, std::optional<TColor>(0x00445566));
    EXPECT_EQ(state.steps().at(last - 1).before.picture.picture().image(), drawn);
    ASSERT_TRUE(state.undo());
    EXPECT_EQ(count(0x00445566), 320 * 200);
    ASSERT_TRUE(state.undo());
    EXPECT_EQ(state.canvas().picture().image(), drawn);
    ASSERT_TRUE(state.redo());
    ASSERT_TRUE(state.redo());
    EXPECT_EQ(state.canvas().size(), QSize(320, 200));
    EXPECT_EQ(count(0x00445566), 320 * 200);
}

} // namespace

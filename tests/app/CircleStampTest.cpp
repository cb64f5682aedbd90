// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle's edge cases through the real main window and its circle dialog.
#include "PlacementFixture.h"

#include "SpinEdit.h"

namespace {

constexpr TColor canvasGrey = 0x00606060;

using CircleStamp = MainWindowTest;

TEST_F(CircleStamp, DefaultsStampAWhiteDiscWithABlackTwoPixelOutlineAndNoCorners) {
    paintCanvas(canvasGrey);
    confirmCircle();
    press(QPoint(200, 100));
    const DrawingSurface& circle = form.Form6->Image1->picture();
    ASSERT_EQ(circle.size(), QSize(100, 100));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const TColor want = circle.pixel(x, y) == clFuchsia ? canvasGrey : circle.pixel(x, y);
            ASSERT_EQ(at(200 + x, 100 + y), want) << x << "," << y;
        }
    EXPECT_EQ(count(clFuchsia), 0);
    // Along the middle row: two black pixels at each end, white between; grey outside.
    EXPECT_EQ(at(199, 150), canvasGrey);
    EXPECT_EQ(at(200, 150), clBlack);
    EXPECT_EQ(at(201, 150), clBlack);
    EXPECT_EQ(at(202, 150), clWhite);
    EXPECT_EQ(at(297, 150), clWhite);
    EXPECT_EQ(at(298, 150), clBlack);
    EXPECT_EQ(at(299, 150), clBlack);
    EXPECT_EQ(at(300, 150), canvasGrey);
    EXPECT_EQ(at(200, 100), canvasGrey);
    EXPECT_EQ(at(299, 199), canvasGrey);
}

TEST_F(CircleStamp, CancelPutsThePickedColoursBackButKeepsTheTypedValues) {
    paintCanvas(canvasGrey);
    pickColours(clRed);
    openCircleDialog([](TForm6* d) {
        d->SpeedButton1->click();
        d->SpeedButton2->click();
        d->SpinEdit2->setText("30");
        d->Button1->click();
    });
    press(QPoint(0, 0));
    EXPECT_EQ(at(30, 30), clRed); // red outline, red fill
    EXPECT_EQ(at(0, 30), clRed);

    openCircleDialog([](TForm6* d) { d->Button3->click(); });
    EXPECT_EQ(form.Form6->SpinEdit2->value(), 30);
    confirmCircle();
    press(QPoint(200, 0));
    EXPECT_EQ(at(230, 30), clWhite);
    EXPECT_EQ(at(200, 30), clBlack);
    EXPECT_EQ(at(260, 30), canvasGrey); // a radius of 30, as typed
}

TEST_F(CircleStamp, ApplyChangesTheSettingsButNotThePictureANudgeDraws) {
    paintCanvas(canvasGrey);
    confirmCircle();
    press(QPoint(100, 100));
    pickColours(clBlue);
    openCircleDialog([](TForm6* d) {
        d->SpeedButton2->click();
        d->SpinEdit2->setText("20");
        d->Button2->click();
        d->close(); // the close box
    });
    EXPECT_EQ(form.Form6->CircleSettings.Radius, 20);
    EXPECT_EQ(form.Form6->CircleSettings.FillColor, clBlue);
    EXPECT_FALSE(form.Form6->pending());
    form.ToolButton36Click(); // down: the unchanged picture, 10 pixels lower
    EXPECT_EQ(at(150, 160), clWhite);
    EXPECT_EQ(at(100, 160), clBlack);
    EXPECT_EQ(count(clBlue), 0);
    // A preview after the stamp changes nothing of what was stamped: the nudge moves the
    // circle as it landed.
    openCircleDialog([](TForm6* d) {
        d->Button4->click();
        d->close();
    });
    form.ToolButton36Click();
    EXPECT_EQ(at(150, 170), clWhite);
    EXPECT_EQ(at(100, 170), clBlack);
    EXPECT_EQ(count(clBlue), 0);
}

TEST_F(CircleStamp, ClearedPreviewWithAPendingPlacementStampsNothing) {
    paintCanvas(canvasGrey);
    confirmCircle();
    openCircleDialog([](TForm6* d) {
        d->Button6->click();
        d->close();
    });
    EXPECT_TRUE(form.Form6->pending());
    press(QPoint(50, 50));
    EXPECT_FALSE(form.Form6->pending());
    EXPECT_EQ(form.composition().lastKind(), ekCircle);
    EXPECT_EQ(count(canvasGrey), 1273 * 649);
    EXPECT_TRUE(shownErrors.isEmpty());
}

TEST_F(CircleStamp, RadiusOfZeroArmsAPlacementThatDrawsNothing) {
    paintCanvas(canvasGrey);
    openCircleDialog([](TForm6* d) {
        d->SpinEdit2->setText("0");
        d->Button1->click();
    });
    EXPECT_TRUE(form.Form6->pending());
    press(QPoint(50, 50));
    EXPECT_EQ(count(canvasGrey), 1273 * 649);
    EXPECT_TRUE(shownErrors.isEmpty());
}

} // namespace

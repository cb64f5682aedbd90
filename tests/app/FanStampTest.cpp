// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan's edge cases through the real main window and its fan dialog, and the stamp of
// several pending elements at one press.
#include "PlacementFixture.h"

#include "RichEditWidget.h"
#include "RichText.h"
#include "RotImg.h"
#include "SpinEdit.h"
#include "Unit2.h"
#include "Unit4.h"

namespace {

constexpr TColor canvasBlue = 0x00A04020;

using FanStamp = MainWindowTest;

TEST_F(FanStamp, DefaultsWithoutAColourBackgroundLeaveOnlyTheGreyOutline) {
    paintCanvas(canvasBlue);
    confirmFan();
    press(QPoint(0, 0));
    EXPECT_EQ(form.composition().lastKind(), ekFan);
    EXPECT_EQ(form.composition().position(ekFan), QPoint(0, 0));
    EXPECT_EQ(count(clWhite), 0);
    EXPECT_GT(count(clGray), 800);
    EXPECT_EQ(count(clGray) + count(canvasBlue), 1273 * 649);
    // One pixel wide: the middle column meets the top arc and the bottom arc once each.
    std::vector<int> ink;
    for (int y = 0; y < 200; ++y)
        if (at(200, y) == clGray)
            ink.push_back(y);
    EXPECT_EQ(ink, (std::vector<int>{0, 175}));
}

TEST_F(FanStamp, WithAColourBackgroundTheWhiteFillCoversTheCanvas) {
    form.Form2->CanvasSettings.UseColor = true;
    paintCanvas(canvasBlue);
    confirmFan();
    press(QPoint(100, 50));
    EXPECT_EQ(at(306, 150), clWhite); // the seed's region
    EXPECT_EQ(at(300, 50), clGray);
    EXPECT_EQ(at(100, 50), canvasBlue);  // magenta corner, left out
    EXPECT_EQ(at(300, 249), canvasBlue); // under the bottom arc
    EXPECT_EQ(count(clFuchsia), 0);
    EXPECT_GT(count(clWhite), 40000);
}

TEST_F(FanStamp, CancelApplyAndClearBehaveAsForTheCircle) {
    paintCanvas(canvasBlue);
    pickColours(clRed);
    openFanDialog([](TForm7* d) {
        d->SpeedButton1->click();
        d->Button2->click(); // apply: settings change, picture does not
        d->close();
    });
    EXPECT_EQ(form.Form7->FanSettings.LineColor, clRed);
    EXPECT_FALSE(form.Form7->Image1->hasPicture());
    openFanDialog([](TForm7* d) {
        d->SpinEdit2->setText("50");
        d->Button3->click(); // cancel
    });
    EXPECT_EQ(form.Form7->FanSettings.PickedLineColor, clGray);
    confirmFan();
    press(QPoint(0, 0));
    EXPECT_EQ(count(clRed), 0);
    EXPECT_EQ(at(100, 0), clGray); // radius 50 as typed: 200 x 100, top arc at (100, 0)
    EXPECT_EQ(at(300, 0), canvasBlue);

    openFanDialog([](TForm7* d) { d->Button1->click(); });
    openFanDialog([](TForm7* d) {
        d->Button6->click();
        d->close();
    });
    EXPECT_TRUE(form.Form7->pending());
    const QImage before = form.Image1->picture().image();
    press(QPoint(500, 300));
    EXPECT_FALSE(form.Form7->pending());
    EXPECT_EQ(form.Image1->picture().image(), before);
}

TEST_F(FanStamp, SealCircleAndFanConfirmedTogetherStampAtOnePointInOrder) {
    paintCanvas(canvasBlue);
    withDialog(
        [this] {
            form.Form4->RichEdit1->richText().setText(QStringLiteral("印章"));
            form.Form4->Button1->click();
        },
        [this] { form.ToolButton29Click(); });
    confirmCircle();
    pickColours(clRed);
    openFanDialog([](TForm7* d) {
        d->SpeedButton1->click();
        d->Button1->click();
    });
    ASSERT_TRUE(form.Form4->pending());
    press(QPoint(150, 100));
    EXPECT_EQ(form.composition().lastKind(), ekFan);
    EXPECT_EQ(form.composition().position(ekSeal), QPoint(150, 100));
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(150, 100));
    EXPECT_EQ(form.composition().position(ekFan), QPoint(150, 100));
    EXPECT_FALSE(form.Form4->pending());
    EXPECT_FALSE(form.Form6->pending());
    EXPECT_FALSE(form.Form7->pending());
    // Each pixel shows the last stamped picture that has ink there: fan over circle over seal.
    const DrawingSurface& seal = form.Form4->RotateImage1->RotatedGraphic();
    const DrawingSurface& circle = form.Form6->Image1->picture();
    const DrawingSurface& fan = form.Form7->Image1->picture();
    ASSERT_FALSE(seal.isEmpty());
    auto ink = [](const DrawingSurface& p, int x, int y) -> std::optional<TColor> {
        if (x < 0 || x >= p.width() || y >= p.height())
            return std::nullopt;
        const TColor c = p.pixel(x, y);
        if (p.transparent && c == p.effectiveTransparentColor())
            return std::nullopt;
        return c;
    };
    int fanOverCircle = 0, circleOverSeal = 0;
    for (int y = 0; y < std::max(seal.height(), fan.height()); ++y)
        for (int x = 0; x < std::max(seal.width(), fan.width()); ++x) {
            const auto s = ink(seal, x, y), c = ink(circle, x, y), f = ink(fan, x, y);
            const TColor want = f ? *f : c ? *c : s ? *s : canvasBlue;
            ASSERT_EQ(at(150 + x, 100 + y), want) << x << "," << y;
            fanOverCircle += f && c;
            circleOverSeal += c && s && !f;
        }
    EXPECT_GT(fanOverCircle, 20);
    EXPECT_GT(circleOverSeal, 20);
    EXPECT_EQ(at(350, 100), clRed); // the fan's top arc
    // A nudge moves the fan; the seal and the circle of the same press stay.
    form.ToolButton31Click();
    EXPECT_EQ(form.composition().position(ekFan), QPoint(160, 100));
    EXPECT_EQ(at(360, 100), clRed);
    for (int y = 0; y < std::max(seal.height(), fan.height()); ++y)
        for (int x = 0; x < std::max(seal.width(), fan.width()) + 10; ++x) {
            const auto s = ink(seal, x, y), c = ink(circle, x, y);
            const auto f = x >= 10 ? ink(fan, x - 10, y) : std::nullopt;
            ASSERT_EQ(at(150 + x, 100 + y), f ? *f : c ? *c : s ? *s : canvasBlue) << x << "," << y;
        }
}

} // namespace

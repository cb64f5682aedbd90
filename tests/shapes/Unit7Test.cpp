// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan dialog: bounded boxes, settings, preview, apply, OK, cancel and clear.
#include "Unit7.h"
#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "FanRing.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "SpinEdit.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

struct FanDialog : ::testing::Test {
    ~FanDialog() override { PlatformDialogs::setColorChooser({}); }

    QWidget canvas;
    TSetStruct canvasSettings;
    TForm7 form{&canvas, &canvasSettings};
};

TEST_F(FanDialog, ControlsCarryTheirCaptionsRangesAndStartingValues) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("扇面"));
    EXPECT_EQ(form.size(), QSize(378, 502));
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), QStringLiteral("线条粗："));
    EXPECT_EQ(form.findChild<QLabel*>("Label2")->text(), QStringLiteral("半径："));
    EXPECT_EQ(form.SpinEdit1->value(), 1);
    EXPECT_EQ(form.SpinEdit1->minValue(), 1);
    EXPECT_EQ(form.SpinEdit1->maxValue(), 10);
    EXPECT_EQ(form.SpinEdit2->value(), 100);
    EXPECT_EQ(form.SpinEdit2->minValue(), 10);
    EXPECT_EQ(form.SpinEdit2->maxValue(), 1000);
    EXPECT_EQ(form.SpinEdit2->incrementValue(), 5);
    EXPECT_EQ(form.SpeedButton1->color(), clGray); // the outline that will be drawn
    EXPECT_EQ(form.FanSettings.LineWidth, 2);
    EXPECT_EQ(form.FanSettings.Radius, 100);
    EXPECT_EQ(form.FanSettings.LineColor, clGray);
    EXPECT_EQ(form.FanSettings.PickedLineColor, clGray);
    EXPECT_EQ(form.FanSettings.FillColor, clWhite);
    EXPECT_EQ(form.Image1->size(), QSize(400, 200));
    EXPECT_TRUE(form.Image1->transparent());
    EXPECT_TRUE(form.Image2->isHidden());
}

TEST_F(FanDialog, BadTextReadsAsTheLowerLimitAndValuesStayInRange) {
    form.SpinEdit1->setText("wide");
    form.SpinEdit2->setText("");
    form.Button2->click();
    EXPECT_EQ(form.FanSettings.LineWidth, 1);
    EXPECT_EQ(form.FanSettings.Radius, 10);
    EXPECT_EQ(form.Image1->size(), QSize(40, 20));
    form.SpinEdit1->setText("25");
    form.SpinEdit2->setText("5000");
    form.Button2->click();
    EXPECT_EQ(form.FanSettings.LineWidth, 10);
    EXPECT_EQ(form.FanSettings.Radius, 1000);
    form.SpinEdit2->setText("-3");
    form.Button4->click();
    EXPECT_EQ(form.FanSettings.Radius, 10);
    EXPECT_EQ(form.Image1->picture().size(), QSize(40, 20));
}

TEST_F(FanDialog, PreviewFollowsTheCanvasColourChoiceAtPreviewTime) {
    form.Button4->click();
    EXPECT_EQ(form.Image1->picture().effectiveTransparentColor(), clWhite);
    EXPECT_EQ(form.Image1->picture().pixel(0, 0), clWhite);
    canvasSettings.UseColor = true;
    form.Button4->click();
    EXPECT_EQ(form.Image1->picture().effectiveTransparentColor(), clFuchsia);
    EXPECT_EQ(form.Image1->picture().pixel(206, 100), clWhite);
    EXPECT_EQ(form.Image1->picture().pixel(200, 0), clGray);

    TForm7 withoutCanvasSettings(&canvas, nullptr);
    withoutCanvasSettings.Button4->click();
    EXPECT_EQ(withoutCanvasSettings.Image1->picture().pixel(0, 0), clWhite);
}

TEST_F(FanDialog, ColoursTakeEffectOnlyWhenAppliedAndCancelResetsThem) {
    PlatformDialogs::setColorChooser(
        [](QWidget*, TColor) -> std::optional<TColor> { return clRed; });
    form.SpeedButton1->click();
    form.SpeedButton2->click();
    EXPECT_EQ(form.FanSettings.LineColor, clGray);
    form.Button2->click();
    EXPECT_EQ(form.FanSettings.LineColor, clRed);
    EXPECT_EQ(form.FanSettings.FillColor, clRed);
    EXPECT_FALSE(form.Image1->hasPicture()); // apply does not draw
    form.SpinEdit2->setText("50");
    form.show();
    form.Button3->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.FanSettings.PickedLineColor, clGray);
    EXPECT_EQ(form.FanSettings.PickedFillColor, clWhite);
    EXPECT_EQ(form.SpeedButton1->color(), clGray); // the swatches follow the reset colours
    EXPECT_EQ(form.SpeedButton2->color(), clWhite);
    EXPECT_EQ(form.Image1->size(), QSize(400, 200));
    form.Button4->click();
    EXPECT_EQ(form.Image1->picture().size(), QSize(200, 100));
    EXPECT_EQ(form.Image1->picture().pixel(100, 0), clGray);
}

TEST_F(FanDialog, OkDrawsArmsAndCloses) {
    form.show();
    form.Button1->click();
    EXPECT_EQ(form.FanSettings.PendingPlacement, 1);
    EXPECT_EQ(form.FanSettings.LineWidth, 1);
    EXPECT_EQ(canvas.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(form.isVisible());
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().size(), QSize(400, 200));
    form.Button6->click();
    EXPECT_FALSE(form.Image1->hasPicture());
    EXPECT_EQ(form.FanSettings.PendingPlacement, 1);
}

TEST_F(FanDialog, TheRingIsASecondShapeWithItsOwnSettingsAndMessages) {
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_EQ(form.RadioButton2->text(), QStringLiteral("折扇"));
    EXPECT_EQ(form.SpinEdit3->value(), 45);
    EXPECT_EQ(form.SpinEdit4->value(), 140);
    QString shown;
    const auto previous =
        ErrorBoundary::setDisplay([&](QWidget*, const QString& text) { shown = text; });
    form.RadioButton2->click();
    form.SpinEdit1->setText("2");
    form.Button1->click();
    EXPECT_EQ(form.FanSettings.Shape, fsRing);
    ASSERT_TRUE(form.Image1->picture().hasAlpha());
    EXPECT_EQ(form.Image1->picture().size(), QSize(194, 91));
    EXPECT_EQ(form.Image1->size(), QSize(194, 91));
    const Element stamp = form.element();
    ASSERT_TRUE(stamp.rendered && stamp.rendered->ring);
    EXPECT_EQ(*stamp.rendered->ring, (FanRing{QPoint(97, 103), 100, 45, 140}));
    // A ring that cannot be: the message, nothing armed, the last picture kept.
    form.disarm();
    form.SpinEdit3->setText("100");
    form.Button1->click();
    EXPECT_EQ(shown, QStringLiteral("折扇的内半径（100）必须不小于 0 且小于外半径（100）。"));
    EXPECT_EQ(form.FanSettings.PendingPlacement, 0);
    EXPECT_EQ(form.Image1->picture().size(), QSize(194, 91));
    form.SpinEdit3->setText("45");
    form.SpinEdit4->setText("200");
    form.Button4->click();
    EXPECT_EQ(shown, QStringLiteral("折扇的角度（200°）必须大于 0° 且不超过 180°。"));
    // Back to the leaf: its picture and no ring.
    form.RadioButton1->click();
    form.Button4->click();
    EXPECT_FALSE(form.Image1->picture().hasAlpha());
    EXPECT_FALSE(form.element().rendered->ring);
    ErrorBoundary::setDisplay(previous);
}

} // namespace

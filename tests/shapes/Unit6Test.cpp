// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle dialog: settings, preview, apply, OK, cancel and clear as the user drives them.
#include "Unit6.h"
#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "SpinEdit.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

struct CircleDialog : ::testing::Test {
    CircleDialog() {
        previousDisplay = ErrorBoundary::setDisplay(
            [this](QWidget*, const QString& text) { shownErrors << text; });
    }
    ~CircleDialog() override {
        ErrorBoundary::setDisplay(previousDisplay);
        PlatformDialogs::setColorChooser({});
    }
    void answerColourDialogWith(std::optional<TColor> colour) {
        PlatformDialogs::setColorChooser(
            [colour](QWidget*, TColor) -> std::optional<TColor> { return colour; });
    }

    QWidget canvas;
    TForm6 form{&canvas};
    QStringList shownErrors;
    ErrorBoundary::Display previousDisplay;
};

TEST_F(CircleDialog, ControlsCarryTheirNamesCaptionsAndStartingValues) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("圆形"));
    EXPECT_EQ(form.size(), QSize(374, 544));
    EXPECT_EQ(form.findChild<QGroupBox*>("GroupBox1")->title(), QStringLiteral("设置"));
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), QStringLiteral("线粗："));
    EXPECT_EQ(form.findChild<QLabel*>("Label2")->text(), QStringLiteral("半径："));
    EXPECT_EQ(form.findChild<QLabel*>("Label3")->text(), QStringLiteral("线条颜色："));
    EXPECT_EQ(form.findChild<QLabel*>("Label4")->text(), QStringLiteral("填充颜色："));
    const QStringList captions = {"确定", "应用", "取消", "预览", "清空"};
    const QStringList names = {"Button1", "Button2", "Button3", "Button4", "Button6"};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(form.findChild<QPushButton*>(names[i])->text(), captions[i]);
    EXPECT_EQ(form.findChild<SpinEdit*>("SpinEdit1")->value(), 2);
    EXPECT_EQ(form.findChild<SpinEdit*>("SpinEdit2")->value(), 50);
    EXPECT_EQ(form.SpinEdit2->incrementValue(), 5);
    EXPECT_FALSE(form.SpinEdit1->bounded());
    EXPECT_FALSE(form.SpinEdit2->bounded());
    EXPECT_EQ(form.findChild<ColorButton*>("SpeedButton1")->color(), clBlack);
    EXPECT_EQ(form.findChild<ColorButton*>("SpeedButton2")->color(), clWhite);
    EXPECT_TRUE(form.findChild<ImageControl*>("Image1")->transparent());
    EXPECT_FALSE(form.findChild<ImageControl*>("Image1")->hasPicture());
    EXPECT_EQ(form.Image1->size(), QSize(100, 100));
    EXPECT_TRUE(form.findChild<ImageControl*>("Image2")->isHidden());
    EXPECT_EQ(form.CircleSettings.PendingPlacement, 0);
}

TEST_F(CircleDialog, ApplyTakesTheBoxesAndPickedColoursButDrawsNothing) {
    answerColourDialogWith(clRed);
    form.SpeedButton1->click();
    EXPECT_EQ(form.CircleSettings.PickedLineColor, clRed);
    EXPECT_EQ(form.CircleSettings.LineColor, clBlack); // not yet applied
    form.SpinEdit1->setText("4");
    form.SpinEdit2->setText("80");
    form.Button2->click();
    EXPECT_EQ(form.CircleSettings.LineWidth, 4);
    EXPECT_EQ(form.CircleSettings.Radius, 80);
    EXPECT_EQ(form.CircleSettings.LineColor, clRed);
    EXPECT_EQ(form.Image1->size(), QSize(160, 160));
    EXPECT_FALSE(form.Image1->hasPicture());

    answerColourDialogWith(std::nullopt); // the user cancels the colour dialog
    form.SpeedButton2->click();
    EXPECT_EQ(form.CircleSettings.PickedFillColor, clWhite);
}

TEST_F(CircleDialog, PreviewDrawsTheCircleOfTheBoxesAndClearEmptiesIt) {
    form.SpinEdit2->setText("100");
    form.show();
    form.Button4->click();
    QApplication::processEvents();
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().size(), QSize(200, 200));
    EXPECT_TRUE(form.Image1->picture().transparent);
    EXPECT_EQ(form.Image1->picture().pixel(100, 100), clWhite);
    EXPECT_EQ(form.Image1->picture().pixel(0, 100), clBlack);
    // The preview box is smaller than 200 x 200 at the dialog's own size: it scrolls both
    // ways and shows the circle from its top-left corner.
    form.resize(374, 544);
    QApplication::processEvents();
    EXPECT_GT(form.ScrollBox1->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(form.ScrollBox1->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(form.Image1->pos(), QPoint(0, 0));
    form.Button6->click();
    EXPECT_FALSE(form.Image1->hasPicture());
    EXPECT_EQ(form.CircleSettings.Radius, 100); // settings stay
}

TEST_F(CircleDialog, BadTextReadsAsZeroAndARadiusOfZeroOrLessEmptiesThePreview) {
    form.Button4->click();
    ASSERT_TRUE(form.Image1->hasPicture());
    for (const char* text : {"abc", "0", "-20", "1.5"}) {
        form.SpinEdit2->setText(text);
        form.Button4->click();
        EXPECT_LE(form.CircleSettings.Radius, 0) << text;
        EXPECT_FALSE(form.Image1->hasPicture()) << text;
        EXPECT_EQ(form.Image1->size(), QSize(0, 0)) << text;
    }
    EXPECT_TRUE(shownErrors.isEmpty());
    form.SpinEdit1->setText("thick");
    form.Button2->click();
    EXPECT_EQ(form.CircleSettings.LineWidth, 0);
}

TEST_F(CircleDialog, TooLargeACircleShowsAMessageAndKeepsThePreviousPicture) {
    form.Button4->click();
    const QImage before = form.Image1->picture().image();
    form.SpinEdit2->setText("500000");
    form.Button4->click();
    ASSERT_EQ(shownErrors.size(), 1);
    EXPECT_EQ(shownErrors[0],
              QStringLiteral("半径 500000 太大：无法创建 1000000 × 1000000 像素的圆形图片。"));
    EXPECT_EQ(form.Image1->picture().image(), before);
    EXPECT_EQ(form.Image1->size(), QSize(100, 100));
    // OK fails the same way: nothing is armed and the dialog stays open.
    form.show();
    form.Button1->click();
    EXPECT_EQ(shownErrors.size(), 2);
    EXPECT_EQ(form.CircleSettings.PendingPlacement, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CircleDialog, OkArmsThePlacementWithTheHandCursorAndCloses) {
    form.show();
    form.SpinEdit2->setText("30");
    form.Button1->click();
    EXPECT_EQ(form.CircleSettings.PendingPlacement, 1);
    EXPECT_EQ(canvas.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Image1->picture().size(), QSize(60, 60));
}

TEST_F(CircleDialog, CancelRestoresDefaultsButNotTheBoxes) {
    answerColourDialogWith(clBlue);
    form.SpeedButton1->click();
    form.SpeedButton2->click();
    form.SpinEdit2->setText("70");
    form.show();
    form.Button1->click();
    EXPECT_EQ(form.CircleSettings.FillColor, clBlue);
    form.show();
    form.Button3->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.CircleSettings.PendingPlacement, 0);
    EXPECT_EQ(form.CircleSettings.PickedLineColor, clBlack);
    EXPECT_EQ(form.CircleSettings.PickedFillColor, clWhite);
    EXPECT_EQ(form.CircleSettings.Radius, 50);
    EXPECT_EQ(form.Image1->size(), QSize(100, 100));
    EXPECT_EQ(form.SpinEdit2->value(), 70);
    form.Button4->click(); // the next preview draws black on white at the typed radius
    EXPECT_EQ(form.Image1->picture().pixel(70, 70), clWhite);
    EXPECT_EQ(form.Image1->picture().pixel(0, 70), clBlack);
}

TEST_F(CircleDialog, CloseBoxNeitherAppliesNorResets) {
    form.show();
    form.Button1->click();
    form.show();
    form.SpinEdit2->setText("90");
    form.close();
    EXPECT_EQ(form.CircleSettings.PendingPlacement, 1);
    EXPECT_EQ(form.CircleSettings.Radius, 50);
}

} // namespace

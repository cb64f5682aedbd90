// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The canvas settings dialog: its controls, the enabling rules, the colour and picture
// dialogs, and what confirm, apply, cancel and the close box do to CanvasSettings.
#include "PlatformDialogs.h"
#include "SpinEdit.h"
#include "Unit2.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

class Unit2Test : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TForm2>(); }
    void TearDown() override {
        PlatformDialogs::setColorChooser({});
        PlatformDialogs::setFileChooser({});
    }
    void chooseColour(std::optional<TColor> answer) {
        PlatformDialogs::setColorChooser([answer](QWidget*, TColor) { return answer; });
        form->Button1->click();
    }
    void choosePicture(std::optional<QString> answer) {
        PlatformDialogs::setFileChooser([this, answer](QWidget*, const FileDialogRequest& r) {
            lastRequest = r;
            return answer;
        });
        form->Button2->click();
    }
    std::unique_ptr<TForm2> form;
    FileDialogRequest lastRequest;
};

bool sameSettings(const TSetStruct& a, const TSetStruct& b) {
    return a.Width == b.Width && a.Height == b.Height && a.BackgroundColor == b.BackgroundColor &&
           a.UsePicture == b.UsePicture && a.UseColor == b.UseColor &&
           a.PictureFile == b.PictureFile && a.Layout == b.Layout;
}

} // namespace

TEST_F(Unit2Test, ControlsCaptionsAndStartingState) {
    EXPECT_EQ(form->windowTitle(), "图片设置窗口");
    EXPECT_EQ(form->size(), QSize(375, 384));
    EXPECT_EQ(form->pos(), QPoint(333, 200));
    const std::pair<const char*, const char*> captions[] = {
        {"GroupBox1", "图片大小"}, {"GroupBox2", "背景设置"}, {"GroupBox4", "图片排列"}};
    for (auto [name, caption] : captions)
        EXPECT_EQ(form->findChild<QGroupBox*>(name)->title(), QString::fromUtf8(caption));
    EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "图片长：");
    EXPECT_EQ(form->findChild<QLabel*>("Label2")->text(), "图片宽：");
    const std::pair<const char*, const char*> buttons[] = {{"RadioButton5", "背景颜色"},
                                                           {"RadioButton6", "背景图片"},
                                                           {"RadioButton7", "平铺"},
                                                           {"RadioButton8", "拉伸"},
                                                           {"RadioButton9", "居中"}};
    for (auto [name, caption] : buttons)
        EXPECT_EQ(form->findChild<QRadioButton*>(name)->text(), QString::fromUtf8(caption));
    const std::pair<const char*, const char*> pushes[] = {{"Button1", "调色板"},
                                                          {"Button2", "打开"},
                                                          {"Button3", "确定"},
                                                          {"Button5", "应用"},
                                                          {"Button4", "取消"}};
    for (auto [name, caption] : pushes)
        EXPECT_EQ(form->findChild<QPushButton*>(name)->text(), QString::fromUtf8(caption));
    // Confirm, apply, cancel from left to right.
    EXPECT_LT(form->Button3->x(), form->Button5->x());
    EXPECT_LT(form->Button5->x(), form->Button4->x());
    for (SpinEdit* box : {form->SpinEdit1, form->SpinEdit2}) {
        EXPECT_EQ(box->minValue(), 1);
        EXPECT_EQ(box->maxValue(), 4000);
        EXPECT_EQ(box->incrementValue(), 20);
    }
    EXPECT_EQ(form->SpinEdit1->value(), 800);
    EXPECT_EQ(form->SpinEdit2->value(), 600);
    EXPECT_TRUE(form->RadioButton6->isChecked());
    EXPECT_TRUE(form->RadioButton7->isChecked());
    EXPECT_FALSE(form->Button1->isEnabled());
    EXPECT_TRUE(form->Button2->isEnabled());
    EXPECT_TRUE(sameSettings(form->CanvasSettings, TSetStruct{}));
    EXPECT_EQ(form->ChosenColor, clWhite);
    EXPECT_FALSE(form->PictureChosen);
    EXPECT_FALSE(form->ColorChosen);
}

TEST_F(Unit2Test, BackgroundRadioButtonsOnlyEnableControls) {
    form->RadioButton5->click();
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_FALSE(form->Button2->isEnabled());
    EXPECT_FALSE(form->GroupBox4->isEnabled());
    for (QRadioButton* b : {form->RadioButton7, form->RadioButton8, form->RadioButton9})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(form->ColorChosen);
    form->RadioButton6->click();
    EXPECT_FALSE(form->Button1->isEnabled());
    EXPECT_TRUE(form->Button2->isEnabled());
    EXPECT_TRUE(form->GroupBox4->isEnabled());
    EXPECT_TRUE(form->RadioButton9->isEnabled());
}

TEST_F(Unit2Test, PictureDialogRequestAndLastConfirmedChoiceWins) {
    choosePicture(QStringLiteral("/pictures/paper.png"));
    EXPECT_EQ(lastRequest.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(lastRequest.filter,
              "All (*.png;*.jpg;*.jpeg;*.bmp)|*.png;*.jpg;*.jpeg;*.bmp|PNG 图片 (*.png)|*.png|"
              "JPEG 图片 (*.jpg *.jpeg)|*.jpg;*.jpeg|BMP 图片 (*.bmp)|*.bmp");
    EXPECT_TRUE(lastRequest.picturePreview);
    EXPECT_TRUE(form->PictureChosen);
    EXPECT_FALSE(form->ColorChosen);

    // Checking "背景颜色" without confirming a colour keeps the picture.
    form->RadioButton5->click();
    chooseColour(std::nullopt);
    form->Button5->click();
    EXPECT_TRUE(form->CanvasSettings.UsePicture);
    EXPECT_FALSE(form->CanvasSettings.UseColor);
    EXPECT_EQ(form->CanvasSettings.PictureFile, "/pictures/paper.png");

    chooseColour(0x00123456);
    EXPECT_FALSE(form->PictureChosen);
    EXPECT_TRUE(form->ColorChosen);
    form->Button5->click();
    EXPECT_FALSE(form->CanvasSettings.UsePicture);
    EXPECT_TRUE(form->CanvasSettings.UseColor);
    EXPECT_EQ(form->CanvasSettings.BackgroundColor, 0x00123456u);

    // A cancelled file dialog changes nothing; the next one starts from the last picture.
    form->RadioButton6->click();
    choosePicture(std::nullopt);
    EXPECT_EQ(lastRequest.initialPath, "/pictures/paper.png");
    EXPECT_TRUE(form->ColorChosen);
    choosePicture(QStringLiteral("/pictures/silk.jpg"));
    form->Button5->click();
    EXPECT_TRUE(form->CanvasSettings.UsePicture);
    EXPECT_FALSE(form->CanvasSettings.UseColor);
    EXPECT_EQ(form->CanvasSettings.BackgroundColor, 0x00123456u); // the colour is still committed
}

TEST_F(Unit2Test, CommitCopiesSizesAndLayout) {
    form->SpinEdit1->setText("1000");
    form->SpinEdit2->setText("text");
    form->RadioButton9->click();
    EXPECT_EQ(form->ChosenLayout, plCenter);
    form->Button5->click();
    EXPECT_EQ(form->CanvasSettings.Width, 1000);
    EXPECT_EQ(form->CanvasSettings.Height, 1); // not a whole number: the least side
    EXPECT_EQ(form->CanvasSettings.Layout, plCenter);
    for (const char* below : {"-30", "0"}) {
        form->SpinEdit2->setText(below);
        form->Button5->click();
        EXPECT_EQ(form->CanvasSettings.Height, 1) << below;
    }
    form->SpinEdit1->setText("5000");
    form->RadioButton8->click();
    form->Button3->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->CanvasSettings.Width, 4000); // brought into range
    EXPECT_EQ(form->CanvasSettings.Layout, plStretch);
    form->RadioButton7->click();
    EXPECT_EQ(form->ChosenLayout, plTile);
}

TEST_F(Unit2Test, SizeInCentimetresFollowsTheBoxesAndTheResolutionIsCommitted) {
    EXPECT_EQ(form->findChild<QLabel*>("Label5")->text(), "分辨率：");
    EXPECT_EQ(form->SpinEdit3->value(), 96);
    EXPECT_EQ(form->CanvasSettings.Resolution, 96);
    EXPECT_EQ(form->Label3->text(), "21.17 厘米"); // 800 pixels at 96 per inch
    form->SpinEdit1->setText("3543");
    form->SpinEdit3->setText("300");
    EXPECT_EQ(form->Label3->text(), "30.00 厘米");
    EXPECT_EQ(form->Label4->text(), "5.08 厘米");
    form->Button5->click();
    EXPECT_EQ(form->CanvasSettings.Resolution, 300);
    form->SpinEdit3->setText("none");
    form->Button5->click();
    EXPECT_EQ(form->CanvasSettings.Resolution, 1); // the lower limit
}

TEST_F(Unit2Test, CancelResetsTheRecordButNotTheControlsOrPictureFile) {
    choosePicture(QStringLiteral("/pictures/paper.png"));
    form->SpinEdit1->setText("320");
    form->RadioButton8->click();
    form->Button5->click();
    form->Button4->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    TSetStruct expected;
    expected.PictureFile = QStringLiteral("/pictures/paper.png");
    EXPECT_TRUE(sameSettings(form->CanvasSettings, expected));
    // The working values and controls are as they were left.
    EXPECT_EQ(form->SpinEdit1->value(), 320);
    EXPECT_TRUE(form->RadioButton8->isChecked());
    EXPECT_TRUE(form->PictureChosen);
    EXPECT_EQ(form->ChosenLayout, plStretch);
}

TEST_F(Unit2Test, CloseBoxNeitherAppliesNorResets) {
    form->SpinEdit1->setText("100");
    form->Button5->click();
    form->SpinEdit1->setText("200");
    form->show();
    form->close();
    EXPECT_EQ(form->CanvasSettings.Width, 100);
}

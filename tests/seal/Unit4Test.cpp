// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal dialog: its starting state, ReadSettings, the choices, the preview's pictures and
// the handlers of its five buttons.
#include "Unit4.h"
#include "Step.h"

#include "Gbk.h"
#include "ImageControl.h"
#include "RichEditWidget.h"
#include "RotImg.h"
#include "SpinEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace {

class SealDialog : public ::testing::Test {
protected:
    SealDialog() {
        canvas = std::make_unique<QWidget>();
        dialog = std::make_unique<TForm4>(canvas.get(), faces);
    }

    void write(const QString& text) { dialog->RichEdit1->richText().setText(text); }
    const DrawingSurface& turned() const { return dialog->RotateImage1->RotatedGraphic(); }
    const DrawingSurface& seal() const { return dialog->Image1->picture(); }

    const QStringList faces = {QStringLiteral("宋体"), QStringLiteral("楷体")};
    std::unique_ptr<QWidget> canvas;
    std::unique_ptr<TForm4> dialog;
};

// Whether any pixel of the colour lies in the rectangle.
bool hasColour(const DrawingSurface& s, TColor colour, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (s.pixel(x, y) == colour)
                return true;
    return false;
}

} // namespace

TEST_F(SealDialog, StartsAsTheDialogIsLaidOut) {
    TForm4& d = *dialog;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("印章设置"));
    EXPECT_EQ(d.size(), QSize(564, 633));
    EXPECT_TRUE(d.windowFlags().testFlag(Qt::Tool));
    struct Spin {
        const char* name;
        int min, max, step, value;
    };
    for (const Spin& s : {Spin{"SpinEdit1", 0, 0, 1, 50}, Spin{"SpinEdit2", 0, 0, 1, 50},
                          Spin{"SpinEdit3", 400, 1000, 100, 400}, Spin{"SpinEdit4", 0, 0, 1, 1},
                          Spin{"SpinEdit5", 0, 0, 1, 1}, Spin{"SpinEdit6", -60, 60, 5, 0},
                          Spin{"SpinEdit7", 1, 200, 1, 1}, Spin{"SpinEdit8", 0, 100, 10, 0},
                          Spin{"SpinEdit9", 0, 0, 1, 1}}) {
        auto* edit = d.findChild<SpinEdit*>(QString::fromLatin1(s.name));
        ASSERT_NE(edit, nullptr) << s.name;
        EXPECT_EQ(edit->minValue(), s.min) << s.name;
        EXPECT_EQ(edit->maxValue(), s.max) << s.name;
        EXPECT_EQ(edit->incrementValue(), s.step) << s.name;
        EXPECT_EQ(edit->value(), s.value) << s.name;
    }
    EXPECT_EQ(d.SpinEdit6->toolTip(), QStringLiteral("-60~60"));
    EXPECT_EQ(d.ComboBox1->currentText(), QStringLiteral("字体"));
    ASSERT_EQ(d.ComboBox1->count(), 2);
    EXPECT_EQ(d.ComboBox1->itemText(1), QStringLiteral("楷体"));
    EXPECT_NE(d.findChild<RichEdit*>(QStringLiteral("RichEdit1")), nullptr);
    const std::pair<const char*, const char*> captions[] = {
        {"RadioButton1", "阴文"},         {"RadioButton2", "阳文"},
        {"RadioButton3", "从左向右横排"}, {"RadioButton4", "从右向左横排"},
        {"RadioButton5", "从左向右竖排"}, {"RadioButton6", "从右向左竖排"},
        {"RadioButton7", "直角"},         {"RadioButton8", "圆角"}};
    for (const auto& [name, caption] : captions) {
        auto* button = d.findChild<QRadioButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    }
    EXPECT_TRUE(d.RadioButton2->isChecked());
    EXPECT_TRUE(d.RadioButton3->isChecked());
    EXPECT_TRUE(d.RadioButton7->isChecked());
    const std::pair<const char*, const char*> buttons[] = {{"Button1", "确定"},
                                                           {"Button2", "应用"},
                                                           {"Button3", "取消"},
                                                           {"Button4", "预览"},
                                                           {"Button6", "清空"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = d.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    }
    EXPECT_EQ(d.GroupBox1->title(), QStringLiteral("内容"));
    EXPECT_EQ(d.GroupBox2->title(), QStringLiteral("印章形状"));
    EXPECT_EQ(d.GroupBox3->title(), QStringLiteral("显示方式"));
    EXPECT_EQ(d.GroupBox4->title(), QStringLiteral("排列方式"));
    EXPECT_EQ(d.GroupBox5->title(), QStringLiteral("印面"));
    ASSERT_EQ(d.ComboBox2->count(), 3);
    EXPECT_EQ(d.ComboBox2->currentText(), QStringLiteral("大红"));
    EXPECT_EQ(d.ComboBox2->itemText(1), QStringLiteral("朱砂"));
    EXPECT_EQ(d.ComboBox2->itemText(2), QStringLiteral("朱磦"));
    EXPECT_EQ(d.CheckBox1->text(), QStringLiteral("平滑边缘"));
    EXPECT_FALSE(d.CheckBox1->isChecked());

    EXPECT_EQ(d.StyleChoice, stRelief);
    EXPECT_EQ(d.CornerChoice, cnSquare);
    EXPECT_EQ(d.ArrangementChoice, arHorzLeftToRight);
    EXPECT_EQ(d.PendingPlacement, 0);
    EXPECT_EQ(d.SealSettings, TSetStamper{});
    EXPECT_EQ(d.SealSettings.FontName, QStringLiteral("宋体"));
    EXPECT_TRUE(d.Image1->isHidden());
    EXPECT_TRUE(d.Image1->transparent());
    EXPECT_EQ(d.Image1->size(), QSize(50, 50));
    EXPECT_TRUE(d.RotateImage1->Transparent());
    EXPECT_TRUE(d.RotateImage1->UniqueSize());
    EXPECT_FALSE(d.RotateImage1->Center());
    EXPECT_EQ(d.RotateImage1->Angle(), 0);
    EXPECT_EQ(d.Panel1->size(), QSize(150, 150));
}

TEST_F(SealDialog, ReadSettingsTakesTheControlsInOrder) {
    TForm4& d = *dialog;
    d.SpinEdit1->setText("120");
    d.SpinEdit2->setText("abc"); // not a number: the box's minimum
    d.SpinEdit3->setText("2000");
    d.SpinEdit4->setText("-3");
    d.SpinEdit5->setText("4");
    d.SpinEdit6->setText("x");
    d.RadioButton1->click();
    d.RadioButton8->click();
    d.RadioButton5->click();
    d.ComboBox2->setCurrentIndex(2);
    d.SpinEdit7->setText("6");
    d.CheckBox1->setChecked(true);
    d.SpinEdit8->setText("40");
    d.SpinEdit9->setText("-9");
    d.ComboBox3->setCurrentIndex(1);
    d.CheckBox2->setChecked(true);
    d.CheckBox3->setChecked(true);
    d.CheckBox4->setChecked(true);
    d.ReadSettings();
    const TSetStamper& s = d.SealSettings;
    EXPECT_EQ(s.WearStyle, wsPressed);
    EXPECT_TRUE(s.Paper);
    EXPECT_TRUE(s.KeepProportions);
    EXPECT_TRUE(s.MatchFallbackWeight);
    EXPECT_EQ(s.Ink, siVermilion);
    EXPECT_EQ(s.FrameWidth, 6);
    EXPECT_TRUE(s.SmoothEdges);
    EXPECT_EQ(s.Wear, 40);
    EXPECT_EQ(s.WearSeed, -9);
    EXPECT_EQ(s.SealWidth, 120);
    EXPECT_EQ(s.SealHeight, 0);
    EXPECT_EQ(s.StrokeWeight, 1000);
    EXPECT_EQ(s.CharSpacing, -3);
    EXPECT_EQ(s.EdgeWidth, 4);
    EXPECT_EQ(s.SealAngle, -60);
    EXPECT_EQ(s.FontName, QStringLiteral("字体"));
    EXPECT_EQ(s.SealStyle, stIntaglio);
    EXPECT_EQ(s.CornerShape, cnRounded);
    EXPECT_EQ(s.Arrangement, arVertLeftToRight);
    EXPECT_EQ(d.Image1->size(), QSize(120, 0));
    d.SpinEdit3->setText("junk");
    d.ComboBox1->setCurrentIndex(1);
    d.ReadSettings();
    EXPECT_EQ(d.SealSettings.StrokeWeight, 400);
    EXPECT_EQ(d.SealSettings.FontName, QStringLiteral("楷体"));
}

TEST_F(SealDialog, ChoicesFollowTheRadioButtons) {
    TForm4& d = *dialog;
    d.RadioButton1->click();
    EXPECT_EQ(d.StyleChoice, stIntaglio);
    d.RadioButton2->click();
    EXPECT_EQ(d.StyleChoice, stRelief);
    d.RadioButton8->click();
    EXPECT_EQ(d.CornerChoice, cnRounded);
    d.RadioButton7->click();
    EXPECT_EQ(d.CornerChoice, cnSquare);
    const std::pair<QRadioButton*, Arrangement> arrangements[] = {
        {d.RadioButton4, arHorzRightToLeft},
        {d.RadioButton5, arVertLeftToRight},
        {d.RadioButton6, arVertRightToLeft},
        {d.RadioButton3, arHorzLeftToRight}};
    for (const auto& [button, arrangement] : arrangements) {
        button->click();
        EXPECT_EQ(d.ArrangementChoice, arrangement);
    }
}

// "保持字形比例": the hint shows when the seal's shape keeps the glyphs from filling their cells
// (two characters on a square) and not when it fits them (on a 2 : 1 seal) nor without the box;
// "清空" hides it.
TEST_F(SealDialog, KeepProportionsTellsWhenTheShapeForcesSpace) {
    TForm4& d = *dialog;
    write(QStringLiteral("金石"));
    d.SpinEdit1->setText("100");
    d.SpinEdit2->setText("100");
    d.Button4->click();
    EXPECT_TRUE(d.Label1->isHidden());
    d.CheckBox3->setChecked(true);
    d.Button4->click();
    EXPECT_FALSE(d.Label1->isHidden());
    d.Button6->click();
    EXPECT_TRUE(d.Label1->isHidden());
    d.SpinEdit2->setText("50");
    d.Button4->click();
    EXPECT_TRUE(d.Label1->isHidden());
}

// "平滑边缘": the stamp carries the smooth seal, turned as the keyed one and of its size, and
// the preview shows it; without the box the stamp is the keyed seal alone.
TEST_F(SealDialog, SmoothEdgesHandOverAnAlphaPicture) {
    write(QStringLiteral("永"));
    dialog->CheckBox1->setChecked(true);
    dialog->SpinEdit6->setText("30");
    dialog->Button4->click();
    const QImage& smooth = dialog->stampedSmoothPicture();
    ASSERT_FALSE(smooth.isNull());
    EXPECT_EQ(smooth.size(), turned().size());
    EXPECT_TRUE(smooth.hasAlphaChannel());
    EXPECT_EQ(qAlpha(smooth.pixel(0, 0)), 0);
    // What a press stamps is drawn from the record again, to the same pixels.
    const RenderedElement stamped = renderElement(dialog->element());
    EXPECT_EQ(stamped.smooth, smooth);
    EXPECT_EQ(stamped.picture.image(), turned().image());
    dialog->CheckBox1->setChecked(false);
    dialog->Button4->click();
    EXPECT_TRUE(dialog->stampedSmoothPicture().isNull());
}

TEST_F(SealDialog, PreviewAtNoAngleKeepsTheSealInTheTopLeft) {
    write(QStringLiteral("永和九年"));
    dialog->Button4->click();
    EXPECT_EQ(dialog->TextColor, clRed); // relief is chosen at first
    ASSERT_EQ(seal().size(), QSize(50, 50));
    EXPECT_EQ(dialog->RotateImage1->size(), QSize(50, 50));
    ASSERT_EQ(turned().size(), QSize(74, 74));
    EXPECT_TRUE(turned().transparent);
    EXPECT_EQ(turned().transparentColor, std::optional<TColor>(clFuchsia));
    for (int y = 0; y < 74; ++y)
        for (int x = 0; x < 74; ++x) {
            const TColor want = (x < 50 && y < 50) ? seal().pixel(x, y) : clFuchsia;
            ASSERT_EQ(turned().pixel(x, y), want) << x << "," << y;
        }
    // Relief: light grey ground inside a red outline; each character's red ink in its
    // 11-pixel cell at x = 1, 13, 25, 37 of the 48-pixel row.
    EXPECT_EQ(seal().pixel(0, 0), clRed);
    for (int j = 0; j < 4; ++j)
        EXPECT_TRUE(hasColour(seal(), clRed, QRect(1 + 12 * j, 1, 11, 48))) << j;
    EXPECT_TRUE(hasColour(seal(), 0x00D2D2D2, QRect(1, 1, 48, 48)));
}

TEST_F(SealDialog, TurnedPreviewIsTheDiagonalSquare) {
    write(QStringLiteral("永和九年"));
    dialog->SpinEdit6->setText("30");
    dialog->Button4->click();
    EXPECT_EQ(dialog->RotateImage1->size(), QSize(70, 70));
    EXPECT_EQ(dialog->RotateImage1->Angle(), 30);
    ASSERT_EQ(turned().size(), QSize(102, 102));
    // The turned 70 x 70 square lies in the top-left 95 x 95; its corners are key.
    EXPECT_EQ(turned().pixel(0, 0), clFuchsia);
    EXPECT_EQ(turned().pixel(98, 98), clFuchsia);
    // The seal's centre (25, 25) of the square's top-left quarter turns counter-clockwise
    // about the square's centre: it moves down and to the left of where it was.
    EXPECT_NE(turned().pixel(30, 45), clFuchsia);
    dialog->SpinEdit6->setText("-15");
    dialog->Button4->click();
    EXPECT_EQ(dialog->RotateImage1->Angle(), -15);
    EXPECT_EQ(turned().size(), QSize(102, 102));
}

TEST_F(SealDialog, IntaglioAndRoundedCorners) {
    write(QStringLiteral("印"));
    dialog->RadioButton1->click();
    dialog->RadioButton8->click();
    dialog->Button4->click();
    EXPECT_EQ(dialog->TextColor, clWhite);
    EXPECT_EQ(seal().pixel(0, 0), clFuchsia);
    EXPECT_EQ(seal().pixel(25, 0), clRed);
    EXPECT_EQ(seal().pixel(2, 25), 0x003232F0u);
    EXPECT_TRUE(hasColour(seal(), clWhite, QRect(1, 1, 48, 48)));
    EXPECT_EQ(turned().pixel(0, 0), clFuchsia);
    EXPECT_EQ(turned().pixel(49, 49), clFuchsia);
}

TEST_F(SealDialog, EmptyTextLeavesThePreviousSeal) {
    write(QStringLiteral("永和"));
    dialog->Button4->click();
    const QImage before = turned().image();
    write(QString());
    dialog->SpinEdit1->setText("80");
    dialog->Button4->click();
    EXPECT_EQ(dialog->SealSettings.SealWidth, 80); // the settings were still read
    EXPECT_EQ(turned().image(), before);
    EXPECT_EQ(seal().size(), QSize(50, 50));
    // A break makes one empty line: a seal without characters.
    write(QStringLiteral("\n"));
    dialog->Button4->click();
    EXPECT_EQ(seal().size(), QSize(80, 50));
    EXPECT_FALSE(hasColour(seal(), clRed, QRect(1, 1, 78, 48)));
}

TEST_F(SealDialog, ApplyAndPreviewGiveTheSameSeal) {
    write(QStringLiteral("寿\n山"));
    dialog->RadioButton6->click();
    dialog->SpinEdit6->setText("45");
    dialog->Button4->click();
    const QImage previewed = turned().image();
    dialog->Button6->click();
    EXPECT_TRUE(turned().isEmpty());
    dialog->Button2->click();
    EXPECT_EQ(turned().image(), previewed);
    EXPECT_EQ(dialog->PendingPlacement, 0);
}

TEST_F(SealDialog, OkArmsPlacementAndGivesTheCanvasTheHand) {
    write(QStringLiteral("印章"));
    dialog->show();
    dialog->Button1->click();
    EXPECT_EQ(dialog->PendingPlacement, 1);
    EXPECT_EQ(canvas->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(turned().size(), QSize(74, 74));
    // OK with no text arms nothing: the seal drawn before must not be stamped in its place.
    write(QString());
    dialog->Button1->click();
    EXPECT_EQ(dialog->PendingPlacement, 0);
}

TEST_F(SealDialog, CancelResetsTheRecordOnly) {
    write(QStringLiteral("印"));
    dialog->SpinEdit1->setText("90");
    dialog->Button1->click();
    const QImage kept = turned().image();
    dialog->show();
    dialog->Button3->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->SealSettings, TSetStamper{});
    EXPECT_EQ(dialog->Image1->size(), QSize(50, 50));
    EXPECT_EQ(dialog->PendingPlacement, 1);
    EXPECT_EQ(dialog->SpinEdit1->value(), 90);
    EXPECT_EQ(turned().image(), kept);
    EXPECT_EQ(seal().size(), QSize(90, 50));
}

TEST_F(SealDialog, ClearEmptiesBothPicturesAndResets) {
    write(QStringLiteral("印"));
    dialog->SpinEdit2->setText("70");
    dialog->Button1->click();
    dialog->Button6->click();
    EXPECT_TRUE(dialog->Image1->picture().isEmpty());
    EXPECT_FALSE(dialog->Image1->hasPicture());
    EXPECT_TRUE(dialog->RotateImage1->pictureIsEmpty());
    EXPECT_EQ(turned().size(), QSize(0, 0));
    EXPECT_EQ(dialog->SealSettings, TSetStamper{});
    EXPECT_EQ(dialog->PendingPlacement, 1);
    EXPECT_EQ(dialog->RichEdit1->richText().lineCount(), 1);
    EXPECT_EQ(dialog->SpinEdit2->value(), 70);
}

TEST_F(SealDialog, NonPositiveSizesStampNothing) {
    write(QStringLiteral("印"));
    dialog->SpinEdit1->setText("-50");
    dialog->Button4->click();
    EXPECT_TRUE(seal().isEmpty());
    EXPECT_EQ(turned().size(), QSize(0, 0));
    // Turned, the frame is the other side's square and holds only the key colour.
    dialog->SpinEdit6->setText("20");
    dialog->Button4->click();
    ASSERT_EQ(turned().size(), QSize(74, 74));
    for (int y = 0; y < 74; ++y)
        for (int x = 0; x < 74; ++x)
            ASSERT_EQ(turned().pixel(x, y), clFuchsia);
    // Cells that cannot hold a character draw none, and nothing fails.
    dialog->SpinEdit1->setText("6");
    dialog->SpinEdit2->setText("6");
    dialog->SpinEdit5->setText("9");
    dialog->SpinEdit6->setText("0");
    write(QStringLiteral("印章印章"));
    dialog->Button4->click();
    EXPECT_EQ(seal().size(), QSize(6, 6));
    EXPECT_EQ(seal().pixel(3, 3), 0x00D2D2D2u);
}

// Tab in the seal text moves on to the next control: a tab typed into the text would be an
// invisible character that takes a cell of its own.
TEST_F(SealDialog, TabInTheSealTextMovesTheFocus) {
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    write(QStringLiteral("印"));
    dialog->RichEdit1->setFocus();
    QTest::keyClick(dialog->RichEdit1, Qt::Key_Tab);
    EXPECT_EQ(dialog->RichEdit1->toPlainText(), QStringLiteral("印"));
    EXPECT_NE(QApplication::focusWidget(), dialog->RichEdit1);
}

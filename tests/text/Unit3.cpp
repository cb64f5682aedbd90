// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rotated-text dialog: its starting state, the apply order, the size error, preview,
// confirm and cancel.
#include "Unit3.h"

#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "SpinEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

const QStringList sizes = {"8",  "16", "20", "24", "28", "30",  "34",  "36",  "40",  "48",
                           "56", "60", "68", "72", "80", "100", "120", "160", "200", ""};
const QStringList faces = {"宋体", "楷体", "黑体"};

struct DialogTest : ::testing::Test {
    DialogTest() {
        previous =
            ErrorBoundary::setDisplay([this](QWidget*, const QString& text) { messages << text; });
    }
    ~DialogTest() override {
        ErrorBoundary::setDisplay(previous);
        PlatformDialogs::setColorChooser({});
    }
    void pickColour(TColor colour) {
        PlatformDialogs::setColorChooser([colour](QWidget*, TColor) { return colour; });
        form.ColorButton1->click();
    }
    // Every control changed from what the dialog starts with.
    void fillIn(const QString& text, int angle, int spacing, const QString& size) {
        form.Edit1->setText(text);
        form.SpinEdit1->setText(QString::number(angle));
        form.SpinEdit2->setText(QString::number(spacing));
        form.ComboBox1->setEditText(size);
        form.ComboBox2->setEditText(QStringLiteral("楷体"));
        form.RadioButton1->click();
        pickColour(clRed);
    }

    ErrorBoundary::Display previous;
    QStringList messages;
    QWidget canvas;
    TForm3 form{&canvas, sizes, faces};
};

} // namespace

TEST_F(DialogTest, StartsWithResetRecordAndCopiedLists) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("旋转字制作设置"));
    EXPECT_EQ(form.size(), QSize(475, 577));
    EXPECT_EQ(form.RotatedTextSettings, TSetSector{});
    EXPECT_EQ(form.RotatedTextSettings.Color, 0xFF00000Fu);
    EXPECT_EQ(form.RotatedTextSettings.Size, 8);
    EXPECT_EQ(form.RotatedTextSettings.Placement, tpHorizontal);
    EXPECT_FALSE(form.PendingPlacement);
    EXPECT_EQ(form.PlacementChoice, tpVertical);
    EXPECT_TRUE(form.RadioButton2->isChecked());
    EXPECT_EQ(form.RadioButton2->text(), QStringLiteral("纵向放置"));
    EXPECT_EQ(form.RadioButton1->text(), QStringLiteral("横向放置"));

    QStringList copied;
    for (int i = 0; i < form.ComboBox1->count(); ++i)
        copied << form.ComboBox1->itemText(i);
    EXPECT_EQ(copied, sizes);
    EXPECT_EQ(form.ComboBox1->currentText(), QStringLiteral("20"));
    EXPECT_EQ(form.ComboBox1->maxVisibleItems(), 16);
    EXPECT_EQ(form.ComboBox2->count(), 3);
    EXPECT_EQ(form.ComboBox2->currentText(), QStringLiteral("宋体"));

    EXPECT_EQ(form.SpinEdit1->minValue(), -180);
    EXPECT_EQ(form.SpinEdit1->maxValue(), 180);
    EXPECT_EQ(form.SpinEdit1->incrementValue(), 5);
    EXPECT_EQ(form.SpinEdit1->toolTip(), QStringLiteral("-180~180"));
    EXPECT_FALSE(form.SpinEdit2->bounded());
    EXPECT_EQ(form.SpinEdit2->value(), 2);
    EXPECT_EQ(form.ColorButton1->color(), clBlack);
    EXPECT_EQ(form.Image1->size(), QSize(148, 148));
    const QStringList captions = {"预览", "清空", "确认", "应用", "取消"};
    const QPushButton* buttons[] = {form.Button1, form.Button2, form.Button3, form.Button4,
                                    form.Button5};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(buttons[i]->text(), captions[i]);
    EXPECT_EQ(form.findChild<QLineEdit*>(QStringLiteral("Edit1")), form.Edit1);
}

TEST_F(DialogTest, ApplyTakesEveryControl) {
    fillIn(QStringLiteral("中文a"), 45, -3, QStringLiteral("36"));
    form.Button4->click();
    EXPECT_TRUE(messages.isEmpty());
    const TSetSector& s = form.RotatedTextSettings;
    EXPECT_EQ(s.Text, QByteArray("\xD6\xD0\xCE\xC4"
                                 "a"));
    EXPECT_EQ(s.Angle, 45);
    EXPECT_EQ(s.CharSpacing, -3);
    EXPECT_EQ(s.Size, 36);
    EXPECT_EQ(s.FaceName, QStringLiteral("楷体"));
    EXPECT_EQ(s.Placement, tpHorizontal);
    EXPECT_EQ(s.Color, clRed);

    // Text that is not a number reads as the box's minimum; a cancelled colour dialog keeps
    // the colour; the vertical button chooses vertical again.
    form.SpinEdit1->setText(QStringLiteral("abc"));
    form.SpinEdit2->setText(QString());
    PlatformDialogs::setColorChooser([](QWidget*, TColor) { return std::optional<TColor>(); });
    form.ColorButton1->click();
    form.RadioButton2->click();
    form.Button4->click();
    EXPECT_EQ(s.Angle, -180);
    EXPECT_EQ(s.CharSpacing, 0);
    EXPECT_EQ(s.Color, clRed);
    EXPECT_EQ(s.Placement, tpVertical);
}

TEST_F(DialogTest, SizeErrorStopsTheApplyAtSize) {
    fillIn(QStringLiteral("AB"), 10, 4, QStringLiteral("24"));
    form.Button4->click();
    const TSetSector before = form.RotatedTextSettings;

    // The empty last entry of the size list, and every other control changed.
    form.Edit1->setText(QStringLiteral("XY"));
    form.SpinEdit1->setText(QStringLiteral("90"));
    form.SpinEdit2->setText(QStringLiteral("7"));
    form.ComboBox1->setCurrentIndex(19);
    form.ComboBox2->setEditText(QStringLiteral("黑体"));
    form.RadioButton2->click();
    pickColour(clBlue);
    form.Button4->click();
    ASSERT_EQ(messages, QStringList{QStringLiteral("“”不是有效的整数。")});
    const TSetSector& s = form.RotatedTextSettings;
    EXPECT_EQ(s.Text, QByteArray("XY"));
    EXPECT_EQ(s.Angle, 90);
    EXPECT_EQ(s.CharSpacing, 7);
    EXPECT_EQ(s.Size, before.Size);
    EXPECT_EQ(s.FaceName, before.FaceName);
    EXPECT_EQ(s.Placement, before.Placement);
    EXPECT_EQ(s.Color, before.Color);

    // Confirm neither arms nor closes; preview stays cleared.
    form.show();
    form.Button3->click();
    EXPECT_FALSE(form.PendingPlacement);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
    form.Image1->canvas();
    form.Button1->click();
    EXPECT_FALSE(form.Image1->hasPicture());
    form.ComboBox1->setEditText(QStringLiteral("1x"));
    form.Button4->click();
    EXPECT_EQ(messages.last(), QStringLiteral("“1x”不是有效的整数。"));
    EXPECT_EQ(messages.size(), 4);
    // A size that would draw mirrored glyphs is refused the same way.
    form.ComboBox1->setEditText(QStringLiteral("-20"));
    form.Button3->click();
    EXPECT_EQ(messages.last(),
              QStringLiteral("字号 -20 超出范围：请输入 1 到 1000 之间的整数（字高的像素数）。"));
    EXPECT_FALSE(form.PendingPlacement);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(DialogTest, PreviewDrawsFrom30_10AndClearEmptiesIt) {
    form.Edit1->setText(QStringLiteral("一"));
    form.ComboBox1->setEditText(QStringLiteral("60"));
    form.RadioButton1->click();
    form.Button1->click();
    ASSERT_TRUE(form.Image1->hasPicture());
    const DrawingSurface& p = form.Image1->picture();
    ASSERT_EQ(p.size(), QSize(148, 148));
    QRect ink;
    int black = 0;
    for (int y = 0; y < 148; ++y)
        for (int x = 0; x < 148; ++x) {
            if (p.pixel(x, y) != clWhite)
                ink |= QRect(x, y, 1, 1);
            black += p.pixel(x, y) == clBlack;
        }
    // One bar of a 60-pixel "一" inside the first cell, in the dialog's black.
    EXPECT_GE(ink.left(), 30);
    EXPECT_LT(ink.right(), 90);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LT(ink.bottom(), 70);
    EXPECT_GE(ink.width(), 45);
    EXPECT_GE(black, 45);
    form.Button2->click();
    EXPECT_FALSE(form.Image1->hasPicture());
}

TEST_F(DialogTest, ConfirmArmsAndCancelResetsOnlyTheRecord) {
    form.show();
    fillIn(QStringLiteral("AB"), 30, 1, QStringLiteral("40"));
    form.Button3->click();
    EXPECT_TRUE(form.PendingPlacement);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(canvas.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form.RotatedTextSettings.Size, 40);

    form.show();
    form.Button5->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.RotatedTextSettings, TSetSector{});
    EXPECT_TRUE(form.PendingPlacement);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("AB"));
    EXPECT_EQ(form.ComboBox1->currentText(), QStringLiteral("40"));
    EXPECT_EQ(form.ColorButton1->color(), clRed);

    // The close box neither applies nor resets.
    form.Button4->click();
    form.show();
    form.Edit1->setText(QStringLiteral("CD"));
    form.close();
    EXPECT_EQ(form.RotatedTextSettings.Text, QByteArray("AB"));
}

// The face list opens as wide as its longest name, which its box is far narrower than.
TEST(RotatedDialogFaces, TheFaceListShowsLongNamesWhole) {
    QWidget canvas;
    const QString longName = QStringLiteral("AR PL UMing TW MBE Extra Long Face Name");
    TForm3 form(&canvas, sizes, {QStringLiteral("宋体"), longName});
    form.show();
    form.ComboBox2->showPopup();
    QAbstractItemView* list = form.ComboBox2->view();
    EXPECT_TRUE(list->isVisible());
    EXPECT_LT(form.ComboBox2->width(), list->fontMetrics().horizontalAdvance(longName));
    EXPECT_GE(list->viewport()->width(), list->fontMetrics().horizontalAdvance(longName));
    form.ComboBox2->hidePopup();
}

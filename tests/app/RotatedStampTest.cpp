// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Rotated text on the real main window: the dialog opened by its commands, the stamp at a
// press, cancel after confirm, a nudge after a later apply, and the size error.
#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "Unit1.h"
#include "Unit3.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class RotatedStamp : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        form->createDialogs();
        previous =
            ErrorBoundary::setDisplay([this](QWidget*, const QString& text) { messages << text; });
    }
    void TearDown() override {
        ErrorBoundary::setDisplay(previous);
        PlatformDialogs::setColorChooser({});
    }

    // Opens the dialog with the given command and works it as a user would while it is
    // shown modally; a dialog the steps leave open is closed with its close box.
    void inDialog(const std::function<void()>& command, const std::function<void(TForm3&)>& steps) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            TForm3& dialog = *form->Form3;
            EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
            steps(dialog);
            if (dialog.isVisible())
                dialog.close();
            ran = true;
        });
        command();
        EXPECT_TRUE(ran);
    }

    static void type(TForm3& d, const QString& text, const QString& size, bool horizontal) {
        d.Edit1->setText(text);
        d.ComboBox1->setEditText(size);
        (horizontal ? d.RadioButton1 : d.RadioButton2)->click();
    }

    // The work canvas as it should look: white, with the line drawn at (x, y).
    DrawingSurface expected(const TSetSector& settings, int x, int y) const {
        DrawingSurface picture(form->Image1->width(), form->Image1->height());
        DrawRotatedText(picture, x, y, settings);
        return picture;
    }
    QRect inkBox() const {
        const DrawingSurface& p = form->Image1->picture();
        QRect box;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                if (p.pixel(x, y) != clWhite)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    std::unique_ptr<TForm1> form;
    ErrorBoundary::Display previous;
    QStringList messages;
};

} // namespace

// A line whose face lacks characters names them in the status bar when it is stamped.
TEST_F(RotatedStamp, FallbackCharactersAreNamedInTheStatusBar) {
    inDialog([&] { form->ToolButton24->click(); },
             [](TForm3& d) {
                 type(d, QStringLiteral("一堃𠀀"), QStringLiteral("20"), true);
                 d.ComboBox2->setEditText(QStringLiteral("AR PL KaitiM GB"));
                 d.Button3->click();
             });
    form->Image1MouseDown(QPoint(10, 10), Qt::LeftButton);
    EXPECT_EQ(form->StatusPanel2->text(),
              QStringLiteral("警告：字体“AR PL KaitiM GB”中没有“堃𠀀”，改用后备字体画出。"));
}

TEST_F(RotatedStamp, ConfirmArmsAndTheNextPressStampsAtThePoint) {
    inDialog([&] { form->ToolButton24->click(); },
             [](TForm3& d) {
                 type(d, QStringLiteral("一一"), QStringLiteral("20"), true);
                 d.Button3->click();
             });
    EXPECT_TRUE(form->Form3->pending());
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::PointingHandCursor);

    form->Image1MouseDown(QPoint(100, 100), Qt::RightButton);
    EXPECT_FALSE(form->Form3->pending());
    EXPECT_EQ(form->composition().lastKind(), ekRotatedText);
    EXPECT_EQ(form->composition().position(ekRotatedText), QPoint(100, 100));
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(form->ToolButton22->isEnabled());
    // Two bars in the cells at x = 100 and 122, on the row of y = 100.
    const QRect ink = inkBox();
    EXPECT_GE(ink.left(), 100);
    EXPECT_GE(ink.right(), 122 + 15);
    EXPECT_LT(ink.right(), 144);
    EXPECT_GE(ink.top(), 100);
    EXPECT_LT(ink.bottom(), 120);
    EXPECT_EQ(form->Image1->picture().image(),
              expected(form->Form3->RotatedTextSettings, 100, 100).image());

    // A second press with nothing pending draws nothing more.
    const QImage stamped = form->Image1->picture().image();
    EXPECT_EQ(form->StatusPanel2->text(), QStringLiteral("欢迎使用Tarvel。"));
    form->Image1MouseDown(QPoint(5, 5), Qt::LeftButton);
    EXPECT_EQ(form->Image1->picture().image(), stamped);
    EXPECT_EQ(form->composition().position(ekRotatedText), QPoint(100, 100));
}

// "旋转字" and "落款" both show Alt+A, and the key opens the dialog wherever the focus is, the
// inscription's own button included.
TEST_F(RotatedStamp, AltAOpensTheDialogAndBothItemsShowIt) {
    for (QAction* item : {form->N12, form->MenuInscription}) {
        QString shown = item->shortcut().toString(QKeySequence::NativeText);
        if (shown.isEmpty())
            shown = item->text().section(QLatin1Char('\t'), 1); // the menu's key column
        EXPECT_EQ(shown, QStringLiteral("Alt+A")) << item->objectName().toStdString();
    }
    form->show();
    for (QWidget* focus :
         {static_cast<QWidget*>(form->ToolButton25), static_cast<QWidget*>(form->ToolButton24),
          static_cast<QWidget*>(form->ScrollBox1)}) {
        QApplication::setActiveWindow(form.get()); // as the window manager does after a dialog
        focus->setFocus();
        inDialog([&] { QTest::keyClick(focus, Qt::Key_A, Qt::AltModifier); },
                 [](TForm3& d) { d.Button5->click(); });
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RotatedStamp, CancelAfterConfirmStampsTheResetSettings) {
    inDialog([&] { form->N12->trigger(); },
             [](TForm3& d) {
                 type(d, QStringLiteral("落款"), QStringLiteral("30"), false);
                 d.Button3->click();
             });
    inDialog([&] { form->ToolButton25->click(); }, [](TForm3& d) { d.Button5->click(); });
    EXPECT_TRUE(form->Form3->pending());
    EXPECT_EQ(form->Form3->RotatedTextSettings, TSetSector{});

    form->Image1MouseDown(QPoint(50, 60), Qt::LeftButton);
    EXPECT_FALSE(form->Form3->pending());
    EXPECT_EQ(form->composition().lastKind(), ekRotatedText);
    EXPECT_EQ(form->composition().position(ekRotatedText), QPoint(50, 60));
    // The reset text is empty: a white canvas and nothing on it.
    ASSERT_TRUE(form->Image1->hasPicture());
    EXPECT_EQ(form->Image1->picture().size(), QSize(1273, 649));
    EXPECT_EQ(inkBox(), QRect());
}

// What was stamped is what a nudge moves: a later apply in the dialog changes the next line,
// not the one on the canvas.
TEST_F(RotatedStamp, NudgeAfterALaterApplyMovesTheLineAsStamped) {
    inDialog([&] { form->MenuInscription->trigger(); },
             [](TForm3& d) {
                 type(d, QStringLiteral("一"), QStringLiteral("20"), true);
                 d.Button3->click();
             });
    form->Image1MouseDown(QPoint(100, 100), Qt::LeftButton);
    const TSetSector first = form->Form3->RotatedTextSettings;

    PlatformDialogs::setColorChooser([](QWidget*, TColor) { return clRed; });
    inDialog([&] { form->N12Click(); },
             [](TForm3& d) {
                 type(d, QStringLiteral("二二"), QStringLiteral("40"), false);
                 d.ColorButton1->click();
                 d.Button4->click(); // apply, then the close box
             });
    ASSERT_EQ(form->Form3->RotatedTextSettings.Size, 40);
    EXPECT_EQ(form->Image1->picture().image(), expected(first, 100, 100).image());
    form->ToolButton31Click();
    EXPECT_EQ(form->composition().position(ekRotatedText), QPoint(110, 100));
    EXPECT_EQ(form->Image1->picture().image(), expected(first, 110, 100).image());
    form->ToolButton35Click();
    EXPECT_EQ(form->composition().position(ekRotatedText), QPoint(110, 90));
    EXPECT_EQ(form->Image1->picture().image(), expected(first, 110, 90).image());
}

TEST_F(RotatedStamp, SizeErrorWithTheEmptyLastEntryNeitherArmsNorCloses) {
    inDialog([&] { form->N12Click(); },
             [this](TForm3& d) {
                 ASSERT_EQ(d.ComboBox1->count(), 20);
                 d.Edit1->setText(QStringLiteral("款"));
                 d.ComboBox1->setCurrentIndex(19);
                 d.Button3->click();
                 EXPECT_TRUE(d.isVisible());
                 EXPECT_EQ(messages, QStringList{QStringLiteral("“”不是有效的整数。")});
                 d.Button1->click();
                 EXPECT_FALSE(d.Image1->hasPicture());
                 EXPECT_EQ(d.RotatedTextSettings.Text, QByteArray("\xBF\xEE"));
                 EXPECT_EQ(d.RotatedTextSettings.Size, 8);
             });
    EXPECT_FALSE(form->Form3->pending());
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::ArrowCursor);
    form->Image1MouseDown(QPoint(10, 10), Qt::LeftButton);
    EXPECT_EQ(form->composition().lastKind(), ekNone);
    EXPECT_EQ(inkBox(), QRect());
}

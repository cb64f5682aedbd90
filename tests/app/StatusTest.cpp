// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Status panel 1 follows the application hint: the pointer position over the canvas and a
// toolbar button's tooltip over the button.
#include "PlacementFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

using StatusPanel = MainWindowTest;

TEST_F(StatusPanel, ShowsThePointerPositionOverTheCanvas) {
    movePointer(QPoint(0, 0));
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("0,0"));
    // Through the window system as well, at a point QTest does not take for the middle.
    QTest::mouseMove(form.Image1, QPoint(120, 45));
    QApplication::processEvents();
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("120,45"));
    EXPECT_EQ(form.Image1->property("hint").toString(), QStringLiteral("120,45"));
}

TEST_F(StatusPanel, ShowsAToolbarButtonsTooltipWhenThePointerEntersIt) {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(form.ToolButton21, &enter);
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("添加圆形"));
    QApplication::sendEvent(form.ToolButton26, &enter);
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("添加扇面"));
    QTest::mouseMove(form.ToolButton22, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("撤消"));
    // A nudge button has no tooltip, but a hint in the panel all the same.
    const std::pair<QToolButton*, const char*> arrows[] = {{form.ToolButton30, "左移 10 像素"},
                                                           {form.ToolButton31, "右移 10 像素"},
                                                           {form.ToolButton35, "上移 10 像素"},
                                                           {form.ToolButton36, "下移 10 像素"}};
    for (const auto& [arrow, hint] : arrows) {
        QApplication::sendEvent(arrow, &enter);
        EXPECT_EQ(form.StatusPanel1->text(), QString::fromUtf8(hint));
        EXPECT_TRUE(arrow->toolTip().isEmpty());
    }
    // From a button back onto the bare toolbar, which sends the toolbar no Enter: empty too.
    QApplication::sendEvent(form.ToolButton21, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form.ToolButton21, &leave);
    EXPECT_EQ(form.StatusPanel1->text(), QString());
    // While a menu is open, the highlighted item's hint: the items have none.
    QApplication::sendEvent(form.ToolButton21, &enter);
    form.PopupMenu1->popup(QPoint(0, 0));
    emit form.PopupMenu1->hovered(form.N17);
    EXPECT_EQ(form.StatusPanel1->text(), QString());
    form.PopupMenu1->close();
    // A closed menu's item hovered through the button that shares its action leaves the
    // button's hint.
    QApplication::sendEvent(form.ToolButton21, &enter);
    form.MenuCircle->hover();
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("添加圆形"));
}

// "已保存：<file>" stays for some seconds where pointer moves do not write, then the panel shows
// its greeting again.
TEST_F(StatusPanel, SavedNoticeOutlastsPointerMovesForAFewSeconds) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("saved.bmp"));
    paintCanvas(clWhite);
    PlatformDialogs::setFileChooser(
        [&file](QWidget*, const FileDialogRequest&) { return std::optional<QString>(file); });
    form.BitBtn3->click();
    PlatformDialogs::setFileChooser({});
    QTest::mouseMove(form.Image1, QPoint(120, 45));
    movePointer(QPoint(7, 8));
    QApplication::processEvents();
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("7,8"));
    EXPECT_EQ(form.StatusPanel2->text(), QStringLiteral("已保存：%1").arg(file));

    auto* timer = form.findChild<QTimer*>(QStringLiteral("SavedNoticeTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_GE(timer->interval(), 3000);
    timer->start(0); // the seconds pass
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return form.StatusPanel2->text() == QStringLiteral("欢迎使用Tarvel。"); }, 1000));
}

// The effect button opens its menu on a press of any mouse button, once.
TEST_F(StatusPanel, EffectMenuOpensOnAnyButton) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton}) {
        QTest::mousePress(form.BitBtn1, button, {}, QPoint(5, 5));
        QApplication::processEvents();
        EXPECT_TRUE(form.PopupMenu1->isVisible()) << int(button);
        form.PopupMenu1->hide();
        QTest::mouseRelease(form.BitBtn1, button, {}, QPoint(5, 5));
    }
}

} // namespace

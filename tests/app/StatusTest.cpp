// Status panel 1 follows the application hint: the pointer position over the canvas and a
// toolbar button's tooltip over the button.
#include "PlacementFixture.h"

#include <QLabel>
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
    // A nudge button has no tooltip: the panel empties.
    QApplication::sendEvent(form.ToolButton30, &enter);
    EXPECT_EQ(form.StatusPanel1->text(), QString());
}

} // namespace

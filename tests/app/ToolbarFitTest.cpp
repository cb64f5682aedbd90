// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's toolbars at their designed heights: every button, the two 60 x 22
// caption buttons among them, lies whole inside its bar, so no frame is cut off.
#include "PlacementFixture.h"

#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace {

using Toolbars = MainWindowTest;

TEST_F(Toolbars, KeepTheirDesignedHeightsAndShowEveryButtonWhole) {
    EXPECT_EQ(form.ToolBar2->height(), 25);
    EXPECT_EQ(form.ToolBar4->height(), 29);
    EXPECT_EQ(form.BitBtn1->size(), QSize(60, 22));
    EXPECT_EQ(form.BitBtn3->size(), QSize(60, 22));
    int buttons = 0;
    for (QToolBar* bar : {form.ToolBar2, form.ToolBar4}) {
        for (QAbstractButton* button : bar->findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || button->objectName().isEmpty())
                continue;
            ++buttons;
            EXPECT_TRUE(bar->rect().contains(button->geometry()))
                << button->objectName().toStdString() << " at " << button->geometry().y() << "+"
                << button->height() << " in a bar " << bar->height() << " high";
        }
    }
    EXPECT_EQ(buttons, 16); // ten tool buttons, the two caption buttons, four nudges
}

} // namespace

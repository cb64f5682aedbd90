// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The builders of toolbars and menus every window uses: flat 16-pixel tool buttons, menu items
// with their shortcuts, and one action shared by a menu item and the tool button that runs the
// same command.
#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QIcon;
class QMenu;
class QToolBar;
class QToolButton;

// A flat tool button at the end of the bar, named, with its icon and tooltip.
QToolButton* addToolButton(QToolBar* bar, const QString& name, const QIcon& icon,
                           const QString& tip);
// A named menu item at the end of the menu.
QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut = QKeySequence());
// The button runs and shows the menu item's action from now on: the action takes the button's
// icon (menus show no icons) and tooltip, and enabling one enables both.
void shareAction(QToolButton* button, QAction* action);

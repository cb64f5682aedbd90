// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "Toolbars.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

QToolButton* addToolButton(QToolBar* bar, const QString& name, const QIcon& icon,
                           const QString& tip) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void shareAction(QToolButton* button, QAction* action) {
    action->setIcon(button->icon());
    action->setIconVisibleInMenu(false);
    action->setToolTip(button->toolTip());
    button->setDefaultAction(action);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "ComboPopup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyle>

void showWholeItems(QComboBox& combo) {
    QAbstractItemView* list = combo.view();
    // The list's window takes at least its list's minimum width, whatever width the box asks.
    const int widest = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                       combo.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->setMinimumWidth(widest);
}

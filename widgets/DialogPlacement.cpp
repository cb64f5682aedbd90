// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "DialogPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QPoint>
#include <QVariant>

namespace {
constexpr const char* framePosition = "tarvelFramePosition";
}

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Hide && type != QEvent::Show)
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow() || event->spontaneous())
        return false;
    if (type == QEvent::Hide) {
        dialog->setProperty(framePosition, dialog->frameGeometry().topLeft());
    } else {
        const QVariant kept = dialog->property(framePosition);
        if (kept.isValid())
            dialog->move(kept.toPoint());
    }
    return false;
}

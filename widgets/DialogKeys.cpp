// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "DialogKeys.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>

namespace {

// Watches the dialog itself: Esc reaches it after every control under the focus has passed
// it on, just before QDialog would close the window with it.
class EscapeFilter final : public QObject {
public:
    EscapeFilter(QDialog& dialog, QAbstractButton& cancel) : QObject(&dialog), cancel(&cancel) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier || !cancel)
            return false;
        if (cancel->isEnabled())
            cancel->click();
        return true;
    }

private:
    QPointer<QAbstractButton> cancel;
};

} // namespace

void escapePresses(QDialog& dialog, QAbstractButton& cancel) {
    dialog.installEventFilter(new EscapeFilter(dialog, cancel));
}

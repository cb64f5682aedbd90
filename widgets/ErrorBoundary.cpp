// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The default error display: a message box with the error's text.
#include "ErrorBoundary.h"

#include <QApplication>
#include <QMessageBox>

namespace ErrorBoundary {
namespace {

Display& currentDisplay() {
    static Display display = [](QWidget* parent, const QString& text) {
        QMessageBox::critical(parent, QApplication::applicationName(), text);
    };
    return display;
}

} // namespace

Display setDisplay(Display display) {
    Display previous = std::move(currentDisplay());
    currentDisplay() = std::move(display);
    return previous;
}

void show(QWidget* parent, const QString& text) {
    QApplication::restoreOverrideCursor();
    if (currentDisplay())
        currentDisplay()(parent, text);
}

} // namespace ErrorBoundary

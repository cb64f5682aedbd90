// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The one error boundary every command runs through: an error raised inside a command ends
// it, and its text is shown in a message box. Tests and scripts replace the display.
#pragma once

#include "Messages.h"
#include "TarvelError.h"

#include <QString>
#include <functional>
#include <new>

class QWidget;

namespace ErrorBoundary {

using Display = std::function<void(QWidget* parent, const QString& text)>;

// Replaces how errors are shown (a message box by default); returns the previous display.
Display setDisplay(Display display);
void show(QWidget* parent, const QString& text);

// Runs a command; returns false when it raised an error (which has been shown).
template <class Command> bool run(QWidget* parent, Command&& command) {
    try {
        command();
        return true;
    } catch (const TarvelError& error) {
        show(parent, error.text());
    } catch (const std::bad_alloc&) {
        show(parent, Messages::outOfMemory());
    } catch (const std::exception& error) {
        show(parent, QString::fromUtf8(error.what()));
    }
    return false;
}

// A slot that runs the command inside the boundary.
template <class Command> auto guard(QWidget* parent, Command command) {
    return [parent, command]() mutable { run(parent, command); };
}

} // namespace ErrorBoundary

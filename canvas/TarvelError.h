// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The error every command may raise: it carries the text the user sees in the message box.
#pragma once

#include <QString>
#include <stdexcept>

class TarvelError : public std::runtime_error {
public:
    explicit TarvelError(const QString& text)
        : std::runtime_error(text.toStdString()), message(text) {}
    const QString& text() const { return message; }

private:
    QString message;
};

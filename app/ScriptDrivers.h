// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What a script step needs to work a dialog the way a user does: open it through the
// window's command, set its controls, press its buttons, and answer the colour and file
// dialogs it opens.
#pragma once

#include "Colors.h"
#include "Script.h"

#include <QDir>
#include <QHash>
#include <QJsonObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

class QDialog;
class TForm1;
struct ScriptStep;

struct ScriptContext {
    ScriptContext(TForm1& form, const QDir& base, FILE* out);

    TForm1& form;
    QDir base;
    // The files a work carries, by the names its steps use.
    QHash<QString, QString> embedded;
    FILE* out;
    QString firstError;
    std::optional<TColor> nextColor;
    std::optional<QString> nextFile;
    // Said on standard error after the step, which still succeeds.
    QStringList warnings;

    QString path(const QString& name) const;
    // The next colour or file dialog is confirmed with this value.
    void answerColor(TColor color);
    void answerFile(const QString& file);
    // Runs a command that shows a modal dialog, and acts on the dialog while it is open.
    void withDialog(const std::function<void()>& open, const std::function<void(QDialog&)>& act);
    void fail(const QString& text);
    void pressCanvas(QPoint at, Qt::MouseButton button);
};

// The dialog commands: canvas, text, rotated, seal, circle, fan.
void runDialogStep(ScriptContext& context, const ScriptStep& step);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Reading a composition script: a JSON object {"steps": [...]} whose steps name a command of
// the window ("do") and the values a user would give in its dialog. Everything is checked
// before anything runs, so a malformed script never leaves a partial picture behind.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <map>
#include <stdexcept>
#include <vector>

struct ScriptStep {
    int number = 0; // 1-based position in the list
    int line = 0;   // line of the script where the step begins
    QString command;
    QJsonObject keys; // every key but "do"
};

// A script that cannot be used as it stands; the text names the line and the key.
class ScriptFormatError : public std::runtime_error {
public:
    explicit ScriptFormatError(const QString& text)
        : std::runtime_error(text.toStdString()), message(text) {}
    const QString& text() const { return message; }

private:
    QString message;
};

// The commands and, for each, the keys it accepts.
const QStringList& scriptCommands();
QStringList scriptKeysOf(const QString& command);

// A work file is a script that says what it is and which version of the format it follows,
// and carries the files its steps use.
inline const QString workFormatName = QStringLiteral("tarvel-work");
constexpr int workFormatVersion = 1;

struct ScriptDocument {
    std::vector<ScriptStep> steps;
    int version = 0; // 0: a script without a version
    std::map<QString, QByteArray> files;
};

// Parses and checks a whole script or work file; throws ScriptFormatError. A work of a newer
// version than this program's is refused.
ScriptDocument readScriptDocument(const QByteArray& json);
std::vector<ScriptStep> readScript(const QByteArray& json);

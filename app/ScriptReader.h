// Reading a composition script: a JSON object {"steps": [...]} whose steps name a command of
// the window ("do") and the values a user would give in its dialog. Everything is checked
// before anything runs, so a malformed script never leaves a partial picture behind.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
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

// Parses and checks a whole script; throws ScriptFormatError.
std::vector<ScriptStep> readScript(const QByteArray& json);

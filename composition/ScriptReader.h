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
#include <optional>
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
    // What kind of file it is: not JSON (or not an object) from its start, JSON that stops
    // before it ends (a file cut short), or one whose steps are wrong.
    enum class Kind { NotAScript, CutShort, Steps };
    // A number outside its key's range, for a caller that names the number its own way.
    struct OutOfRange {
        int step = 0;
        QString command;
        QString key;
        qint64 minimum = 0;
        qint64 maximum = 0;
    };
    explicit ScriptFormatError(const QString& text, Kind kind = Kind::Steps)
        : std::runtime_error(text.toStdString()), message(text), what(kind) {}
    ScriptFormatError(const QString& text, const OutOfRange& range) : ScriptFormatError(text) {
        outOfRange = range;
    }
    const QString& text() const { return message; }
    Kind kind() const { return what; }
    const std::optional<OutOfRange>& range() const { return outOfRange; }

private:
    QString message;
    Kind what;
    std::optional<OutOfRange> outOfRange;
};

// The keys of every command: the one table that checks scripts and work files and gives the
// usage its lines. An integer key without a range of its own takes any 32-bit value, as the
// dialogs' number boxes do.
enum class KeyType { Integer, Text, Color, File, Boolean, Point, Runs, Choice };
struct KeyRule {
    KeyType type;
    QStringList choices = {};         // for Choice
    qint64 minimum = -2147483647 - 1; // for Integer
    qint64 maximum = 2147483647;
    // A length in pixels, a font size or a resolution: what a work drawn again at a higher
    // resolution multiplies (a point's two coordinates, the sizes of text runs).
    bool length = false;
};
using KeyTable = std::map<QString, KeyRule>;
const std::map<QString, KeyTable>& scriptCommandTable();
// Every command with its keys, their choices and ranges, one command a line.
QString scriptCommandsUsage();

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

// How large a document may be: its bytes, and its objects (steps and text runs), which the
// parser keeps at a few hundred bytes each. A work file may hold more than a script: a long
// work keeps every step since its canvas was made.
struct DocumentLimits {
    qint64 bytes;
    qsizetype objects;
};
inline constexpr DocumentLimits scriptLimits{16 * 1024 * 1024, 100000};
inline constexpr DocumentLimits workLimits{64 * 1024 * 1024, 400000};
// The objects of a JSON document as the limits count them.
qsizetype countObjects(const QByteArray& json);

// Parses and checks a whole script or work file; throws ScriptFormatError. A work of a newer
// version than this program's is refused.
ScriptDocument readScriptDocument(const QByteArray& json,
                                  const DocumentLimits& limits = scriptLimits);
std::vector<ScriptStep> readScript(const QByteArray& json);

// Parsing and checking composition scripts before they run.
#include "ScriptReader.h"

#include "EffectKind.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <cmath>
#include <map>

namespace {

enum class KeyType { Integer, Text, Color, File, Boolean, Point, Runs, Choice };

struct KeyRule {
    KeyType type;
    QStringList choices = {}; // for Choice
    qint64 minimum = -100000; // for Integer
    qint64 maximum = 100000;
};

const QStringList closeWithPreview = {"confirm", "apply", "cancel", "closebox", "preview", "clear"};
const QStringList closePlain = {"confirm", "apply", "cancel", "closebox"};

using KeyTable = std::map<QString, KeyRule>;

QStringList effectChoices() {
    QStringList names;
    for (const EffectEntry& entry : effectTable)
        names << QLatin1String(entry.scriptName);
    return names << QLatin1String(restoreEntry.scriptName);
}

const std::map<QString, KeyTable>& commandTable() {
    static const std::map<QString, KeyTable> table = {
        {"canvas",
         {{"width", {KeyType::Integer, {}, 0, 4000}},
          {"height", {KeyType::Integer, {}, 0, 4000}},
          {"color", {KeyType::Color}},
          {"picture", {KeyType::File}},
          {"layout", {KeyType::Choice, {"tile", "stretch", "center"}}},
          {"resolution", {KeyType::Integer, {}, 1, 2400}},
          {"close", {KeyType::Choice, closePlain}}}},
        {"text",
         {{"open", {KeyType::File}},
          {"plain", {KeyType::Text}},
          {"runs", {KeyType::Runs}},
          {"face", {KeyType::Text}},
          {"size", {KeyType::Integer, {}, 1, 1638}},
          {"color", {KeyType::Color}},
          {"leftMargin", {KeyType::Integer}},
          {"topMargin", {KeyType::Integer}},
          {"charSpacing", {KeyType::Integer}},
          {"lineSpacing", {KeyType::Integer}},
          {"arrangement", {KeyType::Integer, {}, 0, 3}},
          {"fan", {KeyType::Boolean}},
          {"fanColumns", {KeyType::Choice, {"long", "longShort"}}},
          {"close", {KeyType::Choice, closePlain}},
          {"check", {KeyType::Boolean}},
          {"saveAs", {KeyType::File}}}},
        {"rotated",
         {{"text", {KeyType::Text}},
          {"angle", {KeyType::Integer, {}, -180, 180}},
          {"charSpacing", {KeyType::Integer}},
          {"size", {KeyType::Text}},
          {"face", {KeyType::Text}},
          {"placement", {KeyType::Choice, {"horizontal", "vertical"}}},
          {"color", {KeyType::Color}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"seal",
         {{"text", {KeyType::Text}},
          {"width", {KeyType::Integer, {}, -10000, 10000}},
          {"height", {KeyType::Integer, {}, -10000, 10000}},
          {"strokeWeight", {KeyType::Integer, {}, 400, 1000}},
          {"charSpacing", {KeyType::Integer}},
          {"edgeWidth", {KeyType::Integer}},
          {"face", {KeyType::Text}},
          {"style", {KeyType::Choice, {"intaglio", "relief"}}},
          {"corner", {KeyType::Choice, {"square", "rounded"}}},
          {"arrangement", {KeyType::Integer, {}, 0, 3}},
          {"angle", {KeyType::Integer, {}, -60, 60}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"circle",
         {{"lineWidth", {KeyType::Integer}},
          {"radius", {KeyType::Integer, {}, -10000, 10000}},
          {"lineColor", {KeyType::Color}},
          {"fillColor", {KeyType::Color}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"fan",
         {{"lineWidth", {KeyType::Integer, {}, 1, 10}},
          {"radius", {KeyType::Integer, {}, 10, 1000}},
          {"shape", {KeyType::Choice, {"leaf", "ring"}}},
          {"innerRadius", {KeyType::Integer, {}, 0, 1000}},
          {"span", {KeyType::Integer, {}, 0, 360}},
          {"lineColor", {KeyType::Color}},
          {"fillColor", {KeyType::Color}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"click",
         {{"at", {KeyType::Point}}, {"button", {KeyType::Choice, {"left", "right", "middle"}}}}},
        {"nudge",
         {{"direction", {KeyType::Choice, {"left", "right", "up", "down"}}},
          {"times", {KeyType::Integer, {}, 1, 10000}}}},
        {"undo", {}},
        {"redo", {}},
        {"clear", {}},
        {"effect", {{"kind", {KeyType::Choice, effectChoices()}}}},
        {"save", {{"file", {KeyType::File}}}},
        {"saveWork", {{"file", {KeyType::File}}}},
        {"openWork", {{"file", {KeyType::File}}}},
    };
    return table;
}

// Lines on which the objects of the "steps" list begin, found by a small scan that knows
// strings and nesting (the JSON parser itself keeps no positions).
std::vector<int> stepLines(const QByteArray& json) {
    std::vector<int> lines;
    int line = 1, depth = 0;
    bool inString = false, escaped = false, expectElement = false;
    for (char c : json) {
        if (c == '\n')
            ++line;
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (expectElement && !space && c != ']') {
            lines.push_back(line);
            expectElement = false;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
            if (c == '[' && depth == 2)
                expectElement = true;
        } else if (c == '}' || c == ']') {
            --depth;
            expectElement = false;
        } else if (c == ',' && depth == 2) {
            expectElement = true;
        }
    }
    return lines;
}

QString where(const ScriptStep& step) {
    return QStringLiteral("line %1: step %2").arg(step.line).arg(step.number);
}

[[noreturn]] void fail(const ScriptStep& step, const QString& text) {
    throw ScriptFormatError(where(step) + QStringLiteral(": ") + text);
}

void checkColor(const ScriptStep& step, const QString& key, const QJsonValue& value) {
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!value.isString() || !pattern.match(value.toString()).hasMatch())
        fail(step, QStringLiteral("key \"%1\" must be a colour \"#RRGGBB\"").arg(key));
}

void checkInteger(const ScriptStep& step, const QString& key, const QJsonValue& value,
                  const KeyRule& rule) {
    const double d = value.toDouble();
    if (!value.isDouble() || d != std::floor(d) || !std::isfinite(d))
        fail(step, QStringLiteral("key \"%1\" must be a whole number").arg(key));
    // Compared as doubles first: a huge number must not be converted to an integer.
    if (d < double(rule.minimum) || d > double(rule.maximum))
        fail(step, QStringLiteral("key \"%1\" must lie between %2 and %3")
                       .arg(key)
                       .arg(rule.minimum)
                       .arg(rule.maximum));
}

void checkText(const ScriptStep& step, const QString& key, const QJsonValue& value) {
    if (!value.isString())
        fail(step, QStringLiteral("key \"%1\" must be a string").arg(key));
    if (value.toString().size() > 1000000)
        fail(step, QStringLiteral("key \"%1\" is too long").arg(key));
}

void checkRuns(const ScriptStep& step, const QJsonValue& value) {
    if (!value.isArray())
        fail(step, QStringLiteral("key \"runs\" must be a list"));
    static const KeyTable runKeys = {{"text", {KeyType::Text}},
                                     {"face", {KeyType::Text}},
                                     {"size", {KeyType::Integer, {}, 1, 1638}},
                                     {"color", {KeyType::Color}},
                                     {"bold", {KeyType::Boolean}},
                                     {"italic", {KeyType::Boolean}},
                                     {"underline", {KeyType::Boolean}},
                                     {"strikeout", {KeyType::Boolean}}};
    for (const QJsonValue& run : value.toArray()) {
        if (!run.isObject())
            fail(step, QStringLiteral("every entry of \"runs\" must be an object"));
        const QJsonObject object = run.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            auto rule = runKeys.find(it.key());
            if (rule == runKeys.end())
                fail(step, QStringLiteral("unknown key \"%1\" in \"runs\"").arg(it.key()));
            switch (rule->second.type) {
            case KeyType::Text:
                checkText(step, it.key(), it.value());
                break;
            case KeyType::Integer:
                checkInteger(step, it.key(), it.value(), rule->second);
                break;
            case KeyType::Color:
                checkColor(step, it.key(), it.value());
                break;
            case KeyType::Boolean:
                if (!it.value().isBool())
                    fail(step, QStringLiteral("key \"%1\" must be true or false").arg(it.key()));
                break;
            default:
                break;
            }
        }
        if (!object.contains(QStringLiteral("text")))
            fail(step, QStringLiteral("every entry of \"runs\" needs \"text\""));
    }
}

void checkKey(const ScriptStep& step, const QString& key, const QJsonValue& value,
              const KeyRule& rule) {
    switch (rule.type) {
    case KeyType::Integer:
        checkInteger(step, key, value, rule);
        break;
    case KeyType::Text:
        checkText(step, key, value);
        break;
    case KeyType::File:
        checkText(step, key, value);
        if (value.toString().isEmpty() || value.toString().contains(QChar(0)))
            fail(step, QStringLiteral("key \"%1\" must name a file").arg(key));
        break;
    case KeyType::Color:
        checkColor(step, key, value);
        break;
    case KeyType::Boolean:
        if (!value.isBool())
            fail(step, QStringLiteral("key \"%1\" must be true or false").arg(key));
        break;
    case KeyType::Point: {
        const QJsonArray a = value.toArray();
        const KeyRule coordinate{KeyType::Integer};
        if (!value.isArray() || a.size() != 2)
            fail(step, QStringLiteral("key \"%1\" must be [x, y]").arg(key));
        checkInteger(step, key, a[0], coordinate);
        checkInteger(step, key, a[1], coordinate);
        break;
    }
    case KeyType::Runs:
        checkRuns(step, value);
        break;
    case KeyType::Choice:
        if (!value.isString() || !rule.choices.contains(value.toString()))
            fail(step, QStringLiteral("key \"%1\" must be one of %2")
                           .arg(key, rule.choices.join(QStringLiteral(", "))));
        break;
    }
}

} // namespace

const QStringList& scriptCommands() {
    static const QStringList names = [] {
        QStringList list;
        for (const auto& entry : commandTable())
            list << entry.first;
        return list;
    }();
    return names;
}

QStringList scriptKeysOf(const QString& command) {
    QStringList keys;
    auto it = commandTable().find(command);
    if (it != commandTable().end())
        for (const auto& entry : it->second)
            keys << entry.first;
    return keys;
}

namespace {

// The files a work carries: plain names (no folders), each with its bytes in base64.
std::map<QString, QByteArray> embeddedFiles(const QJsonValue& value) {
    if (!value.isObject())
        throw ScriptFormatError(QStringLiteral("line 1: key \"files\" must be an object"));
    std::map<QString, QByteArray> files;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString& name = it.key();
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
            name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name.contains(QChar(0)))
            throw ScriptFormatError(
                QStringLiteral("line 1: \"%1\" is not a plain file name").arg(name));
        const auto decoded = QByteArray::fromBase64Encoding(
            it.value().toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!it.value().isString() || !decoded)
            throw ScriptFormatError(
                QStringLiteral("line 1: the file \"%1\" is not valid base64").arg(name));
        files.emplace(name, *decoded);
    }
    return files;
}

} // namespace

std::vector<ScriptStep> readScript(const QByteArray& json) {
    return readScriptDocument(json).steps;
}

ScriptDocument readScriptDocument(const QByteArray& json) {
    if (json.size() > 16 * 1024 * 1024)
        throw ScriptFormatError(QStringLiteral("the script is too large"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        const int line = int(json.left(error.offset).count('\n')) + 1;
        throw ScriptFormatError(
            QStringLiteral("line %1: not valid JSON: %2").arg(line).arg(error.errorString()));
    }
    if (!document.isObject())
        throw ScriptFormatError(
            QStringLiteral("line 1: the script must be an object with \"steps\""));
    const QJsonObject root = document.object();
    ScriptDocument result;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString& key = it.key();
        if (key == QLatin1String("format")) {
            if (it.value().toString() != workFormatName)
                throw ScriptFormatError(
                    QStringLiteral("line 1: key \"format\" must be \"%1\"").arg(workFormatName));
        } else if (key == QLatin1String("version")) {
            const double version = it.value().toDouble(-1);
            if (!it.value().isDouble() || version < 1 || version != std::floor(version))
                throw ScriptFormatError(
                    QStringLiteral("line 1: key \"version\" must be a whole number from 1"));
            if (version > workFormatVersion)
                throw ScriptFormatError(
                    QStringLiteral("作品文件的格式版本是 %1，来自更新的 Tarvel；这个版本只能打开"
                                   "格式版本 %2 及更早的作品。")
                        .arg(version)
                        .arg(workFormatVersion));
            result.version = int(version);
        } else if (key == QLatin1String("files")) {
            result.files = embeddedFiles(it.value());
        } else if (key != QLatin1String("steps")) {
            throw ScriptFormatError(QStringLiteral("line 1: unknown key \"%1\"").arg(key));
        }
    }
    if (!root.value(QStringLiteral("steps")).isArray())
        throw ScriptFormatError(QStringLiteral("line 1: key \"steps\" must be a list"));

    const QJsonArray list = root.value(QStringLiteral("steps")).toArray();
    const std::vector<int> lines = stepLines(json);
    for (int i = 0; i < list.size(); ++i) {
        ScriptStep step;
        step.number = i + 1;
        step.line = i < int(lines.size()) ? lines[size_t(i)] : 0;
        if (!list[i].isObject())
            fail(step, QStringLiteral("a step must be an object"));
        QJsonObject keys = list[i].toObject();
        const QJsonValue command = keys.take(QStringLiteral("do"));
        if (!command.isString())
            fail(step, QStringLiteral("key \"do\" must name a command"));
        step.command = command.toString();
        auto table = commandTable().find(step.command);
        if (table == commandTable().end())
            fail(step, QStringLiteral("unknown command \"%1\"").arg(step.command));
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            auto rule = table->second.find(it.key());
            if (rule == table->second.end())
                fail(step,
                     QStringLiteral("unknown key \"%1\" for \"%2\"").arg(it.key(), step.command));
            checkKey(step, it.key(), it.value(), rule->second);
        }
        if (step.command == QLatin1String("click") && !keys.contains(QStringLiteral("at")))
            fail(step, QStringLiteral("\"click\" needs \"at\""));
        for (const char* command : {"save", "saveWork", "openWork"})
            if (step.command == QLatin1String(command) && !keys.contains(QStringLiteral("file")))
                fail(step, QStringLiteral("\"%1\" needs \"file\"").arg(step.command));
        if (step.command == QLatin1String("effect") && !keys.contains(QStringLiteral("kind")))
            fail(step, QStringLiteral("\"effect\" needs \"kind\""));
        if (step.command == QLatin1String("nudge") && !keys.contains(QStringLiteral("direction")))
            fail(step, QStringLiteral("\"nudge\" needs \"direction\""));
        if (step.command == QLatin1String("canvas") && keys.contains(QStringLiteral("color")) &&
            keys.contains(QStringLiteral("picture")))
            fail(step, QStringLiteral("\"canvas\" takes \"color\" or \"picture\", not both"));
        if (step.command == QLatin1String("text")) {
            int sources = 0;
            for (const char* k : {"open", "plain", "runs"})
                sources += keys.contains(QLatin1String(k));
            if (sources > 1)
                fail(step,
                     QStringLiteral("\"text\" takes one of \"open\", \"plain\" and \"runs\""));
        }
        step.keys = keys;
        result.steps.push_back(std::move(step));
    }
    return result;
}

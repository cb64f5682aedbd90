// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Parsing and checking composition scripts before they run.
#include "ScriptReader.h"
#include "Limits.h"

#include "EffectKind.h"
#include "Messages.h"
#include "PrintSize.h"
#include "TextSettings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <array>
#include <cctype>
#include <cmath>
#include <map>

namespace {

// Where a press lands: any point a nudge can move an element to.
constexpr qint64 pointLimit = 1000000000;
// The characters of one text key.
constexpr qsizetype largestText = 1000000;

const QStringList closeWithPreview = {"confirm", "apply", "cancel", "closebox", "preview", "clear"};
const QStringList closePlain = {"confirm", "apply", "cancel", "closebox"};
// Simplified to traditional and back, by OpenCC's configuration names.
const QStringList conversions = {"s2t", "t2s"};

QStringList punctuationChoices() {
    QStringList names;
    for (const char* name : punctuationScriptNames)
        names << QLatin1String(name);
    return names;
}

QStringList effectChoices() {
    QStringList names;
    for (const EffectEntry& entry : effectTable)
        names << QLatin1String(entry.scriptName);
    return names << QLatin1String(restoreEntry.scriptName);
}

KeyRule length(KeyRule rule) {
    rule.length = true;
    return rule;
}

} // namespace

// Integers without a range of their own take any value a dialog's number box holds.
const std::map<QString, KeyTable>& scriptCommandTable() {
    static const std::map<QString, KeyTable> table = {
        {"canvas",
         {{"width", length({KeyType::Integer, {}, 1, limits::canvasSide})},
          {"height", length({KeyType::Integer, {}, 1, limits::canvasSide})},
          {"color", {KeyType::Color}},
          {"picture", {KeyType::File}},
          {"blank", {KeyType::Boolean}},
          {"layout", {KeyType::Choice, {"tile", "stretch", "center"}}},
          {"resolution", length({KeyType::Integer, {}, minimumResolution, maximumResolution})},
          {"close", {KeyType::Choice, closePlain}}}},
        {"text",
         {{"open", {KeyType::File}},
          {"plain", {KeyType::Text}},
          {"runs", length({KeyType::Runs})},
          {"face", {KeyType::Text}},
          {"size", length({KeyType::Integer, {}, 1, limits::textPoints})},
          {"color", {KeyType::Color}},
          {"leftMargin", length({KeyType::Integer})},
          {"topMargin", length({KeyType::Integer})},
          {"charSpacing", length({KeyType::Integer})},
          {"lineSpacing", length({KeyType::Integer})},
          {"arrangement", {KeyType::Integer, {}, 0, 3}},
          {"punctuation", {KeyType::Choice, punctuationChoices()}},
          {"chineseDigits", {KeyType::Boolean}},
          {"matchFallbackWeight", {KeyType::Boolean}},
          {"convert", {KeyType::Choice, conversions}},
          {"fan", {KeyType::Boolean}},
          {"fanColumns", {KeyType::Choice, {"long", "longShort", "longShortLevel"}}},
          {"wrapWidth", length({KeyType::Integer, {}, 1, 2147483647})},
          {"rowPitch", length({KeyType::Integer})},
          {"extentWidth", length({KeyType::Integer})},
          {"extentHeight", length({KeyType::Integer})},
          {"fanShiftX", length({KeyType::Integer})},
          {"fanShiftY", length({KeyType::Integer})},
          {"close", {KeyType::Choice, closePlain}},
          {"check", {KeyType::Boolean}},
          {"saveAs", {KeyType::File}}}},
        {"rotated",
         {{"text", {KeyType::Text}},
          {"angle", {KeyType::Integer, {}, -limits::rotatedAngle, limits::rotatedAngle}},
          {"charSpacing", length({KeyType::Integer})},
          {"size", length({KeyType::Text})},
          {"face", {KeyType::Text}},
          {"placement", {KeyType::Choice, {"horizontal", "vertical"}}},
          {"color", {KeyType::Color}},
          {"matchFallbackWeight", {KeyType::Boolean}},
          {"convert", {KeyType::Choice, conversions}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"seal",
         {{"text", {KeyType::Text}},
          {"width", length({KeyType::Integer})},
          {"height", length({KeyType::Integer})},
          {"strokeWeight", {KeyType::Integer, {}, limits::sealWeightMin, limits::sealWeightMax}},
          {"charSpacing", length({KeyType::Integer})},
          {"edgeWidth", length({KeyType::Integer})},
          {"face", {KeyType::Text}},
          {"style", {KeyType::Choice, {"intaglio", "relief"}}},
          {"corner", {KeyType::Choice, {"square", "rounded"}}},
          {"arrangement", {KeyType::Integer, {}, 0, 3}},
          {"angle", {KeyType::Integer, {}, -limits::sealAngle, limits::sealAngle}},
          {"convert", {KeyType::Choice, conversions}},
          {"ink", {KeyType::Choice, {"red", "cinnabar", "vermilion"}}},
          {"frameWidth", length({KeyType::Integer, {}, 1, limits::sealFrameMax})},
          {"smooth", {KeyType::Boolean}},
          {"wear", {KeyType::Integer, {}, 0, limits::sealWearMax}},
          {"seed", {KeyType::Integer}},
          {"wearStyle", {KeyType::Choice, {"specks", "pressed"}}},
          {"paper", {KeyType::Boolean}},
          {"keepProportions", {KeyType::Boolean}},
          {"matchFallbackWeight", {KeyType::Boolean}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"circle",
         {{"lineWidth", length({KeyType::Integer})},
          {"radius", length({KeyType::Integer})},
          {"lineColor", {KeyType::Color}},
          {"fillColor", {KeyType::Color}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"fan",
         {{"lineWidth", length({KeyType::Integer, {}, 1, limits::fanLineMax})},
          {"radius", length({KeyType::Integer, {}, limits::fanRadiusMin, limits::fanRadiusMax})},
          {"shape", {KeyType::Choice, {"leaf", "ring"}}},
          {"innerRadius", length({KeyType::Integer, {}, 0, limits::fanRadiusMax})},
          {"span", {KeyType::Integer, {}, 0, limits::fanSpanMax}},
          {"lineColor", {KeyType::Color}},
          {"fillColor", {KeyType::Color}},
          {"onColor", {KeyType::Boolean}},
          {"close", {KeyType::Choice, closeWithPreview}}}},
        {"click",
         {{"at", length({KeyType::Point})},
          {"button", {KeyType::Choice, {"left", "right", "middle"}}}}},
        {"nudge",
         {{"direction", {KeyType::Choice, {"left", "right", "up", "down"}}},
          {"times", {KeyType::Integer, {}, 1, 10000}},
          {"dx", length({KeyType::Integer})},
          {"dy", length({KeyType::Integer})}}},
        {"undo", {}},
        {"redo", {}},
        {"clear", {}},
        {"effect", {{"kind", {KeyType::Choice, effectChoices()}}}},
        {"save", {{"file", {KeyType::File}}}},
        {"template",
         {{"format",
           {KeyType::Choice, {"couplet", "scroll", "central", "square", "horizontal", "fan"}}},
          {"paper", {KeyType::Choice, {"四尺整张", "四尺对开", "斗方", "对联", "扇面"}}},
          {"longCm", {KeyType::Integer, {}, 1, limits::templatePaperCmMax}},
          {"shortCm", {KeyType::Integer, {}, 1, limits::templatePaperCmMax}},
          {"dpi", {KeyType::Integer, {}, 0, limits::templateDpiMax}},
          {"color", {KeyType::Color}},
          {"picture", {KeyType::File}},
          {"ink", {KeyType::Color}},
          {"face", {KeyType::Text}},
          {"text", {KeyType::Text}},
          {"banner", {KeyType::Text}},
          {"upper", {KeyType::Text}},
          {"lower", {KeyType::Text}},
          {"nameSeal", {KeyType::Text}},
          {"leadingSeal", {KeyType::Text}},
          {"span", {KeyType::Integer, {}, limits::templateSpanMin, limits::templateSpanMax}},
          {"fanColumns", {KeyType::Choice, {"long", "longShort"}}},
          {"punctuation", {KeyType::Choice, punctuationChoices()}},
          {"chineseDigits", {KeyType::Boolean}},
          {"mounted", {KeyType::Boolean}}}},
        {"exportPdf",
         {{"file", {KeyType::File}},
          // The papers of paperNames() (canvas/PagePlan.cpp).
          {"fit",
           {KeyType::Choice,
            {"A5", "A4", "A3", "A2", "A1", "A0", "B5", "B4", "B3", "B2", "letter"}}},
          // Given, the work is drawn again from its steps at this resolution; without it the
          // canvas's pixels are embedded.
          {"dpi", {KeyType::Integer, {}, minimumResolution, maximumResolution}}}},
        {"saveWork", {{"file", {KeyType::File}}}},
        {"openWork", {{"file", {KeyType::File}}}},
    };
    return table;
}

namespace {

const std::map<QString, KeyTable>& commandTable() {
    return scriptCommandTable();
}

// Lines on which the objects of the "steps" list begin, found by a small scan that knows
// strings and nesting (the JSON parser itself keeps no positions), and the number of objects
// in the whole script.
std::vector<int> stepLines(const QByteArray& json, qsizetype& objects) {
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
            objects += c == '{';
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

// What the JSON parser found wrong, in the words of the program's other messages.
QString jsonProblem(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QCoreApplication::translate("Script", "对象没有以“}”结束");
    case QJsonParseError::MissingNameSeparator:
        return QCoreApplication::translate("Script", "键后面缺少“:”");
    case QJsonParseError::UnterminatedArray:
        return QCoreApplication::translate("Script", "列表没有以“]”结束");
    case QJsonParseError::MissingValueSeparator:
        return QCoreApplication::translate("Script", "两项之间缺少“,”");
    case QJsonParseError::IllegalNumber:
    case QJsonParseError::TerminationByNumber:
        return QCoreApplication::translate("Script", "数字无效");
    case QJsonParseError::IllegalEscapeSequence:
        return QCoreApplication::translate("Script", "转义序列无效");
    case QJsonParseError::IllegalUTF8String:
        return QCoreApplication::translate("Script", "字符串不是有效的 UTF-8");
    case QJsonParseError::UnterminatedString:
        return QCoreApplication::translate("Script", "字符串没有结束");
    case QJsonParseError::MissingObject:
        return QCoreApplication::translate("Script", "逗号后面缺少对象");
    case QJsonParseError::DeepNesting:
        return QCoreApplication::translate("Script", "嵌套太深");
    case QJsonParseError::DocumentTooLarge:
        return QCoreApplication::translate("Script", "文档太大");
    case QJsonParseError::GarbageAtEnd:
        return QCoreApplication::translate("Script", "结尾有多余的内容");
    default:
        return QCoreApplication::translate("Script", "值无效");
    }
}

// The script's messages say where they found the fault: a line, and a step on it.
QString atLine(int line, const QString& text) {
    return QCoreApplication::translate("Script", "第 %1 行：%2").arg(line).arg(text);
}

QString atStep(const ScriptStep& step, const QString& text) {
    return QCoreApplication::translate("Script", "第 %1 行，第 %2 步：%3")
        .arg(step.line)
        .arg(step.number)
        .arg(text);
}

[[noreturn]] void fail(const ScriptStep& step, const QString& text) {
    throw ScriptFormatError(atStep(step, text));
}

QString needsKey(const QString& command, const QString& key) {
    return QCoreApplication::translate("Script", "命令“%1”需要键“%2”").arg(command, key);
}

QString mustBeList(const QString& key) {
    return QCoreApplication::translate("Script", "键“%1”必须是列表").arg(key);
}

QString mustBeBoolean(const QString& key) {
    return QCoreApplication::translate("Script", "键“%1”必须是 true 或 false").arg(key);
}

// A command given more than one of keys that exclude each other.
QString onlyOneOf(const QString& command, const std::array<const char*, 3>& keys) {
    return QCoreApplication::translate("Script", "命令“%1”只能有键“%2”、“%3”和“%4”中的一个")
        .arg(command, QLatin1String(keys[0]), QLatin1String(keys[1]), QLatin1String(keys[2]));
}

void checkKey(const ScriptStep& step, const QString& key, const QJsonValue& value,
              const KeyRule& rule);

void checkColor(const ScriptStep& step, const QString& key, const QJsonValue& value) {
    // Anchored at the very end: "$" would also match before a final line break.
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("#[0-9A-Fa-f]{6}")));
    if (!value.isString() || !pattern.match(value.toString()).hasMatch())
        fail(step,
             QCoreApplication::translate("Script", "键“%1”必须是“#RRGGBB”形式的颜色").arg(key));
}

void checkInteger(const ScriptStep& step, const QString& key, const QJsonValue& value,
                  const KeyRule& rule) {
    const double d = value.toDouble();
    if (!value.isDouble() || d != std::floor(d) || !std::isfinite(d))
        fail(step, QCoreApplication::translate("Script", "键“%1”必须是整数").arg(key));
    // Compared as doubles first: a huge number must not be converted to an integer.
    if (d < double(rule.minimum) || d > double(rule.maximum))
        throw ScriptFormatError(
            atStep(step, QCoreApplication::translate("Script", "键“%1”必须在 %2 到 %3 之间")
                             .arg(key)
                             .arg(rule.minimum)
                             .arg(rule.maximum)),
            ScriptFormatError::OutOfRange{step.number, step.command, key, rule.minimum,
                                          rule.maximum});
}

// The keys whose text is drawn as characters: a control character other than a tab or a line
// break (\n, or \r\n as some editors write it) would be kept in the document and the work, drawn as
// a box, and stop the conversion between simplified and traditional characters where it stands.
bool holdsWords(const QString& key) {
    static const QStringList words = {"text",  "plain",    "banner",     "upper",
                                      "lower", "nameSeal", "leadingSeal"};
    return words.contains(key);
}

void checkText(const ScriptStep& step, const QString& key, const QJsonValue& value) {
    if (!value.isString())
        fail(step, QCoreApplication::translate("Script", "键“%1”必须是字符串").arg(key));
    const QString text = value.toString();
    if (text.size() > largestText)
        fail(step, QCoreApplication::translate("Script", "键“%1”的文本太长（最多 %2 个字符）")
                       .arg(key)
                       .arg(largestText));
    if (!holdsWords(key))
        return;
    qsizetype position = 0;
    for (const QChar c : text) {
        if (!c.isLowSurrogate())
            ++position;
        const char16_t code = c.unicode();
        if ((code < 0x20 && code != u'\t' && code != u'\n' && code != u'\r') ||
            (code >= 0x7F && code <= 0x9F))
            fail(step,
                 QCoreApplication::translate(
                     "Script", "键“%1”的第 %2 个字符是控制字符（U+%3）：文字里只能有换行和制表符")
                     .arg(key)
                     .arg(position)
                     .arg(QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    }
}

void checkRuns(const ScriptStep& step, const QJsonValue& value) {
    if (!value.isArray())
        fail(step, mustBeList(QStringLiteral("runs")));
    static const KeyTable runKeys = {{"text", {KeyType::Text}},
                                     {"face", {KeyType::Text}},
                                     {"size", {KeyType::Integer, {}, 1, limits::textPoints}},
                                     {"color", {KeyType::Color}},
                                     {"bold", {KeyType::Boolean}},
                                     {"italic", {KeyType::Boolean}},
                                     {"underline", {KeyType::Boolean}},
                                     {"strikeout", {KeyType::Boolean}}};
    for (const QJsonValue& run : value.toArray()) {
        if (!run.isObject())
            fail(step, QCoreApplication::translate("Script", "“runs”的每一项都必须是对象"));
        const QJsonObject object = run.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            auto rule = runKeys.find(it.key());
            if (rule == runKeys.end())
                fail(step,
                     QCoreApplication::translate("Script", "“runs”中没有键“%1”").arg(it.key()));
            // "auto": the text's own colour, which follows the system's.
            if (rule->second.type != KeyType::Color || it.value() != QLatin1String("auto"))
                checkKey(step, it.key(), it.value(), rule->second);
        }
        if (!object.contains(QStringLiteral("text")))
            fail(step, QCoreApplication::translate("Script", "“runs”的每一项都需要键“text”"));
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
            fail(step, QCoreApplication::translate("Script", "键“%1”必须是文件名").arg(key));
        break;
    case KeyType::Color:
        checkColor(step, key, value);
        break;
    case KeyType::Boolean:
        if (!value.isBool())
            fail(step, mustBeBoolean(key));
        break;
    case KeyType::Point: {
        const QJsonArray a = value.toArray();
        const KeyRule coordinate{KeyType::Integer, {}, -pointLimit, pointLimit};
        if (!value.isArray() || a.size() != 2)
            fail(step, QCoreApplication::translate("Script", "键“%1”必须是 [x, y]").arg(key));
        checkInteger(step, key, a[0], coordinate);
        checkInteger(step, key, a[1], coordinate);
        break;
    }
    case KeyType::Runs:
        checkRuns(step, value);
        break;
    case KeyType::Choice:
        if (!value.isString() || !rule.choices.contains(value.toString()))
            fail(step, QCoreApplication::translate("Script", "键“%1”必须是 %2 之一")
                           .arg(key, rule.choices.join(QStringLiteral(", "))));
        break;
    }
}

} // namespace

QString scriptCommandsUsage() {
    // Commands in the order a work is made, then the rest as the table has them.
    QStringList order = {"canvas",   "text",  "rotated",   "seal",     "circle",  "fan",
                         "click",    "nudge", "undo",      "redo",     "clear",   "effect",
                         "template", "save",  "exportPdf", "saveWork", "openWork"};
    QString usage;
    for (const QString& command : order) {
        const auto entry = commandTable().find(command);
        if (entry == commandTable().end())
            continue;
        QString line = QStringLiteral("  ") + command.leftJustified(9);
        const int indent = int(line.size());
        int column = indent;
        for (const auto& [key, rule] : entry->second) {
            QString word = key;
            if (rule.type == KeyType::Choice && rule.choices.size() <= 10)
                word += QLatin1Char('(') + rule.choices.join(QLatin1Char('|')) + QLatin1Char(')');
            else if (rule.type == KeyType::Integer && rule.maximum < 2147483647)
                word += QStringLiteral("(%1..%2)").arg(rule.minimum).arg(rule.maximum);
            else if (rule.type == KeyType::Point)
                word += QStringLiteral("[x,y]");
            if (column > indent && column + 1 + word.size() > 80) {
                line += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
                column = indent;
            } else if (column > indent) {
                line += QLatin1Char(' ');
                ++column;
            }
            line += word;
            column += int(word.size());
        }
        usage += line.trimmed().prepend(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return usage;
}

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
        throw ScriptFormatError(atLine(1, QCoreApplication::translate("Script", "键“%1”必须是对象")
                                              .arg(QStringLiteral("files"))));
    std::map<QString, QByteArray> files;
    const QJsonObject object = value.toObject();
    // A work carries each picture it uses once, named by its content: a few, never thousands.
    constexpr qsizetype largestFileCount = 10000;
    if (object.size() > largestFileCount)
        throw ScriptFormatError(
            atLine(1, QCoreApplication::translate("Script", "文件太多：最多 %1 个，这里有 %2 个")
                          .arg(largestFileCount)
                          .arg(object.size())));
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString& name = it.key();
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
            name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name.contains(QChar(0)))
            throw ScriptFormatError(
                atLine(1, QCoreApplication::translate("Script", "“%1”不是单纯的文件名").arg(name)));
        const auto decoded = QByteArray::fromBase64Encoding(
            it.value().toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!it.value().isString() || !decoded)
            throw ScriptFormatError(atLine(
                1,
                QCoreApplication::translate("Script", "文件“%1”不是有效的 base64 数据").arg(name)));
        files.emplace(name, *decoded);
    }
    return files;
}

} // namespace

std::vector<ScriptStep> readScript(const QByteArray& json) {
    return readScriptDocument(json).steps;
}

qsizetype countObjects(const QByteArray& json) {
    qsizetype objects = 0;
    stepLines(json, objects);
    return objects;
}

ScriptDocument readScriptDocument(const QByteArray& json, const DocumentLimits& limits) {
    if (json.size() > limits.bytes)
        throw ScriptFormatError(QCoreApplication::translate("Script", "脚本太大（最多接受 %1 MB）")
                                    .arg(limits.bytes / (1024 * 1024)));
    // The parser takes a few hundred bytes for every object and cannot report running out of
    // memory; the objects are counted first.
    const qsizetype largestObjectCount = limits.objects;
    qsizetype objects = 0;
    const std::vector<int> lines = stepLines(json, objects);
    if (objects > largestObjectCount)
        throw ScriptFormatError(
            atLine(1, QCoreApplication::translate(
                          "Script", "脚本太大：最多 %1 个步骤和文字段，这个脚本有 %2 个")
                          .arg(largestObjectCount)
                          .arg(objects)));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        const int line = int(json.left(error.offset).count('\n')) + 1;
        // An object that begins and then runs out is a file cut short; anything else that is
        // no JSON object from its first character is no script at all.
        const bool begun = json.trimmed().startsWith('{');
        qsizetype end = json.size(); // past the last character that is not a space
        while (end > 0 && std::isspace(uchar(json[end - 1])))
            --end;
        const bool cut = begun && (error.error == QJsonParseError::UnterminatedObject ||
                                   error.error == QJsonParseError::UnterminatedArray ||
                                   error.error == QJsonParseError::UnterminatedString ||
                                   error.offset >= end - 1);
        throw ScriptFormatError(
            atLine(line, QCoreApplication::translate("Script", "不是有效的 JSON：%1")
                             .arg(jsonProblem(error.error))),
            cut     ? ScriptFormatError::Kind::CutShort
            : begun ? ScriptFormatError::Kind::Steps
                    : ScriptFormatError::Kind::NotAScript);
    }
    if (!document.isObject())
        throw ScriptFormatError(
            atLine(1, QCoreApplication::translate("Script", "脚本必须是含有键“steps”的对象")),
            ScriptFormatError::Kind::NotAScript);
    const QJsonObject root = document.object();
    ScriptDocument result;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString& key = it.key();
        if (key == QLatin1String("format")) {
            if (it.value().toString() != workFormatName)
                throw ScriptFormatError(
                    atLine(1, QCoreApplication::translate("Script", "键“format”必须是“%1”")
                                  .arg(workFormatName)));
        } else if (key == QLatin1String("version")) {
            const double version = it.value().toDouble(-1);
            if (!it.value().isDouble() || version < 1 || version != std::floor(version))
                throw ScriptFormatError(atLine(
                    1, QCoreApplication::translate("Script", "键“version”必须是从 1 起的整数")));
            if (version > workFormatVersion)
                throw ScriptFormatError(
                    QCoreApplication::translate(
                        "Script", "作品文件的格式版本是 %1，来自更新的 Tarvel；这个版本只能打开"
                                  "格式版本 %2 及更早的作品。")
                        .arg(version)
                        .arg(workFormatVersion));
            result.version = int(version);
        } else if (key == QLatin1String("files")) {
            result.files = embeddedFiles(it.value());
        } else if (key != QLatin1String("steps")) {
            throw ScriptFormatError(
                atLine(1, QCoreApplication::translate("Script", "没有键“%1”").arg(key)));
        }
    }
    if (!root.value(QStringLiteral("steps")).isArray())
        throw ScriptFormatError(atLine(1, mustBeList(QStringLiteral("steps"))));

    const QJsonArray list = root.value(QStringLiteral("steps")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        ScriptStep step;
        step.number = i + 1;
        step.line = i < int(lines.size()) ? lines[size_t(i)] : 0;
        if (!list[i].isObject())
            fail(step, QCoreApplication::translate("Script", "每一步都必须是对象"));
        QJsonObject keys = list[i].toObject();
        const QJsonValue command = keys.take(QStringLiteral("do"));
        if (!command.isString())
            fail(step, QCoreApplication::translate("Script", "键“do”必须是命令名"));
        step.command = command.toString();
        auto table = commandTable().find(step.command);
        if (table == commandTable().end())
            fail(step, Messages::noCommand(step.command));
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            auto rule = table->second.find(it.key());
            if (rule == table->second.end())
                fail(step, QCoreApplication::translate("Script", "命令“%2”没有键“%1”")
                               .arg(it.key(), step.command));
            checkKey(step, it.key(), it.value(), rule->second);
        }
        if (step.command == QLatin1String("click") && !keys.contains(QStringLiteral("at")))
            fail(step, needsKey(step.command, QStringLiteral("at")));
        for (const char* command : {"save", "exportPdf", "saveWork", "openWork"})
            if (step.command == QLatin1String(command) && !keys.contains(QStringLiteral("file")))
                fail(step, needsKey(step.command, QStringLiteral("file")));
        if (step.command == QLatin1String("effect") && !keys.contains(QStringLiteral("kind")))
            fail(step, needsKey(step.command, QStringLiteral("kind")));
        if (step.command == QLatin1String("nudge")) {
            const bool byPixels =
                keys.contains(QStringLiteral("dx")) || keys.contains(QStringLiteral("dy"));
            if (!byPixels && !keys.contains(QStringLiteral("direction")))
                fail(step, needsKey(step.command, QStringLiteral("direction")));
            if (byPixels && (keys.contains(QStringLiteral("direction")) ||
                             keys.contains(QStringLiteral("times"))))
                fail(step, QCoreApplication::translate(
                               "Script", "命令“nudge”的键“dx”“dy”不能和“direction”“times”同用"));
        }
        if (step.command == QLatin1String("canvas") &&
            int(keys.contains(QStringLiteral("color"))) +
                    int(keys.contains(QStringLiteral("picture"))) +
                    int(keys.value(QStringLiteral("blank")).toBool()) >
                1)
            fail(step, onlyOneOf(step.command, {"color", "picture", "blank"}));
        if (step.command == QLatin1String("text")) {
            int sources = 0;
            for (const char* k : {"open", "plain", "runs"})
                sources += keys.contains(QLatin1String(k));
            if (sources > 1)
                fail(step, onlyOneOf(step.command, {"open", "plain", "runs"}));
        }
        step.keys = keys;
        result.steps.push_back(std::move(step));
    }
    return result;
}

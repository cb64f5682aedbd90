// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Reading composition scripts: what is accepted, and the line and key named for what is not.
#include "ScriptReader.h"
#include "PagePlan.h"

#include <gtest/gtest.h>

void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace {

QString errorOf(const char* json) {
    try {
        readScript(QByteArray(json));
    } catch (const ScriptFormatError& error) {
        return error.text();
    }
    return QString();
}

} // namespace

TEST(ScriptReader, ReadsStepsWithTheirLinesAndKeys) {
    const auto steps = readScript(R"({"steps": [
  {"do": "canvas", "width": 300, "height": 200, "color": "#FFEEDD"},

  {"do": "click", "at": [10, -5], "button": "middle"},
  {"do": "text", "runs": [{"text": "\u6c5f\u96ea", "face": "LXGW WenKai", "size": 20,
                           "bold": true}], "arrangement": 3, "close": "apply"}
]})");
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].command, "canvas");
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[0].keys.value("width").toInt(), 300);
    EXPECT_FALSE(steps[0].keys.contains("do"));
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[1].number, 2);
    EXPECT_EQ(steps[2].line, 5);
    EXPECT_EQ(steps[2].keys.value("arrangement").toInt(), 3);
}

TEST(ScriptReader, BracesInsideStringsDoNotShiftLines) {
    const auto steps = readScript(R"({"steps": [
  {"do": "text", "plain": "{[\"}"},
  {"do": "undo"}
]})");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].line, 3);
}

TEST(ScriptReader, NamesTheLineAndTheKeyOfWhatIsWrong) {
    struct Case {
        const char* json;
        const char* expected;
    };
    const Case cases[] = {
        {"{\"steps\": [\n{\"do\": \"bogus\"}]}", "第 2 行，第 1 步：没有命令“bogus”"},
        {"{\"steps\": [\n{\"do\": \"undo\"},\n{\"do\": \"circle\", \"radios\": 5}]}",
         "第 3 行，第 2 步：命令“circle”没有键“radios”"},
        {"{\"steps\": [{\"do\": \"circle\", \"radius\": \"big\"}]}",
         "第 1 行，第 1 步：键“radius”必须是整数"},
        {"{\"steps\": [{\"do\": \"circle\", \"radius\": 2.5}]}",
         "第 1 行，第 1 步：键“radius”必须是整数"},
        {"{\"steps\": [{\"do\": \"text\", \"arrangement\": 8888888888888888888888888888888888}]}",
         "第 1 行，第 1 步：键“arrangement”必须在 0 到 3 之间"},
        {"{\"steps\": [{\"do\": \"canvas\", \"width\": 1000000000}]}",
         "第 1 行，第 1 步：键“width”必须在 1 到 4000 之间"},
        {"{\"steps\": [{\"do\": \"canvas\", \"height\": 0}]}",
         "第 1 行，第 1 步：键“height”必须在 1 到 4000 之间"},
        {"{\"steps\": [{\"do\": \"fan\", \"lineColor\": \"red\"}]}",
         "第 1 行，第 1 步：键“lineColor”必须是“#RRGGBB”形式的颜色"},
        {"{\"steps\": [{\"do\": \"fan\", \"fillColor\": \"#FF0000\\n\"}]}",
         "第 1 行，第 1 步：键“fillColor”必须是“#RRGGBB”形式的颜色"},
        {"{\"steps\": [{\"do\": \"click\"}]}", "第 1 行，第 1 步：命令“click”需要键“at”"},
        {"{\"steps\": [{\"do\": \"click\", \"at\": [1]}]}",
         "第 1 行，第 1 步：键“at”必须是 [x, y]"},
        {"{\"steps\": [{\"do\": \"effect\", \"kind\": \"glow\"}]}",
         "第 1 行，第 1 步：键“kind”必须是 hollow, nostalgic, relief, sharpen, clear, "
         "outline, soft, blur, restore 之一"},
        {"{\"steps\": [{\"do\": \"text\", \"runs\": [{\"txt\": \"a\"}]}]}",
         "第 1 行，第 1 步：“runs”中没有键“txt”"},
        {"{\"steps\": [{\"do\": \"text\", \"plain\": \"a\", \"open\": \"b.rtf\"}]}",
         "第 1 行，第 1 步：命令“text”只能有键“open”、“plain”和“runs”中的一个"},
        {"{\"steps\": 3}", "第 1 行：键“steps”必须是列表"},
        {"{\"stepz\": []}", "第 1 行：没有键“stepz”"},
        {"[1, 2]", "第 1 行：脚本必须是含有键“steps”的对象"},
        {"{\"steps\": [\n\n{\"do\": }]}", "第 3 行：不是有效的 JSON：逗号后面缺少对象"},
        {"{\"steps\": [7]}", "第 1 行，第 1 步：每一步都必须是对象"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.json), QString::fromUtf8(c.expected)) << c.json;
}

TEST(ScriptReader, HostileInputIsRefusedNotCrashedOn) {
    QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    EXPECT_FALSE(errorOf(deep.constData()).isEmpty());
    QByteArray huge(17 * 1024 * 1024, ' ');
    EXPECT_THROW(readScript(huge), ScriptFormatError);
    const QByteArray many =
        "{\"steps\": [" + QByteArray("{\"do\": \"undo\"},").repeated(100000) + "{}]}";
    EXPECT_EQ(
        errorOf(many.constData()),
        QStringLiteral("第 1 行：脚本太大：最多 100000 个步骤和文字段，这个脚本有 100002 个"));
    EXPECT_FALSE(errorOf("{\"steps\": [{\"do\": \"save\", \"file\": \"\"}]}").isEmpty());
}

TEST(ScriptReader, EveryCommandIsKnownWithItsKeys) {
    EXPECT_EQ(scriptCommands().size(), 17);
    // The papers a PDF is fitted to are those the page plan knows.
    EXPECT_EQ(scriptKeysOf("exportPdf"), QStringList({"dpi", "file", "fit"}));
    EXPECT_EQ(scriptCommandTable().at("exportPdf").at("fit").choices, paperNames());
    EXPECT_EQ(scriptKeysOf("fan"),
              QStringList({"close", "fillColor", "innerRadius", "lineColor", "lineWidth", "onColor",
                           "radius", "shape", "span"}));
    EXPECT_EQ(scriptKeysOf("nudge"), QStringList({"direction", "dx", "dy", "times"}));
    EXPECT_TRUE(scriptKeysOf("canvas").contains("resolution"));
    EXPECT_TRUE(scriptKeysOf("text").contains("fan"));
    EXPECT_TRUE(scriptKeysOf("text").contains("fanColumns"));
    EXPECT_TRUE(scriptKeysOf("undo").isEmpty());
}

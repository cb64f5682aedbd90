// Reading composition scripts: what is accepted, and the line and key named for what is not.
#include "ScriptReader.h"

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
        {"{\"steps\": [\n{\"do\": \"bogus\"}]}", "line 2: step 1: unknown command \"bogus\""},
        {"{\"steps\": [\n{\"do\": \"undo\"},\n{\"do\": \"circle\", \"radios\": 5}]}",
         "line 3: step 2: unknown key \"radios\" for \"circle\""},
        {"{\"steps\": [{\"do\": \"circle\", \"radius\": \"big\"}]}",
         "line 1: step 1: key \"radius\" must be a whole number"},
        {"{\"steps\": [{\"do\": \"circle\", \"radius\": 2.5}]}",
         "line 1: step 1: key \"radius\" must be a whole number"},
        {"{\"steps\": [{\"do\": \"text\", \"arrangement\": 8888888888888888888888888888888888}]}",
         "line 1: step 1: key \"arrangement\" must lie between 0 and 3"},
        {"{\"steps\": [{\"do\": \"canvas\", \"width\": 1000000000}]}",
         "line 1: step 1: key \"width\" must lie between 0 and 4000"},
        {"{\"steps\": [{\"do\": \"fan\", \"lineColor\": \"red\"}]}",
         "line 1: step 1: key \"lineColor\" must be a colour \"#RRGGBB\""},
        {"{\"steps\": [{\"do\": \"click\"}]}", "line 1: step 1: \"click\" needs \"at\""},
        {"{\"steps\": [{\"do\": \"click\", \"at\": [1]}]}",
         "line 1: step 1: key \"at\" must be [x, y]"},
        {"{\"steps\": [{\"do\": \"effect\", \"kind\": \"glow\"}]}",
         "line 1: step 1: key \"kind\" must be one of hollow, nostalgic, relief, sharpen, clear, "
         "outline, soft, blur, restore"},
        {"{\"steps\": [{\"do\": \"text\", \"runs\": [{\"txt\": \"a\"}]}]}",
         "line 1: step 1: unknown key \"txt\" in \"runs\""},
        {"{\"steps\": [{\"do\": \"text\", \"plain\": \"a\", \"open\": \"b.rtf\"}]}",
         "line 1: step 1: \"text\" takes one of \"open\", \"plain\" and \"runs\""},
        {"{\"steps\": 3}", "line 1: key \"steps\" must be a list"},
        {"{\"stepz\": []}", "line 1: unknown key \"stepz\""},
        {"[1, 2]", "line 1: the script must be an object with \"steps\""},
        {"{\"steps\": [\n\n{\"do\": }]}",
         "line 3: not valid JSON: object is missing after a comma"},
        {"{\"steps\": [7]}", "line 1: step 1: a step must be an object"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.json), QString::fromUtf8(c.expected)) << c.json;
}

TEST(ScriptReader, HostileInputIsRefusedNotCrashedOn) {
    QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    EXPECT_FALSE(errorOf(deep.constData()).isEmpty());
    QByteArray huge(17 * 1024 * 1024, ' ');
    EXPECT_THROW(readScript(huge), ScriptFormatError);
    EXPECT_FALSE(errorOf("{\"steps\": [{\"do\": \"save\", \"file\": \"\"}]}").isEmpty());
}

TEST(ScriptReader, EveryCommandIsKnownWithItsKeys) {
    EXPECT_EQ(scriptCommands().size(), 15);
    EXPECT_EQ(scriptKeysOf("fan"), QStringList({"close", "fillColor", "innerRadius", "lineColor",
                                                "lineWidth", "radius", "shape", "span"}));
    EXPECT_TRUE(scriptKeysOf("canvas").contains("resolution"));
    EXPECT_TRUE(scriptKeysOf("text").contains("fan"));
    EXPECT_TRUE(scriptKeysOf("text").contains("fanColumns"));
    EXPECT_TRUE(scriptKeysOf("undo").isEmpty());
}

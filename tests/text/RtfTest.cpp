// The RTF reader and writer: files in the shapes common word processors write, hostile
// input, and the round trip.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

RichTextModel readFixture(const char* name) {
    QFile file(QStringLiteral(TARVEL_TEST_DATA "/rtf/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const std::optional<RichTextModel> model = Rtf::read(file.readAll());
    EXPECT_TRUE(model.has_value());
    return model.value_or(RichTextModel());
}

RichTextModel read(const QByteArray& rtf) {
    const std::optional<RichTextModel> model = Rtf::read(rtf);
    EXPECT_TRUE(model.has_value());
    return model.value_or(RichTextModel());
}

RichTextAttributes attributes(const char* name, int size, TColor color, int charset,
                              bool bold = false, bool italic = false, bool underline = false,
                              bool strike = false, RichTextPitch pitch = RichTextPitch::Default) {
    RichTextAttributes a;
    a.Name = QString::fromUtf8(name);
    a.Size = size;
    a.Color = color;
    a.Charset = charset;
    a.pitch = pitch;
    a.Bold = bold;
    a.Italic = italic;
    a.Underline = underline;
    a.StrikeOut = strike;
    return a;
}

void expectRoundTrip(const RichTextModel& model) {
    const QByteArray written = Rtf::write(model);
    const std::optional<RichTextModel> back = Rtf::read(written);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, model) << written.constData();
}

} // namespace

TEST(RtfReader, WordPadFile) {
    const RichTextModel model = readFixture("wordpad.rtf");
    ASSERT_EQ(model.paragraphs.size(), 3u);
    const RichTextParagraph& first = model.paragraphs[0];
    ASSERT_EQ(first.runs.size(), 2u);
    EXPECT_EQ(first.runs[0].text, QStringLiteral("你好"));
    EXPECT_EQ(first.runs[0].attributes, attributes("宋体", 16, clRed, 134));
    EXPECT_EQ(first.runs[1].text, QStringLiteral(" world"));
    EXPECT_EQ(first.runs[1].attributes, attributes("Calibri", 11, clWindowText, 0));
    EXPECT_EQ(first.alignment, RichTextAlignment::Left);
    const RichTextParagraph& second = model.paragraphs[1];
    ASSERT_EQ(second.runs.size(), 1u);
    EXPECT_EQ(second.runs[0].text, QStringLiteral("书法"));
    EXPECT_EQ(second.runs[0].attributes, attributes("宋体", 20, 0x0050B000, 134, true));
    EXPECT_EQ(second.alignment, RichTextAlignment::Center);
    EXPECT_TRUE(model.paragraphs[2].runs.empty()); // the line after the last \par
}

TEST(RtfReader, WordFile) {
    const RichTextModel model = readFixture("word.rtf");
    ASSERT_EQ(model.paragraphs.size(), 3u);
    const RichTextParagraph& first = model.paragraphs[0];
    EXPECT_EQ(first.alignment, RichTextAlignment::Center);
    ASSERT_EQ(first.runs.size(), 2u);
    EXPECT_EQ(first.runs[0].text, QStringLiteral("中文"));
    EXPECT_EQ(first.runs[0].attributes, attributes("宋体", 22, clRed, 134, true, false, false,
                                                   false, RichTextPitch::Variable));
    // \uN with its \'hh\'hh fallback under \uc2: each character once.
    EXPECT_EQ(first.runs[1].text, QStringLiteral("汉字"));
    EXPECT_FALSE(first.runs[1].attributes.Bold);
    const RichTextParagraph& second = model.paragraphs[1];
    EXPECT_EQ(second.alignment, RichTextAlignment::Right);
    ASSERT_EQ(second.runs.size(), 2u);
    // The pictures between the runs leave nothing behind.
    EXPECT_EQ(second.runs[0].text, QStringLiteral("Tab\tEnd"));
    EXPECT_EQ(second.runs[0].attributes, attributes("Times New Roman", 12, clWindowText, 0, false,
                                                    true, true, false, RichTextPitch::Variable));
    EXPECT_EQ(second.runs[1].text, QStringLiteral("黑"));
    EXPECT_EQ(second.runs[1].attributes, attributes("宋体", 12, clBlue, 134, false, false, false,
                                                    true, RichTextPitch::Variable));
}

TEST(RtfReader, LibreOfficeFile) {
    const RichTextModel model = readFixture("libreoffice.rtf");
    ASSERT_EQ(model.paragraphs.size(), 3u);
    const RichTextParagraph& first = model.paragraphs[0];
    ASSERT_EQ(first.runs.size(), 2u);
    EXPECT_EQ(first.runs[0].text, QStringLiteral("山路"));
    EXPECT_EQ(first.runs[0].attributes, attributes("宋体", 18, 0x001E21C9, 134, false, true, false,
                                                   false, RichTextPitch::Variable));
    EXPECT_EQ(first.runs[1].text, QStringLiteral("ABC"));
    // The face's own group {\*\falt ...} is not part of its name.
    EXPECT_EQ(first.runs[1].attributes.Name, QStringLiteral("Liberation Serif"));
    const RichTextParagraph& second = model.paragraphs[1];
    EXPECT_EQ(second.alignment, RichTextAlignment::Right);
    ASSERT_EQ(second.runs.size(), 1u);
    EXPECT_EQ(second.runs[0].text, QStringLiteral("文"));
    EXPECT_EQ(second.runs[0].attributes, attributes("Noto Sans CJK SC", 14, clWindowText, 0, false,
                                                    false, true, true, RichTextPitch::Variable));
}

TEST(RtfReader, EscapesDecodeInTheCodePageOfTheirFont) {
    const RichTextModel model = read(
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 A;}{\\f1\\fnil\\fcharset136 "
        "B;}{\\f2\\fnil\\fcharset128 C;}{\\f3\\fnil\\fcharset0 D;}{\\f4\\fnil E;}}"
        "\\f0\\'d6\\'d0\\f1\\'ae\\'d1\\f2\\'8f\\'e6\\f3\\'e9\\f4\\'ce\\'c4}");
    ASSERT_EQ(model.paragraphs.size(), 1u);
    QString text;
    for (const RichTextRun& run : model.paragraphs[0].runs)
        text += run.text;
    // GBK, Big5, Shift-JIS, Windows-1252, and the document's code page for a font without one
    EXPECT_EQ(text, QStringLiteral("中書乗é文"));
}

TEST(RtfReader, RawLeadByteTakesItsTrailByteEvenABackslash) {
    // U+4E57 is 81 5C in GBK: written raw, its trail byte is not a control word.
    const RichTextModel model =
        read("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 S;}}\\f0 a\x81\\b}");
    ASSERT_EQ(model.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(model.paragraphs[0].runs[0].text, QStringLiteral("a") + QChar(0x4E57) + "b");
    EXPECT_FALSE(model.paragraphs[0].runs[0].attributes.Bold);
    // An escaped lead byte pairs with a raw trail byte too.
    const RichTextModel mixed =
        read("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 S;}}\\f0 \\'d6\xd0}");
    EXPECT_EQ(mixed.paragraphs[0].runs[0].text, QStringLiteral("中"));
}

TEST(RtfReader, UnicodeSkipCountsAreScopedAndStopAtBraces) {
    // \uc1 by default: one fallback byte skipped.
    EXPECT_EQ(read("{\\rtf1 \\u20013?x}").plainText(), QStringLiteral("中x"));
    // \uc0: nothing skipped; the group ends the \uc3 scope.
    EXPECT_EQ(read("{\\rtf1 {\\uc3\\u20013 ab}\\u25991?c}").plainText(), QStringLiteral("中文c"));
    // A count larger than its fallback never crosses a brace.
    EXPECT_EQ(read("{\\rtf1 {\\uc9\\u20013 ?}z}").plainText(), QStringLiteral("中z"));
    // An escape counts as one byte; a negative value names a character above 0x7FFF.
    EXPECT_EQ(read("{\\rtf1\\uc2 \\u-29201\\'c2\\'b7!}").plainText(), QStringLiteral("路!"));
    // A next \u inside the fallback is read, not skipped.
    EXPECT_EQ(read("{\\rtf1\\uc5 \\u20013\\u25991 }").plainText(), QStringLiteral("中文"));
    // A surrogate pair written as two \u.
    EXPECT_EQ(read("{\\rtf1\\uc0 \\u-10179\\u-8704}").plainText(),
              QString::fromUcs4(U"\U0001F600"));
    // A lone surrogate becomes U+FFFD.
    EXPECT_EQ(read("{\\rtf1\\uc0 \\u-10179 a}").plainText(), QString(QChar(0xFFFD)) + "a");
}

TEST(RtfReader, DestinationsAndPicturesAreSkipped) {
    const RichTextModel model =
        read("{\\rtf1{\\*\\generator Some Writer;}{\\*\\unknownthing keep out}{\\info{\\title T}}"
             "{\\stylesheet{\\s0 Normal;}}a{\\pict\\pngblip\\picw1 8950\\bin3 {{{}b"
             "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}\\~c\\emdash\\tab d}");
    EXPECT_EQ(model.plainText(),
              QStringLiteral("ab") + "link" + QChar(0xA0) + "c" + QChar(0x2014) + "\td");
}

TEST(RtfReader, GroupsRestoreCharacterAndParagraphState) {
    const RichTextModel model =
        read("{\\rtf1\\fs40 A{\\b\\i\\fs20\\qc B}C\\par\\pard\\qr D\\par\\ql\\plain E}");
    ASSERT_EQ(model.paragraphs.size(), 3u);
    const auto& runs = model.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].attributes.Size, 20);
    EXPECT_TRUE(runs[1].attributes.Bold && runs[1].attributes.Italic);
    EXPECT_EQ(runs[1].attributes.Size, 10);
    EXPECT_FALSE(runs[2].attributes.Bold);
    EXPECT_EQ(runs[2].attributes.Size, 20);
    EXPECT_EQ(model.paragraphs[0].alignment, RichTextAlignment::Left); // the {\qc} closed first
    EXPECT_EQ(model.paragraphs[1].alignment, RichTextAlignment::Right);
    EXPECT_EQ(model.paragraphs[2].alignment, RichTextAlignment::Left);
    EXPECT_EQ(model.paragraphs[2].runs[0].attributes.Size, 12); // \plain: the default size
}

TEST(RtfReader, MissingFontsAndColoursTakeDefaults) {
    const RichTextModel model = read("{\\rtf1\\deff1{\\fonttbl{\\f1\\fcharset134 "
                                     "Kai;}}{\\colortbl;\\red1\\green2\\blue3;}\\f7\\cf9 x\\cf1 "
                                     "y\\cf0 z}");
    const auto& runs = model.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].attributes.Name, QStringLiteral("Kai")); // \f7: the default font
    EXPECT_EQ(runs[0].attributes.Color, clWindowText);         // \cf9: no such colour
    EXPECT_EQ(runs[1].attributes.Color, TColor(0x00030201));
    EXPECT_EQ(runs[2].attributes.Color, clWindowText); // entry 0 is the automatic colour
}

TEST(RtfReader, NotRtfIsRefused) {
    EXPECT_FALSE(Rtf::read("plain text").has_value());
    EXPECT_FALSE(Rtf::read("").has_value());
    EXPECT_FALSE(Rtf::read("{\\rt").has_value());
    EXPECT_TRUE(Rtf::read(" \r\n{\\rtf1 x}").has_value());
}

// Hostile input loads what it can, quickly and in bounded memory.
TEST(RtfReader, HostileInput) {
    // Unbalanced braces: missing closes, and text after the document's group.
    EXPECT_EQ(read("{\\rtf1 a{\\b b").plainText(), QStringLiteral("ab"));
    EXPECT_EQ(read("{\\rtf1 a}}}} ignored").plainText(), QStringLiteral("a"));

    // Groups nested far deeper than the cap, then closed again.
    const int depth = 100000;
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(depth, '{');
    deep += "x";
    deep += QByteArray(depth, '}');
    deep += "y}";
    EXPECT_EQ(read(deep).plainText(), QStringLiteral("xy"));

    // \bin with a huge length skips to the end without allocating it.
    EXPECT_EQ(read("{\\rtf1 a\\bin99999999999999999999 bc}").plainText(), QStringLiteral("a"));
    EXPECT_EQ(read("{\\rtf1 a\\bin-5 bc}").plainText(), QStringLiteral("abc"));
    EXPECT_EQ(read("{\\rtf1 a\\bin2 }}b}").plainText(), QStringLiteral("ab"));

    // Bad \uc counts and \u values out of range are clamped.
    EXPECT_EQ(read("{\\rtf1\\uc-4 \\u20013 x}").plainText(), QStringLiteral("中x"));
    EXPECT_EQ(read("{\\rtf1\\uc99999999999 \\u20013 xyz}").plainText(), QStringLiteral("中"));
    EXPECT_EQ(read("{\\rtf1\\uc0 \\u99999999999\\u-99999999999}").plainText(),
              QString(QChar(0xFFFF)) + QChar(0x8000));

    // Truncated and malformed \' escapes.
    EXPECT_EQ(read("{\\rtf1 a\\'4").plainText(), QStringLiteral("a4"));
    EXPECT_EQ(read("{\\rtf1 a\\'zz b}").plainText(), QStringLiteral("azz b"));
    EXPECT_EQ(read("{\\rtf1 a\\'").plainText(), QStringLiteral("a"));

    // A control word of 10,000 letters is not a word this reader knows.
    QByteArray longWord = "{\\rtf1 a\\";
    longWord += QByteArray(10000, 'b');
    longWord += "1 c}";
    EXPECT_EQ(read(longWord).plainText(), QStringLiteral("ac"));

    // Numbers that overflow 32 bits are clamped, not wrapped.
    const RichTextModel sizes = read("{\\rtf1\\fs4294967298 a\\fs-4294967298 b\\b4294967296 c}");
    ASSERT_EQ(sizes.paragraphs[0].runs.size(), 3u);
    EXPECT_EQ(sizes.paragraphs[0].runs[0].attributes.Size, 1638);
    EXPECT_EQ(sizes.paragraphs[0].runs[1].attributes.Size, 1);
    EXPECT_TRUE(sizes.paragraphs[0].runs[2].attributes.Bold);

    // A font table with many entries keeps the first ones.
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 5000; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    fonts += "}\\f4000 a\\f4999 b}";
    const RichTextModel table = read(fonts);
    ASSERT_EQ(table.paragraphs[0].runs.size(), 2u);
    EXPECT_EQ(table.paragraphs[0].runs[0].attributes.Name, QStringLiteral("F4000"));
    EXPECT_EQ(table.paragraphs[0].runs[1].attributes.Name, QStringLiteral("F0"));

    // Control characters and the separators the editor gives meaning to are dropped.
    EXPECT_EQ(read("{\\rtf1\\uc0 a\\'00\\'07\\u8233\\u8232\\u65532 b}").plainText(),
              QStringLiteral("ab"));
}

TEST(RtfWriter, WritesTablesUnicodeAndGbkFallback) {
    RichTextModel model;
    model.paragraphs.push_back(
        {RichTextAlignment::Center,
         {{QStringLiteral("中") + QChar(0x4E57) + "{\\}" + QString::fromUcs4(U"\U0001F600"),
           attributes("楷体", 20, clRed, 134, true)}}});
    model.paragraphs.push_back(
        {RichTextAlignment::Right,
         {{QStringLiteral("a;b\tc"), attributes("Arial", 9, clWindowText, 0)}}});
    const QByteArray rtf = Rtf::write(model);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc2"));
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset134 \\u26999\\'bf\\'ac\\u20307\\'cc\\'e5;}"));
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset0 Arial;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\pard\\qc \\plain\\f0\\fs40\\cf1\\b\\dbch\\af0\\afs40\\ab "));
    // 81 5C: the trail byte that is a backslash is escaped like every other byte.
    EXPECT_TRUE(
        rtf.contains("\\u20013\\'d6\\'d0\\u20055\\'81\\'5c\\{\\\\\\}\\u-10179??\\u-8704??"));
    EXPECT_TRUE(rtf.contains("\\par\r\n\\pard\\qr \\plain\\f1\\fs18 a;b\\tab c"));
    for (const char c : rtf)
        EXPECT_LT(uchar(c), 0x80); // seven-bit output
    expectRoundTrip(model);
}

TEST(RtfWriter, RoundTripsFixturesAndAwkwardNames) {
    for (const char* name : {"wordpad.rtf", "word.rtf", "libreoffice.rtf"})
        expectRoundTrip(readFixture(name));
    RichTextModel model;
    model.paragraphs.push_back(
        {RichTextAlignment::Left,
         {{QStringLiteral("x"), attributes("A;{b}\\c 体", 10, 0x00102030, 1)},
          {QStringLiteral("y"), attributes("", 1638, clWindowText, 255)}}});
    model.paragraphs.push_back({RichTextAlignment::Right, {}});
    expectRoundTrip(model);
}

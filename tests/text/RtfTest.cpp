// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The RTF reader and writer: files in the shapes common word processors write, hostile
// input, and the round trip.
#include "RtfReader.h"
#include "RtfWriter.h"
#include "WithoutAsianSet.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

void PrintTo(const RichTextAttributes& a, std::ostream* os) {
    *os << '"' << a.Name.toStdString() << "\" " << a.Size << "pt colour " << std::hex << a.Color
        << std::dec << " charset " << a.Charset << " pitch " << int(a.pitch) << " b" << a.Bold
        << " i" << a.Italic << " u" << a.Underline << " s" << a.StrikeOut;
}

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
    for (const QByteArray& rtf : {written, withoutAsianSet(written)}) {
        const std::optional<RichTextModel> back = Rtf::read(rtf);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, model) << rtf.constData();
    }
}

// What a stretch of one paragraph looks like: a row of a fixture's table.
struct Look {
    int paragraph;
    const char* text;
    RichTextAttributes attributes;
};

// Every character of the document has the look of the row that holds it; the rows' texts
// make up each paragraph's text exactly.
void expectLooks(const RichTextModel& model, const std::vector<Look>& looks) {
    std::vector<qsizetype> next(model.paragraphs.size(), 0); // the first character no row had
    for (const Look& look : looks) {
        ASSERT_LT(std::size_t(look.paragraph), model.paragraphs.size()) << look.text;
        QString text;
        std::vector<const RichTextAttributes*> attributesOf;
        for (const RichTextRun& run : model.paragraphs[std::size_t(look.paragraph)].runs) {
            text += run.text;
            attributesOf.insert(attributesOf.end(), std::size_t(run.text.size()), &run.attributes);
        }
        const QString expected = QString::fromUtf8(look.text);
        qsizetype& at = next[std::size_t(look.paragraph)];
        EXPECT_EQ(text.mid(at, expected.size()), expected);
        for (qsizetype i = 0; i < expected.size() && at + i < text.size(); ++i)
            EXPECT_EQ(*attributesOf[std::size_t(at + i)], look.attributes)
                << look.text << ", character " << i;
        at += expected.size();
    }
    for (std::size_t p = 0; p < model.paragraphs.size(); ++p) {
        qsizetype length = 0;
        for (const RichTextRun& run : model.paragraphs[p].runs)
            length += run.text.size();
        EXPECT_EQ(next[p], length) << "paragraph " << p << " has characters no row describes";
    }
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

// Written by LibreOffice Writer 7.4 from tests/data/rtf/sources (see the README there): Latin
// and Asian faces and sizes differ within one span, and paragraphs take theirs from styles.
TEST(RtfReader, LibreOfficeWriterFilesGiveEachCharacterItsSet) {
    const auto v = RichTextPitch::Variable;
    const auto d = RichTextPitch::Default;
    const TColor dark = 0x000000C0, green = 0x00008000, purple = 0x00800080, ink = 0x00C9211E;
    const struct {
        const char* file;
        int paragraphs;
        std::vector<Look> looks;
    } fixtures[] = {
        {"libreoffice-poem.rtf",
         4,
         {{0, "春眠不觉晓 ", attributes("AR PL UKai CN", 20, clWindowText, 0, 0, 0, 0, 0, v)},
          {0, "Spring", attributes("Liberation Serif", 12, clWindowText, 0, 0, 0, 0, 0, v)},
          {1, "处处闻啼鸟 ", attributes("LXGW WenKai", 16, dark, 0, true, true, 0, 0, v)},
          {1, "Birds", attributes("DejaVu Sans", 9, dark, 0, true, true, 0, 0, v)},
          {1, "夜来 ", attributes("AR PL UKai CN", 14, clBlue, 0, 0, 0, true, true, v)},
          {1, "wind", attributes("Liberation Serif", 14, clBlue, 0, 0, 0, true, true, v)},
          // The paragraph style's Asian size (18 points) is not in the file: Writer
          // writes no \afs for it and opens the file with these characters at 10 points.
          {2, "床前明月光，疑是地上霜。", attributes("LXGW WenKai", 10, green, 0, 0, 0, 0, 0, v)},
          {2, "2026 A", attributes("Liberation Serif", 10, green, 0, 0, 0, 0, 0, v)}}},
        {"libreoffice-html.rtf",
         3,
         {{0, "静夜思", attributes("AR PL UKai CN", 24, purple, 0, true, 0, 0, 0, d)},
          {0, "Quiet", attributes("DejaVu Sans", 11, clWindowText, 0, 0, true, 0, 0, d)},
          {0, "Night", attributes("DejaVu Sans", 11, clWindowText, 0, 0, 0, true, 0, d)},
          {0, "Thought", attributes("DejaVu Sans", 11, clWindowText, 0, 0, 0, 0, true, d)},
          {1, "举头", attributes("LXGW WenKai", 15, ink, 0, 0, 0, true, 0, d)},
          {1, "望明月", attributes("LXGW WenKai", 15, ink, 0, 0, 0, 0, true, d)},
          {1, "低头", attributes("LXGW WenKai", 15, ink, 0, true, true, 0, 0, d)},
          {1, "Moon", attributes("LXGW WenKai", 15, ink, 0, 0, 0, 0, 0, d)}}},
    };
    for (const auto& fixture : fixtures) {
        SCOPED_TRACE(fixture.file);
        const RichTextModel model = readFixture(fixture.file);
        ASSERT_EQ(model.paragraphs.size(), std::size_t(fixture.paragraphs));
        expectLooks(model, fixture.looks);
    }
}

TEST(RtfReader, AssociatedPropertiesStylesAndDefaults) {
    const RichTextModel model =
        read("{\\rtf1\\deff0\\stshfdbch2{\\*\\defchp\\fs30}{\\fonttbl{\\f0 "
             "Latin;}{\\f1\\fcharset134 Kai;}"
             "{\\f2\\fcharset134 Song;}{\\f3 "
             "Arabic;}}{\\stylesheet{\\s1\\loch\\fs20\\dbch\\af1\\afs40 One;}"
             "{\\s2\\sbasedon1\\b\\dbch\\ab0 Two;}{\\*\\cs3\\i Character;}}"
             "\\s2 a\\u20013?\\par\\pard\\plain \\u20013? b\\dbch\\af9 \\u23383? "
             "\\rtlch\\af3\\afs36 \\u1575? c}");
    ASSERT_EQ(model.paragraphs.size(), 2u);
    // The style and the one it is based on: Latin 10 points bold, Asian Kai 20 not bold.
    const auto& styled = model.paragraphs[0].runs;
    ASSERT_EQ(styled.size(), 2u);
    EXPECT_EQ(styled[0].attributes, attributes("Latin", 10, clWindowText, 1, true));
    EXPECT_EQ(styled[1].text, QStringLiteral("中"));
    EXPECT_EQ(styled[1].attributes, attributes("Kai", 20, clWindowText, 134));
    // \plain sets \defchp's size. Chinese without an Asian face of its own takes \stshfdbch's
    // (also for the missing \af9); a space goes with the set last named, a Latin letter
    // always with the Latin set.
    const auto& runs = model.paragraphs[1].runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].text, QStringLiteral("中"));
    EXPECT_EQ(runs[0].attributes, attributes("Song", 15, clWindowText, 134));
    EXPECT_EQ(runs[1].text, QStringLiteral(" b"));
    EXPECT_EQ(runs[1].attributes, attributes("Latin", 15, clWindowText, 1));
    EXPECT_EQ(runs[2].text, QStringLiteral("字 "));
    EXPECT_EQ(runs[2].attributes, runs[0].attributes);
    EXPECT_EQ(runs[3].text, QString(QChar(0x0627)) + " ");
    EXPECT_EQ(runs[3].attributes, attributes("Arabic", 18, clWindowText, 1));
    EXPECT_EQ(runs[4].text, QStringLiteral("c"));
    EXPECT_EQ(runs[4].attributes, runs[1].attributes);
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
    // A byte-order mark before the markup is skipped.
    EXPECT_EQ(read("\xEF\xBB\xBF{\\rtf1 a}").plainText(), QStringLiteral("a"));

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
    // Chinese after Latin text of the same attributes still gets the Asian set.
    model.paragraphs.push_back({RichTextAlignment::Left,
                                {{QStringLiteral("中"), attributes("Arial", 9, clWindowText, 0)}}});
    const QByteArray rtf = Rtf::write(model);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc2"));
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset134 \\u26999\\'bf\\'ac\\u20307\\'cc\\'e5;}"));
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset0 Arial;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\pard\\qc \\plain\\f0\\fs40\\cf1\\b\\dbch\\af0\\afs40\\ab "));
    EXPECT_TRUE(withoutAsianSet(rtf).contains("\\pard\\qc \\plain\\f0\\fs40\\cf1\\b "));
    // 81 5C: the trail byte that is a backslash is escaped like every other byte.
    EXPECT_TRUE(
        rtf.contains("\\u20013\\'d6\\'d0\\u20055\\'81\\'5c\\{\\\\\\}\\u-10179??\\u-8704??"));
    EXPECT_TRUE(rtf.contains("\\par\r\n\\pard\\qr \\plain\\f1\\fs18 a;b\\tab c\\par\r\n"
                             "\\pard \\plain\\f1\\fs18\\dbch\\af1\\afs18 \\u20013"));
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

namespace {

// The look of every character that is not white space in an HTML page LibreOffice wrote:
// faces, sizes and colours from <font>, styles from <b> <i> <u> <strike>.
struct HtmlLook {
    QChar character;
    QString face, color; // color "#rrggbb", empty for the automatic colour
    double points = 0;
    bool bold = false, italic = false, underline = false, strikeOut = false;
};

std::vector<HtmlLook> htmlLooks(const QString& html) {
    struct Open {
        QString tag;
        HtmlLook look;
    };
    std::vector<Open> open{{QString(), HtmlLook()}};
    std::vector<HtmlLook> looks;
    static const QRegularExpression token(QStringLiteral("<(/?)([a-zA-Z0-9]+)([^>]*)>|([^<]+)"));
    static const QRegularExpression face(QStringLiteral("face=\"([^\",]*)"));
    static const QRegularExpression color(QStringLiteral("color=\"(#[0-9a-fA-F]{6})\""));
    static const QRegularExpression size(QStringLiteral("font-size: ([0-9.]+)pt"));
    const QString body = html.mid(html.indexOf(QStringLiteral("<body")));
    for (auto it = token.globalMatch(body); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString tag = match.captured(2).toLower();
        if (!match.captured(4).isEmpty()) {
            for (const QChar c : match.captured(4))
                if (!c.isSpace()) {
                    looks.push_back(open.back().look);
                    looks.back().character = c;
                }
        } else if (match.captured(1) == QStringLiteral("/")) {
            for (std::size_t i = open.size(); i-- > 1;)
                if (open[i].tag == tag) {
                    open.resize(i);
                    break;
                }
        } else if (!match.captured(3).endsWith('/') && tag != QStringLiteral("br")) {
            Open next{tag, open.back().look};
            const QString attributes = match.captured(3);
            if (tag == QStringLiteral("font")) {
                if (const auto m = face.match(attributes); m.hasMatch())
                    next.look.face = m.captured(1);
                if (const auto m = color.match(attributes); m.hasMatch())
                    next.look.color = m.captured(1).toLower();
                if (const auto m = size.match(attributes); m.hasMatch())
                    next.look.points = m.captured(1).toDouble();
            }
            next.look.bold |= tag == QStringLiteral("b");
            next.look.italic |= tag == QStringLiteral("i");
            next.look.underline |= tag == QStringLiteral("u");
            next.look.strikeOut |= tag == QStringLiteral("strike") || tag == QStringLiteral("s");
            open.push_back(next);
        }
    }
    return looks;
}

} // namespace

// LibreOffice opens a saved file with the chosen Chinese and Latin faces, sizes, colours and
// styles. Needs LibreOffice Writer (soffice); skipped without it.
TEST(RtfWriter, LibreOfficeOpensSavedFacesSizesColoursAndStyles) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP()
            << "soffice (LibreOffice Writer) is not installed: saved RTF not checked in it";
    RichTextModel model;
    model.paragraphs.push_back(
        {RichTextAlignment::Center,
         {{QStringLiteral("静夜思"), attributes("AR PL UKai CN", 24, clRed, 134, true)},
          {QStringLiteral("Moon"), attributes("DejaVu Sans", 11, clBlue, 0, false, true)}}});
    model.paragraphs.push_back(
        {RichTextAlignment::Left,
         {{QStringLiteral("举头望明月"),
           attributes("LXGW WenKai", 15, 0x00C9211E, 134, false, false, true)},
          {QStringLiteral("低头 Home，思故乡"),
           attributes("AR PL UKai CN", 18, 0x00008000, 134, true, true, false, true)}}});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile saved(dir.filePath(QStringLiteral("saved.rtf")));
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write(Rtf::write(model));
    saved.close();
    QProcess process;
    // A profile of its own, so that a LibreOffice already running does not take the job.
    process.start(soffice,
                  {QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                   QStringLiteral("html"), QStringLiteral("--outdir"), dir.path(),
                   saved.fileName()});
    ASSERT_TRUE(process.waitForFinished(120000));
    QFile converted(dir.filePath(QStringLiteral("saved.html")));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly)) << process.readAllStandardError().constData();
    const std::vector<HtmlLook> looks = htmlLooks(QString::fromUtf8(converted.readAll()));

    std::size_t next = 0;
    for (const RichTextParagraph& paragraph : model.paragraphs)
        for (const RichTextRun& run : paragraph.runs)
            for (const QChar c : run.text) {
                if (c.isSpace())
                    continue;
                ASSERT_LT(next, looks.size());
                const HtmlLook& look = looks[next++];
                const RichTextAttributes& a = run.attributes;
                SCOPED_TRACE(QString(c).toStdString());
                EXPECT_EQ(look.character, c);
                EXPECT_EQ(look.face.toStdString(), a.Name.toStdString());
                EXPECT_EQ(look.points, a.Size);
                EXPECT_EQ(look.color.toStdString(),
                          QStringLiteral("#%1")
                              .arg(qToBigEndian(a.Color) >> 8, 6, 16, QChar('0'))
                              .toStdString());
                EXPECT_EQ(std::tuple(look.bold, look.italic, look.underline, look.strikeOut),
                          std::tuple(a.Bold, a.Italic, a.Underline, a.StrikeOut));
            }
    EXPECT_EQ(next, looks.size());
}

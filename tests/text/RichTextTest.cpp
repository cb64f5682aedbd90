// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rich text store: byte positions, attributes, undo, word wrap, loading and saving.
#include "RichText.h"
#include "Gbk.h"
#include "TarvelError.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

class RichTextTest : public ::testing::Test {
protected:
    RichText rich;
};

QString loadError(RichText& rich, const QString& path) {
    try {
        rich.loadFromFile(path);
    } catch (const TarvelError& error) {
        return error.text();
    }
    return {};
}

// Up to limit - 1 pieces, at least one, drawn at random.
QString randomText(QRandomGenerator& random, const QStringList& pieces, int limit) {
    QString text;
    const int count = int(random.bounded(1, limit));
    for (int i = 0; i < count; ++i)
        text += pieces[int(random.bounded(pieces.size()))];
    return text;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_F(RichTextTest, LineCountLeavesOutAnEmptyLastLine) {
    EXPECT_EQ(rich.lineCount(), 0);
    rich.setText(QStringLiteral("abc"));
    EXPECT_EQ(rich.lineCount(), 1);
    rich.setText(QStringLiteral("abc\n"));
    EXPECT_EQ(rich.lineCount(), 1);
    rich.setText(QStringLiteral("abc\n\n"));
    EXPECT_EQ(rich.lineCount(), 2);
    rich.setText(QStringLiteral("\r\nx"));
    EXPECT_EQ(rich.lineCount(), 2);
    EXPECT_EQ(rich.lineText(0), QByteArray());
    EXPECT_EQ(rich.lineText(1), QByteArray("x"));
}

TEST_F(RichTextTest, LineMixingAsciiAndTwoByteCharacters) {
    rich.setText(QStringLiteral("a中b\n文字"));
    EXPECT_EQ(rich.lineText(0), QByteArray("a\xD6\xD0"
                                           "b"));
    EXPECT_EQ(rich.lineText(1), QByteArray("\xCE\xC4\xD7\xD6"));
    EXPECT_EQ(rich.lineStart(1), 6); // 4 bytes and the two of the line break
    EXPECT_EQ(rich.textLength(), 10);

    rich.setSelStart(1);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selStart(), 1);
    EXPECT_EQ(rich.selLength(), 2);
    EXPECT_EQ(rich.selText(), QByteArray("\xD6\xD0"));
    EXPECT_EQ(rich.selString(), QStringLiteral("中"));

    rich.setSelStart(8);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selString(), QStringLiteral("字"));

    // A position inside a two-byte character means that character.
    rich.setSelStart(2);
    EXPECT_EQ(rich.selStart(), 1);
    EXPECT_EQ(rich.selLength(), 0);
}

TEST_F(RichTextTest, Byte127IsALeadByteAndDelTakesTwoPositions) {
    rich.setText(QStringLiteral("x") + QChar(0x7F) + QStringLiteral("y"));
    const QByteArray line = rich.lineText(0);
    EXPECT_EQ(line, QByteArray("x\x81\xFF"
                               "y"));
    // The walk with the one test meets x, DEL, y.
    QList<int> starts;
    for (int i = 0; i < line.size(); i += Gbk::charLength(uchar(line[i])))
        starts.append(i);
    EXPECT_EQ(starts, (QList<int>{0, 1, 3}));
    rich.setSelStart(1);
    rich.setSelLength(Gbk::charLength(uchar(line[1])));
    EXPECT_EQ(rich.selString(), QString(QChar(0x7F)));
    rich.setSelStart(3);
    rich.setSelLength(1);
    EXPECT_EQ(rich.selText(), QByteArray("y"));
}

TEST_F(RichTextTest, LeadByteAtLineEndWithSelectionReachingIntoTheBreak) {
    rich.setText(QStringLiteral("ab中\ncd"));
    // 中 takes positions 2 and 3, the break 4 and 5, c is 6.
    rich.setSelStart(2);
    rich.setSelLength(3); // half of the line break
    EXPECT_EQ(rich.selLength(), 2);
    EXPECT_EQ(rich.selText(), QByteArray("\xD6\xD0"));
    rich.setSelLength(4); // all of it
    EXPECT_EQ(rich.selLength(), 4);
    EXPECT_EQ(rich.selText(), QByteArray("\xD6\xD0\r\n"));
    rich.setSelLength(5);
    EXPECT_EQ(rich.selText(), QByteArray("\xD6\xD0\r\nc"));
    rich.setSelStart(5); // inside the break: the end of the first line
    EXPECT_EQ(rich.selStart(), 4);
}

TEST_F(RichTextTest, SelectionLengthIsShorterAtTheEndOfTheText) {
    rich.setText(QStringLiteral("a中"));
    rich.setSelStart(1);
    rich.setSelLength(10);
    EXPECT_EQ(rich.selLength(), 2);
    EXPECT_EQ(rich.selText(), QByteArray("\xD6\xD0"));
    rich.setSelStart(100);
    EXPECT_EQ(rich.selStart(), 3);
    EXPECT_EQ(rich.selLength(), 0);
    rich.setSelStart(-4);
    rich.setSelLength(-1);
    EXPECT_EQ(rich.selStart(), 0);
    EXPECT_EQ(rich.selLength(), 0);
}

TEST_F(RichTextTest, CharacterWithoutGbkCodeKeepsItsRealCharacter) {
    const QString emoji = QString::fromUcs4(U"\U0001F338");
    rich.setText(QStringLiteral("花") + emoji + QStringLiteral("开"));
    EXPECT_EQ(rich.lineText(0), QByteArray("\xBB\xA8\x81\xFF\xBF\xAA"));
    rich.setSelStart(2);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selString(), emoji);
    rich.setSelStart(3); // inside the pair: still the whole character
    EXPECT_EQ(rich.selStart(), 2);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selString(), emoji);
    rich.setSelStart(4);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selString(), QStringLiteral("开"));
}

// The byte map is cached; a slow reference built from the GBK bytes of the whole text must
// agree with it at every character of random texts.
TEST_F(RichTextTest, ByteWalkAgreesWithReferenceOnRandomTexts) {
    const QStringList pieces = {QStringLiteral("a"),
                                QStringLiteral(" "),
                                QStringLiteral("中"),
                                QStringLiteral("\n"),
                                QString::fromUcs4(U"\U0001F600"),
                                QString(QChar(0x4E57)),
                                QStringLiteral("Z")};
    QRandomGenerator random(7);
    for (int round = 0; round < 20; ++round) {
        const QString text = randomText(random, pieces, 60);
        rich.setText(text);
        QString crlf = text;
        crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        const QByteArray all = Gbk::encode(crlf);
        ASSERT_EQ(rich.textLength(), all.size());
        // Walk the reference bytes with the one test, but step over CR LF as one break.
        for (int p = 0; p < all.size();) {
            const int length = all[p] == '\r' ? 2 : Gbk::charLength(uchar(all[p]));
            rich.setSelStart(p);
            rich.setSelLength(length);
            ASSERT_EQ(rich.selStart(), p) << round;
            ASSERT_EQ(rich.selText(), all.mid(p, length)) << round << " at " << p;
            p += length;
        }
        int line = 0;
        for (const QString& expected : text.split(QLatin1Char('\n'))) {
            if (line < rich.lineCount())
                ASSERT_EQ(rich.lineText(line), Gbk::encode(expected));
            ++line;
        }
    }
}

// Walks read characters through a Reader instead of moving the selection; at every position,
// with either length and past the end, it must see exactly what selecting sees.
TEST_F(RichTextTest, ReaderSeesWhatSelectingSees) {
    const QStringList pieces = {QStringLiteral("a"),
                                QStringLiteral("中"),
                                QStringLiteral("\n"),
                                QString(QChar(0x7F)),
                                QString::fromUcs4(U"\U0001F600"),
                                QStringLiteral("\n\n"),
                                QStringLiteral("Z")};
    const QStringList faces = {QStringLiteral("楷体"), QStringLiteral("Arial")};
    QRandomGenerator random(11);
    for (int round = 0; round < 12; ++round) {
        rich.setText(randomText(random, pieces, 30));
        // A format of its own for random stretches, empty lines' breaks included.
        for (int p = 0; p < rich.textLength(); p += int(random.bounded(1, 4))) {
            rich.setSelStart(p);
            rich.setSelLength(int(random.bounded(1, 4)));
            rich.setSelName(faces[int(random.bounded(faces.size()))]);
            rich.setSelSize(int(random.bounded(8, 49)));
            rich.setSelColor(TColor(random.bounded(0x1000000)));
            rich.setSelStyle(random.bounded(2) == 1, random.bounded(2) == 1, false, false);
        }
        rich.setSelStart(1);
        const int before = rich.selStart();
        RichText::Reader reader(rich);
        for (int p = 0; p <= rich.textLength() + 2; ++p) {
            for (int length : {1, 2}) {
                const RichText::Character c = reader.select(p, length);
                ASSERT_EQ(rich.selStart(), before) << "the reader moved the selection";
                rich.setSelStart(p);
                rich.setSelLength(length);
                ASSERT_EQ(c.length, rich.selLength()) << round << " at " << p;
                ASSERT_EQ(c.string, rich.selString()) << round << " at " << p;
                ASSERT_EQ(c.attributes, rich.selAttributes()) << round << " at " << p;
                ASSERT_EQ(c.pixelHeight, rich.selPixelHeight()) << round << " at " << p;
                rich.setSelStart(1);
            }
        }
    }
}

TEST_F(RichTextTest, AttributesReadBackAfterWritingThem) {
    rich.setText(QStringLiteral("书法作品"));
    rich.setSelStart(0);
    rich.setSelLength(4);
    rich.setSelName(QStringLiteral("楷体"));
    rich.setSelSize(20);
    rich.setSelColor(clRed);
    rich.setSelStyle(true, false, true, false);
    RichText::Attributes a = rich.selAttributes();
    EXPECT_EQ(a.Name, QStringLiteral("楷体"));
    EXPECT_EQ(a.Size, 20);
    EXPECT_EQ(a.Color, 0x000000FFu);
    EXPECT_EQ(a.Charset, 134);
    EXPECT_TRUE(a.Bold);
    EXPECT_FALSE(a.Italic);
    EXPECT_TRUE(a.Underline);
    EXPECT_FALSE(a.StrikeOut);
    EXPECT_EQ(rich.selPixelHeight(), 27); // 20 points at 96 pixels per inch

    // Only the second character changes; a selection reports its first character.
    rich.setSelStart(2);
    rich.setSelLength(2);
    rich.setSelSize(36);
    rich.setSelColor(clWindowText);
    rich.setSelName(QStringLiteral("Arial"));
    a = rich.selAttributes();
    EXPECT_EQ(a.Size, 36);
    EXPECT_EQ(a.Color, 0xFF000008u);
    EXPECT_EQ(a.Charset, 1);
    EXPECT_EQ(rich.selPixelHeight(), 48);
    rich.setSelStart(0);
    rich.setSelLength(4);
    EXPECT_EQ(rich.selAttributes().Size, 20);
    EXPECT_EQ(rich.selAttributes().Color, 0x000000FFu);
    rich.setSelStart(6);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selAttributes().Size, 10); // untouched: the default size
    EXPECT_EQ(rich.selAttributes().Color, 0xFF000008u);
}

TEST_F(RichTextTest, SizeIsTwentiethsOfAPointTruncated) {
    rich.setText(QStringLiteral("ab"));
    QTextCursor cursor(rich.document());
    cursor.setPosition(0);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontPointSize(20.96);
    cursor.mergeCharFormat(format);
    rich.setSelStart(0);
    rich.setSelLength(1);
    EXPECT_EQ(rich.selAttributes().Size, 20);
    format.setFontPointSize(20.98); // 419.6 twentieths round to 420
    cursor.mergeCharFormat(format);
    EXPECT_EQ(rich.selAttributes().Size, 21);
}

TEST_F(RichTextTest, EmptySelectionSetsAttributesForTheTextTypedNext) {
    rich.setText(QStringLiteral("ab"));
    rich.setSelStart(2);
    rich.setSelSize(30);
    rich.setSelColor(0x00123456);
    EXPECT_EQ(rich.selAttributes().Size, 30);
    rich.insertText(QStringLiteral("中"));
    rich.setSelStart(2);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selAttributes().Size, 30);
    EXPECT_EQ(rich.selAttributes().Color, 0x00123456u);
    rich.setSelStart(0);
    rich.setSelLength(1);
    EXPECT_EQ(rich.selAttributes().Size, 10);
}

TEST_F(RichTextTest, OneLevelUndoToggles) {
    rich.setText(QStringLiteral("abc"));
    rich.setSelStart(3);
    rich.insertText(QStringLiteral("d"));
    EXPECT_EQ(rich.text(), QStringLiteral("abcd"));
    rich.undo();
    EXPECT_EQ(rich.text(), QStringLiteral("abc"));
    rich.undo(); // takes the first undo back
    EXPECT_EQ(rich.text(), QStringLiteral("abcd"));
    rich.undo();
    EXPECT_EQ(rich.text(), QStringLiteral("abc"));
    rich.undo();
    EXPECT_EQ(rich.text(), QStringLiteral("abcd"));

    // A new edit is what the next undo takes away.
    rich.setSelStart(0);
    rich.setSelLength(1);
    rich.setSelStyle(true, false, false, false);
    EXPECT_TRUE(rich.selAttributes().Bold);
    rich.undo();
    rich.setSelStart(0);
    rich.setSelLength(1);
    EXPECT_FALSE(rich.selAttributes().Bold);
    EXPECT_EQ(rich.text(), QStringLiteral("abcd"));
    rich.undo();
    rich.setSelStart(0);
    rich.setSelLength(1);
    EXPECT_TRUE(rich.selAttributes().Bold);
}

TEST_F(RichTextTest, ClearIsAnEditThatUndoBringsBack) {
    rich.setText(QStringLiteral("书\n法"));
    rich.clear();
    EXPECT_EQ(rich.lineCount(), 0);
    EXPECT_EQ(rich.textLength(), 0);
    rich.undo();
    EXPECT_EQ(rich.text(), QStringLiteral("书\n法"));
}

TEST_F(RichTextTest, ParagraphAlignmentAppliesToTheSelectedParagraphs) {
    rich.setText(QStringLiteral("one\ntwo\nthree"));
    rich.setSelStart(5);  // in "two"
    rich.setSelLength(7); // into "three"
    rich.setParagraphAlignment(RichText::Alignment::Right);
    rich.setSelStart(0);
    EXPECT_EQ(rich.paragraphAlignment(), RichText::Alignment::Left);
    rich.setSelStart(5);
    EXPECT_EQ(rich.paragraphAlignment(), RichText::Alignment::Right);
    rich.setSelStart(11);
    EXPECT_EQ(rich.paragraphAlignment(), RichText::Alignment::Right);
}

TEST_F(RichTextTest, ChangeNotificationAfterEveryChange) {
    rich.setText(QStringLiteral("abc"));
    QSignalSpy spy(&rich, &RichText::changed);
    rich.setSelStart(1);
    EXPECT_EQ(spy.count(), 0); // moving the selection changes nothing
    rich.insertText(QStringLiteral("x"));
    const auto afterInsert = spy.count();
    EXPECT_GE(afterInsert, 1);
    rich.setSelStart(0);
    rich.setSelLength(2);
    rich.setSelColor(clRed);
    EXPECT_GT(spy.count(), afterInsert);
}

TEST_F(RichTextTest, WordWrapMakesDisplayLinesWithoutBreakPositions) {
    rich.setText(QStringLiteral("aaaa bbbb cccc dddd\nzz"));
    EXPECT_EQ(rich.lineCount(), 2);
    rich.setWordWrap(true, 1); // narrower than any character: wrapped everywhere
    const int lines = rich.lineCount();
    EXPECT_GE(lines, 6); // at least one line for each word
    QByteArray first, second;
    int secondStartsAt = -1;
    for (int i = 0; i < lines; ++i) {
        const int start = rich.lineStart(i);
        if (start == 21 && secondStartsAt < 0)
            secondStartsAt = i;
        if (secondStartsAt < 0) {
            EXPECT_EQ(start, first.size()); // a wrapped line break takes no positions
            first += rich.lineText(i);
        } else {
            second += rich.lineText(i);
        }
    }
    EXPECT_EQ(first, QByteArray("aaaa bbbb cccc dddd"));
    EXPECT_EQ(second, QByteArray("zz"));
    EXPECT_EQ(secondStartsAt, lines - 2); // the paragraph break takes two positions
    rich.setWordWrap(false, 0);
    EXPECT_EQ(rich.lineCount(), 2);
}

TEST_F(RichTextTest, DefaultFontAppliesToTextAndToNewText) {
    rich.setText(QStringLiteral("ab"));
    rich.setDefaultFont(QStringLiteral("宋体"), clRed, 24);
    rich.setSelStart(0);
    rich.setSelLength(1);
    RichText::Attributes a = rich.selAttributes();
    EXPECT_EQ(a.Name, QStringLiteral("宋体"));
    EXPECT_EQ(a.Size, 24);
    EXPECT_EQ(a.Color, clRed);
    EXPECT_EQ(a.Charset, 134);
    rich.setText(QStringLiteral("cd"));
    rich.setSelStart(1);
    rich.setSelLength(1);
    a = rich.selAttributes();
    EXPECT_EQ(a.Name, QStringLiteral("宋体"));
    EXPECT_EQ(a.Size, 24);
    EXPECT_EQ(a.Color, clRed);
    rich.setBackgroundColor(clWhite);
    EXPECT_EQ(rich.backgroundColor(), clWhite);
}

TEST_F(RichTextTest, PlainTextFilesInUtf8AndGbkLoad) {
    QTemporaryDir dir;
    const QString utf8 = dir.filePath(QStringLiteral("utf8.txt"));
    writeFile(utf8, QStringLiteral("春眠不觉晓\r\nabc\n").toUtf8());
    rich.loadFromFile(utf8);
    EXPECT_EQ(rich.lineCount(), 2);
    EXPECT_EQ(rich.text(), QStringLiteral("春眠不觉晓\nabc\n"));

    const QString gbk = dir.filePath(QStringLiteral("gbk.txt"));
    writeFile(gbk, QByteArray("\xB4\xBA\xC3\xDF\r\n\x81\x5C"));
    rich.loadFromFile(gbk);
    EXPECT_EQ(rich.text(), QStringLiteral("春眠\n") + QChar(0x4E57));
    EXPECT_EQ(rich.lineText(1), QByteArray("\x81\x5C"));
}

TEST_F(RichTextTest, FailedLoadKeepsTheContentAndSaysWhy) {
    rich.setText(QStringLiteral("保留"));
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"missing.rtf", {}, "文件不存在"},
        {"binary.dat", QByteArray("\x81\x0a\x00\x01", 4), "文件中有空字符（U+0000），不是文本文件"},
        {"utf16.txt", QByteArray("\xFF\xFE\x2D\x4E", 4),
         "这是 UTF-16 编码的文本，只能读取 UTF-8 或 GBK 编码的文本"},
        {"gb18030.txt", QByteArray("\x81\x30\x81\x30"), "文本既不是 UTF-8 也不是 GBK 编码"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        if (!c.bytes.isEmpty())
            writeFile(path, c.bytes);
        EXPECT_EQ(loadError(rich, path),
                  QStringLiteral("Failed to Load Stream\n无法打开文本“%1”：%2。")
                      .arg(path, QString::fromUtf8(c.reason)));
        EXPECT_EQ(rich.text(), QStringLiteral("保留"));
    }
    // A final line break does not start a line of its own.
    const QString lines = dir.filePath(QStringLiteral("lines.txt"));
    writeFile(lines, QByteArray("a\n").repeated(10000));
    EXPECT_EQ(loadError(rich, lines), QString());
    EXPECT_EQ(rich.lineCount(), 10000);
    writeFile(lines, QByteArray("a\n").repeated(10001));
    EXPECT_EQ(loadError(rich, lines),
              QStringLiteral("文本太长：最多 10000 行，这段文本有 10001 行。"));
    // Tall enough to make the document layout spin: 4,000 one-character lines at 1638 points.
    writeFile(lines, "{\\rtf1\\fs3276 " + QByteArray("a\\par ").repeated(3999) + "a}");
    EXPECT_EQ(loadError(rich, lines),
              QStringLiteral("文本太高：各行最大字号之和最多 2000000 磅，这段文本有 6552000 磅。"));
    EXPECT_EQ(rich.lineCount(), 10000);
    writeFile(lines, QByteArray(500001, 'a'));
    EXPECT_EQ(loadError(rich, lines),
              QStringLiteral("文本太长：最多 500000 个字符，这段文本有 500001 个。"));
    writeFile(lines, "{\\rtf1 " + QByteArray("{\\b a}b").repeated(50001) + "}");
    EXPECT_EQ(loadError(rich, lines),
              QStringLiteral("文本格式太碎：最多 100000 段不同格式的文字。"));
    // The same height reached by giving every line of a small text the largest size.
    rich.setText(QString(3999, QLatin1Char('\n')));
    rich.selectAll();
    EXPECT_THROW(rich.setSelSize(1638), TarvelError);
    EXPECT_EQ(rich.lineCount(), 3999); // unchanged
    // What is typed or pasted meets the same limits; a selection it replaces is counted out.
    rich.setText(QString(9999, QLatin1Char('\n')));
    rich.setSelStart(rich.textLength());
    rich.insertText(QStringLiteral("a"));
    const auto insertionError = [&](const QString& text) {
        try {
            rich.checkInsertion(text);
        } catch (const TarvelError& error) {
            return error.text();
        }
        return QString();
    };
    EXPECT_EQ(insertionError(QStringLiteral("\n")),
              QStringLiteral("文本太长：最多 10000 行，这段文本有 10001 行。"));
    rich.setSelStart(0);
    rich.setSelLength(2);
    EXPECT_EQ(insertionError(QStringLiteral("\n")), QString());
    rich.setText(QString(499999, QLatin1Char('a')));
    rich.setSelStart(0);
    EXPECT_EQ(insertionError(QStringLiteral("b")), QString());
    EXPECT_THROW(rich.insertHtml(QStringLiteral("<b>bc</b>")), TarvelError);
    EXPECT_EQ(rich.textLength(), 499999);
    rich.setSelLength(1);
    EXPECT_EQ(insertionError(QStringLiteral("bc")), QString());
    rich.setText(QStringLiteral("a\n").repeated(1220) + QLatin1Char('a'));
    rich.selectAll();
    rich.setSelSize(1638); // 1,221 lines of 1638 points: just within the height
    rich.setSelStart(rich.textLength());
    EXPECT_EQ(insertionError(QStringLiteral("\n")).toStdString(),
              "文本太高：各行最大字号之和最多 2000000 磅，这段文本有 2001636 磅。");
}

TEST_F(RichTextTest, RtfRoundTripKeepsFacesSizesColoursStylesAndAlignment) {
    // Three faces, four sizes, colours, every style and the three alignments.
    rich.setText(QStringLiteral("楷书ab\n隶书Cd\n篆书\\{}"));
    struct Change {
        int start, length;
        const char* face;
        int size;
        TColor color;
        bool bold, italic, underline, strike;
    };
    const Change changes[] = {
        {0, 2, "楷体", 12, clRed, true, false, false, false},
        {2, 2, "楷体", 20, clWindowText, false, true, false, false},
        {4, 1, "Arial", 28, 0x00FF8000, false, false, true, false},
        {8, 4, "黑体", 48, clBlue, true, true, true, true},
        {12, 2, "Arial", 20, 0x00010203, false, false, false, true},
        {16, 4, "黑体", 12, clWindowText, false, false, false, false},
        {20, 3, "楷体", 28, 0x00808000, false, true, false, false},
    };
    for (const Change& c : changes) {
        rich.setSelStart(c.start);
        rich.setSelLength(c.length);
        rich.setSelName(QString::fromUtf8(c.face));
        rich.setSelSize(c.size);
        rich.setSelColor(c.color);
        rich.setSelStyle(c.bold, c.italic, c.underline, c.strike);
    }
    rich.setSelStart(8);
    rich.setParagraphAlignment(RichText::Alignment::Center);
    rich.setSelStart(16);
    rich.setParagraphAlignment(RichText::Alignment::Right);
    const RichTextModel before = rich.toModel();
    ASSERT_EQ(before.paragraphs.size(), 3u);
    ASSERT_EQ(before.paragraphs[0].runs.size(), 4u); // 楷, 书, a and the untouched b
    ASSERT_EQ(before.paragraphs[1].runs.size(), 2u);
    ASSERT_EQ(before.paragraphs[2].runs.size(), 2u);
    EXPECT_EQ(before.paragraphs[2].runs[1].text, QStringLiteral("\\{}"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.rtf"));
    rich.saveToFile(path);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray rtf = saved.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    EXPECT_TRUE(rtf.contains("\\fcharset134 \\u26999\\'bf\\'ac\\u20307\\'cc\\'e5;"));

    RichText other;
    other.loadFromFile(path);
    EXPECT_EQ(other.toModel(), before);
    other.setSelStart(8);
    other.setSelLength(2);
    const RichText::Attributes a = other.selAttributes();
    EXPECT_EQ(a.Name, QStringLiteral("黑体"));
    EXPECT_EQ(a.Size, 48);
    EXPECT_EQ(a.Color, clBlue);
    EXPECT_TRUE(a.Bold && a.Italic && a.Underline && a.StrikeOut);
    EXPECT_EQ(other.paragraphAlignment(), RichText::Alignment::Center);
}

TEST_F(RichTextTest, SaveFailureReportsAndLeavesNoFile) {
    QTemporaryDir dir;
    rich.setText(QStringLiteral("x"));
    const QString path = dir.filePath(QStringLiteral("no/such/folder/x.rtf"));
    QString message;
    try {
        rich.saveToFile(path);
    } catch (const TarvelError& error) {
        message = error.text();
    }
    EXPECT_EQ(message,
              QStringLiteral("Failed to Save Stream\n无法保存文本“%1”：文件夹不存在。").arg(path));
    EXPECT_FALSE(QFile::exists(path));
    const QString folder = dir.filePath(QStringLiteral("adir.rtf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    try {
        rich.saveToFile(folder);
    } catch (const TarvelError& error) {
        message = error.text();
    }
    EXPECT_EQ(
        message,
        QStringLiteral("Failed to Save Stream\n无法保存文本“%1”：这是一个文件夹。").arg(folder));
}

TEST_F(RichTextTest, SavingOverAFileReplacesItWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("over.rtf"));
    writeFile(path, QByteArray(5000, 'x'));
    rich.setText(QStringLiteral("新"));
    rich.saveToFile(path);
    RichText other;
    other.loadFromFile(path);
    EXPECT_EQ(other.text(), QStringLiteral("新"));
}

TEST_F(RichTextTest, LoadsAWordProcessorFileIntoTheEditor) {
    rich.setText(QStringLiteral("old"));
    rich.loadFromFile(QStringLiteral(TARVEL_TEST_DATA "/rtf/wordpad.rtf"));
    EXPECT_EQ(rich.lineCount(), 2); // the line after the last \par is empty
    EXPECT_EQ(rich.lineText(0), QByteArray("\xC4\xE3\xBA\xC3 world"));
    EXPECT_EQ(rich.lineText(1), QByteArray("\xCA\xE9\xB7\xA8"));
    rich.setSelStart(0);
    rich.setSelLength(2);
    RichText::Attributes a = rich.selAttributes();
    EXPECT_EQ(a.Name, QStringLiteral("宋体"));
    EXPECT_EQ(a.Size, 16);
    EXPECT_EQ(a.Color, clRed);
    EXPECT_EQ(a.Charset, 134);
    EXPECT_EQ(rich.selPixelHeight(), 21);
    rich.setSelStart(4);
    rich.setSelLength(1);
    a = rich.selAttributes();
    EXPECT_EQ(a.Name, QStringLiteral("Calibri"));
    EXPECT_EQ(a.Size, 11);
    EXPECT_EQ(a.Color, clWindowText);
    EXPECT_EQ(a.Charset, 0);
    rich.setSelStart(12);
    EXPECT_EQ(rich.paragraphAlignment(), RichText::Alignment::Center);
    EXPECT_TRUE(rich.selAttributes().Bold);
    rich.undo(); // loading is not an edit to undo
    EXPECT_EQ(rich.lineCount(), 2);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Simplified ↔ traditional: OpenCC's phrase conversion, the rich text keeping each character's
// format through it as one step of undo, and a missing data file reported, not crashed on.
#include "ChineseConversion.h"
#include "RichText.h"
#include "TarvelError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

RichText::Attributes attributes(const QString& face, int size, TColor color, bool bold) {
    RichText::Attributes a;
    a.Name = face;
    a.Size = size;
    a.Color = color;
    a.Bold = bold;
    return a;
}

// A paragraph of runs, each with its own attributes.
void setRuns(RichText& rich, const std::vector<RichTextRun>& runs) {
    RichTextModel model;
    model.paragraphs.push_back({RichTextAlignment::Left, runs});
    rich.setModel(model);
}

// The attributes of each character in order, with the character.
std::vector<std::pair<QString, RichText::Attributes>> characters(const RichText& rich) {
    std::vector<std::pair<QString, RichText::Attributes>> result;
    for (const RichTextParagraph& paragraph : rich.toModel().paragraphs)
        for (const RichTextRun& run : paragraph.runs)
            for (QChar c : run.text)
                result.push_back({QString(c), run.attributes});
    return result;
}

} // namespace

TEST(ChineseConversionTest, PhrasesConvertAsPhrases) {
    struct Case {
        ChineseConversion direction;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {ChineseConversion::SimplifiedToTraditional, "头发", "頭髮"},
        {ChineseConversion::SimplifiedToTraditional, "发展", "發展"},
        {ChineseConversion::SimplifiedToTraditional, "皇后", "皇后"},
        {ChineseConversion::SimplifiedToTraditional, "后天", "後天"},
        {ChineseConversion::SimplifiedToTraditional, "白日依山尽，黄河入海流。",
         "白日依山盡，黃河入海流。"},
        {ChineseConversion::TraditionalToSimplified, "頭髮後天", "头发后天"},
        {ChineseConversion::TraditionalToSimplified, "欲窮千里目，更上一層樓。",
         "欲穷千里目，更上一层楼。"},
    };
    for (const Case& c : cases) {
        const ChineseConverter& converter = ChineseConverter::shared(c.direction);
        EXPECT_EQ(converter.convert(QString::fromUtf8(c.from)), QString::fromUtf8(c.to)) << c.from;
    }
}

TEST(ChineseConversionTest, RichTextKeepsEachCharactersFormatInOneUndoStep) {
    RichText rich;
    const auto red = attributes(QStringLiteral("楷体"), 20, 0x000000FF, false);
    const auto blue = attributes(QStringLiteral("隶书"), 36, 0x00FF0000, true);
    // 头 red, 发a blue, 发 red, a line break, 后天 red: formats change inside the phrases and
    // between two changes.
    RichTextModel model;
    model.paragraphs.push_back(
        {RichTextAlignment::Left, {{"头", red}, {"发a", blue}, {"发", red}}});
    model.paragraphs.push_back({RichTextAlignment::Left, {{"后", red}, {"天", blue}}});
    rich.setModel(model);
    const auto before = characters(rich);

    rich.convertText(ChineseConverter::shared(ChineseConversion::SimplifiedToTraditional));
    EXPECT_EQ(rich.text(), QStringLiteral("頭髮a發\n後天"));
    const auto after = characters(rich);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].second, before[i].second) << i;

    rich.undo();
    EXPECT_EQ(rich.text(), QStringLiteral("头发a发\n后天"));
    EXPECT_EQ(characters(rich), before);
}

TEST(ChineseConversionTest, APhraseOfAnotherLengthSpreadsItsFormatsInOrder) {
    // A dictionary of our own in OpenCC's text format: one phrase of two characters becomes
    // three, another of three becomes one.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("phrases.txt", "甲乙\t子丑寅\n丙丁戊\t卯\n");
    const QByteArray config = R"({"name": "test", "segmentation": {"type": "mmseg",
        "dict": {"type": "text", "file": "phrases.txt"}},
        "conversion_chain": [{"dict": {"type": "text", "file": "phrases.txt"}}]})";
    write("s2t.json", config);
    const ChineseConverter converter(ChineseConversion::SimplifiedToTraditional, folder.path());

    RichText rich;
    const auto a = attributes(QStringLiteral("宋体"), 10, 0x000000FF, false);
    const auto b = attributes(QStringLiteral("宋体"), 20, 0x0000FF00, true);
    const auto c = attributes(QStringLiteral("宋体"), 30, 0x00FF0000, false);
    setRuns(rich, {{"x甲", a}, {"乙丙", b}, {"丁戊y", c}});
    rich.convertText(converter);
    EXPECT_EQ(rich.text(), QStringLiteral("x子丑寅卯y"));
    const auto after = characters(rich);
    const std::vector<RichText::Attributes> expected = {a, a, a, b, b, c};
    ASSERT_EQ(after.size(), expected.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].second, expected[i]) << i;
}

TEST(ChineseConversionTest, MissingDataIsAClearMessage) {
    QTemporaryDir folder;
    try {
        ChineseConverter converter(ChineseConversion::TraditionalToSimplified, folder.path());
        FAIL() << "no error";
    } catch (const TarvelError& error) {
        EXPECT_TRUE(error.text().startsWith(QStringLiteral("无法读取繁简转换数据文件 ")));
        EXPECT_TRUE(error.text().contains(QStringLiteral("t2s.json")));
        EXPECT_TRUE(error.text().contains(QStringLiteral("libopencc-data")));
    }
    // A configuration whose dictionary is missing fails the same way.
    QFile config(QDir(folder.path()).filePath(QStringLiteral("t2s.json")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(R"({"name": "x", "segmentation": {"type": "mmseg", "dict": {"type": "ocd2",
        "file": "gone.ocd2"}}, "conversion_chain": []})");
    config.close();
    EXPECT_THROW(ChineseConverter(ChineseConversion::TraditionalToSimplified, folder.path()),
                 TarvelError);
}

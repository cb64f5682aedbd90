// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The help file: object paths that stay inside the file, the digest check before chmlib sees
// a byte, and objects read from a real compiled file.
#include "HelpFile.h"
#include "ChmFixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct PathCase {
    const char* input;
    const char* expected;
};

class ObjectPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(ObjectPaths, Normalise) {
    EXPECT_EQ(normalisedObjectPath(QString::fromUtf8(GetParam().input)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    HelpFile, ObjectPaths,
    ::testing::Values(PathCase{"HelpContent\\index.htm", "/HelpContent/index.htm"},
                      PathCase{"/HelpContent/index.htm", "/HelpContent/index.htm"},
                      PathCase{"//HelpContent//./images/a.png", "/HelpContent/images/a.png"},
                      PathCase{"/HelpContent/../secret", ""}, PathCase{"..\\x.htm", ""},
                      PathCase{"/a/b/..", ""}, PathCase{"::DataSpace/NameList", ""},
                      PathCase{"/#SYSTEM", ""}, PathCase{"/$OBJINST", ""},
                      PathCase{"/HelpContent/#1.htm", "/HelpContent/#1.htm"},
                      PathCase{"/a\tb.htm", ""}, PathCase{"", ""}, PathCase{"/", ""},
                      PathCase{"/帮助/页.htm", "/帮助/页.htm"}));

TEST(HelpFile, LongPathsAreRefused) {
    const QString inside = QLatin1Char('/') + QString(511, QLatin1Char('a'));
    EXPECT_EQ(normalisedObjectPath(inside), inside);
    EXPECT_EQ(normalisedObjectPath(inside + QLatin1Char('a')), QString());
}

TEST(HelpFile, SplitsTheManualPath) {
    const HelpTopicPath parts =
        splitTopicPath(QStringLiteral("/opt/tarvel/TarvelHelp.chm::/HelpContent\\index.htm"));
    EXPECT_EQ(parts.file, QStringLiteral("/opt/tarvel/TarvelHelp.chm"));
    EXPECT_EQ(parts.topic, QStringLiteral("/HelpContent\\index.htm"));
    EXPECT_EQ(splitTopicPath(QStringLiteral("/x.chm")).topic, QString());
}

// Entry points that record calls, standing in for chmlib.
int fakeCalls = 0;
int fakeRetrieves = 0;
LONGUINT64 fakeLength = 0;
chmFile* fakeOpen(const char*) {
    ++fakeCalls;
    static int token;
    return reinterpret_cast<chmFile*>(&token);
}
void fakeClose(chmFile*) {
    ++fakeCalls;
}
int fakeResolve(chmFile*, const char*, chmUnitInfo* unit) {
    ++fakeCalls;
    unit->length = fakeLength;
    return CHM_RESOLVE_SUCCESS;
}
LONGINT64 fakeRetrieve(chmFile*, chmUnitInfo*, unsigned char* buffer, LONGUINT64, LONGINT64 n) {
    ++fakeRetrieves;
    for (LONGINT64 i = 0; i < n; ++i)
        buffer[i] = 'x';
    return n;
}
HelpEntryPoints fakeLibrary() {
    return {fakeOpen, fakeClose, fakeResolve, fakeRetrieve};
}

TEST(HelpFile, MismatchedFilesNeverReachTheLibrary) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TarvelHelp.chm"));
    ASSERT_TRUE(ChmFixture::writeFile(path, "ITSF and some bytes"));
    const HelpFileDigest good = digestOf("ITSF and some bytes");
    EXPECT_EQ(good.size, 19);
    EXPECT_EQ(good.sha256.size(), 32);

    fakeCalls = 0;
    HelpFileDigest wrongSize = good;
    wrongSize.size = 20;
    HelpFile::Opened opened = HelpFile::open(fakeLibrary(), path, wrongSize);
    EXPECT_EQ(opened.file, nullptr);
    EXPECT_EQ(opened.error, QStringLiteral("帮助文件已损坏或被替换，不能打开：") + path);

    HelpFileDigest wrongHash = good;
    wrongHash.sha256[0] = char(wrongHash.sha256[0] ^ 1);
    EXPECT_EQ(HelpFile::open(fakeLibrary(), path, wrongHash).file, nullptr);
    EXPECT_EQ(HelpFile::open(fakeLibrary(), path, HelpFileDigest()).file, nullptr);

    const QString missing = dir.filePath(QStringLiteral("none.chm"));
    opened = HelpFile::open(fakeLibrary(), missing, good);
    EXPECT_EQ(opened.file, nullptr);
    EXPECT_EQ(opened.error, QStringLiteral("找不到帮助文件：") + missing);
    // A named pipe in the manual's place is refused at once instead of blocking the window.
    const QString pipe = dir.filePath(QStringLiteral("Pipe.chm"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(HelpFile::open(fakeLibrary(), pipe, good).error,
              QStringLiteral("帮助文件已损坏或被替换，不能打开：") + pipe);
    EXPECT_EQ(fakeCalls, 0);

    opened = HelpFile::open(fakeLibrary(), path, good);
    ASSERT_NE(opened.file, nullptr);
    EXPECT_EQ(fakeCalls, 1);
    opened.file.reset();
    EXPECT_EQ(fakeCalls, 2); // closed with the file
}

TEST(HelpFile, OversizedObjectsAreRefusedUnread) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TarvelHelp.chm"));
    ASSERT_TRUE(ChmFixture::writeFile(path, "ITSF"));
    HelpFile::Opened opened = HelpFile::open(fakeLibrary(), path, digestOf("ITSF"));
    ASSERT_NE(opened.file, nullptr);
    fakeRetrieves = 0;
    fakeLength = HelpFile::MaxObjectBytes + 1;
    EXPECT_FALSE(opened.file->object(QStringLiteral("/big.png")).has_value());
    EXPECT_EQ(fakeRetrieves, 0);
    fakeLength = 3;
    EXPECT_EQ(opened.file->object(QStringLiteral("/small.png")), QByteArray("xxx"));
    EXPECT_EQ(fakeRetrieves, 1);
    fakeCalls = 0;
    EXPECT_FALSE(opened.file->object(QStringLiteral("/a/../../b")).has_value());
    EXPECT_EQ(fakeCalls, 0); // a refused path is never looked up
}

TEST(HelpFile, ReadsObjectsOfARealCompiledFile) {
    QTemporaryDir dir;
    const QString path = ChmFixture::build(dir.path());
    ASSERT_FALSE(path.isEmpty()) << "chmcmd failed";
    HelpLibrary library;
    library.load();
    {
        HelpFile::Opened opened =
            HelpFile::open(library.entryPoints(), path, digestOf(ChmFixture::readAll(path)));
        ASSERT_NE(opened.file, nullptr) << opened.error.toStdString();
        EXPECT_EQ(opened.file->path(), path);
        EXPECT_EQ(opened.file->object(QStringLiteral("HelpContent\\index.htm")),
                  ChmFixture::indexPage);
        EXPECT_EQ(opened.file->object(QStringLiteral("/HelpContent/second.htm")),
                  ChmFixture::secondPage);
        EXPECT_EQ(opened.file->object(QStringLiteral("/HelpContent/style.css")),
                  ChmFixture::styleSheet);
        EXPECT_EQ(opened.file->object(QStringLiteral("/HelpContent/images/dot.png")),
                  ChmFixture::dotPicture());
        EXPECT_FALSE(opened.file->object(QStringLiteral("/HelpContent/none.htm")).has_value());
        EXPECT_FALSE(opened.file->object(QStringLiteral("/#SYSTEM")).has_value());

        // The check is made on the file's bytes: one changed byte and the file is refused.
        QByteArray bytes = ChmFixture::readAll(path);
        const HelpFileDigest recorded = digestOf(bytes);
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
        const QString tampered = dir.filePath(QStringLiteral("Tampered.chm"));
        ASSERT_TRUE(ChmFixture::writeFile(tampered, bytes));
        EXPECT_EQ(HelpFile::open(library.entryPoints(), tampered, recorded).file, nullptr);
    }
    library.release();
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The private fonts: the pattern, the font magic, which entries of the folder are taken, the
// size cap, and registration and removal of a real face.
#include "PrivateFonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace PrivateFonts;

namespace {

const QString realFont = QStringLiteral("/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf");

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList names(const QStringList& paths) {
    QStringList result;
    for (const QString& path : paths)
        result << QFileInfo(path).fileName();
    result.sort();
    return result;
}

TEST(PrivateFonts, SplitsThePatternAtItsLastSeparator) {
    FontPattern parts = splitPattern(QStringLiteral("/opt/tarvel//Fonts/*.ttf"));
    EXPECT_EQ(parts.folder, QStringLiteral("/opt/tarvel//Fonts/"));
    EXPECT_EQ(parts.mask, QStringLiteral("*.ttf"));
    parts = splitPattern(QStringLiteral("C:\\Tarvel\\\\Fonts\\*.ttf"));
    EXPECT_EQ(parts.folder, QStringLiteral("C:\\Tarvel\\\\Fonts\\"));
    EXPECT_EQ(parts.mask, QStringLiteral("*.ttf"));
    parts = splitPattern(QStringLiteral("*.ttf"));
    EXPECT_EQ(parts.folder, QString());
    EXPECT_EQ(parts.mask, QStringLiteral("*.ttf"));
    EXPECT_EQ(fontPattern(QStringLiteral("/opt/tarvel/")),
              QStringLiteral("/opt/tarvel//Fonts/*.ttf"));
}

TEST(PrivateFonts, RecognisesFontMagic) {
    EXPECT_TRUE(hasFontMagic(QByteArray("\x00\x01\x00\x00\x00\x10", 6)));
    EXPECT_TRUE(hasFontMagic("true...."));
    EXPECT_TRUE(hasFontMagic("OTTO"));
    EXPECT_TRUE(hasFontMagic("ttcf\x00\x01"));
    EXPECT_FALSE(hasFontMagic(QByteArray("\x00\x01\x00", 3)));
    EXPECT_FALSE(hasFontMagic(QByteArray("\x00\x02\x00\x00", 4)));
    EXPECT_FALSE(hasFontMagic("wOFF"));
    EXPECT_FALSE(hasFontMagic("PK\x03\x04"));
    EXPECT_FALSE(hasFontMagic("TTCF"));
    EXPECT_FALSE(hasFontMagic(QByteArray()));
}

TEST(PrivateFonts, TakesMatchingFilesSkipsFolders) {
    QTemporaryDir dir;
    for (const char* name : {"a.ttf", "B.TTF", ".hidden.ttf", "note.txt", "a.ttf.bak", "c.ttc"})
        ASSERT_TRUE(writeFile(dir.filePath(QString::fromLatin1(name)), "true"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x.ttf")));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("x.ttf/inner.ttf")), "true"));
    const QStringList found = matchingFontFiles(dir.path(), QStringLiteral("*.ttf"));
    EXPECT_EQ(names(found), (QStringList{QStringLiteral(".hidden.ttf"), QStringLiteral("B.TTF"),
                                         QStringLiteral("a.ttf")}));
    for (const QString& path : found)
        EXPECT_TRUE(path.startsWith(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(
        matchingFontFiles(dir.filePath(QStringLiteral("none")), QStringLiteral("*.ttf")).isEmpty());
}

TEST(PrivateFonts, ReadsWholeFontsOnlyUnderTheCap) {
    QTemporaryDir dir;
    QFile source(realFont);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    EXPECT_EQ(readFontFile(realFont), bytes);

    const QString text = dir.filePath(QStringLiteral("text.ttf"));
    ASSERT_TRUE(writeFile(text, "This is not a font at all"));
    EXPECT_FALSE(readFontFile(text).has_value());
    const QString tiny = dir.filePath(QStringLiteral("tiny.ttf"));
    ASSERT_TRUE(writeFile(tiny, "tru"));
    EXPECT_FALSE(readFontFile(tiny).has_value());
    EXPECT_FALSE(readFontFile(dir.filePath(QStringLiteral("none.ttf"))).has_value());

    // Sparse files with a font's first bytes: one at the cap is read, one past it is not.
    const QString atCap = dir.filePath(QStringLiteral("atcap.ttf"));
    ASSERT_TRUE(writeFile(atCap, "true"));
    ASSERT_TRUE(QFile::resize(atCap, MaxFontFileBytes));
    const std::optional<QByteArray> capped = readFontFile(atCap);
    ASSERT_TRUE(capped.has_value());
    EXPECT_EQ(capped->size(), MaxFontFileBytes);
    ASSERT_TRUE(QFile::resize(atCap, MaxFontFileBytes + 1));
    EXPECT_FALSE(readFontFile(atCap).has_value());

    // A collection claiming 100,000 faces offers the first MaxFacesPerFile; the file is unchanged.
    const QString many = dir.filePath(QStringLiteral("many.ttf"));
    ASSERT_TRUE(writeFile(many, QByteArray("ttcf\x00\x01\x00\x00\x00\x01\x86\xa0", 12) +
                                    QByteArray(400000, '\0')));
    EXPECT_EQ(readFontFile(many)->left(12), QByteArray("ttcf\x00\x01\x00\x00\x00\x00\x00\x40", 12));
    QFile kept(many);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.read(12).right(4), QByteArray("\x00\x01\x86\xa0", 4));
}

TEST(PrivateFonts, RegistersUsableFilesAndRemovesThem) {
    QTemporaryDir dir;
    const QString fonts = dir.filePath(QStringLiteral("Fonts"));
    ASSERT_TRUE(QDir().mkpath(fonts + QStringLiteral("/x.ttf")));
    ASSERT_TRUE(QFile::copy(realFont, fonts + QStringLiteral("/kai.ttf")));
    ASSERT_TRUE(writeFile(fonts + QStringLiteral("/broken.ttf"), "not a font"));
    // A named pipe is skipped without waiting for a writer.
    ASSERT_EQ(mkfifo(QFile::encodeName(fonts + QStringLiteral("/pipe.ttf")).constData(), 0600), 0);
    // The magic is right but the tables are garbage: the font engine refuses it.
    ASSERT_TRUE(writeFile(fonts + QStringLiteral("/garbage.ttf"),
                          QByteArray("\x00\x01\x00\x00", 4) + QByteArray(200, '\xff')));

    const Registration registration = addFonts(fontPattern(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(registration.folderFound);
    ASSERT_EQ(registration.ids.size(), 1);
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(registration.ids[0]),
              QStringList{QStringLiteral("AR PL KaitiM GB")});
    removeFonts(registration.ids);
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(registration.ids[0]).isEmpty());
}

// Start-up reads the folder early on a worker thread; registration then takes those bytes, with
// the same files skipped, and only for the pattern that was read.
TEST(PrivateFonts, PrefetchedFilesRegisterOnceAndOnlyForTheirPattern) {
    QTemporaryDir first;
    QTemporaryDir second;
    for (const QTemporaryDir* dir : {&first, &second}) {
        const QString fonts = dir->filePath(QStringLiteral("Fonts"));
        ASSERT_TRUE(QDir().mkpath(fonts + QStringLiteral("/x.ttf")));
        ASSERT_TRUE(QFile::copy(realFont, fonts + QStringLiteral("/kai.ttf")));
        ASSERT_TRUE(writeFile(fonts + QStringLiteral("/broken.ttf"), "not a font"));
    }
    const QString firstPattern = fontPattern(first.path() + QLatin1Char('/'));
    const QString secondPattern = fontPattern(second.path() + QLatin1Char('/'));

    prefetchFonts(firstPattern);
    Registration registration = addFonts(firstPattern);
    ASSERT_EQ(registration.ids.size(), 1);
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(registration.ids[0]),
              QStringList{QStringLiteral("AR PL KaitiM GB")});
    removeFonts(registration.ids);

    // A prefetch of another folder is not used: the first folder is read again, as it is now.
    prefetchFonts(secondPattern);
    ASSERT_TRUE(QFile::remove(first.filePath(QStringLiteral("Fonts/kai.ttf"))));
    EXPECT_TRUE(addFonts(firstPattern).ids.isEmpty());
    registration = addFonts(secondPattern);
    ASSERT_EQ(registration.ids.size(), 1);
    removeFonts(registration.ids);
    // The prefetch was used up: the folder is read anew.
    ASSERT_TRUE(QFile::remove(second.filePath(QStringLiteral("Fonts/kai.ttf"))));
    EXPECT_TRUE(addFonts(secondPattern).ids.isEmpty());
}

TEST(PrivateFonts, MissingOrEmptyFolderRegistersNothing) {
    QTemporaryDir dir;
    Registration registration = addFonts(fontPattern(dir.path() + QLatin1Char('/')));
    EXPECT_FALSE(registration.folderFound);
    EXPECT_TRUE(registration.ids.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Fonts")));
    registration = addFonts(fontPattern(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(registration.folderFound);
    EXPECT_TRUE(registration.ids.isEmpty());
    // A file named Fonts is not a folder.
    QTemporaryDir other;
    ASSERT_TRUE(writeFile(other.filePath(QStringLiteral("Fonts")), "true"));
    EXPECT_FALSE(addFonts(fontPattern(other.path() + QLatin1Char('/'))).folderFound);
}

} // namespace

// A face cut short while the program runs (a copy over it, a sync client): before its private
// copy is made, bytes past the new end read as zeros instead of killing the program (SIGBUS);
// once it is made, the face draws as it did and holds the bytes it was read with.
TEST(PrivateFonts, AFaceCutShortWhileTheProgramRunsNeitherKillsItNorChangesIt) {
    QTemporaryDir dir;
    QFile original(realFont);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray content = original.readAll();
    for (const bool copied : {false, true}) {
        const QString copy =
            dir.filePath(copied ? QStringLiteral("b.ttf") : QStringLiteral("a.ttf"));
        ASSERT_TRUE(QFile::copy(realFont, copy));
        const std::optional<QByteArray> bytes = readFontFile(copy);
        ASSERT_TRUE(bytes && bytes->size() == content.size());
        const int id = QFontDatabase::addApplicationFontFromData(*bytes);
        ASSERT_GE(id, 0);
        const auto draw = [id] {
            QImage picture(400, 200, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.setFont(QFont(QFontDatabase::applicationFontFamilies(id).value(0), 60));
            painter.drawText(10, 120, QStringLiteral("鬱鬱蔥蔥龘"));
            return picture;
        };
        const QImage before = draw();
        if (copied)
            keepFontsPrivate();
        ASSERT_EQ(::truncate(QFile::encodeName(copy).constData(), 200000), 0);
        if (copied) {
            EXPECT_EQ(draw(), before);
            EXPECT_TRUE(bytes->mid(4096) == content.mid(4096));
        } else {
            draw();
            EXPECT_EQ(bytes->mid(204800).count('\0'), bytes->size() - 204800);
        }
        QFontDatabase::removeApplicationFont(id);
    }
}

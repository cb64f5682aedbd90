// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The private fonts through the real main window: a face from the Fonts folder is in the font
// list and the dialogs' lists, broken files and a folder named like a font are skipped, and
// closing removes the face. The process sees only DejaVu as installed, so the face can come
// from nowhere but the Fonts folder.
#include "FontCoverage.h"
#include "Unit1.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

const QString kaiFile = QStringLiteral("/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf");
const QString kaiFace = QStringLiteral("AR PL KaitiM GB");

// Before the application exists, fontconfig is pointed at a configuration that installs
// DejaVu only; it reads it when Qt first asks for fonts.
class InstalledFontsApplication final : public ::testing::Environment {
public:
    void SetUp() override {
        const QByteArray config = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                                  "\"fonts.dtd\">\n<fontconfig>\n"
                                  "<dir>/usr/share/fonts/truetype/dejavu</dir>\n<cachedir>" +
                                  dir.filePath(QStringLiteral("cache")).toUtf8() +
                                  "</cachedir>\n</fontconfig>\n";
        QFile file(dir.filePath(QStringLiteral("fonts.conf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(config);
        file.close();
        qputenv("FONTCONFIG_FILE", QFile::encodeName(file.fileName()));
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    QTemporaryDir dir;
    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};
::testing::Environment* const installedFontsApplication =
    ::testing::AddGlobalTestEnvironment(new InstalledFontsApplication);

// A Fonts folder with a real face, a file that only pretends to be one and a folder x.ttf.
void makeFontsFolder(const QString& root) {
    const QString fonts = root + QStringLiteral("/Fonts");
    ASSERT_TRUE(QDir().mkpath(fonts + QStringLiteral("/x.ttf")));
    ASSERT_TRUE(QFile::copy(kaiFile, fonts + QStringLiteral("/kai.ttf")));
    QFile fake(fonts + QStringLiteral("/readme.ttf"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("This folder holds the calligraphy faces.\n");
}

bool comboHas(const QComboBox* box, const QString& item) {
    return box->findText(item) >= 0;
}

TEST(StartupFonts, NoFontsFolderRegistersNothing) {
    TForm1 form;
    // The test program's folder has no Fonts folder.
    EXPECT_FALSE(QFileInfo::exists(form.AppDir + QStringLiteral("Fonts")));
    EXPECT_TRUE(form.privateFonts().isEmpty());
    EXPECT_FALSE(comboHas(form.ComboBox2, kaiFace));
    EXPECT_TRUE(comboHas(form.ComboBox2, QStringLiteral("DejaVu Sans")));
    EXPECT_TRUE(comboHas(form.ComboBox2, QStringLiteral("Default")));
}

TEST(StartupFonts, FolderFaceIsInEveryListUntilClose) {
    QTemporaryDir dir;
    makeFontsFolder(dir.path());
    TForm1 form;
    ASSERT_FALSE(comboHas(form.ComboBox2, kaiFace));
    form.AppDir = dir.path() + QLatin1Char('/');
    form.registerPrivateFonts(true);
    ASSERT_EQ(form.privateFonts().size(), 1);
    const int id = form.privateFonts().first();
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{kaiFace});

    // The list is refreshed: every family once, "Default" among them; the faces that draw
    // Chinese first, then the others, each part case-insensitively sorted.
    const QStringList faces = form.fontFaceList();
    EXPECT_EQ(faces.count(kaiFace), 1);
    EXPECT_EQ(faces.count(QStringLiteral("Default")), 1);
    const auto drawsChinese = [](const QString& face) {
        return QFontDatabase::writingSystems(face).contains(QFontDatabase::SimplifiedChinese) ||
               QFontDatabase::writingSystems(face).contains(QFontDatabase::TraditionalChinese);
    };
    ASSERT_TRUE(drawsChinese(faces.first())) << faces.first().toStdString();
    ASSERT_FALSE(drawsChinese(faces.last())) << faces.last().toStdString();
    for (int i = 1; i < faces.size(); ++i) {
        EXPECT_GE(drawsChinese(faces[i - 1]), drawsChinese(faces[i])) << i;
        if (drawsChinese(faces[i - 1]) == drawsChinese(faces[i]))
            EXPECT_LT(QString::compare(faces[i - 1], faces[i], Qt::CaseInsensitive), 0) << i;
    }

    // The dialogs that offer faces copy the list when they are created.
    form.createDialogs();
    int listsChecked = 0;
    for (const QDialog* dialog : form.findChildren<QDialog*>()) {
        const QString name = dialog->objectName();
        if (name != QLatin1String("Form3") && name != QLatin1String("Form4") &&
            name != QLatin1String("Form8"))
            continue;
        ++listsChecked;
        bool offered = false;
        for (const QComboBox* box : dialog->findChildren<QComboBox*>())
            offered = offered || comboHas(box, kaiFace);
        EXPECT_TRUE(offered) << name.toStdString();
    }
    EXPECT_EQ(listsChecked, 3); // the text, rotated-text and seal dialogs

    form.close();
    EXPECT_TRUE(form.privateFonts().isEmpty());
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(id).isEmpty());
    EXPECT_FALSE(QFontDatabase::families().contains(kaiFace));
    EXPECT_FALSE(comboHas(form.ComboBox2, kaiFace));
}

TEST(StartupFonts, AnEmptyFolderRegistersNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Fonts")));
    TForm1 form;
    const QStringList before = form.fontFaceList();
    form.AppDir = dir.path() + QLatin1Char('/');
    form.registerPrivateFonts(true);
    EXPECT_TRUE(form.privateFonts().isEmpty());
    EXPECT_EQ(form.fontFaceList(), before);
}

// The Fonts folder of the package links to the faces of Debian's font packages: a face is read
// through a relative or an absolute link, and a link to nothing is skipped.
TEST(StartupFonts, FacesAreReadThroughLinks) {
    QTemporaryDir dir;
    const std::filesystem::path fonts = dir.filePath(QStringLiteral("Fonts")).toStdString();
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("Fonts"))));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("share"))));
    ASSERT_TRUE(QFile::copy(kaiFile, dir.filePath(QStringLiteral("share/kai.ttf"))));
    std::filesystem::create_symlink("../share/kai.ttf", fonts / "kai.ttf");
    std::filesystem::create_symlink("/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf",
                                    fonts / "song.ttf");
    std::filesystem::create_symlink("../share/gone.ttf", fonts / "gone.ttf");
    TForm1 form;
    form.AppDir = dir.path() + QLatin1Char('/');
    form.registerPrivateFonts(true);
    QStringList families;
    for (const int id : form.privateFonts())
        families += QFontDatabase::applicationFontFamilies(id);
    families.sort();
    EXPECT_EQ(families.join(u','), kaiFace + QStringLiteral(",AR PL SungtiL GB"));
    form.close();
}

// The brush faces of the built Fonts folder, in a process that sees only DejaVu installed: each
// family is registered from its own file and draws every character of level one of GB 2312
// (rows 0xB0 to 0xD7, the last five short) in itself, with no fallback face.
TEST(StartupFonts, BuiltBrushFacesDrawLevelOneOfGb2312Themselves) {
    QByteArray bytes;
    for (int row = 0xB0; row <= 0xD7; ++row)
        for (int cell = 0xA1; cell <= (row == 0xD7 ? 0xF9 : 0xFE); ++cell)
            bytes.append(char(row)).append(char(cell));
    const QString levelOne = QStringDecoder("GBK").decode(bytes);
    ASSERT_EQ(levelOne.size(), 3755);

    TForm1 form;
    form.AppDir = QStringLiteral(TARVEL_FONTS_FOLDER "/../");
    form.registerPrivateFonts(true);
    // One registration per face file; no face of the folder is installed elsewhere here.
    const QStringList files =
        QDir(QStringLiteral(TARVEL_FONTS_FOLDER)).entryList({QStringLiteral("*.ttf")}, QDir::Files);
    ASSERT_EQ(form.privateFonts().size(), files.size());
    QStringList registered;
    for (const int id : form.privateFonts())
        registered += QFontDatabase::applicationFontFamilies(id);

    const QStringList leftOut =
        QString::fromUtf8(TARVEL_LEFT_OUT_FACES).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const std::pair<const char*, const char*> faces[] = {{"Ma Shan Zheng", "MaShanZheng.ttf"},
                                                         {"Zhi Mang Xing", "ZhiMangXing.ttf"},
                                                         {"Liu Jian Mao Cao", "LiuJianMaoCao.ttf"},
                                                         {"Long Cang", "LongCang.ttf"}};
    for (const auto& [family, fileName] : faces) {
        const QString face = QString::fromUtf8(family);
        if (leftOut.contains(face))
            continue;
        EXPECT_TRUE(files.contains(QString::fromUtf8(fileName))) << fileName;
        EXPECT_EQ(registered.count(face), 1) << family;
        EXPECT_TRUE(comboHas(form.ComboBox2, face)) << family;
        DrawingSurface::Font request;
        request.name = face;
        request.height = -40;
        EXPECT_EQ(charactersMissingFrom(request, levelOne), QString()) << family;
    }
    form.close();
    if (!leftOut.isEmpty())
        GTEST_SKIP() << "the build left out " << leftOut.join(QStringLiteral(", ")).toStdString()
                     << " (see the configure message: no npm registry, npm or fontTools)";
}

// The program's own start: a copy of this test beside a Fonts folder registers the face while
// the main window is being created.
TEST(StartupFonts, ProgramFolderFontsAreRegisteredAtCreation) {
    if (qEnvironmentVariableIsSet("TARVEL_STARTUP_CHILD")) {
        TForm1 form;
        ASSERT_EQ(form.privateFonts().size(), 1);
        EXPECT_TRUE(comboHas(form.ComboBox2, kaiFace));
        return;
    }
    // Beside the test binary, so that a hard link works; a copy otherwise.
    QTemporaryDir dir(QStringLiteral(TARVEL_BINARY_DIR "/tests/startup-fonts-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    makeFontsFolder(dir.path());
    const QString program = dir.filePath(QStringLiteral("tarvel-startup-child"));
    const QString self = QCoreApplication::applicationFilePath();
    if (::link(QFile::encodeName(self).constData(), QFile::encodeName(program).constData()) != 0) {
        ASSERT_TRUE(QFile::copy(self, program));
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARVEL_STARTUP_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(
        program,
        {QStringLiteral("--gtest_filter=StartupFonts.ProgramFolderFontsAreRegisteredAtCreation")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray output = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.constData();
}

} // namespace

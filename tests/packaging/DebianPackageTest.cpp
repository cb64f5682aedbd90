// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The Debian package as a user receives it: CPack builds the .deb from this build tree, dpkg
// unpacks it into a scratch root, and the program runs a composition script from there, with
// the fonts (and their licences) and the manual it finds beside itself. Its Depends field must name
// the package of every library the program loads, and Debian's checkers, lintian and
// appstreamcli, find nothing to warn about in it.
#include "HelpLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

struct Finished {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Finished run(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
             const QString& workingFolder = QString()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    Finished result;
    if (!process.waitForStarted(10000)) {
        result.err = process.errorString().toUtf8();
        return result;
    }
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        result.err = "timed out: " + process.readAllStandardError();
        return result;
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "libqt6gui6 (>= 6.1.2), libchm1 | foo" -> {libqt6gui6, libchm1, foo}
QSet<QString> dependedPackages(const QString& depends) {
    QSet<QString> names;
    for (const QString& alternatives : depends.split(QLatin1Char(',')))
        for (const QString& alternative : alternatives.split(QLatin1Char('|'))) {
            const QString name =
                alternative.section(QLatin1Char('('), 0, 0).section(QLatin1Char(':'), 0, 0);
            if (!name.trimmed().isEmpty())
                names.insert(name.trimmed());
        }
    return names;
}

// The packages dpkg knows as owners of each path. Debian 12 merges /lib into /usr/lib, while
// dpkg records either form, so both are asked for.
QMap<QString, QSet<QString>> owningPackages(const QStringList& paths) {
    QStringList queries;
    for (const QString& path : paths) {
        queries << path;
        queries << (path.startsWith(QLatin1String("/usr/")) ? path.mid(4)
                                                            : QLatin1String("/usr") + path);
    }
    // dpkg -S fails when any one path is unknown, but still names the owners of the others.
    const Finished owners =
        run(QStringLiteral("dpkg"), QStringList{QStringLiteral("-S")} + queries);
    QMap<QString, QSet<QString>> result;
    for (const QByteArray& line : owners.out.split('\n')) {
        const QString text = QString::fromUtf8(line);
        const qsizetype separator = text.indexOf(QLatin1String(": "));
        if (separator < 0 || text.startsWith(QLatin1String("diversion ")))
            continue;
        QString path = text.mid(separator + 2).trimmed();
        if (!path.startsWith(QLatin1String("/usr/")))
            path = QLatin1String("/usr") + path;
        for (const QString& owner : text.left(separator).split(QLatin1Char(',')))
            result[path].insert(owner.trimmed().section(QLatin1Char(':'), 0, 0));
    }
    return result;
}

QSet<QString> ownersOf(const QMap<QString, QSet<QString>>& owners, const QString& path) {
    return owners.value(path.startsWith(QLatin1String("/usr/")) ? path
                                                                : QLatin1String("/usr") + path);
}

class DebianPackage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* tool : {"dpkg", "dpkg-deb", "objdump", "ldd"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                missingTool = QString::fromLatin1(tool);
                return;
            }
        scratch = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(scratch->isValid());
        const QString output = scratch->filePath(QStringLiteral("cpack"));
        const Finished cpack = run(QStringLiteral(TARVEL_CPACK_COMMAND),
                                   {QStringLiteral("--config"), QStringLiteral(TARVEL_CPACK_CONFIG),
                                    QStringLiteral("-B"), output});
        ASSERT_EQ(cpack.status, 0) << cpack.out.toStdString() << cpack.err.toStdString();
        const QStringList debs = QDir(output).entryList({QStringLiteral("*.deb")}, QDir::Files);
        ASSERT_EQ(debs.size(), 1) << cpack.out.toStdString();
        deb = QDir(output).filePath(debs.front());
        root = scratch->filePath(QStringLiteral("root"));
        const Finished unpack = run(QStringLiteral("dpkg"), {QStringLiteral("-x"), deb, root});
        ASSERT_EQ(unpack.status, 0) << unpack.err.toStdString();
        // The faces of the font packages it depends on, where installing them puts them, for
        // the links of its Fonts folder.
        QDirIterator links(programFolder() + QStringLiteral("/Fonts"), QDir::System | QDir::Files);
        while (links.hasNext()) {
            const QString face = linkedFace(links.next());
            if (!face.isEmpty() && QFileInfo::exists(face) && !QFileInfo::exists(installed(face))) {
                ASSERT_TRUE(QDir().mkpath(QFileInfo(installed(face)).path()));
                ASSERT_TRUE(QFile::link(face, installed(face)));
            }
        }
    }

    // The path, as installed, of the file a link of the package names; empty for a file.
    static QString linkedFace(const QString& path) {
        const std::filesystem::path link(path.toStdString());
        if (!std::filesystem::is_symlink(link))
            return QString();
        const std::filesystem::path target =
            (link.parent_path() / std::filesystem::read_symlink(link)).lexically_normal();
        return QString::fromStdString(target.string()).mid(root.size());
    }

    static void TearDownTestSuite() { scratch.reset(); }

    void SetUp() override {
        if (!missingTool.isEmpty())
            GTEST_SKIP() << missingTool.toStdString() << " is not installed";
        ASSERT_FALSE(deb.isEmpty()) << "the package was not built";
    }

    static QString installed(const QString& relative) { return root + QLatin1Char('/') + relative; }

    static QString programFolder() { return installed(QStringLiteral("usr/lib/tarvel")); }

    static QString field(const QString& name) {
        const Finished value = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, name});
        EXPECT_EQ(value.status, 0) << value.err.toStdString();
        return QString::fromUtf8(value.out).simplified();
    }

    // A private fontconfig with no font folders: the only faces the program can find are the
    // ones of its own Fonts folder.
    static QProcessEnvironment isolatedEnvironment(const QString& folder) {
        const QString config = QDir(folder).filePath(QStringLiteral("fonts.conf"));
        QFile file(config);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                   "<fontconfig><cachedir>" +
                   QDir(folder).filePath(QStringLiteral("fontcache")).toUtf8() +
                   "</cachedir></fontconfig>\n");
        file.close();
        const QString runtime = QDir(folder).filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), config);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("HOME"), folder);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    // Runs examples/poem-vertical.json with `program` in a folder of its own; returns the
    // picture file it saved.
    static QString composePoem(const QString& program, const QString& name) {
        const QString folder = scratch->filePath(name);
        EXPECT_TRUE(QDir().mkpath(folder));
        const QString script = QDir(folder).filePath(QStringLiteral("poem-vertical.json"));
        EXPECT_TRUE(
            QFile::copy(QStringLiteral(TARVEL_SOURCE_DIR "/examples/poem-vertical.json"), script));
        const Finished composed =
            run(program, {QStringLiteral("--script"), script}, isolatedEnvironment(folder), folder);
        EXPECT_EQ(composed.status, 0) << composed.err.toStdString();
        // The text step's "check" prints the size label of the text dialog.
        EXPECT_TRUE(QString::fromUtf8(composed.out).startsWith(QStringLiteral("文本尺寸为:")))
            << composed.out.toStdString();
        return QDir(folder).filePath(QStringLiteral("poem-vertical.jpg"));
    }

    static inline std::unique_ptr<QTemporaryDir> scratch;
    static inline QString missingTool;
    static inline QString deb;
    static inline QString root;
};

TEST_F(DebianPackage, HoldsTheProgramBesideItsFontsAndManual) {
    const QFileInfo link(installed(QStringLiteral("usr/bin/tarvel")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()), programFolder() + QStringLiteral("/tarvel"));
    // Relative, so it holds wherever the tree is unpacked.
    EXPECT_EQ(std::filesystem::read_symlink(link.filePath().toStdString()),
              std::filesystem::path("../lib/tarvel/tarvel"));
    const QFileInfo program(programFolder() + QStringLiteral("/tarvel"));
    EXPECT_TRUE(program.isFile() && program.isExecutable());

    const QDir fonts(programFolder() + QStringLiteral("/Fonts"));
    const QStringList faces = fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files);
    EXPECT_FALSE(faces.isEmpty());
    // Every face of the folder is named in the package's copyright with its licence; the
    // brush faces, which no Debian package gives, carry their licence text beside them.
    const QString copyright =
        QString::fromUtf8(readFile(installed(QStringLiteral("usr/share/doc/tarvel/copyright"))));
    EXPECT_TRUE(copyright.startsWith(QStringLiteral("Format: "))) << copyright.toStdString();
    // The program is under GPL-3.0-or-later, whose text is Debian's common copy, and every
    // licence that a paragraph names is spelt out in a paragraph of its own.
    EXPECT_TRUE(copyright.contains(QRegularExpression(
        QStringLiteral("\nFiles: \\*\nCopyright: [^\n]+\nLicense: GPL-3.0-or-later\n"))));
    EXPECT_TRUE(copyright.contains(QStringLiteral("/usr/share/common-licenses/GPL-3")));
    QSet<QString> namedLicences;
    QSet<QString> speltLicences;
    for (const QString& paragraph : copyright.split(QStringLiteral("\n\n"))) {
        if (paragraph.startsWith(QStringLiteral("License: ")) && paragraph.contains(u'\n'))
            speltLicences << paragraph.section(u'\n', 0, 0).mid(9);
        else if (paragraph.contains(QStringLiteral("\nLicense: ")))
            namedLicences
                << paragraph.section(QStringLiteral("\nLicense: "), 1, 1).section(u'\n', 0, 0);
    }
    EXPECT_TRUE(namedLicences.contains(QStringLiteral("Arphic-1999")));
    EXPECT_TRUE(speltLicences.contains(namedLicences))
        << QStringList((namedLicences - speltLicences).values()).join(u' ').toStdString();
    for (const QString& face : faces) {
        const QByteArray head = readFile(fonts.filePath(face)).left(4);
        EXPECT_TRUE(head == QByteArray("\x00\x01\x00\x00", 4) || head == "true")
            << face.toStdString();
        const qsizetype entry = copyright.indexOf(QStringLiteral("\nFiles: Fonts/") + face + '\n');
        ASSERT_GE(entry, 0) << face.toStdString() << " is not in the copyright";
        const QString licence = copyright.mid(entry)
                                    .section(QStringLiteral("\nLicense: "), 1, 1)
                                    .section(QLatin1Char('\n'), 0, 0);
        const QString licenceText =
            fonts.filePath(QFileInfo(face).completeBaseName() + QStringLiteral("-OFL.txt"));
        if (QFileInfo::exists(licenceText)) {
            EXPECT_EQ(licence, QStringLiteral("OFL-1.1")) << face.toStdString();
            EXPECT_TRUE(readFile(licenceText).contains("SIL OPEN FONT LICENSE Version 1.1"));
        }
    }
    // The brush faces the build made are all in the package.
    for (const QString& face : QDir(QStringLiteral(TARVEL_BUILT_FOLDER "/Fonts"))
                                   .entryList({QStringLiteral("*.ttf")}, QDir::Files))
        EXPECT_TRUE(faces.contains(face)) << face.toStdString();

    const QByteArray manual = readFile(programFolder() + QStringLiteral("/TarvelHelp.chm"));
    EXPECT_TRUE(manual.startsWith("ITSF"));
    // The very file whose digest the About box and the help window check.
    EXPECT_EQ(manual, readFile(QStringLiteral(TARVEL_BUILT_FOLDER "/TarvelHelp.chm")));

    // The description says what the program does in English and in Chinese.
    const QString description = field(QStringLiteral("Description"));
    EXPECT_TRUE(description.contains(QStringLiteral("Tarvel composes a picture of Chinese")));
    EXPECT_TRUE(description.contains(QStringLiteral("Tarvel 在选定大小和颜色的纸上合成书法作品")));

    const QString entry = QString::fromUtf8(
        readFile(installed(QStringLiteral("usr/share/applications/tarvel.desktop"))));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=tarvel %f\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=tarvel\n")));
    EXPECT_TRUE(
        entry.contains(QStringLiteral("\nMimeType=image/jpeg;image/bmp;application/x-tarvel;\n")));
    // The work files' type, so the desktop opens them in the program.
    EXPECT_TRUE(readFile(installed(QStringLiteral("usr/share/mime/packages/tarvel.xml")))
                    .contains("<glob pattern=\"*.tarvel\"/>"));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName[zh_CN]=")));

    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString icon =
            installed(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/tarvel.png").arg(size));
        EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
    }
    EXPECT_TRUE(
        readFile(installed(QStringLiteral("usr/share/icons/hicolor/scalable/apps/tarvel.svg")))
            .contains("<svg"));
}

TEST_F(DebianPackage, DependsOnThePackageOfEveryLibraryTheProgramLoads) {
    const QString depends = field(QStringLiteral("Depends"));
    const QSet<QString> packages = dependedPackages(depends);
    SCOPED_TRACE("Depends: " + depends.toStdString());

    // The libraries the installed binary names, as the dynamic loader resolves them.
    const QString program = programFolder() + QStringLiteral("/tarvel");
    const Finished headers = run(QStringLiteral("objdump"), {QStringLiteral("-p"), program});
    ASSERT_EQ(headers.status, 0) << headers.err.toStdString();
    QStringList needed;
    const QRegularExpression neededLine(QStringLiteral("^\\s*NEEDED\\s+(\\S+)$"),
                                        QRegularExpression::MultilineOption);
    for (auto match = neededLine.globalMatch(QString::fromUtf8(headers.out)); match.hasNext();)
        needed << match.next().captured(1);
    ASSERT_TRUE(needed.contains(QStringLiteral("libQt6Widgets.so.6"))) << headers.out.toStdString();
    ASSERT_TRUE(needed.contains(QStringLiteral("libjpeg.so.62")));
    ASSERT_TRUE(needed.contains(QStringLiteral("libpng16.so.16")));

    const Finished loader = run(QStringLiteral("ldd"), {program});
    ASSERT_EQ(loader.status, 0) << loader.err.toStdString();
    QMap<QString, QString> resolved;
    const QRegularExpression lddLine(QStringLiteral("^\\s*(\\S+) => (/\\S+) \\("),
                                     QRegularExpression::MultilineOption);
    for (auto match = lddLine.globalMatch(QString::fromUtf8(loader.out)); match.hasNext();) {
        const auto found = match.next();
        resolved.insert(found.captured(1), found.captured(2));
    }
    // The dynamic loader itself is named by its absolute path.
    const QRegularExpression interpreter(QStringLiteral("^\\s*(/\\S*ld-linux\\S*) \\("),
                                         QRegularExpression::MultilineOption);
    const auto loaderMatch = interpreter.match(QString::fromUtf8(loader.out));
    if (loaderMatch.hasMatch())
        for (const QString& name : needed)
            if (name.startsWith(QLatin1String("ld-linux")))
                resolved.insert(name, loaderMatch.captured(1));

    // The manual's library is loaded at the first help request, not at start.
    void* chm = dlopen(HelpLibrary::defaultName().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(chm, nullptr) << dlerror();
    link_map* chmMap = nullptr;
    ASSERT_EQ(dlinfo(chm, RTLD_DI_LINKMAP, &chmMap), 0);
    needed << HelpLibrary::defaultName();
    resolved.insert(HelpLibrary::defaultName(), QString::fromLocal8Bit(chmMap->l_name));
    dlclose(chm);

    QStringList paths;
    for (const QString& name : needed) {
        ASSERT_TRUE(resolved.contains(name)) << name.toStdString() << " is not found:\n"
                                             << loader.out.toStdString();
        paths << resolved.value(name);
    }
    const QMap<QString, QSet<QString>> owners = owningPackages(paths);
    for (const QString& name : needed) {
        const QSet<QString> from = ownersOf(owners, resolved.value(name));
        EXPECT_FALSE(from.isEmpty())
            << resolved.value(name).toStdString() << " belongs to no Debian package";
        EXPECT_TRUE(from.intersects(packages))
            << name.toStdString() << " comes from "
            << QStringList(from.values()).join(u' ').toStdString()
            << ", which Depends does not name";
    }

    // The print faces of the Fonts folder are relative links to the files of font packages,
    // which give the same faces to the rest of the desktop, not copies of them; the brush
    // faces, with their licence beside them, are the package's own.
    const QDir fonts(programFolder() + QStringLiteral("/Fonts"));
    QStringList facePaths;
    for (const QString& face : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files)) {
        const QString path = linkedFace(fonts.filePath(face));
        if (fonts.exists(QFileInfo(face).completeBaseName() + QStringLiteral("-OFL.txt"))) {
            EXPECT_TRUE(path.isEmpty()) << face.toStdString();
            continue;
        }
        ASSERT_FALSE(path.isEmpty()) << face.toStdString() << " is a copy, not a link";
        EXPECT_TRUE(
            std::filesystem::read_symlink(fonts.filePath(face).toStdString()).is_relative());
        EXPECT_TRUE(path.startsWith(QLatin1String("/usr/share/fonts/"))) << path.toStdString();
        facePaths << path;
    }
    const QMap<QString, QSet<QString>> faceOwners = owningPackages(facePaths);
    for (const QString& path : facePaths)
        EXPECT_TRUE(ownersOf(faceOwners, path).intersects(packages)) << path.toStdString();
}

// Lines of a checker's report that start with one of the prefixes (after the indent).
QStringList reportLines(const QByteArray& report, const QStringList& prefixes) {
    QStringList found;
    for (const QByteArray& line : report.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        for (const QString& prefix : prefixes)
            if (text.startsWith(prefix))
                found << text;
    }
    return found;
}

// Debian's checker reports nothing at error or warning level (E: and W:); the notes it makes at
// information level (I:, X:, shown with -I) are no fault.
TEST_F(DebianPackage, LintianFindsNoErrorOrWarning) {
    if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
        GTEST_SKIP() << "lintian (Debian package lintian) is not installed";
    const Finished lintian =
        run(QStringLiteral("lintian"),
            {QStringLiteral("--tag-display-limit"), QStringLiteral("0"),
             QStringLiteral("--fail-on"), QStringLiteral("error,warning"), deb});
    const QStringList findings =
        reportLines(lintian.out, {QStringLiteral("E: "), QStringLiteral("W: ")});
    EXPECT_TRUE(findings.isEmpty()) << findings.join(u'\n').toStdString();
    EXPECT_EQ(lintian.status, 0) << lintian.out.toStdString() << lintian.err.toStdString();
}

// The AppStream metadata and the desktop entry it names are valid together, and what software
// centres show is there in English and Chinese, with the pictures of docs/images and the
// picture types of the desktop entry.
TEST_F(DebianPackage, AppStreamMetadataIsValid) {
    const QString metainfo = QString::fromUtf8(
        readFile(installed(QStringLiteral("usr/share/metainfo/org.example.tarvel.metainfo.xml"))));
    ASSERT_FALSE(metainfo.isEmpty());
    EXPECT_TRUE(
        metainfo.contains(QStringLiteral("<project_license>GPL-3.0-or-later</project_license>")));
    for (const QString& element : {QStringLiteral("summary"), QStringLiteral("p")}) {
        EXPECT_TRUE(metainfo.contains(QLatin1Char('<') + element + QLatin1Char('>')));
        EXPECT_TRUE(
            metainfo.contains(QLatin1Char('<') + element + QStringLiteral(" xml:lang=\"zh_CN\">")));
    }
    const QRegularExpression image(
        QStringLiteral("<image>https://[^<]*/docs/images/([^<]+)</image>"));
    int screenshots = 0;
    for (auto match = image.globalMatch(metainfo); match.hasNext(); ++screenshots) {
        const QString name = match.next().captured(1);
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(TARVEL_SOURCE_DIR "/docs/images/") + name))
            << name.toStdString();
    }
    EXPECT_GT(screenshots, 0);
    const QString entry = QString::fromUtf8(
        readFile(installed(QStringLiteral("usr/share/applications/tarvel.desktop"))));
    QStringList mediaTypes;
    const QRegularExpression mediaType(QStringLiteral("<mediatype>([^<]+)</mediatype>"));
    for (auto match = mediaType.globalMatch(metainfo); match.hasNext();)
        mediaTypes << match.next().captured(1);
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=") + mediaTypes.join(u';') +
                               QStringLiteral(";\n")))
        << mediaTypes.join(u' ').toStdString();

    if (QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty())
        GTEST_SKIP() << "appstreamcli (Debian package appstream) is not installed";
    const Finished validated =
        run(QStringLiteral("appstreamcli"),
            {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), root});
    const QStringList findings =
        reportLines(validated.out, {QStringLiteral("E: "), QStringLiteral("W: ")});
    EXPECT_TRUE(findings.isEmpty()) << findings.join(u'\n').toStdString();
    EXPECT_EQ(validated.status, 0) << validated.out.toStdString() << validated.err.toStdString();
}

// The areas checked below are where examples/poem-vertical.json puts its poem, inscription and
// seal on its 720 x 760 paper.
TEST_F(DebianPackage, ComposesAScriptFromTheScratchRoot) {
    const QString picture =
        composePoem(installed(QStringLiteral("usr/bin/tarvel")), QStringLiteral("installed"));
    const QByteArray bytes = readFile(picture);
    ASSERT_TRUE(bytes.startsWith("\xFF\xD8\xFF")) << "not a JPEG file: " << picture.toStdString();
    EXPECT_TRUE(bytes.endsWith("\xFF\xD9"));
    const QImage image(picture, "JPEG");
    ASSERT_EQ(image.size(), QSize(720, 760));

    auto near = [](QRgb pixel, QRgb expected) {
        return std::abs(qRed(pixel) - qRed(expected)) <= 8 &&
               std::abs(qGreen(pixel) - qGreen(expected)) <= 8 &&
               std::abs(qBlue(pixel) - qBlue(expected)) <= 8;
    };
    auto count = [&image](const QRect& area, auto&& test) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += test(image.pixel(x, y)) ? 1 : 0;
        return n;
    };
    // The paper colour fills the margins.
    EXPECT_TRUE(near(image.pixel(5, 5), qRgb(0xF3, 0xE9, 0xD2)));
    EXPECT_TRUE(near(image.pixel(700, 740), qRgb(0xF3, 0xE9, 0xD2)));
    // Dark ink in the four columns of the poem, right of the inscription and above the seal.
    const auto dark = [](QRgb p) { return qGray(p) < 96; };
    EXPECT_GT(count(QRect(90, 70, 420, 340), dark), 2000);
    EXPECT_EQ(count(QRect(120, 450, 560, 280), dark), 0);
    // The inscription, stamped at (48, 370), runs down the left edge.
    EXPECT_GT(count(QRect(40, 365, 40, 290), [](QRgb p) { return qGray(p) < 160; }), 100);
    // The intaglio seal, stamped at (36, 672): a red square with white strokes.
    const QRect seal(36, 672, 56, 56);
    const auto red = [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 110 && qBlue(p) < 110; };
    EXPECT_GT(count(seal, red), seal.width() * seal.height() / 2);
    EXPECT_GT(count(seal, [](QRgb p) { return qGray(p) > 200; }), 100);
    EXPECT_EQ(count(QRect(100, 672, 56, 56), red), 0);

    // Byte for byte the picture of the program in the build tree: the installed program found
    // the faces of its own Fonts folder (without them, boxes stand in for every character).
    const QString reference =
        composePoem(QStringLiteral(TARVEL_BUILT_PROGRAM), QStringLiteral("built"));
    EXPECT_TRUE(bytes == readFile(reference)) << "the installed program composed another picture";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Builds a small compiled help file with chmcmd for the help tests: one page with a picture,
// a style sheet and a link to a second page.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>

namespace ChmFixture {

inline const QByteArray indexPage =
    "<html><head><meta charset=\"utf-8\"><title>小页面</title>"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\"></head><body>"
    "<p class=\"lead\">小页面的正文 small page</p>"
    "<p><img src=\"images/dot.png\"></p>"
    "<p><a href=\"second.htm\">第二页</a> <a href=\"https://tarvel.example.org/x\">web</a> "
    "<a href=\"file:///etc/passwd\">file</a></p></body></html>\n";
inline const QByteArray secondPage =
    "<html><head><meta charset=\"utf-8\"></head><body><p>第二页 second page</p>"
    "<p><a href=\"index.htm\">返回</a></p></body></html>\n";
inline const QByteArray styleSheet = "p.lead { color: #ff0000; }\n";

inline QByteArray dotPicture() {
    QImage image(2, 3, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Compiles the pages into <folder>/<name>; returns the file's path, or an empty string.
inline QString build(const QString& folder, const QString& name = QStringLiteral("Test.chm")) {
    QDir dir(folder);
    dir.mkpath(QStringLiteral("HelpContent/images"));
    const QByteArray project =
        "[OPTIONS]\nCompatibility=1.1 or later\nCompiled file=" + name.toUtf8() +
        "\nDefault topic=HelpContent\\index.htm\nLanguage=0x804\n"
        "Title=Test\n\n[FILES]\nHelpContent\\index.htm\n";
    if (!writeFile(dir.filePath(QStringLiteral("Test.hhp")), project) ||
        !writeFile(dir.filePath(QStringLiteral("HelpContent/index.htm")), indexPage) ||
        !writeFile(dir.filePath(QStringLiteral("HelpContent/second.htm")), secondPage) ||
        !writeFile(dir.filePath(QStringLiteral("HelpContent/style.css")), styleSheet) ||
        !writeFile(dir.filePath(QStringLiteral("HelpContent/images/dot.png")), dotPicture()))
        return QString();
    QProcess chmcmd;
    chmcmd.setWorkingDirectory(folder);
    chmcmd.start(QStringLiteral("chmcmd"), {QStringLiteral("Test.hhp")});
    if (!chmcmd.waitForFinished(60000) || chmcmd.exitCode() != 0)
        return QString();
    const QString path = dir.filePath(name);
    return QFile::exists(path) ? path : QString();
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace ChmFixture

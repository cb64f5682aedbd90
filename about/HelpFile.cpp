// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The compiled manual: checking the file, opening a private copy and reading its objects.
#include "HelpFile.h"

#include "FileAccess.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

HelpFileDigest digestOf(const QByteArray& bytes) {
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

HelpTopicPath splitTopicPath(const QString& path) {
    const qsizetype at = path.indexOf(QStringLiteral("::"));
    if (at < 0)
        return {path, QString()};
    return {path.left(at), path.mid(at + 2)};
}

QString normalisedObjectPath(const QString& path) {
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList kept;
    for (const QString& segment : slashed.split(QLatin1Char('/'))) {
        if (segment.isEmpty() || segment == QLatin1String("."))
            continue;
        if (segment == QLatin1String(".."))
            return QString();
        // "::DataSpace" and the like are the file's own structures, not pages.
        if (segment.startsWith(QLatin1Char(':')))
            return QString();
        for (const QChar c : segment)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                return QString();
        kept << segment;
    }
    if (kept.isEmpty())
        return QString();
    // "#SYSTEM", "$FIftiMain" and their kin at the root are the index tables.
    if (kept.size() == 1 &&
        (kept[0].startsWith(QLatin1Char('#')) || kept[0].startsWith(QLatin1Char('$'))))
        return QString();
    const QString result = QLatin1Char('/') + kept.join(QLatin1Char('/'));
    if (result.toUtf8().size() > CHM_MAX_PATHLEN)
        return QString();
    return result;
}

namespace {

QString missingText(const QString& path) {
    return QCoreApplication::translate("Help", "找不到帮助文件：%1").arg(path);
}
QString damagedText(const QString& path) {
    return QCoreApplication::translate("Help", "帮助文件已损坏或被替换，不能打开：%1").arg(path);
}

// An anonymous, sealed in-memory file holding the checked bytes; -1 on failure.
int sealedCopy(const QByteArray& bytes) {
    const int fd = memfd_create("TarvelHelp.chm", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            close(fd);
            return -1;
        }
        written += n;
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_GROW | F_SEAL_SHRINK | F_SEAL_SEAL);
    return fd;
}

} // namespace

HelpFile::Opened HelpFile::open(const HelpEntryPoints& library, const QString& path,
                                const HelpFileDigest& expected) {
    // Read without blocking and only from a regular file: a named pipe in the manual's place
    // would otherwise freeze the window.
    const files::ReadResult file = files::readRegularFile(path, MaxFileBytes);
    if (file.problem == files::ReadProblem::Missing ||
        file.problem == files::ReadProblem::Unreadable)
        return {nullptr, missingText(path)};
    if (file.problem != files::ReadProblem::None || file.data.size() != expected.size)
        return {nullptr, damagedText(path)};
    const QByteArray& bytes = file.data;
    if (digestOf(bytes) != expected)
        return {nullptr, damagedText(path)};

    const int copy = sealedCopy(bytes);
    if (copy < 0)
        return {nullptr, damagedText(path)};
    const QByteArray copyPath = "/proc/self/fd/" + QByteArray::number(copy);
    chmFile* handle = library.open(copyPath.constData());
    if (!handle) {
        close(copy);
        return {nullptr, damagedText(path)};
    }
    return {std::unique_ptr<HelpFile>(new HelpFile(library, handle, copy, path)), QString()};
}

HelpFile::HelpFile(const HelpEntryPoints& library, chmFile* file, int copy, QString path)
    : functions(library), handle(file), privateCopy(copy), filePath(std::move(path)) {}

HelpFile::~HelpFile() {
    functions.close(handle);
    close(privateCopy);
}

std::optional<QByteArray> HelpFile::object(const QString& objectPath) const {
    const QString inside = normalisedObjectPath(objectPath);
    if (inside.isEmpty())
        return std::nullopt;
    chmUnitInfo unit{};
    if (functions.resolveObject(handle, inside.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (unit.length > LONGUINT64(MaxObjectBytes))
        return std::nullopt;
    QByteArray bytes(qsizetype(unit.length), Qt::Uninitialized);
    if (unit.length == 0)
        return bytes;
    const LONGINT64 read = functions.retrieveObject(
        handle, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, LONGINT64(unit.length));
    if (read != LONGINT64(unit.length))
        return std::nullopt;
    return bytes;
}

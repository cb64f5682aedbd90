// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The private fonts: mapping, checking and registering the font files of the Fonts folder.
#include "PrivateFonts.h"

#include "FileAccess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QThread>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace PrivateFonts {

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

} // namespace

FontPattern splitPattern(const QString& pattern) {
    qsizetype last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (isSeparator(pattern[i]))
            last = i;
    return {pattern.left(last + 1), pattern.mid(last + 1)};
}

QString fontPattern(const QString& appDir) {
    // The program's folder already ends with a separator, so the joined path holds two in a
    // row; the file layer treats them as one.
    return appDir + QDir::separator() + QStringLiteral("Fonts") + QDir::separator() +
           QStringLiteral("*.ttf");
}

bool hasFontMagic(const QByteArray& bytes) {
    if (bytes.size() < 4)
        return false;
    const QByteArray head = bytes.left(4);
    return head == QByteArray("\x00\x01\x00\x00", 4) || head == "true" || head == "OTTO" ||
           head == "ttcf";
}

QStringList matchingFontFiles(const QString& folder, const QString& mask) {
    // The mask matches as the desktop's file layer does: without regard to case.
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(mask),
                                   QRegularExpression::CaseInsensitiveOption);
    QStringList files;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (entry.isDir())
            continue;
        if (!match.match(entry.fileName()).hasMatch())
            continue;
        files << entry.filePath();
    }
    return files;
}

namespace {

// A font file mapped into memory, read-only and private, for the rest of the process: the font
// engine keeps pointers into it for as long as it keeps a face, which may outlive the face's
// registration. A file is mapped once however often it is registered, so repeated
// registrations of the same folder take no more address space.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

std::mutex mappingsLock;
std::map<FileIdentity, QByteArray>& mappings() {
    static std::map<FileIdentity, QByteArray> mapped;
    return mapped;
}

} // namespace

namespace {

// A collection names its faces in a table the font engine walks for every face it opens, so
// its cost grows with the square of the count. Only the first faces are taken: the header of the
// copy in memory is changed to say so; the file is left alone.
void takeFirstFacesOnly(char* bytes, qint64 size) {
    if (size < 12 || std::memcmp(bytes, "ttcf", 4) != 0)
        return;
    if (qFromBigEndian<quint32>(bytes + 8) > quint32(MaxFacesPerFile))
        qToBigEndian<quint32>(quint32(MaxFacesPerFile), bytes + 8);
}

} // namespace

std::optional<QByteArray> readFontFile(const QString& path) {
    // Opened as every other file the program reads: without blocking, so a named pipe cannot
    // hold up start-up, and only when it is a regular file within the cap.
    files::ReadResult problem;
    struct stat status {};
    const int fd = files::openRegularFile(path, MaxFontFileBytes, problem, status);
    if (fd < 0)
        return std::nullopt;
    if (status.st_size < 4) {
        ::close(fd);
        return std::nullopt;
    }
    const FileIdentity identity{status.st_dev, status.st_ino, status.st_size,
                                qint64(status.st_mtim.tv_sec) * 1000000000 +
                                    status.st_mtim.tv_nsec};
    std::lock_guard<std::mutex> guard(mappingsLock);
    auto known = mappings().find(identity);
    if (known == mappings().end()) {
        // Read whole into memory, not mapped: a font file copied over or cut short while the
        // program runs cannot reach the faces the program holds.
        QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
        qint64 done = 0;
        while (done < status.st_size) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(status.st_size - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
        if (done != status.st_size || !hasFontMagic(bytes)) {
            ::close(fd);
            return std::nullopt;
        }
        takeFirstFacesOnly(bytes.data(), status.st_size);
        const QByteArray mapped = bytes;
        known = mappings().emplace(identity, mapped).first;
    }
    ::close(fd);
    return known->second;
}

namespace {

// The usable font files of a pattern, read and checked, in the file system's order.
using FontFiles = std::vector<QByteArray>;

FontFiles readFontFiles(const QString& pattern) {
    const FontPattern parts = splitPattern(pattern);
    FontFiles files;
    for (const QString& path : matchingFontFiles(parts.folder, parts.mask))
        if (std::optional<QByteArray> bytes = readFontFile(path))
            files.push_back(std::move(*bytes));
    return files;
}

struct Prefetch {
    std::mutex lock;
    QString pattern;
    std::future<FontFiles> files;
};

Prefetch& prefetch() {
    static Prefetch instance;
    return instance;
}

// The prefetched files when a prefetch of this pattern is pending, waiting for it to finish.
std::optional<FontFiles> takePrefetched(const QString& pattern) {
    Prefetch& pending = prefetch();
    std::lock_guard<std::mutex> guard(pending.lock);
    if (!pending.files.valid() || pending.pattern != pattern)
        return std::nullopt;
    pending.pattern.clear();
    return pending.files.get();
}

} // namespace

void prefetchFonts(const QString& pattern) {
    // The first thread that touches Qt's objects becomes its main thread: make sure that is
    // the caller, not the reader, when this runs before the application object exists.
    (void)QThread::currentThread();
    Prefetch& pending = prefetch();
    std::lock_guard<std::mutex> guard(pending.lock);
    if (pending.files.valid())
        pending.files.wait();
    pending.pattern = pattern;
    pending.files = std::async(std::launch::async, readFontFiles, pattern);
}

Registration addFonts(const QString& pattern) {
    Registration result;
    std::optional<FontFiles> files = takePrefetched(pattern);
    const QFileInfo folder(splitPattern(pattern).folder);
    if (!folder.exists() || !folder.isDir())
        return result;
    result.folderFound = true;
    if (!files)
        files = readFontFiles(pattern);
    for (const QByteArray& bytes : *files) {
        const int id = QFontDatabase::addApplicationFontFromData(bytes);
        if (id >= 0)
            result.ids << id;
    }
    return result;
}

void removeFonts(const QList<int>& ids) {
    for (const int id : ids)
        QFontDatabase::removeApplicationFont(id);
}

} // namespace PrivateFonts

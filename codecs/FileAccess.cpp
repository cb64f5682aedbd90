// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "FileAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace files {
namespace {

// Closes the descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

int openRegularFile(const QString& path, qint64 maxBytes, ReadResult& result, struct stat& status) {
    Descriptor file;
    file.fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0) {
        result.error = errno;
        result.problem = result.error == ENOENT ? ReadProblem::Missing : ReadProblem::Unreadable;
        return -1;
    }
    if (::fstat(file.fd, &status) != 0) {
        result.error = errno;
        result.problem = ReadProblem::Unreadable;
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        result.problem = ReadProblem::NotRegular;
        return -1;
    }
    result.fileSize = status.st_size;
    if (status.st_size > maxBytes) {
        result.problem = ReadProblem::TooLarge;
        return -1;
    }
    return std::exchange(file.fd, -1);
}

ReadResult readRegularFile(const QString& path, qint64 maxBytes) {
    ReadResult result;
    struct stat status {};
    Descriptor file;
    file.fd = openRegularFile(path, maxBytes, result, status);
    if (file.fd < 0)
        return result;
    // The file may grow while it is read; never more than maxBytes + 1 bytes are taken.
    const qint64 limit = maxBytes + 1;
    result.data.resize(std::min<qint64>(status.st_size, maxBytes) + 1);
    qint64 have = 0;
    for (;;) {
        if (have == result.data.size()) {
            if (have >= limit)
                break;
            result.data.resize(std::min<qint64>(limit, have + (qint64(1) << 20)));
        }
        const ssize_t n =
            ::read(file.fd, result.data.data() + have, size_t(result.data.size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = errno;
            result.problem = ReadProblem::Unreadable;
            result.data.clear();
            return result;
        }
        if (n == 0)
            break;
        have += n;
    }
    result.data.truncate(have);
    if (have > maxBytes) {
        result.problem = ReadProblem::TooLarge;
        result.fileSize = have;
        result.data.clear();
    }
    return result;
}

QString errorText(int error) {
    switch (error) {
    case ENOENT:
        return QCoreApplication::translate("Pictures", "文件或文件夹不存在");
    case ENOTDIR:
        return QCoreApplication::translate("Pictures", "文件夹不存在");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("Pictures", "没有访问权限");
    case EROFS:
        return QCoreApplication::translate("Pictures", "磁盘只能读取，不能写入");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QCoreApplication::translate("Pictures", "磁盘空间不足或超出文件大小限制");
    case EISDIR:
        return QCoreApplication::translate("Pictures", "这是一个文件夹");
    case ENAMETOOLONG:
        return QCoreApplication::translate("Pictures", "文件名太长");
    case EMFILE:
        return QCoreApplication::translate("Pictures", "打开的文件太多");
    case ELOOP:
        return QCoreApplication::translate("Pictures", "符号链接太多，或者链接绕成了圈");
    default:
        return QCoreApplication::translate("Pictures", "读写出错");
    }
}

QString problemText(const ReadResult& result, qint64 maxBytes) {
    switch (result.problem) {
    case ReadProblem::None:
        return result.data.isEmpty() ? QCoreApplication::translate("Pictures", "文件是空的")
                                     : QString();
    case ReadProblem::Missing:
        return QCoreApplication::translate("Pictures", "文件不存在");
    case ReadProblem::NotRegular:
        return QCoreApplication::translate("Pictures", "这不是一个普通文件");
    case ReadProblem::TooLarge:
        return QCoreApplication::translate("Pictures", "文件太大（最多接受 %1）")
            .arg(maxBytes >= (qint64(1) << 20) ? QStringLiteral("%1 MB").arg(maxBytes >> 20)
                                               : QStringLiteral("%1 KB").arg(maxBytes >> 10));
    case ReadProblem::Unreadable:
        return errorText(result.error);
    }
    return QString();
}

QString saveProblem(const QString& path, int error) {
    const QFileInfo file(path);
    if (file.isDir())
        return errorText(EISDIR);
    if (!file.absoluteDir().exists())
        return QCoreApplication::translate("Pictures", "文件夹不存在");
    return errorText(error);
}

void keepPermissions(const QString& path, int descriptor) {
    struct stat status {};
    if (descriptor >= 0 && ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
        S_ISREG(status.st_mode))
        ::fchmod(descriptor, status.st_mode & 07777);
}

QString quoted(const QString& path) {
    return QStringLiteral("“%1”").arg(QDir::toNativeSeparators(path));
}

QString withDefaultExtension(const QString& path, const QString& extension) {
    if (extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    if (path.endsWith(QLatin1Char('.')))
        return path + extension;
    return path + QLatin1Char('.') + extension;
}

} // namespace files

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "PictureSave.h"

#include "FileAccess.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <functional>

QString fileExtension(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

SaveFormat saveFormatFor(const QString& path) {
    const QString extension = fileExtension(path);
    if (extension.compare(QLatin1String(".bmp"), Qt::CaseInsensitive) == 0)
        return SaveFormat::Bmp;
    if (extension.compare(QLatin1String(".png"), Qt::CaseInsensitive) == 0)
        return SaveFormat::Png;
    return SaveFormat::Jpeg;
}

namespace {

[[noreturn]] void failSave(const QString& path, const QString& problem,
                           const QString& lead = QString()) {
    throw TarvelError(
        QCoreApplication::translate("Canvas", "%1%2：%3。")
            .arg(lead.isEmpty() ? QCoreApplication::translate("Canvas", "无法保存图片") : lead,
                 files::quoted(path), problem));
}

QString fileProblem(const QString& path, int error) {
    return files::saveProblem(path, error);
}

// Passes the encoder's writes on to the file and keeps the system's reason for the first one
// that fails: the file device itself forgets it at its next write.
class WriteRecorder final : public QIODevice {
public:
    explicit WriteRecorder(QIODevice& target) : target(target) { open(QIODevice::WriteOnly); }
    int failure = 0; // errno of the first failed write

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        errno = 0;
        const qint64 written = target.write(data, length);
        if (written != length && failure == 0)
            failure = errno != 0 ? errno : EIO;
        return written;
    }

private:
    QIODevice& target;
};

} // namespace

void writeThroughTemporaryFile(const QString& path, const std::function<void(QIODevice&)>& write,
                               const QString& lead) {
    QSaveFile file(path);
    errno = 0;
    // Unbuffered, so that a write that fails reports its reason at once.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failSave(path, fileProblem(path, errno), lead);
    files::keepPermissions(path, file.handle());
    WriteRecorder recorder(file);
    try {
        write(recorder);
    } catch (const TarvelError& error) {
        // A failed write on the file says more than the encoder's own words.
        const QString problem =
            recorder.failure != 0 ? fileProblem(path, recorder.failure) : error.text();
        file.cancelWriting();
        failSave(path, problem, lead);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    errno = 0;
    if (!file.commit())
        failSave(path, fileProblem(path, errno), lead);
}

void savePicture(const DrawingSurface& picture, const QString& path, int dotsPerInch) {
    if (picture.isEmpty())
        failSave(path, QCoreApplication::translate("Canvas", "画布上还没有图片"));
    switch (saveFormatFor(path)) {
    case SaveFormat::Bmp:
        writeThroughTemporaryFile(path, [&](QIODevice& device) {
            codecs::writeBmp(picture.image(), device, dotsPerInch);
        });
        return;
    case SaveFormat::Png:
        writeThroughTemporaryFile(
            path, [&](QIODevice& device) { codecs::writePng(picture.image(), device); });
        return;
    case SaveFormat::Jpeg:
        break;
    }
    // The canvas rows go to the encoder as they are: it reads the 24 colour bits of each
    // pixel, which is the 24-bit copy without a second full-size buffer.
    writeThroughTemporaryFile(path, [&](QIODevice& device) {
        codecs::writeJpeg(picture.image(), device, 90, dotsPerInch);
    });
}

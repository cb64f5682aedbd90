#include "PictureSave.h"

#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <functional>

QString fileExtension(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

SaveFormat saveFormatFor(const QString& path) {
    return fileExtension(path) == QLatin1String(".bmp") ? SaveFormat::Bmp : SaveFormat::Jpeg;
}

namespace {

void writeThroughTemporaryFile(const QString& path, const std::function<void(QIODevice&)>& write) {
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TarvelError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(shown, file.errorString()));
    try {
        write(file);
    } catch (const TarvelError& error) {
        file.cancelWriting();
        throw TarvelError(QStringLiteral("Cannot write file \"%1\". %2").arg(shown, error.text()));
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw TarvelError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(shown, file.errorString()));
}

} // namespace

void savePicture(const DrawingSurface& picture, const QString& path) {
    if (saveFormatFor(path) == SaveFormat::Bmp) {
        if (picture.isEmpty())
            return;
        writeThroughTemporaryFile(
            path, [&](QIODevice& device) { codecs::writeBmp(picture.image(), device); });
        return;
    }
    if (picture.isEmpty())
        throw TarvelError(QStringLiteral("Cannot save \"%1\": the canvas has no picture.")
                              .arg(QDir::toNativeSeparators(path)));
    // The canvas rows go to the encoder as they are: it reads the 24 colour bits of each
    // pixel, which is the 24-bit copy without a second full-size buffer.
    writeThroughTemporaryFile(
        path, [&](QIODevice& device) { codecs::writeJpeg(picture.image(), device, 90); });
}

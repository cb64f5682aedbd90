// Chooses the decoder by the file's extension, reads the file and names it in every error.
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace codecs {

bool sizeWithinLimits(qint64 width, qint64 height, const DecodeLimits& limits) {
    if (width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide)
        return false;
    return width * height * 4 <= limits.maxDecodedBytes;
}

QString tooLargeMessage(qint64 width, qint64 height, const DecodeLimits& limits) {
    if (width < 1 || height < 1)
        return QStringLiteral("The picture declares an empty size (%1 × %2 pixels).")
            .arg(width)
            .arg(height);
    return QStringLiteral("The picture is too large to be a background: %1 × %2 pixels (at most "
                          "%3 pixels on a side and %4 MB of decoded pixels are accepted).")
        .arg(width)
        .arg(height)
        .arg(limits.maxSide)
        .arg(limits.maxDecodedBytes >> 20);
}

PictureFormat formatForFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return PictureFormat::Jpeg;
    if (suffix == QLatin1String("bmp"))
        return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

QImage loadPicture(const QString& path, const DecodeLimits& limits) {
    const QString shown = QDir::toNativeSeparators(path);
    const PictureFormat format = formatForFileName(path);
    if (format == PictureFormat::Unknown)
        throw TarvelError(QStringLiteral("Cannot use \"%1\" as a background: only PNG (.png), JPEG "
                                         "(.jpg, .jpeg) and BMP (.bmp) pictures can be read.")
                              .arg(shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TarvelError(
            QStringLiteral("Cannot open the picture \"%1\": %2").arg(shown, file.errorString()));
    if (file.size() > limits.maxFileBytes)
        throw TarvelError(QStringLiteral("The picture \"%1\" is too large to be a background "
                                         "(%2 MB; at most %3 MB are accepted).")
                              .arg(shown)
                              .arg(file.size() >> 20)
                              .arg(limits.maxFileBytes >> 20));
    const QByteArray data = file.readAll();
    if (data.size() != file.size())
        throw TarvelError(
            QStringLiteral("Cannot read the picture \"%1\": %2").arg(shown, file.errorString()));
    if (data.isEmpty())
        throw TarvelError(
            QStringLiteral("Cannot load the picture \"%1\": the file is empty.").arg(shown));
    try {
        switch (format) {
        case PictureFormat::Png:
            return decodePng(data, limits);
        case PictureFormat::Jpeg:
            return decodeJpeg(data, limits);
        default:
            return decodeBmp(data, limits);
        }
    } catch (const TarvelError& error) {
        throw TarvelError(
            QStringLiteral("Cannot load the picture \"%1\": %2").arg(shown, error.text()));
    }
}

} // namespace codecs

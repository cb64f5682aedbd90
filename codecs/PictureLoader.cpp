// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Chooses the decoder by the file's extension, reads the file and names it in every error.
#include "FileAccess.h"
#include "Messages.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace codecs {

bool sizeWithinLimits(qint64 width, qint64 height, const DecodeLimits& limits) {
    if (width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide)
        return false;
    return width * height * 4 <= limits.maxDecodedBytes;
}

QString tooLargeMessage(qint64 width, qint64 height, const DecodeLimits& limits) {
    if (width < 1 || height < 1)
        return QCoreApplication::translate("Pictures", "图片声明的尺寸为空（%1 × %2 像素）")
            .arg(width)
            .arg(height);
    return QCoreApplication::translate(
               "Pictures", "图片太大，不能作为背景：%1 × %2 像素（每边最多 %3 像素，像素数据最多 "
                           "%4 MB）")
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
    const auto fail = [&path](const QString& problem) {
        throw TarvelError(Messages::cannotReadPicture(files::quoted(path), problem));
    };
    const PictureFormat format = formatForFileName(path);
    if (format == PictureFormat::Unknown)
        fail(Messages::unknownPictureFormat());
    const qint64 maxBytes = format == PictureFormat::Bmp
                                ? limits.maxFileBytes
                                : std::min(limits.maxFileBytes, limits.maxCompressedFileBytes);
    const files::ReadResult file = files::readRegularFile(path, maxBytes);
    if (file.problem != files::ReadProblem::None || file.data.isEmpty())
        fail(files::problemText(file, maxBytes));
    try {
        switch (format) {
        case PictureFormat::Png:
            return decodePng(file.data, limits);
        case PictureFormat::Jpeg:
            return decodeJpeg(file.data, limits);
        default:
            return decodeBmp(file.data, limits);
        }
    } catch (const TarvelError& error) {
        fail(error.text());
    }
    return QImage();
}

} // namespace codecs

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "PictureCodecs.h"

#include "TarvelError.h"

#include <QCoreApplication>

namespace codecs {

const QImage& pixelsToWrite(const QImage& image, QImage& converted) {
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        throw TarvelError(QCoreApplication::translate("Pictures", "画布上还没有图片"));
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_BGR888)
        return image;
    converted = image.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull())
        throw TarvelError(QCoreApplication::translate("Pictures", "内存不足，无法保存这张图片"));
    return converted;
}

} // namespace codecs

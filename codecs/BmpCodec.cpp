// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// BMP reading through Qt's reader, guarded by our own look at the header, and BMP writing of
// uncompressed 24-bit files.
#include "Messages.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QIODevice>
#include <QImageReader>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <vector>

namespace codecs {
namespace {

constexpr quint32 bmpUncompressed = 0;
constexpr quint32 bmpRle8 = 1;
constexpr quint32 bmpRle4 = 2;
constexpr quint32 bmpBitFields = 3;
constexpr int bmpFileHeaderSize = 14;
constexpr int bmpInfoHeaderSize = 40;

struct BmpHeader {
    qint64 width = 0;
    qint64 height = 0; // always positive; the sign of the stored height only gives the order
    int bitsPerPixel = 0;
    quint32 compression = 0;
    quint32 pixelOffset = 0;
};

BmpHeader readBmpHeader(QByteArrayView data) {
    const auto* p = reinterpret_cast<const uchar*>(data.data());
    if (data.size() < bmpFileHeaderSize + 12 || p[0] != 'B' || p[1] != 'M')
        throw TarvelError(QCoreApplication::translate("Pictures", "文件不是 BMP 图片"));
    BmpHeader header;
    header.pixelOffset = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    if (infoSize == 12) { // the old OS/2 header
        header.width = qFromLittleEndian<quint16>(p + 18);
        header.height = qFromLittleEndian<quint16>(p + 20);
        header.bitsPerPixel = qFromLittleEndian<quint16>(p + 24);
        return header;
    }
    if (infoSize < bmpInfoHeaderSize || data.size() < bmpFileHeaderSize + bmpInfoHeaderSize)
        throw TarvelError(QCoreApplication::translate("Pictures", "BMP 数据已损坏或不完整"));
    header.width = qint32(qFromLittleEndian<quint32>(p + 18));
    header.height = qint32(qFromLittleEndian<quint32>(p + 22));
    if (header.height < 0)
        header.height = -header.height;
    header.bitsPerPixel = qFromLittleEndian<quint16>(p + 28);
    header.compression = qFromLittleEndian<quint32>(p + 30);
    return header;
}

// Qt's reader fills the missing part of a short uncompressed file with black; a background
// with a black band is worse than a clear message.
void checkPixelDataPresent(const BmpHeader& header, qint64 fileSize) {
    if (header.compression != bmpUncompressed && header.compression != bmpBitFields)
        return;
    const qint64 stride = (header.width * header.bitsPerPixel + 31) / 32 * 4;
    if (qint64(header.pixelOffset) + stride * header.height > fileSize)
        throw TarvelError(QCoreApplication::translate("Pictures", "BMP 数据已损坏或不完整"));
}

// Qt's reader leaves the rows a run-length coded file never reaches at palette colour 0, so a
// cut-off file, or one that ends the picture in its first row, would load as a band or a
// blank page. The codes are walked without drawing: the picture is complete when line ends and
// deltas reach its last row before the end code, or pass it when the data simply stops.
// A run describes at most 255 pixels in two bytes; a file declaring far more pixels than its
// codes can describe reaches its last row by deltas over pixels it never gives, and would cost
// the memory of the whole picture for one flat colour.
void checkRunLengthCodesReachLastRow(const BmpHeader& header, QByteArrayView data) {
    if (header.compression != bmpRle8 && header.compression != bmpRle4)
        return;
    constexpr qint64 maxPixelsPerByte = 128;
    const auto* p = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    if (header.width * header.height > maxPixelsPerByte * (size - qint64(header.pixelOffset)))
        throw TarvelError(QCoreApplication::translate("Pictures", "BMP 数据已损坏或不完整"));
    qint64 at = header.pixelOffset;
    qint64 row = 0;
    bool ended = false;
    while (!ended && at + 2 <= size) {
        const uchar count = p[at];
        const uchar code = p[at + 1];
        at += 2;
        if (count > 0)
            continue; // a run of pixels in this row
        if (code == 0) {
            ++row; // end of line
        } else if (code == 1) {
            ended = true; // end of bitmap
        } else if (code == 2) {
            if (at + 2 > size)
                break;
            row += p[at + 1]; // a delta moves right and down
            at += 2;
        } else {
            const qint64 bytes = header.compression == bmpRle8 ? code : (code + 1) / 2;
            at += (bytes + 1) / 2 * 2; // literal pixels, padded to a whole word
        }
    }
    // With the end code the last row may stop short; without it every row must have ended.
    const bool complete = ended ? row >= header.height - 1 : row >= header.height;
    if (!complete || at > size)
        throw TarvelError(QCoreApplication::translate("Pictures", "BMP 数据已损坏或不完整"));
}

// Qt's pictures with an alpha channel, laid over white like transparent PNG pixels.
QImage opaqueOverWhite(const QImage& image) {
    QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (premultiplied.isNull())
        return premultiplied;
    for (int y = 0; y < premultiplied.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(premultiplied.scanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            const QRgb p = row[x];
            const int white = 255 - qAlpha(p);
            row[x] = qRgb(qRed(p) + white, qGreen(p) + white, qBlue(p) + white);
        }
    }
    return premultiplied.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage decodeBmp(QByteArrayView data, const DecodeLimits& limits) {
    const BmpHeader header = readBmpHeader(data);
    if (!sizeWithinLimits(header.width, header.height, limits))
        throw TarvelError(tooLargeMessage(header.width, header.height, limits));
    checkPixelDataPresent(header, data.size());
    checkRunLengthCodesReachLastRow(header, data);

    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(int((limits.maxDecodedBytes + (1 << 20) - 1) >> 20));
    QImage decoded = reader.read();
    if (decoded.isNull())
        throw TarvelError(QCoreApplication::translate("Pictures", "BMP 数据已损坏或不完整"));
    // Moved, not copied: the pixels are made opaque in place without a second full picture.
    QImage image = decoded.hasAlphaChannel()
                       ? opaqueOverWhite(decoded)
                       : std::move(decoded).convertToFormat(QImage::Format_RGB32);
    decoded = QImage();
    if (image.isNull())
        throw TarvelError(Messages::pictureTooLarge());
    // Some damaged headers make Qt's reader hand back 32-bit pixels with the fourth byte
    // left as it was in the file; every pixel of the program's pictures is opaque.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    return image;
}

void writeBmp(const QImage& image, QIODevice& device, int dotsPerInch) {
    QImage converted;
    const QImage* source = &pixelsToWrite(image, converted);
    const int width = source->width();
    const int height = source->height();
    const qint64 stride = (qint64(width) * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = stride * height;
    const qint64 fileSize = bmpFileHeaderSize + bmpInfoHeaderSize + pixelBytes;
    if (fileSize > 0xFFFFFFFFLL)
        throw TarvelError(QCoreApplication::translate("Pictures", "图片太大，不能存为 BMP 文件"));

    uchar headers[bmpFileHeaderSize + bmpInfoHeaderSize] = {};
    headers[0] = 'B';
    headers[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), headers + 2);
    qToLittleEndian<quint32>(bmpFileHeaderSize + bmpInfoHeaderSize, headers + 10);
    uchar* info = headers + bmpFileHeaderSize;
    qToLittleEndian<quint32>(bmpInfoHeaderSize, info);
    qToLittleEndian<quint32>(quint32(width), info + 4);
    qToLittleEndian<quint32>(quint32(height), info + 8); // positive: bottom-up
    qToLittleEndian<quint16>(1, info + 12);              // planes
    qToLittleEndian<quint16>(24, info + 14);
    qToLittleEndian<quint32>(bmpUncompressed, info + 16);
    qToLittleEndian<quint32>(quint32(pixelBytes), info + 20);
    // 3780 pixels per metre are 96 per inch.
    const quint32 perMetre =
        dotsPerInch > 0 ? quint32(std::lround(dotsPerInch / 0.0254)) : quint32(3780);
    qToLittleEndian<quint32>(perMetre, info + 24);
    qToLittleEndian<quint32>(perMetre, info + 28);
    const auto fail = [] {
        throw TarvelError(QCoreApplication::translate("Pictures", "无法写入 BMP 文件"));
    };
    if (device.write(reinterpret_cast<const char*>(headers), sizeof headers) != sizeof headers)
        fail();

    const bool fourBytes = source->format() == QImage::Format_RGB32;
    std::vector<uchar> row(size_t(stride), 0);
    for (int y = height - 1; y >= 0; --y) {
        const uchar* in = source->constScanLine(y);
        if (fourBytes) {
            for (int x = 0; x < width; ++x) {
                row[size_t(3 * x)] = in[4 * x];
                row[size_t(3 * x + 1)] = in[4 * x + 1];
                row[size_t(3 * x + 2)] = in[4 * x + 2];
            }
        } else {
            std::memcpy(row.data(), in, size_t(width) * 3);
        }
        if (device.write(reinterpret_cast<const char*>(row.data()), stride) != stride)
            fail();
    }
}

} // namespace codecs

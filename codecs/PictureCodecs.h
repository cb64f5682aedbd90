// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Reading and writing of pictures: PNG through libpng, JPEG through libjpeg-turbo, BMP through
// Qt's reader and our own writer. Decoded pictures are opaque 32-bit QImages (Format_RGB32);
// every failure is a TarvelError carrying the text the user sees.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

class QIODevice;

namespace codecs {

// What a background picture may claim to be. The declared size is checked right after the
// header is read, before any pixel buffer exists, so a small hostile file cannot make the
// program allocate gigabytes. The file, the decoder's working memory and the pixels are all
// held at once, so their caps add up: at most 64 + 192 + 256 MB for a JPEG, 256 + 256 MB for
// a BMP, which holds its pixels uncompressed and so may be as large as they are.
struct DecodeLimits {
    int maxSide = 16384;
    qint64 maxDecodedBytes = qint64(256) << 20; // at 4 bytes per pixel
    long maxLibraryMemory = long(192) << 20;    // libjpeg's own working memory
    int maxProgressiveScans = 100;
    qint64 maxFileBytes = qint64(256) << 20;
    qint64 maxCompressedFileBytes = qint64(64) << 20; // PNG and JPEG, also at most maxFileBytes
};

// The declared size fits the limits: both sides at least 1, at most maxSide, and
// width × height × 4 (computed in 64 bits) at most maxDecodedBytes.
bool sizeWithinLimits(qint64 width, qint64 height, const DecodeLimits& limits);
// The text of the error raised for a picture that is too large.
QString tooLargeMessage(qint64 width, qint64 height, const DecodeLimits& limits);

// Transparent pixels are composed over white, so the result is always opaque.
QImage decodePng(QByteArrayView data, const DecodeLimits& limits = {});
// Baseline, progressive, greyscale, RGB, CMYK and YCCK (Adobe's inverted CMYK included).
QImage decodeJpeg(QByteArrayView data, const DecodeLimits& limits = {});
// 1, 4, 8, 16, 24 and 32 bits, bottom-up and top-down, RLE4 and RLE8.
QImage decodeBmp(QByteArrayView data, const DecodeLimits& limits = {});

enum class PictureFormat { Png, Jpeg, Bmp, Unknown };
// Chosen by the file's extension alone (".png", ".jpg", ".jpeg", ".bmp", any case).
PictureFormat formatForFileName(const QString& path);

// Reads a background picture file; errors name the file.
QImage loadPicture(const QString& path, const DecodeLimits& limits = {});

// Baseline JFIF, YCbCr with 2 × 2 luminance against 1 × 1 chroma sampling, standard Huffman
// tables, no restart markers. The rows go to the library straight from the picture
// (Format_RGB32 as BGRX, Format_BGR888 as BGR; other formats are converted first).
// dotsPerInch above 0 goes into the JFIF density in dots per inch; otherwise the density says
// only that the pixels are square.
void writeJpeg(const QImage& image, QIODevice& device, int quality = 90, int dotsPerInch = 0);
// Uncompressed 24 bits per pixel, bottom-up, BITMAPINFOHEADER. The pixels per metre are those
// of dotsPerInch when it is above 0, else of the screen's 96.
void writeBmp(const QImage& image, QIODevice& device, int dotsPerInch = 0);
// 8-bit RGB without alpha, not interlaced, libpng's standard compression and filters; the rows
// go to the library straight from the picture like writeJpeg's.
void writePng(const QImage& image, QIODevice& device);

// The pixels a writer hands its library: Format_RGB32 and Format_BGR888 as they are, any other
// format converted to Format_RGB32 into `converted`. An empty picture or a conversion that
// finds no memory is an error.
const QImage& pixelsToWrite(const QImage& image, QImage& converted);

} // namespace codecs

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// PNG decoding through libpng: every colour type and bit depth, interlaced or not, becomes an
// opaque 32-bit picture; transparent pixels are composed over white.
#include "Messages.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <png.h>

#include <cstdio>
#include <cstring>

namespace codecs {
namespace {

constexpr png_alloc_size_t pngChunkMemoryLimit = png_alloc_size_t(16) << 20;
constexpr png_uint_32 pngChunkCountLimit = 1000;

// Everything the functions that hold a setjmp frame touch. It is plain data on purpose: a
// longjmp out of libpng skips destructors, so nothing here may have one.
struct PngJob {
    const unsigned char* data;
    size_t size;
    size_t position;
    png_structp png;
    png_infop info;
    char message[256];
    bool limitHit;
    png_uint_32 width;
    png_uint_32 height;
    int bitDepth;
    int colorType;
    bool hasAlpha;
    int passes;
};

// libpng names a size beyond png_set_user_limits in a warning and then fails with "Invalid
// IHDR data"; the warning tells the two apart.
void notePngLimit(PngJob* job, png_const_charp text) {
    if (text && std::strstr(text, "exceeds user limit"))
        job->limitHit = true;
}

void onPngError(png_structp png, png_const_charp text) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", text ? text : "unknown error");
    notePngLimit(job, text);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp png, png_const_charp text) {
    notePngLimit(static_cast<PngJob*>(png_get_error_ptr(png)), text);
}

void readPngBytes(png_structp png, png_bytep out, size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->size - job->position)
        png_error(png, "the file ends too early");
    std::memcpy(out, job->data + job->position, length);
    job->position += length;
}

// Reads the chunks up to the first image data and the declared size and type.
bool readPngHeader(PngJob* job) {
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_read_info(job->png, job->info);
    int interlace = 0;
    png_get_IHDR(job->png, job->info, &job->width, &job->height, &job->bitDepth, &job->colorType,
                 &interlace, nullptr, nullptr);
    return true;
}

// Asks libpng for 8-bit B, G, R, A rows whatever the file holds.
bool preparePngRows(PngJob* job) {
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_structp png = job->png;
    const bool hasTransparency = png_get_valid(png, job->info, PNG_INFO_tRNS) != 0;
    job->hasAlpha = (job->colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTransparency;
    if (job->colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (job->colorType == PNG_COLOR_TYPE_GRAY && job->bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparency)
        png_set_tRNS_to_alpha(png);
    if (job->bitDepth == 16)
        png_set_scale_16(png);
    if ((job->colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!job->hasAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    job->passes = png_set_interlace_handling(png);
    png_read_update_info(png, job->info);
    if (png_get_rowbytes(png, job->info) != size_t(job->width) * 4)
        png_error(png, "unexpected row layout");
    return true;
}

bool readPngRows(PngJob* job, unsigned char* bits, size_t stride) {
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    for (int pass = 0; pass < job->passes; ++pass)
        for (png_uint_32 y = 0; y < job->height; ++y)
            png_read_row(job->png, bits + y * stride, nullptr);
    return true;
}

// Owns libpng's structures; destroys them on every way out of decodePng.
struct PngReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngReadStructs() = default;
    PngReadStructs(const PngReadStructs&) = delete;
    PngReadStructs& operator=(const PngReadStructs&) = delete;
    ~PngReadStructs() {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// libpng sizes an ancillary chunk's buffer from its declared length before reading it; a
// 125-byte file that declares a 1 GB text chunk would have it allocate and clear 1 GB. The
// data is all in memory, so every chunk is first checked to lie inside it.
void checkChunksInsideData(const unsigned char* data, size_t size) {
    size_t position = 8;
    while (position + 8 <= size) {
        const png_uint_32 length = png_get_uint_32(data + position);
        if (length > PNG_UINT_31_MAX || size_t(length) + 12 > size - position)
            throw TarvelError(QCoreApplication::translate("Pictures", "PNG 数据已损坏或不完整"));
        if (std::memcmp(data + position + 4, "IEND", 4) == 0)
            return;
        position += size_t(length) + 12;
    }
}

[[noreturn]] void failPng(const PngJob& job, const DecodeLimits& limits) {
    // libpng's own side limit fired before the header reached us: the size is in IHDR,
    // which always directly follows the signature.
    if (job.limitHit && job.size >= 24)
        throw TarvelError(tooLargeMessage(png_get_uint_32(job.data + 16),
                                          png_get_uint_32(job.data + 20), limits));
    throw TarvelError(QCoreApplication::translate("Pictures", "PNG 数据已损坏或不完整"));
}

// Each channel becomes (c × a + 255 × (255 − a) + 127) div 255: the pixel laid over white.
void composeOverWhite(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            const unsigned a = qAlpha(p);
            if (a == 255)
                continue;
            const unsigned white = 255 * (255 - a) + 127;
            row[x] = qRgb(int((qRed(p) * a + white) / 255), int((qGreen(p) * a + white) / 255),
                          int((qBlue(p) * a + white) / 255));
        }
    }
}

} // namespace

QImage decodePng(QByteArrayView data, const DecodeLimits& limits) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    if (data.size() < 8 || png_sig_cmp(bytes, 0, 8) != 0)
        throw TarvelError(QCoreApplication::translate("Pictures", "文件不是 PNG 图片"));
    checkChunksInsideData(bytes, size_t(data.size()));
    PngJob job{};
    job.data = bytes;
    job.size = size_t(data.size());
    PngReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onPngError, onPngWarning);
    if (!structs.png)
        throw TarvelError(QCoreApplication::translate("Pictures", "PNG 库无法启动"));
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info)
        throw TarvelError(QCoreApplication::translate("Pictures", "PNG 库无法启动"));
    job.png = structs.png;
    job.info = structs.info;
    png_set_read_fn(job.png, &job, readPngBytes);
    png_set_user_limits(job.png, png_uint_32(limits.maxSide), png_uint_32(limits.maxSide));
    png_set_chunk_cache_max(job.png, pngChunkCountLimit);
    png_set_chunk_malloc_max(job.png, pngChunkMemoryLimit);

    if (!readPngHeader(&job))
        failPng(job, limits);
    if (!sizeWithinLimits(job.width, job.height, limits))
        throw TarvelError(tooLargeMessage(job.width, job.height, limits));
    if (!preparePngRows(&job))
        failPng(job, limits);

    QImage image(int(job.width), int(job.height), QImage::Format_RGB32);
    if (image.isNull())
        throw TarvelError(Messages::pictureTooLarge());
    // Interlaced passes fill rows in place, so the rows must hold defined values before the
    // first pass writes into them.
    if (job.passes > 1)
        image.fill(0);
    if (!readPngRows(&job, image.bits(), size_t(image.bytesPerLine())))
        failPng(job, limits);
    if (job.hasAlpha)
        composeOverWhite(image);
    return image;
}

} // namespace codecs

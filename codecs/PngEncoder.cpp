// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// PNG encoding through libpng: the saved picture as 8-bit RGB, lossless, with libpng's standard
// compression. libpng reports errors by longjmp, so the setjmp frame lives in a small function
// over plain data, and the C++ around it owns the library's structures.
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QIODevice>

#include <png.h>

#include <cstring>
#include <memory>

namespace codecs {
namespace {

constexpr size_t pngOutputBufferSize = 64 * 1024;

// Everything the function that holds the setjmp frame touches: plain data, since a longjmp
// out of libpng skips destructors.
struct PngEncodeJob {
    png_structp png;
    png_infop info;
    QIODevice* device;
    const unsigned char* bits;
    size_t stride;
    png_uint_32 width;
    png_uint_32 height;
    bool fourBytes; // B, G, R and a filler byte per pixel; otherwise B, G, R
    size_t buffered;
    unsigned char buffer[pngOutputBufferSize];
};

void onPngEncodeError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onPngEncodeWarning(png_structp, png_const_charp) {}

// The device is C++; nothing may escape into the library.
bool writeToDevice(QIODevice* device, const unsigned char* data, size_t length) noexcept {
    try {
        return device->write(reinterpret_cast<const char*>(data), qint64(length)) == qint64(length);
    } catch (...) {
        return false;
    }
}

// libpng hands over each chunk in several small pieces (length, type, data, checksum); they
// reach the file in blocks, so that an unbuffered file sees few large writes.
void flushPngBytes(png_structp png) {
    auto* job = static_cast<PngEncodeJob*>(png_get_io_ptr(png));
    if (job->buffered > 0 && !writeToDevice(job->device, job->buffer, job->buffered))
        png_error(png, "the file could not be written");
    job->buffered = 0;
}

void writePngBytes(png_structp png, png_bytep data, size_t length) {
    auto* job = static_cast<PngEncodeJob*>(png_get_io_ptr(png));
    if (job->buffered + length > pngOutputBufferSize)
        flushPngBytes(png);
    if (length >= pngOutputBufferSize) {
        if (!writeToDevice(job->device, data, length))
            png_error(png, "the file could not be written");
        return;
    }
    std::memcpy(job->buffer + job->buffered, data, length);
    job->buffered += length;
}

bool runPngEncode(PngEncodeJob* job) {
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_structp png = job->png;
    png_set_write_fn(png, job, writePngBytes, flushPngBytes);
    png_set_IHDR(png, job->info, job->width, job->height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, job->info);
    // The rows go to the library as the picture holds them: blue first, and in 32-bit rows a
    // fourth byte that the library leaves out.
    png_set_bgr(png);
    if (job->fourBytes)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (png_uint_32 y = 0; y < job->height; ++y)
        png_write_row(png, job->bits + size_t(y) * job->stride);
    png_write_end(png, nullptr);
    flushPngBytes(png);
    return true;
}

// Owns libpng's structures; destroys them on every way out of writePng.
struct PngWriteStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngWriteStructs() = default;
    PngWriteStructs(const PngWriteStructs&) = delete;
    PngWriteStructs& operator=(const PngWriteStructs&) = delete;
    ~PngWriteStructs() {
        if (png)
            png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

} // namespace

void writePng(const QImage& image, QIODevice& device) {
    QImage converted;
    const QImage* source = &pixelsToWrite(image, converted);
    const auto job = std::make_unique<PngEncodeJob>();
    std::memset(job.get(), 0, sizeof(PngEncodeJob));
    PngWriteStructs structs;
    structs.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job.get(), onPngEncodeError,
                                          onPngEncodeWarning);
    if (!structs.png)
        throw TarvelError(QCoreApplication::translate("Pictures", "PNG 库无法启动"));
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info)
        throw TarvelError(QCoreApplication::translate("Pictures", "PNG 库无法启动"));
    job->png = structs.png;
    job->info = structs.info;
    job->device = &device;
    job->bits = source->constBits();
    job->stride = size_t(source->bytesPerLine());
    job->width = png_uint_32(source->width());
    job->height = png_uint_32(source->height());
    job->fourBytes = source->format() == QImage::Format_RGB32;
    if (!runPngEncode(job.get()))
        throw TarvelError(QCoreApplication::translate("Pictures", "无法写入 PNG 文件"));
}

} // namespace codecs

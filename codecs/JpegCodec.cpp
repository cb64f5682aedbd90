// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// JPEG decoding and encoding through libjpeg-turbo. Decoding takes every colour space a
// camera, scanner or the web produces; encoding writes the baseline JFIF files of the save
// command. libjpeg reports errors by longjmp, so each setjmp frame lives in a small function
// over plain data, and the C++ around it owns the library's structures.
#include "Messages.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
// jpeglib.h needs size_t and FILE declared first, and jerror.h the library's configuration
// (the arithmetic-coding messages exist only where it is built in).
#include <jpeglib.h>

#include <jerror.h>

namespace codecs {
namespace {

struct JpegErrorManager {
    jpeg_error_mgr base; // first, so the library's pointer to it is a pointer to the whole
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 64];
    int maxScans;
    bool outOfMemory;  // the picture needs more than the library may use
    bool tooManyScans; // a progressive file past the scan limit
};

[[noreturn]] void failJpegWith(j_common_ptr cinfo, const char* text) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::snprintf(manager->message, sizeof manager->message, "%s", text);
    std::longjmp(manager->jump, 1);
}

[[noreturn]] void onJpegError(j_common_ptr cinfo) {
    const int code = cinfo->err->msg_code;
    if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY)
        reinterpret_cast<JpegErrorManager*>(cinfo->err)->outOfMemory = true;
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    failJpegWith(cinfo, text);
}

// Warnings that mean the pixels are not what the file meant: a truncated or damaged picture
// is refused with a message instead of being shown with grey or smeared blocks. An
// arithmetic-coded scan may meet its marker early (zeros stand for the rest), so damage there
// shows as a scan that ends before its data does.
bool damagesPicture(j_common_ptr cinfo) {
    const int code = cinfo->err->msg_code;
    if (code == JWRN_EXTRANEOUS_DATA)
        return cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->arith_code;
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_NOT_SEQUENTIAL:
        return true;
    default:
        return false;
    }
}

void onJpegMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return; // trace messages
    if (damagesPicture(cinfo))
        onJpegError(cinfo);
    cinfo->err->num_warnings++;
}

// A progressive file may hold any number of scans, each a full pass over the coefficients;
// a crafted one with thousands of tiny scans keeps the decoder busy for minutes.
void onJpegProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    const auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    const auto* manager = reinterpret_cast<const JpegErrorManager*>(cinfo->err);
    if (dinfo->input_scan_number > manager->maxScans) {
        reinterpret_cast<JpegErrorManager*>(cinfo->err)->tooManyScans = true;
        failJpegWith(cinfo, "the progressive picture has too many scans");
    }
}

void useErrorManager(JpegErrorManager& manager, int maxScans) {
    jpeg_std_error(&manager.base);
    manager.base.error_exit = onJpegError;
    manager.base.emit_message = onJpegMessage;
    manager.maxScans = maxScans;
}

// ---- Decoding

struct JpegDecodeJob {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    jpeg_progress_mgr progress;
    const unsigned char* data;
    unsigned long size;
    long maxLibraryMemory;
    bool fourChannelInk; // CMYK or YCCK, decoded as CMYK and turned into RGB by us
    bool invertedInk;    // Adobe's convention: 0 means full ink
};

bool readJpegHeader(JpegDecodeJob* job) {
    if (setjmp(job->errors.jump))
        return false;
    jpeg_create_decompress(&job->cinfo);
    job->cinfo.mem->max_memory_to_use = job->maxLibraryMemory;
    job->cinfo.progress = &job->progress;
    jpeg_mem_src(&job->cinfo, job->data, job->size);
    jpeg_read_header(&job->cinfo, TRUE);
    return true;
}

bool startJpegOutput(JpegDecodeJob* job) {
    if (setjmp(job->errors.jump))
        return false;
    jpeg_decompress_struct& cinfo = job->cinfo;
    job->fourChannelInk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    job->invertedInk = cinfo.saw_Adobe_marker != 0;
    cinfo.out_color_space = job->fourChannelInk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 4)
        failJpegWith(j_common_ptr(&cinfo), "unexpected pixel layout");
    return true;
}

// One ink value and black to a screen value: plain CMYK stores ink, Adobe's files store its
// complement.
inline unsigned char inkToLight(unsigned ink, unsigned black, bool inverted) {
    if (!inverted) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<unsigned char>((ink * black + 127) / 255);
}

void cmykRowToBgra(unsigned char* row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        unsigned char* p = row + 4 * x;
        const unsigned c = p[0], m = p[1], y = p[2], k = p[3];
        p[0] = inkToLight(y, k, inverted);
        p[1] = inkToLight(m, k, inverted);
        p[2] = inkToLight(c, k, inverted);
        p[3] = 0xFF;
    }
}

bool readJpegRows(JpegDecodeJob* job, unsigned char* bits, size_t stride) {
    if (setjmp(job->errors.jump))
        return false;
    jpeg_decompress_struct& cinfo = job->cinfo;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = bits + size_t(cinfo.output_scanline) * stride;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            failJpegWith(j_common_ptr(&cinfo), "the decoder stopped early");
        if (job->fourChannelInk)
            cmykRowToBgra(row, cinfo.output_width, job->invertedInk);
    }
    // The data after an arithmetic-coded scan is read to its end, where damage shows.
    if (cinfo.arith_code)
        jpeg_finish_decompress(&cinfo);
    return true;
}

// Owns the decompressor; destroying a zeroed, never-created structure is harmless.
struct JpegDecoder {
    JpegDecodeJob job{};
    JpegDecoder() = default;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    ~JpegDecoder() { jpeg_destroy_decompress(&job.cinfo); }
};

[[noreturn]] void failJpegDecode(const JpegDecodeJob& job) {
    if (job.errors.outOfMemory)
        throw TarvelError(
            QCoreApplication::translate("Pictures", "JPEG 图片需要的工作内存超过背景允许的 %1 MB")
                .arg(job.maxLibraryMemory >> 20));
    throw TarvelError(
        job.errors.tooManyScans
            ? QCoreApplication::translate("Pictures", "JPEG 数据已损坏或不完整（渐进扫描次数太多）")
            : QCoreApplication::translate("Pictures", "JPEG 数据已损坏或不完整"));
}

// ---- Encoding

constexpr size_t jpegOutputBufferSize = 64 * 1024;

struct JpegEncodeJob {
    jpeg_compress_struct cinfo;
    JpegErrorManager errors;
    jpeg_destination_mgr destination;
    QIODevice* device;
    const unsigned char* bits;
    size_t stride;
    JDIMENSION width;
    JDIMENSION height;
    J_COLOR_SPACE inputSpace;
    int inputComponents;
    int quality;
    int dotsPerInch = 0;
    unsigned char buffer[jpegOutputBufferSize];
};

// The device is C++; nothing may escape into the library.
bool writeToDevice(QIODevice* device, const unsigned char* data, size_t length) noexcept {
    try {
        return device->write(reinterpret_cast<const char*>(data), qint64(length)) == qint64(length);
    } catch (...) {
        return false;
    }
}

JpegEncodeJob* encodeJobOf(j_compress_ptr cinfo) {
    return static_cast<JpegEncodeJob*>(cinfo->client_data);
}

void startDestination(j_compress_ptr cinfo) {
    JpegEncodeJob* job = encodeJobOf(cinfo);
    job->destination.next_output_byte = job->buffer;
    job->destination.free_in_buffer = jpegOutputBufferSize;
}

boolean flushDestination(j_compress_ptr cinfo) {
    JpegEncodeJob* job = encodeJobOf(cinfo);
    if (!writeToDevice(job->device, job->buffer, jpegOutputBufferSize))
        failJpegWith(j_common_ptr(cinfo), "the file could not be written");
    startDestination(cinfo);
    return TRUE;
}

void finishDestination(j_compress_ptr cinfo) {
    JpegEncodeJob* job = encodeJobOf(cinfo);
    const size_t used = jpegOutputBufferSize - job->destination.free_in_buffer;
    if (used > 0 && !writeToDevice(job->device, job->buffer, used))
        failJpegWith(j_common_ptr(cinfo), "the file could not be written");
}

bool runJpegEncode(JpegEncodeJob* job) {
    if (setjmp(job->errors.jump))
        return false;
    jpeg_compress_struct& cinfo = job->cinfo;
    jpeg_create_compress(&cinfo);
    job->destination.init_destination = startDestination;
    job->destination.empty_output_buffer = flushDestination;
    job->destination.term_destination = finishDestination;
    cinfo.dest = &job->destination;
    cinfo.image_width = job->width;
    cinfo.image_height = job->height;
    cinfo.input_components = job->inputComponents;
    cinfo.in_color_space = job->inputSpace;
    // The library's defaults are the file we want: YCbCr, luminance sampled 2 × 2 against
    // 1 × 1 chroma, JFIF header, standard Huffman tables, sequential, no restart markers.
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job->quality, TRUE);
    if (job->dotsPerInch > 0) {
        // The JFIF density: unit 1 is dots per inch, at most what its 16 bits hold.
        cinfo.density_unit = 1;
        cinfo.X_density = UINT16(std::min(job->dotsPerInch, 65535));
        cinfo.Y_density = cinfo.X_density;
    }
    cinfo.optimize_coding = FALSE;
    cinfo.restart_interval = 0;
    cinfo.restart_in_rows = 0;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<unsigned char*>(job->bits + size_t(cinfo.next_scanline) * job->stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

struct JpegEncoder {
    std::unique_ptr<JpegEncodeJob> job = std::make_unique<JpegEncodeJob>();
    JpegEncoder() { std::memset(job.get(), 0, sizeof(JpegEncodeJob)); }
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;
    ~JpegEncoder() { jpeg_destroy_compress(&job->cinfo); }
};

} // namespace

QImage decodeJpeg(QByteArrayView data, const DecodeLimits& limits) {
    if (data.size() < 2 || uchar(data[0]) != 0xFF || uchar(data[1]) != 0xD8)
        throw TarvelError(QCoreApplication::translate("Pictures", "文件不是 JPEG 图片"));
    JpegDecoder decoder;
    JpegDecodeJob& job = decoder.job;
    useErrorManager(job.errors, limits.maxProgressiveScans);
    job.cinfo.err = &job.errors.base;
    job.progress.progress_monitor = onJpegProgress;
    job.data = reinterpret_cast<const unsigned char*>(data.data());
    job.size = static_cast<unsigned long>(data.size());
    job.maxLibraryMemory = limits.maxLibraryMemory;

    if (!readJpegHeader(&job))
        failJpegDecode(job);
    if (!sizeWithinLimits(job.cinfo.image_width, job.cinfo.image_height, limits))
        throw TarvelError(tooLargeMessage(job.cinfo.image_width, job.cinfo.image_height, limits));
    if (!startJpegOutput(&job))
        failJpegDecode(job);
    // The rows are sized from what the library will deliver, not from the header.
    if (!sizeWithinLimits(job.cinfo.output_width, job.cinfo.output_height, limits))
        throw TarvelError(tooLargeMessage(job.cinfo.output_width, job.cinfo.output_height, limits));

    QImage image(int(job.cinfo.output_width), int(job.cinfo.output_height), QImage::Format_RGB32);
    if (image.isNull())
        throw TarvelError(Messages::pictureTooLarge());
    if (!readJpegRows(&job, image.bits(), size_t(image.bytesPerLine())))
        failJpegDecode(job);
    return image;
}

void writeJpeg(const QImage& image, QIODevice& device, int quality, int dotsPerInch) {
    QImage converted;
    const QImage* source = &pixelsToWrite(image, converted);
    JpegEncoder encoder;
    JpegEncodeJob& job = *encoder.job;
    useErrorManager(job.errors, 0);
    job.cinfo.err = &job.errors.base;
    job.cinfo.client_data = &job; // kept by jpeg_create_compress
    job.device = &device;
    job.bits = source->constBits();
    job.stride = size_t(source->bytesPerLine());
    job.width = JDIMENSION(source->width());
    job.height = JDIMENSION(source->height());
    const bool fourBytes = source->format() == QImage::Format_RGB32;
    job.inputSpace = fourBytes ? JCS_EXT_BGRX : JCS_EXT_BGR;
    job.inputComponents = fourBytes ? 4 : 3;
    job.quality = quality;
    job.dotsPerInch = dotsPerInch;
    if (!runJpegEncode(&job))
        throw TarvelError(QCoreApplication::translate("Pictures", "无法写入 JPEG 文件"));
}

} // namespace codecs

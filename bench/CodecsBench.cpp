// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The picture paths against the bare libraries on 4000 x 4000 pictures: the whole JPEG and PNG
// saves against bare libjpeg-turbo and libpng encodes, PNG and JPEG loading against bare
// decode loops, and tiling against a memcpy of the canvas.
#include "BackgroundPainters.h"
#include "PictureCodecs.h"
#include "PictureSave.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <png.h>
#include <random>
#include <vector>

namespace {

constexpr int side = 4000;

QString benchFolder() {
    const QString folder = QDir::tempPath() + QStringLiteral("/tarvel-codecs-bench");
    QDir().mkpath(folder);
    return folder;
}

// A canvas with smooth areas and noise, like a scanned calligraphy sheet.
const QImage& canvasPixels() {
    static const QImage image = [] {
        QImage picture(side, side, QImage::Format_RGB32);
        std::mt19937 random(1);
        for (int y = 0; y < side; ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < side; ++x) {
                const int noise = int(random() & 31);
                row[x] = qRgb((x / 16 + noise) & 255, (y / 16 + noise) & 255, ((x + y) / 32) & 255);
            }
        }
        return picture;
    }();
    return image;
}

const QString& pngFile() {
    static const QString path = [] {
        const QString file = benchFolder() + QStringLiteral("/picture.png");
        if (!QFile::exists(file))
            canvasPixels().save(file, "PNG", 50);
        return file;
    }();
    return path;
}

const QString& jpegFile() {
    static const QString path = [] {
        const QString file = benchFolder() + QStringLiteral("/picture.jpg");
        if (!QFile::exists(file))
            savePicture(DrawingSurface(canvasPixels()), file);
        return file;
    }();
    return path;
}

void bareJpegEncode(const QImage& image, const char* path) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    FILE* file = std::fopen(path, "wb");
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uchar*>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

void BM_JpegEncodeBare(benchmark::State& state) {
    const QImage& image = canvasPixels();
    const QByteArray path = (benchFolder() + "/bare.jpg").toLocal8Bit();
    for (auto _ : state)
        bareJpegEncode(image, path.constData());
}

void BM_JpegSavePath(benchmark::State& state) {
    const DrawingSurface canvas(canvasPixels());
    const QString path = benchFolder() + "/saved.jpg";
    for (auto _ : state)
        savePicture(canvas, path);
}

void BM_JpegSaveQtWriter(benchmark::State& state) {
    const QImage& image = canvasPixels();
    const QString path = benchFolder() + "/qt.jpg";
    if (!image.save(path, "JPG", 90)) {
        state.SkipWithError("Qt's JPEG writer is not installed");
        return;
    }
    for (auto _ : state)
        image.save(path, "JPG", 90);
}

// libpng's own stdio output with the settings of the save: 8-bit RGB from B, G, R, X rows,
// standard compression and filters.
void barePngEncode(const QImage& image, const char* path) {
    FILE* file = std::fopen(path, "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, image.constScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void BM_PngEncodeBare(benchmark::State& state) {
    const QImage& image = canvasPixels();
    const QByteArray path = (benchFolder() + "/bare.png").toLocal8Bit();
    for (auto _ : state)
        barePngEncode(image, path.constData());
}

void BM_PngSavePath(benchmark::State& state) {
    const DrawingSurface canvas(canvasPixels());
    const QString path = benchFolder() + "/saved.png";
    for (auto _ : state)
        savePicture(canvas, path);
}

void BM_PngDecodeBare(benchmark::State& state) {
    const QByteArray path = pngFile().toLocal8Bit();
    for (auto _ : state) {
        // A fresh buffer each time, as every decode of a new picture needs.
        std::unique_ptr<uchar[]> pixels;
        FILE* file = std::fopen(path.constData(), "rb");
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, file);
        png_read_info(png, info);
        const png_uint_32 width = png_get_image_width(png, info);
        const png_uint_32 height = png_get_image_height(png, info);
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_read_update_info(png, info);
        pixels.reset(new uchar[size_t(width) * height * 4]);
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, pixels.get() + size_t(y) * width * 4, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_PngLoadPath(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(codecs::loadPicture(pngFile()).constBits());
}

void BM_JpegDecodeBare(benchmark::State& state) {
    const QByteArray path = jpegFile().toLocal8Bit();
    for (auto _ : state) {
        std::unique_ptr<uchar[]> pixels;
        FILE* input = std::fopen(path.constData(), "rb");
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr errors{};
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, input);
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&cinfo);
        pixels.reset(new uchar[size_t(cinfo.output_width) * cinfo.output_height * 4]);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.get() + size_t(cinfo.output_scanline) * cinfo.output_width * 4;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(input);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_JpegLoadPath(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(codecs::loadPicture(jpegFile()).constBits());
}

void BM_CanvasMemcpy(benchmark::State& state) {
    const QImage& source = canvasPixels();
    QImage target(side, side, QImage::Format_RGB32);
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), size_t(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.bits());
    }
}

void BM_Tile64(benchmark::State& state) {
    const QImage tile = canvasPixels().copy(0, 0, 64, 64);
    DrawingSurface canvas(side, side);
    for (auto _ : state) {
        paintBackground(canvas, tile, plTile);
        benchmark::DoNotOptimize(canvas.scanLine(0));
    }
}

} // namespace

BENCHMARK(BM_JpegEncodeBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegSavePath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegSaveQtWriter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngEncodeBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngSavePath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngLoadPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegLoadPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasMemcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tile64)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

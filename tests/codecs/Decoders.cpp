// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Every decoder flavour from the fixture files of tests/data/pictures (made by
// tests/data/make-pictures.sh), checked pixel by pixel where the format is lossless.
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

using namespace codecs;

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(TARVEL_TEST_DATA "/pictures/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

using Rgb = std::array<int, 3>;
Rgb rgbAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

// The 4 x 3 pattern the script writes.
const std::vector<std::vector<Rgb>> pattern = {
    {Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{255, 255, 255}},
    {Rgb{0, 0, 0}, Rgb{128, 128, 128}, Rgb{255, 255, 0}, Rgb{10, 20, 30}},
    {Rgb{200, 100, 50}, Rgb{0, 255, 255}, Rgb{255, 0, 255}, Rgb{90, 60, 30}}};

void expectPixels(const QImage& image, const std::vector<std::vector<Rgb>>& rows) {
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    ASSERT_EQ(image.height(), int(rows.size()));
    ASSERT_EQ(image.width(), int(rows[0].size()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_EQ(rgbAt(image, x, y), rows[size_t(y)][size_t(x)]) << "at " << x << "," << y;
            EXPECT_EQ(qAlpha(image.pixel(x, y)), 255);
        }
}

std::vector<std::vector<Rgb>> ramp() {
    std::vector<std::vector<Rgb>> rows(13, std::vector<Rgb>(17));
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 17; ++x)
            rows[size_t(y)][size_t(x)] = {x * 15, y * 20, (x + y) * 5};
    return rows;
}

std::vector<std::vector<Rgb>> greys(std::initializer_list<std::initializer_list<int>> values) {
    std::vector<std::vector<Rgb>> rows;
    for (const auto& line : values) {
        rows.emplace_back();
        for (int v : line)
            rows.back().push_back({v, v, v});
    }
    return rows;
}

void expectNear(const QImage& image, int x, int y, Rgb want, int tolerance) {
    const Rgb got = rgbAt(image, x, y);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[size_t(i)], want[size_t(i)], tolerance) << "channel " << i << " at " << x;
}

} // namespace

TEST(PngDecoder, TrueColourPaletteAndSixteenBitGiveThePattern) {
    expectPixels(decodePng(fixture("png-rgb.png")), pattern);
    expectPixels(decodePng(fixture("png-palette.png")), pattern);
    expectPixels(decodePng(fixture("png-rgb16.png")), pattern);
}

TEST(PngDecoder, GreyscaleAtEveryDepth) {
    expectPixels(decodePng(fixture("png-grey8.png")), greys({{0, 50, 128, 255}}));
    expectPixels(decodePng(fixture("png-grey16.png")), greys({{0, 50, 128, 255}}));
    expectPixels(decodePng(fixture("png-grey4.png")), greys({{0, 17, 136, 255}}));
    expectPixels(decodePng(fixture("png-grey1.png")), greys({{0, 255, 255, 0}, {255, 0, 0, 255}}));
}

TEST(PngDecoder, TransparencyIsComposedOverWhite) {
    // Opaque red, transparent red, blue at alpha 128, black at alpha 64.
    expectPixels(decodePng(fixture("png-rgba.png")),
                 {{Rgb{255, 0, 0}, Rgb{255, 255, 255}, Rgb{127, 127, 255}, Rgb{191, 191, 191}}});
    // Grey 100 opaque, grey 100 transparent, black at alpha 128.
    expectPixels(decodePng(fixture("png-grey-alpha.png")), greys({{100, 255, 127}}));
    // Palette entries marked transparent in tRNS.
    expectPixels(decodePng(fixture("png-palette-trns.png")),
                 {{Rgb{255, 0, 0}, Rgb{255, 255, 255}, Rgb{0, 0, 255}, Rgb{255, 255, 255}}});
    // A true-colour picture whose pure blue is the transparent colour.
    auto keyed = pattern;
    keyed[0][2] = {255, 255, 255};
    expectPixels(decodePng(fixture("png-rgb-trns.png")), keyed);
}

TEST(PngDecoder, InterlacedEqualsSequential) {
    expectPixels(decodePng(fixture("png-ramp.png")), ramp());
    expectPixels(decodePng(fixture("png-ramp-interlaced.png")), ramp());
}

TEST(BmpDecoder, EveryDepthAndRowOrder) {
    expectPixels(decodeBmp(fixture("bmp-24.bmp")), pattern);
    expectPixels(decodeBmp(fixture("bmp-24-topdown.bmp")), pattern);
    expectPixels(decodeBmp(fixture("bmp-32.bmp")), pattern);
    expectPixels(decodeBmp(fixture("bmp-4.bmp")), pattern);
    expectPixels(decodeBmp(fixture("bmp-8.bmp")), ramp());
    expectPixels(decodeBmp(fixture("bmp-1.bmp")), greys({{0, 255, 255, 0}, {255, 0, 0, 255}}));
}

TEST(BmpDecoder, RunLengthEncoded) {
    expectPixels(decodeBmp(fixture("bmp-rle8.bmp")), ramp());
    // Palette entry i is (255 - 16i, 8i, 16i); the top row is 4 5 4 5 4 5 6 7, the bottom
    // row 1 1 1 2 2 2 2 3.
    const auto entry = [](int i) { return Rgb{255 - 16 * i, 8 * i, 16 * i}; };
    std::vector<std::vector<Rgb>> rows(2);
    for (int i : {4, 5, 4, 5, 4, 5, 6, 7})
        rows[0].push_back(entry(i));
    for (int i : {1, 1, 1, 2, 2, 2, 2, 3})
        rows[1].push_back(entry(i));
    expectPixels(decodeBmp(fixture("bmp-rle4.bmp")), rows);
}

TEST(JpegDecoder, BaselineProgressiveAndGrey) {
    for (const char* name : {"jpeg-baseline.jpg", "jpeg-progressive.jpg"}) {
        SCOPED_TRACE(name);
        const QImage image = decodeJpeg(fixture(name));
        ASSERT_EQ(image.size(), QSize(32, 16));
        ASSERT_EQ(image.format(), QImage::Format_RGB32);
        expectNear(image, 4, 8, {200, 40, 40}, 4);
        expectNear(image, 27, 8, {40, 80, 200}, 4);
        EXPECT_EQ(qAlpha(image.pixel(31, 15)), 255);
    }
    const QImage grey = decodeJpeg(fixture("jpeg-grey.jpg"));
    ASSERT_EQ(grey.size(), QSize(32, 16));
    expectNear(grey, 4, 8, {60, 60, 60}, 2);
    expectNear(grey, 27, 8, {190, 190, 190}, 2);
    EXPECT_EQ(qAlpha(grey.pixel(0, 0)), 255);
}

TEST(JpegDecoder, AdobeCmykFromImageMagick) {
    const QImage image = decodeJpeg(fixture("jpeg-cmyk-adobe.jpg"));
    ASSERT_EQ(image.size(), QSize(32, 16));
    expectNear(image, 4, 8, {200, 40, 40}, 6);
    expectNear(image, 27, 8, {40, 80, 200}, 6);
}

namespace {

// Writes an 16 x 16 four-channel JPEG with libjpeg itself: YCCK or CMYK, with or without
// Adobe's marker, every pixel the given stored values.
QByteArray fourChannelJpeg(J_COLOR_SPACE stored, bool adobeMarker, std::array<uchar, 4> values) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    cinfo.write_Adobe_marker = adobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uchar> row(16 * 4);
    for (int x = 0; x < 16; ++x)
        std::copy(values.begin(), values.end(), row.begin() + 4 * x);
    while (cinfo.next_scanline < 16) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray data(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return data;
}

} // namespace

TEST(JpegDecoder, InvertedAndPlainInkGiveTheSameColour) {
    // Adobe's files store 255 - ink: (255, 60, 60, 220) is the same colour as the plain
    // (0, 195, 195, 35): red 255 * 220 / 255 = 220, green and blue 60 * 220 / 255 = 52.
    const Rgb want{220, 52, 52};
    expectNear(decodeJpeg(fourChannelJpeg(JCS_YCCK, true, {255, 60, 60, 220})), 8, 8, want, 3);
    expectNear(decodeJpeg(fourChannelJpeg(JCS_CMYK, true, {255, 60, 60, 220})), 8, 8, want, 3);
    expectNear(decodeJpeg(fourChannelJpeg(JCS_CMYK, false, {0, 195, 195, 35})), 8, 8, want, 3);
}

TEST(PictureFormat, ChosenByExtensionInAnyCase) {
    EXPECT_EQ(formatForFileName("a/b.png"), PictureFormat::Png);
    EXPECT_EQ(formatForFileName("B.PNG"), PictureFormat::Png);
    EXPECT_EQ(formatForFileName("c.jpg"), PictureFormat::Jpeg);
    EXPECT_EQ(formatForFileName("c.JPEG"), PictureFormat::Jpeg);
    EXPECT_EQ(formatForFileName("d.Bmp"), PictureFormat::Bmp);
    EXPECT_EQ(formatForFileName("e.gif"), PictureFormat::Unknown);
    EXPECT_EQ(formatForFileName("png"), PictureFormat::Unknown);
    EXPECT_EQ(formatForFileName("dir.png/file"), PictureFormat::Unknown);
}

TEST(PictureLoader, LoadsByExtensionAndNamesTheFileInErrors) {
    expectPixels(loadPicture(QStringLiteral(TARVEL_TEST_DATA "/pictures/png-rgb.png")), pattern);
    expectPixels(loadPicture(QStringLiteral(TARVEL_TEST_DATA "/pictures/bmp-24.bmp")), pattern);
    try {
        loadPicture(QStringLiteral("/nonexistent/folder/x.png"));
        FAIL() << "a missing file loaded";
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("无法读取图片“/nonexistent/folder/x.png”：文件不存在。"));
    }
    try {
        loadPicture(QStringLiteral(TARVEL_TEST_DATA "/make-pictures.sh"));
        FAIL() << "a script loaded as a picture";
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("无法读取图片“" TARVEL_TEST_DATA "/make-pictures.sh”：只能读取 "
                                 "PNG（.png）、JPEG（.jpg、.jpeg）和 BMP（.bmp）图片。"));
    }
}

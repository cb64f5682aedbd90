// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Damaged and hostile pictures: empty, truncated and bit-flipped files, pictures that claim
// gigabytes, and a progressive JPEG with hundreds of scans. Each must end in the program's
// error with a clear text, never a crash or a half-filled picture.
#include "FileAccess.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <jpeglib.h>
#include <sys/stat.h>
#include <vector>
#include <zlib.h>

using namespace codecs;

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(TARVEL_TEST_DATA "/pictures/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

using Decoder = std::function<QImage(QByteArrayView)>;

Decoder decoderFor(const QString& name) {
    switch (formatForFileName(name)) {
    case PictureFormat::Png:
        return [](QByteArrayView d) { return decodePng(d); };
    case PictureFormat::Jpeg:
        return [](QByteArrayView d) { return decodeJpeg(d); };
    default:
        return [](QByteArrayView d) { return decodeBmp(d); };
    }
}

// Decodes, returning the error text (empty when a picture came back).
QString errorOf(const Decoder& decode, QByteArrayView data, QImage* result = nullptr) {
    try {
        const QImage image = decode(data);
        if (result)
            *result = image;
        return {};
    } catch (const TarvelError& e) {
        EXPECT_FALSE(e.text().isEmpty());
        return e.text();
    }
}

const QStringList goodPictures = {
    "png-rgb.png",         "png-palette.png",   "png-rgba.png",  "png-ramp-interlaced.png",
    "png-grey16.png",      "jpeg-baseline.jpg", "jpeg-grey.jpg", "jpeg-progressive.jpg",
    "jpeg-cmyk-adobe.jpg", "bmp-24.bmp",        "bmp-32.bmp",    "bmp-8.bmp",
    "bmp-24-topdown.bmp",  "bmp-rle8.bmp",      "bmp-rle4.bmp"};

} // namespace

TEST(HostileInput, EmptyDataIsRefusedByEveryDecoder) {
    EXPECT_EQ(errorOf(decoderFor("x.png"), {}), "文件不是 PNG 图片");
    EXPECT_EQ(errorOf(decoderFor("x.jpg"), {}), "文件不是 JPEG 图片");
    EXPECT_EQ(errorOf(decoderFor("x.bmp"), {}), "文件不是 BMP 图片");
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.png");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    try {
        loadPicture(path);
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("无法读取图片“%1”：文件是空的。").arg(path));
    }
}

// Every cut of an uncompressed or exactly checked file either fails or, when only trailing
// chunks are missing, still gives the whole picture: never a partly filled one.
TEST(HostileInput, TruncatedFilesFailOrGiveTheWholePicture) {
    for (const QString& name : goodPictures) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray data = fixture(name);
        const Decoder decode = decoderFor(name);
        const QImage whole = decode(data);
        int failures = 0;
        for (qsizetype length = 0; length < data.size(); ++length) {
            QImage image;
            const QString error = errorOf(decode, QByteArrayView(data.constData(), length), &image);
            if (error.isEmpty()) {
                EXPECT_EQ(image, whole) << "a cut at " << length << " gave a different picture";
            } else {
                ++failures;
            }
        }
        // At least a third of the cuts fail (trailing text chunks may make up the rest).
        EXPECT_GE(failures, data.size() / 3);
    }
}

TEST(HostileInput, TruncatedMessagesAreClear) {
    const QByteArray png = fixture("png-ramp.png");
    EXPECT_EQ(errorOf(decoderFor("x.png"), png.left(100)), "PNG 数据已损坏或不完整");
    const QByteArray jpeg = fixture("jpeg-baseline.jpg");
    EXPECT_EQ(errorOf(decoderFor("x.jpg"), jpeg.left(jpeg.size() - 40)), "JPEG 数据已损坏或不完整");
    const QByteArray bmp = fixture("bmp-24.bmp");
    EXPECT_EQ(errorOf(decoderFor("x.bmp"), bmp.left(bmp.size() - 4)), "BMP 数据已损坏或不完整");
}

namespace {

// An 8-bit run-length coded BMP of width x height over a grey palette, holding the given codes.
QByteArray rle8Bmp(qint32 width, qint32 height, const QByteArray& codes) {
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette.append(char(i)).append(char(i)).append(char(i)).append('\0');
    const quint32 offset = 14 + 40 + 1024;
    QByteArray file("BM");
    const auto put32 = [&file](quint32 v) {
        for (int i = 0; i < 4; ++i)
            file.append(char(v >> (8 * i)));
    };
    const auto put16 = [&file](quint16 v) { file.append(char(v)).append(char(v >> 8)); };
    put32(offset + quint32(codes.size()));
    put32(0);
    put32(offset);
    put32(40);
    put32(quint32(width));
    put32(quint32(height));
    put16(1);
    put16(8);
    put32(1); // RLE8
    put32(quint32(codes.size()));
    put32(3780);
    put32(3780);
    put32(256);
    put32(0);
    return file + palette + codes;
}

} // namespace

// Qt's reader leaves the rows that run-length codes never reach at palette colour 0.
TEST(HostileInput, RunLengthCodedBmpThatStopsEarlyIsDamaged) {
    const QByteArray twoRows("\x04\x10\x00\x00\x04\x20\x00\x01", 8); // row, end of line, row, end
    const QImage whole = decodeBmp(rle8Bmp(4, 2, twoRows));
    ASSERT_EQ(whole.size(), QSize(4, 2));
    EXPECT_EQ(whole.pixel(0, 1), qRgb(0x10, 0x10, 0x10)); // the first row is the bottom one
    EXPECT_EQ(whole.pixel(3, 0), qRgb(0x20, 0x20, 0x20));
    const QString damaged = QStringLiteral("BMP 数据已损坏或不完整");
    // Only the end code: a 1,080-byte file that would be a blank 8000 x 8000 picture.
    const QByteArray blank = rle8Bmp(8000, 8000, QByteArray("\x00\x01", 2));
    EXPECT_EQ(blank.size(), 1080);
    EXPECT_EQ(errorOf(decoderFor("x.bmp"), blank), damaged);
    // The end code after the first row of two, and the same codes cut before the second row.
    EXPECT_EQ(errorOf(decoderFor("x.bmp"), rle8Bmp(4, 2, QByteArray("\x04\x10\x00\x01", 4))),
              damaged);
    EXPECT_EQ(errorOf(decoderFor("x.bmp"), rle8Bmp(4, 2, twoRows.left(4))), damaged);
    // A delta that moves down over the rows it leaves out covers them.
    const QByteArray delta("\x00\x02\x00\x01\x04\x20\x00\x01", 8);
    EXPECT_EQ(decodeBmp(rle8Bmp(4, 2, delta)).pixel(3, 0), qRgb(0x20, 0x20, 0x20));
    // Deltas alone reach the last row of 8000 x 8000: far more pixels than the codes can give.
    EXPECT_EQ(
        errorOf(decoderFor("x.bmp"),
                rle8Bmp(8000, 8000, QByteArray("\x00\x02\x00\xff", 4).repeated(32) + '\0' + '\1')),
        damaged);
    // Literal pixels that run past the end of the data.
    EXPECT_EQ(errorOf(decoderFor("x.bmp"), rle8Bmp(4, 2, QByteArray("\x00\x04\x10", 3))), damaged);
}

// PNG protects every critical chunk with a checksum: a flipped bit is either refused or
// lands in an ancillary chunk that is skipped.
TEST(HostileInput, BitFlippedPngFailsOrIsUnchanged) {
    for (const QString& name :
         {QStringLiteral("png-rgb.png"), QStringLiteral("png-ramp-interlaced.png")}) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray data = fixture(name);
        const QImage whole = decodePng(data);
        for (qsizetype i = 0; i < data.size(); ++i)
            for (int bit : {0, 3, 7}) {
                QByteArray flipped = data;
                flipped[i] = char(flipped[i] ^ (1 << bit));
                QImage image;
                if (errorOf(decoderFor(name), flipped, &image).isEmpty()) {
                    EXPECT_EQ(image, whole) << "byte " << i << " bit " << bit;
                }
            }
    }
}

// JPEG and BMP carry no checksum: a flip may change pixels, but what comes back is a whole
// opaque picture of a sane size, or an error.
TEST(HostileInput, BitFlippedJpegAndBmpNeverCrash) {
    for (const QString& name : {QStringLiteral("jpeg-baseline.jpg"),
                                QStringLiteral("jpeg-progressive.jpg"), QStringLiteral("bmp-8.bmp"),
                                QStringLiteral("bmp-rle8.bmp"), QStringLiteral("bmp-rle4.bmp")}) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray data = fixture(name);
        int refused = 0;
        for (qsizetype i = 0; i < data.size(); ++i)
            for (int bit : {0, 4, 7}) {
                QByteArray flipped = data;
                flipped[i] = char(flipped[i] ^ (1 << bit));
                QImage image;
                if (!errorOf(decoderFor(name), flipped, &image).isEmpty()) {
                    ++refused;
                    continue;
                }
                ASSERT_EQ(image.format(), QImage::Format_RGB32);
                ASSERT_LE(image.width(), 16384);
                ASSERT_LE(image.height(), 16384);
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        ASSERT_EQ(qAlpha(image.pixel(x, y)), 255);
            }
        // Header bytes alone guarantee some refusals (the signature, for one).
        EXPECT_GT(refused, 0);
    }
}

TEST(HostileInput, DecompressionBombsAreRefusedFromTheHeader) {
    EXPECT_EQ(
        errorOf(decoderFor("x.png"), fixture("png-bomb.png")),
        "图片太大，不能作为背景：16000 × 16000 像素（每边最多 16384 像素，像素数据最多 256 MB）");
    EXPECT_EQ(
        errorOf(decoderFor("x.jpg"), fixture("jpeg-bomb.jpg")),
        "图片太大，不能作为背景：60000 × 60000 像素（每边最多 16384 像素，像素数据最多 256 MB）");
    EXPECT_EQ(
        errorOf(decoderFor("x.bmp"), fixture("bmp-bomb.bmp")),
        "图片太大，不能作为背景：30000 × 30000 像素（每边最多 16384 像素，像素数据最多 256 MB）");
}

TEST(HostileInput, PngWiderThanTheSideLimitIsRefusedByLibpngWithOurText) {
    // Make the ramp claim 20000 pixels of width; libpng's own limit stops it in the header.
    QByteArray data = fixture("png-ramp.png");
    data[16] = 0;
    data[17] = 0;
    data[18] = char(0x4E);
    data[19] = char(0x20);
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData() + 12), 17));
    for (int i = 0; i < 4; ++i)
        data[29 + i] = char(crc >> (24 - 8 * i));
    EXPECT_EQ(
        errorOf(decoderFor("x.png"), data),
        "图片太大，不能作为背景：20000 × 13 像素（每边最多 16384 像素，像素数据最多 256 MB）");
}

TEST(DecodeLimits, SizeCheckIsSixtyFourBit) {
    const DecodeLimits limits;
    EXPECT_TRUE(sizeWithinLimits(8192, 8192, limits)); // exactly 256 MB
    EXPECT_FALSE(sizeWithinLimits(8192, 8193, limits));
    EXPECT_TRUE(sizeWithinLimits(16384, 4096, limits));
    EXPECT_FALSE(sizeWithinLimits(16385, 1, limits));
    EXPECT_FALSE(sizeWithinLimits(0, 10, limits));
    EXPECT_FALSE(sizeWithinLimits(10, -1, limits));
    // 65535 squared times four overflows 32 bits.
    EXPECT_FALSE(sizeWithinLimits(65535, 65535, DecodeLimits{65535, qint64(1) << 32}));
    EXPECT_TRUE(sizeWithinLimits(65535, 65535, DecodeLimits{65535, qint64(1) << 35}));
}

namespace {

// A valid progressive JPEG of side x side grey 128 (or a busy pattern): with the library's usual
// scans, or with 1 + 3 × 63 scans of one coefficient each; Huffman- or arithmetic-coded.
QByteArray progressiveJpeg(int side, bool oneCoefficientPerScan = false, bool arithmetic = false,
                           bool busy = false) {
    std::vector<jpeg_scan_info> scans;
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k < 64; ++k)
            scans.push_back({1, {c, 0, 0, 0}, k, k, 0, 0});
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(side);
    cinfo.image_height = JDIMENSION(side);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.arith_code = arithmetic;
    if (oneCoefficientPerScan) {
        cinfo.scan_info = scans.data();
        cinfo.num_scans = int(scans.size());
    } else {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uchar> row(size_t(side) * 3, 128);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (size_t x = 0; busy && x < row.size(); ++x)
            row[x] = uchar(x * 7 + cinfo.next_scanline * 3) ^ uchar((x * cinfo.next_scanline) % 31);
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

TEST(HostileInput, ProgressiveJpegStopsAfterAHundredScans) {
    const QByteArray data = progressiveJpeg(16, true);
    EXPECT_EQ(errorOf(decoderFor("x.jpg"), data), "JPEG 数据已损坏或不完整（渐进扫描次数太多）");
    DecodeLimits generous;
    generous.maxProgressiveScans = 1000;
    const QImage image = decodeJpeg(data, generous);
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_NEAR(qRed(image.pixel(5, 5)), 128, 2);
}

// Arithmetic-coded data may run into its marker early, so damage shows only as data left over.
TEST(HostileInput, DamagedArithmeticCodedJpegIsRefusedLikeAHuffmanCodedOne) {
    const QByteArray arithmetic = progressiveJpeg(256, false, true, true);
    EXPECT_EQ(decodeJpeg(arithmetic).size(), QSize(256, 256));
    QByteArray damaged = arithmetic;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x10);
    EXPECT_EQ(errorOf(decoderFor("x.jpg"), damaged), "JPEG 数据已损坏或不完整");
    // Huffman-coded data read as arithmetic-coded: its SOF2 marker turned into SOF10.
    QByteArray huffman = progressiveJpeg(256, false, false, true);
    EXPECT_EQ(decodeJpeg(huffman).size(), QSize(256, 256));
    huffman[huffman.indexOf("\xFF\xC2") + 1] = '\xCA';
    EXPECT_EQ(errorOf(decoderFor("x.jpg"), huffman), "JPEG 数据已损坏或不完整");
}

TEST(HostileInput, LibraryMemoryLimitStopsLargeProgressivePictures) {
    // 512 x 512 progressive: its coefficient buffers take about 768 KB.
    const QByteArray data = progressiveJpeg(512);
    DecodeLimits tight;
    tight.maxLibraryMemory = 256 * 1024;
    EXPECT_EQ(errorOf([&](QByteArrayView d) { return decodeJpeg(d, tight); }, data),
              "JPEG 图片需要的工作内存超过背景允许的 0 MB");
    EXPECT_EQ(decodeJpeg(data).size(), QSize(512, 512));
}

// Only regular files are read, and never past the limit: a link to an endless device or a named
// pipe would otherwise grow the program without bound or block it for ever.
TEST(HostileInput, SpecialFilesAreRefusedWithoutReadingThem) {
    QTemporaryDir dir;
    const QString device = dir.filePath("zero.png");
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    const QString pipe = dir.filePath("pipe.bmp");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString big = dir.filePath("big.jpg");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(1025));
    }
    const QString exact = dir.filePath("exact.jpg");
    {
        QFile file(exact);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(1024));
    }
    EXPECT_EQ(files::readRegularFile(exact, 1024).data.size(), 1024); // exactly the cap is read
    // A BMP may be as large as its pixels; compressed pictures have a smaller cap.
    const QString bigBmp = dir.filePath("big.bmp");
    ASSERT_TRUE(QFile::copy(big, bigBmp));
    DecodeLimits small;
    small.maxFileBytes = 2048;
    small.maxCompressedFileBytes = 1024;
    const struct {
        QString path;
        QString problem;
    } cases[] = {
        {device, QStringLiteral("这不是一个普通文件")},
        {pipe, QStringLiteral("这不是一个普通文件")},
        {big, QStringLiteral("文件太大（最多接受 1 KB）")},
        {bigBmp, QStringLiteral("文件不是 BMP 图片")},
        {dir.filePath("missing.png"), QStringLiteral("文件不存在")},
    };
    for (const auto& c : cases) {
        try {
            loadPicture(c.path, small);
            ADD_FAILURE() << c.path.toStdString();
        } catch (const TarvelError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("无法读取图片“%1”：%2。").arg(c.path, c.problem));
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The BMP, JPEG and PNG writers: the exact bytes of a small BMP, the markers and tables of the
// JPEG, round trips, and devices that fail part way.
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace codecs;

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

quint32 little32(const QByteArray& d, int at) {
    return quint32(uchar(d[at])) | quint32(uchar(d[at + 1])) << 8 |
           quint32(uchar(d[at + 2])) << 16 | quint32(uchar(d[at + 3])) << 24;
}

QImage sample(QImage::Format format) {
    // 3 x 2: red, green, blue / (10, 20, 30), white, black.
    QImage image(3, 2, format);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(10, 20, 30));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    image.setPixel(2, 1, qRgb(0, 0, 0));
    return image;
}

QByteArray written(const std::function<void(QIODevice&)>& write) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return data;
}

// A device that accepts a number of bytes and then reports a full disk.
class FailingDevice final : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : capacity(capacity) { open(WriteOnly); }
    qint64 accepted = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override {
        if (accepted + length > capacity)
            return -1;
        accepted += length;
        return length;
    }

private:
    qint64 capacity;
};

// The JPEG's markers in file order, with the byte offset of each segment's contents.
std::vector<std::pair<int, int>> markers(const QByteArray& d) {
    std::vector<std::pair<int, int>> found;
    int i = 2;
    while (i + 4 <= d.size() && uchar(d[i]) == 0xFF) {
        const int marker = uchar(d[i + 1]);
        found.push_back({marker, i + 4});
        if (marker == 0xDA)
            break; // entropy data follows
        i += 2 + (uchar(d[i + 2]) << 8 | uchar(d[i + 3]));
    }
    return found;
}

} // namespace

TEST(BmpWriter, ExactBytesOfAThreeByTwoPicture) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_BGR888}) {
        const QByteArray d = written([&](QIODevice& dev) { writeBmp(sample(format), dev); });
        // 54 bytes of headers, rows of 9 bytes padded to 12.
        ASSERT_EQ(d.size(), 54 + 2 * 12);
        EXPECT_EQ(d.left(2), "BM");
        EXPECT_EQ(little32(d, 2), 78u);
        EXPECT_EQ(little32(d, 10), 54u);
        EXPECT_EQ(little32(d, 14), 40u);
        EXPECT_EQ(little32(d, 18), 3u);
        EXPECT_EQ(little32(d, 22), 2u); // positive: the bottom row comes first
        EXPECT_EQ(little32(d, 26), 1u | 24u << 16);
        EXPECT_EQ(little32(d, 30), 0u); // uncompressed
        EXPECT_EQ(little32(d, 34), 24u);
        const QByteArray bottom("\x1e\x14\x0a\xff\xff\xff\x00\x00\x00\x00\x00\x00", 12);
        const QByteArray top("\x00\x00\xff\x00\xff\x00\xff\x00\x00\x00\x00\x00", 12);
        EXPECT_EQ(d.mid(54, 12), bottom);
        EXPECT_EQ(d.mid(66, 12), top);
        EXPECT_EQ(decodeBmp(d), sample(QImage::Format_RGB32));
    }
}

TEST(BmpWriter, EmptyPictureAndFullDiskAreErrors) {
    FailingDevice device(1000);
    EXPECT_THROW(writeBmp(QImage(), device), TarvelError);
    EXPECT_EQ(device.accepted, 0);
    FailingDevice small(100);
    EXPECT_THROW(writeBmp(QImage(40, 40, QImage::Format_RGB32), small), TarvelError);
}

TEST(JpegWriter, BaselineJfifWithTwoByTwoLuminanceAndStandardTables) {
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 5, 128));
    const QByteArray d = written([&](QIODevice& dev) { writeJpeg(picture, dev); });
    ASSERT_GT(d.size(), 200);
    EXPECT_EQ(uchar(d[0]), 0xFF);
    EXPECT_EQ(uchar(d[1]), 0xD8);
    EXPECT_EQ(d.right(2), QByteArray("\xFF\xD9", 2));
    const auto found = markers(d);
    std::map<int, int> count;
    for (auto [marker, at] : found)
        ++count[marker];
    ASSERT_EQ(found.front().first, 0xE0);
    EXPECT_EQ(d.mid(found.front().second, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(count[0xC0], 1); // baseline frame
    EXPECT_EQ(count[0xC2], 0); // no progressive frame
    EXPECT_EQ(count[0xDD], 0); // no restart interval
    EXPECT_EQ(count[0xDA], 1); // one scan
    EXPECT_EQ(count[0xC4], 4); // two DC and two AC tables
    for (auto [marker, at] : found) {
        if (marker == 0xC0) {
            EXPECT_EQ(uchar(d[at]), 8); // precision
            EXPECT_EQ((uchar(d[at + 1]) << 8) | uchar(d[at + 2]), 48);
            EXPECT_EQ((uchar(d[at + 3]) << 8) | uchar(d[at + 4]), 64);
            ASSERT_EQ(uchar(d[at + 5]), 3);     // components
            EXPECT_EQ(uchar(d[at + 7]), 0x22);  // luminance 2 x 2
            EXPECT_EQ(uchar(d[at + 10]), 0x11); // chroma 1 x 1
            EXPECT_EQ(uchar(d[at + 13]), 0x11);
        }
        if (marker == 0xDB) {
            // Quality 90 scales the standard tables by 20 %: luminance 16 -> 3 at DC and
            // 99 -> 20 at the last coefficient; chroma 17 -> 3 and 99 -> 20.
            const int table = uchar(d[at]) & 0x0F;
            EXPECT_EQ(uchar(d[at]) >> 4, 0) << "8-bit entries";
            EXPECT_EQ(uchar(d[at + 1]), 3) << "table " << table;
            EXPECT_EQ(uchar(d[at + 64]), 20) << "table " << table;
        }
        if (marker == 0xC4 && uchar(d[at]) == 0x00) {
            // The standard luminance DC table: code counts 0 1 5 1 1 1 1 1 1 0 ..., values 0..11.
            const QByteArray counts(
                "\x00\x01\x05\x01\x01\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00", 16);
            EXPECT_EQ(d.mid(at + 1, 16), counts);
            EXPECT_EQ(d.mid(at + 17, 12),
                      QByteArray("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b", 12));
        }
    }
    const QImage back = decodeJpeg(d);
    ASSERT_EQ(back.size(), picture.size());
    int worst = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb a = picture.pixel(x, y), b = back.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 8);
}

TEST(JpegWriter, TwentyFourAndThirtyTwoBitRowsGiveTheSameFile) {
    const QByteArray from32 =
        written([](QIODevice& dev) { writeJpeg(sample(QImage::Format_RGB32), dev); });
    const QByteArray from24 =
        written([](QIODevice& dev) { writeJpeg(sample(QImage::Format_BGR888), dev); });
    const QByteArray fromArgb =
        written([](QIODevice& dev) { writeJpeg(sample(QImage::Format_ARGB32), dev); });
    EXPECT_EQ(from32, from24);
    EXPECT_EQ(from32, fromArgb);
}

TEST(JpegWriter, EmptyPictureAndFailingDeviceAreErrors) {
    FailingDevice device(1 << 20);
    try {
        writeJpeg(QImage(), device);
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(), "画布上还没有图片");
    }
    EXPECT_EQ(device.accepted, 0);
    QImage noisy(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            noisy.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 255, x, y));
    FailingDevice small(70000); // the first 64 KB block fits, the second does not
    try {
        writeJpeg(noisy, small);
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(), "无法写入 JPEG 文件");
    }
    EXPECT_EQ(small.accepted, 65536);
}

// Lossless: every pixel comes back, from 24-bit, 32-bit and other rows alike, through the
// program's own reader and libpng's header (8-bit RGB, not interlaced).
TEST(PngWriter, RoundTripIsExactFromEveryRowFormat) {
    QImage noisy(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 255, x * 5, y * 11));
    const QByteArray from32 = written([&](QIODevice& dev) { writePng(noisy, dev); });
    ASSERT_TRUE(from32.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(from32.mid(12, 4), "IHDR");
    EXPECT_EQ(from32.mid(24, 5), QByteArray("\x08\x02\x00\x00\x00", 5)); // depth, RGB, ...
    EXPECT_EQ(decodePng(from32), noisy);
    for (QImage::Format format : {QImage::Format_BGR888, QImage::Format_ARGB32}) {
        const QByteArray data =
            written([&](QIODevice& dev) { writePng(noisy.convertToFormat(format), dev); });
        EXPECT_EQ(data, from32) << int(format);
    }
    EXPECT_EQ(
        decodePng(written([](QIODevice& dev) { writePng(sample(QImage::Format_BGR888), dev); })),
        sample(QImage::Format_RGB32));
}

TEST(PngWriter, EmptyPictureAndFailingDeviceAreErrors) {
    FailingDevice device(1 << 20);
    try {
        writePng(QImage(), device);
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(), "画布上还没有图片");
    }
    EXPECT_EQ(device.accepted, 0);
    // Random pixels, which deflate cannot make much smaller than their 480 KB.
    QImage noisy(400, 400, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            noisy.setPixel(x, y, QRgb(random()) | 0xFF000000u);
    FailingDevice small(70000); // the first block of at most 64 KB fits, the second does not
    try {
        writePng(noisy, small);
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(), "无法写入 PNG 文件");
    }
    EXPECT_GT(small.accepted, 32768);
    EXPECT_LE(small.accepted, 65536);
}

// The print resolution: dots per inch in the JFIF density (unit 1), pixels per metre in the
// BMP header; none asked for keeps square pixels in the JFIF and the screen's 96 in the BMP.
TEST(PrintResolution, JfifDensityAndBmpPixelsPerMetreCarryIt) {
    struct Case {
        int dotsPerInch;
        int unit;
        int density;
        quint32 perMetre;
    };
    const Case cases[] = {
        {0, 0, 1, 3780}, {96, 1, 96, 3780}, {300, 1, 300, 11811}, {600, 1, 600, 23622}};
    const QImage picture = sample(QImage::Format_RGB32);
    const QByteArray plainJpeg = written([&](QIODevice& dev) { writeJpeg(picture, dev); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dotsPerInch);
        const QByteArray jpeg =
            written([&](QIODevice& dev) { writeJpeg(picture, dev, 90, c.dotsPerInch); });
        const int jfif = markers(jpeg).front().second;
        ASSERT_EQ(jpeg.mid(jfif, 5), QByteArray("JFIF\0", 5));
        EXPECT_EQ(uchar(jpeg[jfif + 7]), c.unit);
        EXPECT_EQ(uchar(jpeg[jfif + 8]) << 8 | uchar(jpeg[jfif + 9]), c.density);
        EXPECT_EQ(uchar(jpeg[jfif + 10]) << 8 | uchar(jpeg[jfif + 11]), c.density);
        EXPECT_EQ(decodeJpeg(jpeg), decodeJpeg(plainJpeg));
        const QByteArray bmp =
            written([&](QIODevice& dev) { writeBmp(picture, dev, c.dotsPerInch); });
        EXPECT_EQ(little32(bmp, 38), c.perMetre);
        EXPECT_EQ(little32(bmp, 42), c.perMetre);
        EXPECT_EQ(decodeBmp(bmp), picture);
    }
}

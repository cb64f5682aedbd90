// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Saving the canvas: the choice of BMP, PNG or JPEG by the extension, the files it writes,
// replacing an earlier file, and failures that must leave the earlier file as it was.
#include "PictureSave.h"
#include "PictureCodecs.h"
#include "TarvelError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

DrawingSurface canvasOf(int width, int height, TColor colour) {
    DrawingSurface canvas(width, height);
    canvas.brush.color = colour;
    canvas.fillRect(0, 0, width, height);
    canvas.setPixel(0, 0, clBlack);
    return canvas;
}

bool isJpeg(const QByteArray& data) {
    return data.startsWith(QByteArray("\xFF\xD8\xFF\xE0", 4));
}

} // namespace

TEST(SaveFormat, TheExtensionInAnyCaseChoosesTheFormat) {
    EXPECT_EQ(fileExtension("/a/b/picture.bmp"), ".bmp");
    EXPECT_EQ(fileExtension("/a/b.c/picture"), "");
    EXPECT_EQ(fileExtension("x.tar.BMP"), ".BMP");
    for (const char* name : {"/tmp/x.bmp", "/tmp/UPPER.BMP", "/tmp/x.Bmp", "/tmp/x.jpg.bmp"})
        EXPECT_EQ(saveFormatFor(name), SaveFormat::Bmp) << name;
    for (const char* name : {"/tmp/pic.png", "/tmp/x.PNG", "/tmp/x.pNg"})
        EXPECT_EQ(saveFormatFor(name), SaveFormat::Png) << name;
    for (const char* name : {"/tmp/x", "/tmp/x.jpg", "/tmp/x.JPEG", "/tmp/x.bmp.jpg",
                             "/tmp/dir.bmp/x", "/tmp/x.bmp ", "/tmp/x.png.", "/tmp/x.pngx"})
        EXPECT_EQ(saveFormatFor(name), SaveFormat::Jpeg) << name;
}

TEST(SavePicture, BmpPngAndJpegFilesByName) {
    QTemporaryDir dir;
    const DrawingSurface canvas = canvasOf(30, 20, 0x00336699);
    for (const char* name : {"picture.bmp", "UPPER.BMP"}) {
        savePicture(canvas, dir.filePath(name));
        const QByteArray bmpData = contents(dir.filePath(name));
        ASSERT_TRUE(bmpData.startsWith("BM")) << name;
        EXPECT_EQ(bmpData.size(), 54 + 20 * 92); // 30 pixels of 3 bytes, padded to 92
        EXPECT_EQ(codecs::decodeBmp(bmpData), canvas.image());
    }
    // PNG is lossless, and the program takes its own file back as a background.
    for (const char* name : {"pic.png", "UPPER.PNG"}) {
        savePicture(canvas, dir.filePath(name));
        EXPECT_TRUE(contents(dir.filePath(name)).startsWith("\x89PNG")) << name;
        EXPECT_EQ(codecs::loadPicture(dir.filePath(name)), canvas.image()) << name;
    }

    for (const char* name : {"picture", "picture.jpeg"}) {
        const QString path = dir.filePath(name);
        savePicture(canvas, path);
        const QByteArray data = contents(path);
        EXPECT_TRUE(isJpeg(data)) << name;
        const QImage back = codecs::decodeJpeg(data);
        ASSERT_EQ(back.size(), QSize(30, 20));
        const QRgb middle = back.pixel(15, 10);
        EXPECT_NEAR(qRed(middle), 0x99, 3);
        EXPECT_NEAR(qGreen(middle), 0x66, 3);
        EXPECT_NEAR(qBlue(middle), 0x33, 3);
    }
    // Nothing but the files themselves: no temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
}

TEST(SavePicture, SavingTwiceReplacesTheFile) {
    QTemporaryDir dir;
    for (const char* name : {"twice.bmp", "twice.jpg"}) {
        const QString path = dir.filePath(name);
        savePicture(canvasOf(40, 40, clRed), path);
        const QByteArray first = contents(path);
        savePicture(canvasOf(8, 4, clBlue), path);
        const QByteArray second = contents(path);
        EXPECT_NE(first, second);
        const QImage back =
            QString(name).endsWith(".bmp") ? codecs::decodeBmp(second) : codecs::decodeJpeg(second);
        EXPECT_EQ(back.size(), QSize(8, 4)) << name;
        // A read-only file stays read-only when it is replaced.
        const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadOther;
        ASSERT_TRUE(QFile::setPermissions(path, readOnly));
        savePicture(canvasOf(8, 8, clBlue), path);
        EXPECT_EQ(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                  readOnly);
    }
}

TEST(SavePicture, NoPictureIsAnErrorInBothFormatsAndWritesNothing) {
    QTemporaryDir dir;
    for (const DrawingSurface& none : {DrawingSurface(), DrawingSurface(0, 0)})
        for (const char* name : {"empty.bmp", "empty.jpg", "empty.png"}) {
            const QString path = dir.filePath(name);
            try {
                savePicture(none, path);
                ADD_FAILURE() << "an empty canvas was saved as " << name;
            } catch (const TarvelError& e) {
                EXPECT_EQ(e.text(),
                          QStringLiteral("无法保存图片“%1”：画布上还没有图片。").arg(path));
            }
        }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(SavePicture, FailedSavesLeaveTheEarlierFileByteForByte) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.jpg");
    savePicture(canvasOf(16, 16, clRed), path);
    const QByteArray earlier = contents(path);
    ASSERT_FALSE(earlier.isEmpty());

    // An empty canvas on the JPEG path.
    EXPECT_THROW(savePicture(DrawingSurface(), path), TarvelError);
    EXPECT_EQ(contents(path), earlier);

    // A disk that fills up part way: the process may write at most 4 KB per file.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    DrawingSurface noisy(300, 300);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            noisy.setPixel(x, y, TColor((x * 7919u + y * 104729u) & 0xFFFFFF));
    QString error;
    try {
        savePicture(noisy, path);
    } catch (const TarvelError& e) {
        error = e.text();
    }
    const QString bmpPath = dir.filePath("kept.bmp");
    QString bmpError;
    {
        QFile earlierBmp(bmpPath);
        ASSERT_TRUE(earlierBmp.open(QIODevice::WriteOnly));
        earlierBmp.write("old contents");
    }
    try {
        savePicture(noisy, bmpPath);
    } catch (const TarvelError& e) {
        bmpError = e.text();
    }
    const QString pngPath = dir.filePath("kept.png");
    QString pngError;
    try {
        savePicture(noisy, pngPath);
    } catch (const TarvelError& e) {
        pngError = e.text();
    }
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &previous), 0);
    EXPECT_EQ(pngError,
              QStringLiteral("无法保存图片“%1”：磁盘空间不足或超出文件大小限制。").arg(pngPath));
    EXPECT_EQ(error,
              QStringLiteral("无法保存图片“%1”：磁盘空间不足或超出文件大小限制。").arg(path));
    EXPECT_EQ(contents(path), earlier);
    EXPECT_EQ(bmpError,
              QStringLiteral("无法保存图片“%1”：磁盘空间不足或超出文件大小限制。").arg(bmpPath));
    EXPECT_EQ(contents(bmpPath), "old contents");
    // Only the files put there on purpose remain.
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, QStringList({"kept.bmp", "kept.jpg"}));
}

TEST(SavePicture, MissingFolderIsAClearError) {
    try {
        savePicture(canvasOf(4, 4, clRed), "/nonexistent-folder/x.jpg");
        FAIL();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("无法保存图片“/nonexistent-folder/x.jpg”：文件夹不存在。"));
    }
    EXPECT_FALSE(QFile::exists("/nonexistent-folder/x.jpg"));
    QTemporaryDir dir;
    const QString folder = dir.filePath("adir.bmp");
    ASSERT_TRUE(QDir().mkdir(folder));
    try {
        savePicture(canvasOf(4, 4, clRed), folder);
        ADD_FAILURE();
    } catch (const TarvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("无法保存图片“%1”：这是一个文件夹。").arg(folder));
    }
}

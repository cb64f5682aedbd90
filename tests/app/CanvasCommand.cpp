// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The new-canvas command through the real main window: the dialog closed every way, the
// three layouts on the work canvas, and pictures that cannot be loaded.
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PictureCodecs.h"
#include "PlatformDialogs.h"
#include "SpinEdit.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QString picturePath(const char* name) {
    return QStringLiteral(TARVEL_TEST_DATA "/pictures/") + QLatin1String(name);
}

class CanvasCommand : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        form->createDialogs();
        ErrorBoundary::setDisplay([this](QWidget*, const QString& text) { errors << text; });
    }
    void TearDown() override {
        ErrorBoundary::setDisplay({});
        PlatformDialogs::setColorChooser({});
        PlatformDialogs::setFileChooser({});
    }
    // Clicks "新建" and, while the dialog is open, does what the user does in it.
    void newCanvas(const std::function<void(TForm2&)>& inDialog) {
        TForm2& dialog = *form->Form2;
        QTimer::singleShot(0, &dialog, [&dialog, inDialog] {
            inDialog(dialog);
            if (dialog.isVisible())
                dialog.close();
        });
        form->ToolButton40->click();
    }
    static void choosePicture(TForm2& dialog, const QString& path) {
        PlatformDialogs::setFileChooser(
            [path](QWidget*, const FileDialogRequest&) { return std::optional<QString>(path); });
        dialog.RadioButton6->click(); // "打开" is enabled only with "背景图片" checked
        dialog.Button2->click();
    }
    static void chooseColour(TForm2& dialog, TColor colour) {
        PlatformDialogs::setColorChooser(
            [colour](QWidget*, TColor) { return std::optional<TColor>(colour); });
        dialog.RadioButton5->click();
        dialog.Button1->click();
    }
    static void setSize(TForm2& dialog, int width, int height) {
        dialog.SpinEdit1->setValue(width);
        dialog.SpinEdit2->setValue(height);
    }
    const DrawingSurface& canvas() const { return form->Image1->picture(); }

    std::unique_ptr<TForm1> form;
    QStringList errors;
};

} // namespace

TEST_F(CanvasCommand, CancelAndEscLeaveTheCompositionAsItWas) {
    newCanvas([](TForm2& d) {
        setSize(d, 200, 100);
        chooseColour(d, clRed);
        d.Button3->click();
    });
    ASSERT_TRUE(form->Image1->hasPicture());
    EXPECT_EQ(canvas().pixel(10, 10), clRed);
    const std::function<void(TForm2&)> cancels[] = {
        [](TForm2& d) { d.Button4->click(); },
        [](TForm2& d) {
            setSize(d, 300, 240);
            d.Button5->click(); // applied, then cancelled
            d.Button4->click();
        },
        [](TForm2& d) { QTest::keyClick(&d, Qt::Key_Escape); },
    };
    for (const auto& cancel : cancels) {
        newCanvas(cancel);
        EXPECT_EQ(form->Image1->size(), QSize(200, 100));
        EXPECT_EQ(canvas().pixel(10, 10), clRed);
        EXPECT_EQ(form->Form2->CanvasSettings.Width, 200); // the settings of the canvas shown
        EXPECT_EQ(form->composition().steps().size(), 1u);
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(CanvasCommand, TitleBarCloseUsesTheLastCommittedSettings) {
    newCanvas([](TForm2& d) { setSize(d, 120, 80); }); // closed without committing
    EXPECT_EQ(form->Image1->size(), QSize(800, 600));
    newCanvas([](TForm2& d) {
        setSize(d, 500, 400);
        d.Button5->click();
        setSize(d, 100, 100); // not committed
    });
    EXPECT_EQ(form->Image1->size(), QSize(500, 400));
    EXPECT_FALSE(form->Image1->hasPicture());
}

TEST_F(CanvasCommand, ColourThenPicturePaintsOnlyThePicture) {
    newCanvas([](TForm2& d) {
        chooseColour(d, clRed);
        choosePicture(d, picturePath("canvas-300x200.png"));
        d.RadioButton9->click();
        d.Button3->click();
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    // Centred at (250, 200); the picture's pixel (x, y) is (x mod 256, y mod 256, 77).
    EXPECT_EQ(canvas().pixel(0, 0), clWhite);
    EXPECT_EQ(canvas().pixel(249, 300), clWhite);
    EXPECT_EQ(canvas().pixel(250, 200), TColor(0x004D0000));
    EXPECT_EQ(canvas().pixel(549, 399), TColor(0x004DC72B)); // (299, 199)
    EXPECT_EQ(canvas().pixel(550, 399), clWhite);
}

TEST_F(CanvasCommand, TilesAThreeHundredByTwoHundredPicture) {
    newCanvas([](TForm2& d) {
        choosePicture(d, picturePath("canvas-300x200.png"));
        d.Button3->click();
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QImage picture = codecs::loadPicture(picturePath("canvas-300x200.png"));
    for (int y : {0, 199, 200, 399, 400, 599})
        for (int x : {0, 299, 300, 599, 600, 799})
            EXPECT_EQ(canvas().pixel(x, y), fromRgb(picture.pixel(x % 300, y % 200)))
                << x << "," << y;
    EXPECT_EQ(form->Image1->size(), QSize(800, 600));
}

TEST_F(CanvasCommand, CentresAThousandByFiveHundredPictureAtMinusHundredFifty) {
    newCanvas([](TForm2& d) {
        choosePicture(d, picturePath("canvas-1000x500.png"));
        d.RadioButton9->click();
        d.Button3->click();
    });
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QImage picture = codecs::loadPicture(picturePath("canvas-1000x500.png"));
    EXPECT_EQ(canvas().pixel(0, 49), clWhite);
    EXPECT_EQ(canvas().pixel(0, 50), fromRgb(picture.pixel(100, 0)));
    EXPECT_EQ(canvas().pixel(799, 549), fromRgb(picture.pixel(899, 499)));
    EXPECT_EQ(canvas().pixel(799, 550), clWhite);
}

TEST_F(CanvasCommand, StretchesOverTheWholeCanvas) {
    newCanvas([](TForm2& d) {
        setSize(d, 600, 400);
        choosePicture(d, picturePath("canvas-300x200.png"));
        d.RadioButton8->click();
        d.Button3->click();
    });
    const QImage picture = codecs::loadPicture(picturePath("canvas-300x200.png"));
    EXPECT_EQ(canvas().pixel(599, 399), fromRgb(picture.pixel(299, 199)));
    EXPECT_EQ(canvas().pixel(201, 101), fromRgb(picture.pixel(100, 50)));
}

// A side typed below 1 is 1: every canvas has a picture that can be saved.
TEST_F(CanvasCommand, ASideBelowOneBecomesOne) {
    const struct {
        const char *width, *height;
        QSize size;
    } cases[] = {{"0", "600", QSize(1, 600)}, {"800", "-30", QSize(800, 1)}};
    for (const auto& c : cases) {
        newCanvas([&c](TForm2& d) {
            d.SpinEdit1->setText(QString::fromLatin1(c.width));
            d.SpinEdit2->setText(QString::fromLatin1(c.height));
            choosePicture(d, picturePath("canvas-300x200.png"));
            d.Button3->click();
        });
        EXPECT_EQ(form->Image1->size(), c.size);
        EXPECT_EQ(canvas().size(), c.size);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(CanvasCommand, SuccessClearsTheEffectBaseAndUndoBringsTheOldCanvasBack) {
    newCanvas([](TForm2& d) {
        setSize(d, 300, 200);
        chooseColour(d, clRed);
        d.Button3->click();
    });
    form->N21Click();
    ASSERT_TRUE(form->composition().effectBaseTaken());
    newCanvas([](TForm2& d) {
        setSize(d, 200, 150);
        d.Button3->click();
    });
    EXPECT_FALSE(form->composition().effectBaseTaken());
    // Undo brings back the old canvas with its own size, shown and saved alike.
    form->ToolButton22Click();
    EXPECT_EQ(form->Image1->size(), QSize(300, 200));
    EXPECT_EQ(canvas().size(), QSize(300, 200));
    EXPECT_TRUE(form->composition().effectBaseTaken());
}

TEST_F(CanvasCommand, PicturesThatCannotBeLoadedEndTheCommandWithAMessage) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& data) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return dir.filePath(name);
    };
    QFile good(picturePath("canvas-300x200.png"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray png = good.readAll();
    QByteArray flipped = png;
    const qsizetype inImageData = png.indexOf("IDAT") + 10;
    flipped[inImageData] = char(flipped[inImageData] ^ 0x10);
    const std::pair<QString, QString> cases[] = {
        {dir.filePath("missing.png"), "文件不存在"},
        {write("picture.gif", "GIF89a"),
         "只能读取 PNG（.png）、JPEG（.jpg、.jpeg）和 BMP（.bmp）图片"},
        {write("empty.jpg", {}), "文件是空的"},
        {write("words.png", "these are words, not a picture"), "文件不是 PNG 图片"},
        {write("truncated.png", png.left(png.size() / 2)), "PNG 数据已损坏或不完整"},
        {write("flipped.png", flipped), "PNG 数据已损坏或不完整"},
        {picturePath("png-bomb.png"), "图片太大，不能作为背景"},
        {picturePath("jpeg-bomb.jpg"), "图片太大，不能作为背景"},
        {picturePath("bmp-bomb.bmp"), "图片太大，不能作为背景"},
    };
    // A finished composition that a failed new canvas must leave exactly as it was.
    newCanvas([](TForm2& d) {
        setSize(d, 120, 90);
        chooseColour(d, clRed);
        d.Button3->click();
    });
    form->Image1->canvas().setPixel(7, 8, clBlack);
    form->N21Click();
    const QImage before = form->Image1->picture().image();
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.toStdString());
        errors.clear();
        newCanvas([path = path](TForm2& d) {
            setSize(d, 640, 480);
            chooseColour(d, clRed);
            choosePicture(d, path);
            d.Button3->click();
        });
        ASSERT_EQ(errors.size(), 1);
        // The file and the problem in one sentence (a bomb's sentence goes on with its size).
        EXPECT_TRUE(
            errors[0].startsWith(QStringLiteral("无法读取图片“%1”：%2").arg(path, expected)))
            << errors[0].toStdString();
        EXPECT_TRUE(errors[0].endsWith(QStringLiteral("。"))) << errors[0].toStdString();
        EXPECT_EQ(form->Image1->size(), QSize(120, 90));
        EXPECT_EQ(form->Form2->CanvasSettings.Width, 120); // the settings of the canvas shown
        EXPECT_FALSE(form->Form2->CanvasSettings.UsePicture);
        EXPECT_EQ(form->Image1->picture().image(), before);
        EXPECT_EQ(form->composition().steps().size(), 2u); // no step added
        EXPECT_TRUE(form->composition().effectBaseTaken());
    }
}

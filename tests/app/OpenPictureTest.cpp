// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Opening a picture handed to the program: a canvas of its size with the picture centred, or
// a clear message and an empty canvas for a file that is not a picture.
#include "ImageControl.h"
#include "TarvelError.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void application() {
    ASSERT_NE(qApp, nullptr);
}

} // namespace

TEST(OpenPicture, StartsACanvasOfThePictureWithItCentred) {
    application();
    QTemporaryDir folder;
    QImage picture(120, 70, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(119, 69, qRgb(200, 100, 50));
    const QString path = folder.filePath("scan.png");
    ASSERT_TRUE(picture.save(path));

    TForm1 form;
    form.createDialogs();
    form.Image1->canvas(); // a white picture to filter
    form.N21Click();
    ASSERT_TRUE(form.composition().effectBaseTaken());
    form.openPictureFile(path);
    EXPECT_EQ(form.Image1->size(), QSize(120, 70));
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().pixel(0, 0), TColor(0x1E140A));
    EXPECT_EQ(form.Image1->picture().pixel(119, 69), TColor(0x3264C8));
    EXPECT_EQ(form.Form2->CanvasSettings.Layout, plCenter);
    EXPECT_TRUE(form.Form2->CanvasSettings.UsePicture);
    EXPECT_FALSE(form.composition().effectBaseTaken());
}

TEST(OpenPicture, AFileThatIsNotAPictureLeavesTheCanvasAsItWas) {
    application();
    QTemporaryDir folder;
    const QString path = folder.filePath("notes.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are words, not a picture");
    file.close();

    TForm1 form;
    form.createDialogs();
    form.Image1->canvas().setPixel(3, 4, clRed); // something was there before
    EXPECT_THROW(form.openPictureFile(path), TarvelError);
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().pixel(3, 4), clRed);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The About box: the emblem's pixels, every text with its place, face, height and colour, the
// licence line that fits, the contact line that lights up and stays lit, and the button that
// closes the box.
#include "Emblem.h"
#include "Unit5.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QColor textColor(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

TEST(Emblem, IsASealOfTwoColours) {
    const QImage emblem = aboutEmblem();
    ASSERT_EQ(emblem.size(), QSize(48, 48));
    const QRgb red = qRgb(0xC0, 0x20, 0x20);
    const QRgb white = qRgb(255, 255, 255);
    int whites = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const QRgb pixel = emblem.pixel(x, y);
            ASSERT_TRUE(pixel == red || pixel == white) << x << "," << y;
            whites += pixel == white;
        }
    // Frame 320 pixels; cross stroke 104 + 8, falling stroke 84 + 8, ink drop 16.
    EXPECT_EQ(whites, 540);
    EXPECT_EQ(emblem.pixel(0, 0), red);
    EXPECT_EQ(emblem.pixel(2, 2), red);
    EXPECT_EQ(emblem.pixel(3, 3), white);
    EXPECT_EQ(emblem.pixel(44, 44), white);
    EXPECT_EQ(emblem.pixel(45, 45), red);
    EXPECT_EQ(emblem.pixel(24, 13), white); // cross stroke
    EXPECT_EQ(emblem.pixel(24, 30), white); // falling stroke
    EXPECT_EQ(emblem.pixel(19, 36), white); // its foot
    EXPECT_EQ(emblem.pixel(21, 30), red);
    EXPECT_EQ(emblem.pixel(33, 33), white); // ink drop
}

class AboutBox : public ::testing::Test {
protected:
    TForm5 form;
};

TEST_F(AboutBox, PlacesEveryElement) {
    EXPECT_EQ(form.objectName(), QStringLiteral("Form5"));
    EXPECT_EQ(form.Image1->geometry(), QRect(32, 64, 48, 48));
    EXPECT_EQ(form.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), aboutEmblem());

    EXPECT_EQ(form.Label1->text(), QStringLiteral("Tarvel V1.0"));
    EXPECT_EQ(form.Label1->pos(), QPoint(136, 40));
    EXPECT_EQ(form.Label1->font().pixelSize(), 16);
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_EQ(textColor(form.Label1), QColor(0x80, 0, 0));

    EXPECT_EQ(form.Label2->text(), QStringLiteral("2008.4"));
    EXPECT_EQ(form.Label2->pos(), QPoint(224, 136));
    EXPECT_EQ(form.Label2->font().pixelSize(), 13);
    EXPECT_TRUE(form.Label2->font().bold());
    EXPECT_EQ(textColor(form.Label2), QColor(0x80, 0, 0x80));

    EXPECT_EQ(form.Label3->text(), TForm5::contactText());
    EXPECT_EQ(form.Label3->pos(), QPoint(104, 168));
    EXPECT_EQ(form.Label3->font().pixelSize(), 16);
    EXPECT_TRUE(form.Label3->font().bold());
    EXPECT_FALSE(form.Label3->font().underline());
    EXPECT_EQ(textColor(form.Label3), QColor(0x80, 0, 0));

    EXPECT_EQ(form.Button1->text(), QStringLiteral("确定"));
    EXPECT_EQ(form.Button1->geometry(), QRect(136, 216, 75, 25));
    // The same face as every "宋体" of the program.
    EXPECT_EQ(form.Label1->font().family(), form.Label3->font().family());
}

TEST_F(AboutBox, ContactLineLightsUpUnderThePointerAndStays) {
    form.show();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), form.Label3->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.Label3, &move);
    EXPECT_TRUE(form.Label3->font().underline());
    EXPECT_TRUE(form.Label3->font().bold());
    EXPECT_EQ(textColor(form.Label3), QColor(0, 0, 0xFF));
    // The label grows with its underlined text and the pixels of the line turn blue.
    const QImage shown = form.Label3->grab().toImage();
    bool blue = false;
    for (int y = 0; y < shown.height() && !blue; ++y)
        for (int x = 0; x < shown.width() && !blue; ++x)
            blue = shown.pixel(x, y) == qRgb(0, 0, 255);
    EXPECT_TRUE(blue);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form.Label3, &leave);
    EXPECT_TRUE(form.Label3->font().underline());
    EXPECT_EQ(textColor(form.Label3), QColor(0, 0, 0xFF));
    // The other texts are untouched.
    EXPECT_FALSE(form.Label1->font().underline());
    EXPECT_EQ(textColor(form.Label1), QColor(0x80, 0, 0));
}

// Every text ends inside the box with a margin, the contact line also once it is lit.
TEST_F(AboutBox, EveryTextEndsInsideTheBox) {
    form.show();
    const int margin = 16;
    for (const QLabel* label : {form.Label1, form.Label2, form.Label3}) {
        EXPECT_LE(label->geometry().right(), form.width() - margin)
            << label->objectName().toStdString();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    }
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), form.Label3->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.Label3, &move);
    EXPECT_LE(form.Label3->geometry().right(), form.width() - margin);
    EXPECT_GE(form.Label3->width(),
              form.Label3->fontMetrics().horizontalAdvance(form.Label3->text()));
}

// The licence, wrapped, sits whole right of the emblem, between the name and the date.
TEST_F(AboutBox, LicenceLineFitsBetweenTheNameAndTheDate) {
    form.show();
    EXPECT_EQ(form.Label4->text(), TForm5::licenceText());
    EXPECT_TRUE(
        form.Label4->text().contains(QStringLiteral("GNU 通用公共许可证第 3 版或更新版本")));
    EXPECT_FALSE(form.Label4->font().bold());
    const QRect line = form.Label4->geometry();
    EXPECT_LE(line.right(), form.width() - 16);
    EXPECT_GT(line.left(), form.Image1->geometry().right());
    EXPECT_GT(line.top(), form.Label1->geometry().bottom());
    EXPECT_LT(line.bottom(), form.Label2->geometry().top());
    const QRect wrapped = form.Label4->fontMetrics().boundingRect(
        QRect(0, 0, line.width(), 1000), Qt::TextWordWrap, form.Label4->text());
    EXPECT_LE(wrapped.width(), line.width());
    EXPECT_LE(wrapped.height(), line.height());
}

TEST_F(AboutBox, ConfirmButtonClosesTheModalBox) {
    bool shownModal = false;
    QTimer::singleShot(0, &form, [&] {
        shownModal = form.isVisible() && form.isModal();
        form.Button1->click();
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_TRUE(shownModal);
    EXPECT_FALSE(form.isVisible());
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal through the real main window: "添加印章", the stamp at a press, nudges, and the
// edge cases of a cleared or empty seal.
#include "PlacementFixture.h"

#include "RichEditWidget.h"
#include "RotImg.h"
#include "SpinEdit.h"
#include "Unit4.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr TColor canvasGrey = 0x00606060;

struct SealStamp : MainWindowTest {
    // The press handler itself: a synthesised mouse event would create Qt's pointing device,
    // whose destruction at exit, after the static application, crashes the test process.
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        form.Image1MouseDown(at, button);
    }
    // Opens the dialog with its toolbar button and confirms it after the given settings.
    void confirmSeal(const std::function<void(TForm4*)>& settings) {
        withDialog(
            [this, settings] {
                TForm4* dialog = form.Form4;
                settings(dialog);
                dialog->Button1->click();
            },
            [this] { form.ToolButton29->click(); });
    }
    const DrawingSurface& sealPicture() const { return form.Form4->RotateImage1->RotatedGraphic(); }
    // Every pixel of the seal picture at the point: key pixels leave the canvas colour.
    // A seal confirmed, then its preview emptied with "清空" and the dialog closed by its
    // close box: the placement stays armed with an empty seal.
    void armEmptySeal() {
        confirmSeal([](TForm4* d) { d->RichEdit1->richText().setText(QStringLiteral("印")); });
        withDialog(
            [this] {
                form.Form4->Button6->click();
                form.Form4->close();
            },
            [this] { form.ToolButton29Click(); });
    }
    void expectStampedAt(QPoint point) {
        const DrawingSurface& seal = sealPicture();
        ASSERT_FALSE(seal.isEmpty());
        for (int y = 0; y < seal.height(); ++y)
            for (int x = 0; x < seal.width(); ++x) {
                const TColor want = seal.pixel(x, y) == clFuchsia ? canvasGrey : seal.pixel(x, y);
                ASSERT_EQ(at(point.x() + x, point.y() + y), want) << x << "," << y;
            }
    }
};

// The characters a seal's face lacks are named in the status bar when it is stamped; a
// stamp without any takes the warning away.
TEST_F(SealStamp, FallbackCharactersAreNamedInTheStatusBar) {
    confirmSeal([](TForm4* d) {
        d->RichEdit1->richText().setText(QStringLiteral("福𠀀"));
        d->ComboBox1->setEditText(QStringLiteral("AR PL KaitiM GB"));
    });
    press(QPoint(10, 10));
    EXPECT_EQ(form.StatusPanel2->text(),
              QStringLiteral("警告：字体“AR PL KaitiM GB”中没有“𠀀”，改用后备字体画出。"));
    confirmSeal([](TForm4* d) { d->RichEdit1->richText().setText(QStringLiteral("福")); });
    press(QPoint(10, 10));
    EXPECT_EQ(form.StatusPanel2->text(), QString());
}

TEST_F(SealStamp, ConfirmedSealIsStampedAtThePressWithoutItsKey) {
    paintCanvas(canvasGrey);
    confirmSeal([](TForm4* d) {
        d->RichEdit1->richText().setText(QStringLiteral("永和\n九年"));
        d->RadioButton1->click();
        d->SpinEdit6->setText("30");
    });
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(form.Form4->pending());
    ASSERT_EQ(sealPicture().size(), QSize(102, 102));
    press(QPoint(120, 60), Qt::RightButton);
    expectStampedAt(QPoint(120, 60));
    EXPECT_EQ(count(clFuchsia), 0);
    EXPECT_EQ(at(121, 61), canvasGrey); // the corner of the square is key
    EXPECT_GT(count(0x003232F0), 500);  // intaglio ground
    EXPECT_FALSE(form.Form4->pending());
    EXPECT_EQ(form.composition().position(ekSeal), QPoint(120, 60));
    EXPECT_EQ(form.composition().lastKind(), ekSeal);
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::ArrowCursor);

    // A second press stamps nothing more.
    const QImage once = form.Image1->picture().image();
    press(QPoint(300, 200));
    EXPECT_EQ(form.Image1->picture().image(), once);
}

TEST_F(SealStamp, RoundedCornersLeaveTheCanvasVisible) {
    paintCanvas(canvasGrey);
    confirmSeal([](TForm4* d) {
        d->RichEdit1->richText().setText(QStringLiteral("印"));
        d->RadioButton8->click();
    });
    ASSERT_EQ(sealPicture().size(), QSize(74, 74));
    press(QPoint(10, 20));
    expectStampedAt(QPoint(10, 20));
    for (QPoint corner : {QPoint(10, 20), QPoint(59, 20), QPoint(10, 69), QPoint(59, 69)})
        EXPECT_EQ(at(corner.x(), corner.y()), canvasGrey);
    EXPECT_EQ(at(35, 20), clRed); // the top edge of the outline
    EXPECT_EQ(at(60, 20), canvasGrey);
}

TEST_F(SealStamp, NudgesRedrawTheSealTenPixelsAway) {
    paintCanvas(canvasGrey);
    confirmSeal([](TForm4* d) { d->RichEdit1->richText().setText(QStringLiteral("寿")); });
    press(QPoint(100, 100));
    form.ToolButton31->click(); // right
    form.ToolButton36->click(); // down
    EXPECT_EQ(form.composition().position(ekSeal), QPoint(110, 110));
    expectStampedAt(QPoint(110, 110));
    EXPECT_EQ(at(100, 100), canvasGrey); // drawn on the snapshot, not beside the first seal
    form.ToolButton30->click();
    form.ToolButton35->click();
    expectStampedAt(QPoint(100, 100));
}

TEST_F(SealStamp, ClearThenPressWithPlacementArmedStampsNothing) {
    paintCanvas(canvasGrey);
    armEmptySeal();
    EXPECT_TRUE(form.Form4->pending());
    const QImage before = form.Image1->picture().image();
    press(QPoint(50, 50));
    EXPECT_EQ(form.Image1->picture().image(), before);
    EXPECT_FALSE(form.Form4->pending());
    EXPECT_EQ(form.composition().lastKind(), ekSeal);

    // On a canvas without a picture the empty seal still makes the white picture first, as a
    // circle or fan does.
    form.ToolButton23Click();
    ASSERT_FALSE(form.Image1->hasPicture());
    armEmptySeal();
    press(QPoint(50, 50));
    ASSERT_TRUE(form.Image1->hasPicture());
    EXPECT_EQ(form.Image1->picture().size(), form.Image1->size());
    EXPECT_EQ(form.Image1->picture().pixel(50, 50), clWhite);
}

TEST_F(SealStamp, EmptyTextStampsNothing) {
    paintCanvas(canvasGrey);
    confirmSeal([](TForm4* d) { d->RichEdit1->richText().setText(QStringLiteral("山")); });
    press(QPoint(200, 100));
    confirmSeal([](TForm4* d) {
        d->RichEdit1->richText().setText(QString());
        d->SpinEdit1->setText("90");
    });
    press(QPoint(2, 3));
    EXPECT_EQ(at(40, 40), canvasGrey);
    EXPECT_EQ(form.composition().steps().size(), 1u);
}

TEST_F(SealStamp, MenuItemOpensTheDialogToo) {
    bool shown = false;
    withDialog(
        [this, &shown] {
            shown = form.Form4->isVisible();
            form.Form4->Button3->click();
        },
        [this] { form.MenuSeal->trigger(); });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(form.Form4->pending());
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The zoomed canvas of the main window: presses reach the same canvas pixel at any zoom, the
// wheel zooms about the pointer, the menu's zooms and a large new work shown whole, and what a
// zoomed-out canvas paints after a stamp.
#include "PlacementFixture.h"

#include "ZoomCache.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr TColor canvasGrey = 0x00606060;

using Zoom = MainWindowTest;

TEST_F(Zoom, APressStampsAtTheSameCanvasPixelAtEveryZoom) {
    paintCanvas(canvasGrey);
    QImage atActualSize;
    // The press lands on the control where the pixel (200, 120) is shown at that zoom, the
    // square's top-left corner at 400 %.
    for (double zoom : {1.0, 0.25, 4.0}) {
        form.ScrollBox1->zoomAbout(zoom, QPointF(0, 0));
        ASSERT_EQ(form.Image1->zoom(), zoom);
        EXPECT_EQ(form.Image1->size(), ZoomCache::viewSize(QSize(1273, 649), zoom));
        EXPECT_EQ(form.StatusZoom->text(), QString::number(zoom * 100).append(QLatin1Char('%')));
        const QPointF onControl = QPointF(200, 120) * zoom + QPointF(zoom > 1 ? 3 : 0, 0);
        sendMouse(QEvent::MouseMove, onControl, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("200,120")) << zoom;
        confirmCircle();
        sendMouse(QEvent::MouseButtonPress, onControl, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(form.composition().position(ekCircle), QPoint(200, 120)) << zoom;
        if (atActualSize.isNull())
            atActualSize = form.Image1->picture().image();
        else
            EXPECT_EQ(form.Image1->picture().image(), atActualSize) << zoom;
        // The arrows move what the press placed, 10 canvas pixels at any zoom.
        form.ToolButton31Click();
        EXPECT_EQ(form.composition().position(ekCircle), QPoint(210, 120)) << zoom;
        form.ToolButton22Click();
        EXPECT_EQ(count(canvasGrey), 1273 * 649);
    }
}

// Where the pointer is over the canvas, in canvas pixels (fractions kept).
QPointF canvasUnder(TForm1& form, QPoint onViewport) {
    const QPoint onControl = form.Image1->mapFrom(form.ScrollBox1->viewport(), onViewport);
    return QPointF(onControl) / form.Image1->zoom();
}

TEST_F(Zoom, CtrlWheelZoomsAboutThePointer) {
    QWidget* viewport = form.ScrollBox1->viewport();
    const struct {
        QPoint pointer; // on the viewport
        int notches;
        double zoom; // after them
    } turns[] = {{{300, 200}, 1, 1.5}, {{100, 50}, 2, 3.0},      {{600, 400}, -1, 2.0},
                 {{20, 300}, -4, 0.5}, {{10, 10}, 1, 2.0 / 3.0}, {{500, 90}, 3, 2.0}};
    for (const auto& turn : turns) {
        const QPointF before = canvasUnder(form, turn.pointer);
        QWheelEvent wheel(QPointF(form.Image1->mapFrom(viewport, turn.pointer)),
                          QPointF(viewport->mapToGlobal(turn.pointer)), QPoint(),
                          QPoint(0, 120 * turn.notches), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.Image1, &wheel);
        EXPECT_DOUBLE_EQ(form.Image1->zoom(), turn.zoom);
        // The canvas point stays under the pointer where the scroll bars can keep it there
        // (at a half the whole canvas fits the window), give or take the whole pixels the
        // scroll bars move by at each notch.
        const QPointF after = canvasUnder(form, turn.pointer);
        const double near = 1.0 + 0.5 / turn.zoom;
        if (form.ScrollBox1->horizontalScrollBar()->maximum() > 0)
            EXPECT_NEAR(after.x(), before.x(), near) << turn.zoom;
        if (form.ScrollBox1->verticalScrollBar()->maximum() > 0)
            EXPECT_NEAR(after.y(), before.y(), near) << turn.zoom;
    }
    // Without Ctrl the wheel scrolls (the canvas passes it on to the area's viewport).
    const int scrolled = form.ScrollBox1->verticalScrollBar()->value();
    QWheelEvent wheel(QPointF(10, 10), QPointF(viewport->mapToGlobal(QPoint(10, 10))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_DOUBLE_EQ(form.Image1->zoom(), 2.0);
    EXPECT_GT(form.ScrollBox1->verticalScrollBar()->value(), scrolled);
}

TEST_F(Zoom, MenuZoomsAndALargeNewWorkShownWhole) {
    const QSize area = form.ScrollBox1->maximumViewportSize();
    form.MenuFitWindow->trigger();
    EXPECT_TRUE(form.Image1->width() == area.width() || form.Image1->height() == area.height());
    EXPECT_LE(form.Image1->width(), area.width());
    EXPECT_LE(form.Image1->height(), area.height());
    // Fitted, the canvas follows the window's size until another zoom is chosen.
    form.resize(form.width() - 100, form.height());
    EXPECT_EQ(form.Image1->width(), form.ScrollBox1->maximumViewportSize().width());
    form.MenuZoomIn->trigger();
    EXPECT_GT(form.Image1->zoom(), form.ScrollBox1->fittingZoom());
    const double zoomedIn = form.Image1->zoom();
    form.resize(form.width() + 100, form.height());
    EXPECT_EQ(form.Image1->zoom(), zoomedIn);
    form.MenuActualSize->trigger();
    EXPECT_EQ(form.Image1->size(), QSize(1273, 649));
    form.MenuZoomOut->trigger();
    EXPECT_EQ(form.StatusZoom->text(), QStringLiteral("66.7%"));
    for (int i = 0; i < 30; ++i)
        form.MenuZoomOut->trigger();
    EXPECT_EQ(form.StatusZoom->text(), QStringLiteral("5%"));
    for (int i = 0; i < 30; ++i)
        form.MenuZoomIn->trigger();
    EXPECT_EQ(form.StatusZoom->text(), QStringLiteral("800%"));

    // A new canvas larger than the window opens fitted, a smaller one at its actual size.
    TSetStruct large;
    large.Width = 3000;
    large.Height = 2000;
    form.newCanvasFrom(large, QImage(), QByteArray());
    EXPECT_DOUBLE_EQ(form.Image1->zoom(), form.ScrollBox1->fittingZoom());
    EXPECT_LT(form.Image1->zoom(), 0.25);
    EXPECT_EQ(form.Image1->shownSize(), QSize(3000, 2000));
    form.MenuActualSize->trigger();
    form.newCanvasFrom(large, QImage(), QByteArray()); // the same size again
    EXPECT_DOUBLE_EQ(form.Image1->zoom(), form.ScrollBox1->fittingZoom());
    TSetStruct small;
    small.Width = 300;
    small.Height = 200;
    form.newCanvasFrom(small, QImage(), QByteArray());
    EXPECT_EQ(form.Image1->zoom(), 1.0);
    EXPECT_EQ(form.Image1->size(), QSize(300, 200));
}

TEST_F(Zoom, AZoomedOutCanvasPaintsTheStampedPicture) {
    paintCanvas(canvasGrey);
    form.ScrollBox1->zoomAbout(0.3, QPointF(0, 0));
    (void)form.Image1->grab(); // the copy is made at the first paint
    confirmCircle();
    press(QPoint(400, 300));
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(400, 300));
    // What the control paints is the stamped canvas sampled afresh.
    ZoomCache fresh;
    fresh.rebuild(form.Image1->picture().image(), 0.3);
    const QImage painted = form.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(painted.size(), fresh.view().size());
    EXPECT_EQ(painted, fresh.view().convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(painted.pixel(135, 105), 0xFF606060u); // the circle shows
}

TEST_F(Zoom, SpaceAndTheLeftButtonDragTheCanvasAndPlaceNothing) {
    form.ScrollBox1->setZoom(2.0);
    QScrollBar* across = form.ScrollBox1->horizontalScrollBar();
    QScrollBar* down = form.ScrollBox1->verticalScrollBar();
    across->setValue(300);
    down->setValue(200);
    confirmCircle();
    const auto key = [this](QEvent::Type type) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(form.Image1, &event);
    };
    const QPoint from = form.Image1->mapToGlobal(QPoint(700, 500));
    const auto mouse = [this](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        const QPointF local = form.Image1->mapFromGlobal(QPointF(global));
        QMouseEvent event(type, local, QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(form.Image1, &event);
    };
    key(QEvent::KeyPress);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, from - QPoint(40, 30), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, from - QPoint(40, 30), Qt::NoButton);
    key(QEvent::KeyRelease);
    EXPECT_EQ(across->value(), 340);
    EXPECT_EQ(down->value(), 230);
    EXPECT_TRUE(form.Form6->pending()); // the circle still waits for its press
    EXPECT_EQ(form.composition().steps().size(), 0u);
    // With Space let go a press places it again.
    press(QPoint(400, 300));
    EXPECT_EQ(form.composition().position(ekCircle), QPoint(400, 300));
}

// 导出 PDF… draws the work again at the print resolution, 300 dpi, on a page of the work's
// printed size, and says the resolution.
TEST_F(Zoom, ThePdfIsTheWorkDrawnAgainAtThePrintResolution) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("work.pdf"));
    const PlatformDialogs::FileChooser previous = PlatformDialogs::setFileChooser(
        [&](QWidget*, const FileDialogRequest&) { return std::optional<QString>(path); });
    TSetStruct canvas;
    canvas.Width = 200;
    canvas.Height = 100;
    canvas.Resolution = 100;
    canvas.UseColor = true;
    canvas.BackgroundColor = canvasGrey;
    form.composition().newCanvas(canvas, QImage());
    form.ExportPdfClick();
    PlatformDialogs::setFileChooser(previous);
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("已导出（300 dpi）：%1").arg(path));
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
    ASSERT_TRUE(images.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(images.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("\\s600\\s+300\\s+rgb"))));
}

TEST_F(Zoom, TheNextRunOpensWhereThisOneClosed) {
    QTemporaryDir folder;
    QSettings settings(folder.filePath(QStringLiteral("tarvel.ini")), QSettings::IniFormat);
    TForm1 fresh;
    fresh.restoreView(settings); // nothing kept yet: the window as it starts
    EXPECT_EQ(fresh.size(), QSize(736, 599));
    EXPECT_EQ(fresh.ScrollBox1->zoom(), 1.0);

    form.resize(900, 640);
    form.ScrollBox1->setZoom(0.5);
    form.saveView(settings);
    TForm1 next;
    next.restoreView(settings);
    EXPECT_EQ(next.size(), QSize(900, 640));
    EXPECT_EQ(next.ScrollBox1->zoom(), 0.5);
    EXPECT_EQ(next.StatusZoom->text(), QStringLiteral("50%"));
}

} // namespace

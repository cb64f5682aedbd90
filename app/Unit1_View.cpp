// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's view of the work: the zoom of the "视图" menu and the status bar, the PDF
// export and printing.
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PagePlan.h"
#include "PdfExport.h"
#include "PlatformDialogs.h"
#include "PrintSize.h"
#include "ScaledRendering.h"
#include "TarvelError.h"
#include "Toolbars.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>

namespace {

// The free border of a printed page, where the marks of tiles go, in millimetres.
constexpr double printMargin = 10;

// Prints the picture on the printer's paper as planPages lays it out, with marks at the
// corners of each tile where a picture is cut over several pages.
void printPicture(QPrinter& printer, const QImage& picture, int dotsPerInch, bool fit) {
    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    const PagePlan plan = planPages(
        picture.size(), dotsPerInch,
        QSizeF(std::min(paper.width(), paper.height()), std::max(paper.width(), paper.height())),
        printMargin, fit);
    printer.setFullPage(true);
    printer.setPageOrientation(plan.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        throw TarvelError(QCoreApplication::translate("TForm1", "无法打印：打印机没有准备好。"));
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, fit);
    const double perMillimetre = printer.resolution() / 25.4;
    painter.scale(perMillimetre, perMillimetre);
    const bool tiled = plan.tiles.size() > 1;
    for (const PageTile& tile : plan.tiles) {
        if (&tile != &plan.tiles.front())
            printer.newPage();
        painter.drawImage(tile.target, picture, tile.source);
        if (!tiled)
            continue;
        // Marks 5 mm long, 1 mm off each corner, to cut and join the pages by.
        painter.setPen(QPen(Qt::black, 0.1));
        const QRectF r = tile.target;
        for (const QPointF corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
            const double dx = corner.x() == r.left() ? -1 : 1;
            const double dy = corner.y() == r.top() ? -1 : 1;
            painter.drawLine(corner + QPointF(dx, 0), corner + QPointF(6 * dx, 0));
            painter.drawLine(corner + QPointF(0, dy), corner + QPointF(0, 6 * dy));
        }
    }
    painter.end();
}

} // namespace

void TForm1::buildViewMenu(QMenu* file) {
    using ErrorBoundary::guard;
    // After "作品模板…", before the exit's separator.
    QAction* exitSeparator = file->actions().at(file->actions().indexOf(N5) - 1);
    MenuExportPdf = new QAction(tr("导出 PDF…"), file);
    MenuExportPdf->setObjectName(QStringLiteral("MenuExportPdf"));
    MenuPrint = new QAction(tr("打印…"), file);
    MenuPrint->setObjectName(QStringLiteral("MenuPrint"));
    MenuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    MenuPrintPreview = new QAction(tr("打印预览"), file);
    MenuPrintPreview->setObjectName(QStringLiteral("MenuPrintPreview"));
    file->insertSeparator(exitSeparator);
    file->insertActions(exitSeparator, {MenuExportPdf, MenuPrint, MenuPrintPreview});
    connect(MenuExportPdf, &QAction::triggered, this, guard(this, [this] { ExportPdfClick(); }));
    connect(MenuPrint, &QAction::triggered, this, guard(this, [this] { PrintClick(); }));
    connect(MenuPrintPreview, &QAction::triggered, this,
            guard(this, [this] { PrintPreviewClick(); }));

    QMenu* view = menuBar()->addMenu(tr("视图(&V)"));
    view->setObjectName(QStringLiteral("MenuView"));
    MenuFitWindow = addMenuItem(view, QStringLiteral("MenuFitWindow"), tr("适合窗口"),
                                QKeySequence(Qt::CTRL | Qt::Key_0));
    MenuActualSize = addMenuItem(view, QStringLiteral("MenuActualSize"), tr("实际大小"),
                                 QKeySequence(Qt::CTRL | Qt::Key_1));
    MenuZoomIn = addMenuItem(view, QStringLiteral("MenuZoomIn"), tr("放大"));
    MenuZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    MenuZoomOut = addMenuItem(view, QStringLiteral("MenuZoomOut"), tr("缩小"),
                              QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(MenuFitWindow, &QAction::triggered, this, [this] { ScrollBox1->fitToWindow(); });
    connect(MenuActualSize, &QAction::triggered, this, [this] { ScrollBox1->actualSize(); });
    connect(MenuZoomIn, &QAction::triggered, this, [this] { ScrollBox1->zoomIn(); });
    connect(MenuZoomOut, &QAction::triggered, this, [this] { ScrollBox1->zoomOut(); });
    connect(view, &QMenu::hovered, this, [this, view](QAction* item) {
        if (view->isVisible())
            ApplicationHint(item->statusTip());
    });
}

// Called from buildWorkArea's end through the canvas's signals: the zoom in the status bar,
// and a canvas of another size shown whole when it is larger than the window.
void TForm1::followZoom() {
    connect(ScrollBox1, &CanvasView::zoomChanged, this,
            [this](double zoom) { StatusZoom->setText(CanvasView::zoomText(zoom)); });
    connect(Image1, &ImageControl::pictureResized, this, [this] { ScrollBox1->showNewPicture(); });
}

QString TForm1::workName() const {
    return currentWorkFile.isEmpty() ? tr("未命名") : QFileInfo(currentWorkFile).completeBaseName();
}

// The work drawn again at the resolution chosen for print, with the wait cursor while it is
// drawn; the status bar says when a lower resolution had to do.
bool TForm1::lowered(const ScaledRendering& drawn) const {
    return drawn.reduced && drawn.dotsPerInch < printResolution;
}

ScaledRendering TForm1::printRendering() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    ScaledRendering drawn = renderForPrint(State, printResolution);
    if (lowered(drawn))
        ApplicationHint(reducedResolutionText(drawn, printResolution));
    return drawn;
}

void TForm1::ExportPdfClick() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.filter = tr("PDF 文件 (*.pdf)|*.pdf");
    request.defaultExtension = QStringLiteral("pdf");
    if (!currentWorkFile.isEmpty())
        request.initialPath = QFileInfo(currentWorkFile).dir().filePath(workName() + ".pdf");
    const std::optional<QString> chosen = PlatformDialogs::chooseFile(this, request);
    if (!chosen)
        return;
    const QString path = PlatformDialogs::withDefaultExtension(*chosen, request.defaultExtension);
    const ScaledRendering drawn = printRendering();
    PdfOptions options;
    options.title = workName();
    options.dotsPerInch = drawn.dotsPerInch;
    exportPdf(drawn.picture, path, options);
    const QString exported =
        tr("已导出（%1 dpi）：%2").arg(drawn.dotsPerInch).arg(QDir::toNativeSeparators(path));
    ApplicationHint(lowered(drawn) ? reducedResolutionText(drawn, printResolution) + exported
                                   : exported);
}

void TForm1::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(workName());
    QPrintDialog dialog(&printer, this);
    // The choices of its own: the picture at its printed size or fitted to the paper, and the
    // resolution the work is drawn at for print and PDF.
    auto* options = new QWidget;
    options->setWindowTitle(tr("图片"));
    auto* fit = new QCheckBox(tr("适合纸张"), options);
    fit->setObjectName(QStringLiteral("PrintFit"));
    fit->setChecked(printFitted);
    auto* resolution = new QSpinBox(options);
    resolution->setObjectName(QStringLiteral("PrintResolution"));
    resolution->setRange(minimumResolution, maximumResolution);
    resolution->setSuffix(QStringLiteral(" dpi"));
    resolution->setValue(printResolution);
    auto* layout = new QFormLayout(options);
    layout->addRow(fit);
    layout->addRow(tr("分辨率："), resolution);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted)
        return;
    printFitted = fit->isChecked();
    printResolution = resolution->value();
    const ScaledRendering drawn = printRendering();
    printPicture(printer, drawn.picture, drawn.dotsPerInch, printFitted);
}

void TForm1::PrintPreviewClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(workName());
    // Drawn once: the preview paints its pages again at every change of its own.
    const ScaledRendering drawn = printRendering();
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, &drawn](QPrinter* shown) {
        ErrorBoundary::run(
            this, [&] { printPicture(*shown, drawn.picture, drawn.dotsPerInch, printFitted); });
    });
    preview.exec();
}

void TForm1::saveView(QSettings& settings) const {
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/zoom"), ScrollBox1->zoom());
}

void TForm1::restoreView(const QSettings& settings) {
    const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    bool known = false;
    const double zoom = settings.value(QStringLiteral("window/zoom")).toDouble(&known);
    if (known && zoom > 0)
        ScrollBox1->setZoom(zoom);
}

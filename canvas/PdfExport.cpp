// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "PdfExport.h"

#include "FileAccess.h"
#include "PagePlan.h"
#include "PrintSize.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>

void exportPdf(const QImage& picture, const QString& path, const PdfOptions& options) {
    const auto fail = [&](const QString& problem) {
        throw TarvelError(QCoreApplication::translate("Canvas", "无法导出 PDF %1：%2。")
                              .arg(files::quoted(path), problem));
    };
    if (picture.isNull())
        fail(QCoreApplication::translate("Canvas", "画布上没有图片"));
    const int dpi = options.dotsPerInch > 0 ? options.dotsPerInch : defaultResolution;
    std::optional<QSizeF> paper = printedSize(picture.size(), dpi);
    if (!options.paper.isEmpty()) {
        paper = paperSize(options.paper);
        if (!paper)
            fail(QCoreApplication::translate("Canvas", "没有纸张“%1”").arg(options.paper));
    }
    // planPages takes the paper upright and turns it to the picture's shape.
    const QSizeF upright(std::min(paper->width(), paper->height()),
                         std::max(paper->width(), paper->height()));
    const PagePlan plan = planPages(picture.size(), dpi, upright, 0, !options.paper.isEmpty());

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fail(files::saveProblem(path, errno));
    {
        QPdfWriter writer(&file);
        writer.setTitle(options.title);
        writer.setCreator(QStringLiteral("Tarvel"));
        writer.setResolution(dpi);
        // The page is the size asked for, never the standard paper nearest to it.
        writer.setPageLayout(QPageLayout(
            QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
            plan.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            fail(QCoreApplication::translate("Canvas", "无法写入 PDF"));
        }
        // Flate rather than JPEG: the picture's pixels as they are.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        const double perMillimetre = dpi / 25.4;
        for (const PageTile& tile : plan.tiles) {
            const QRectF target(tile.target.topLeft() * perMillimetre,
                                tile.target.size() * perMillimetre);
            painter.drawImage(target, picture, tile.source);
        }
        painter.end();
    }
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        const int error = errno;
        file.cancelWriting();
        fail(files::saveProblem(path, error));
    }
}

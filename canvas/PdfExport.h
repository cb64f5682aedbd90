// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The picture as a PDF for a print shop: one page the printed size of the picture at its
// resolution, or a chosen paper with the picture fitted and centred; the picture embedded
// losslessly at its full resolution.
#pragma once

#include <QImage>
#include <QString>

struct PdfOptions {
    QString title;       // the document's title, the work's name
    QString paper;       // empty: the picture's own size; otherwise one of paperNames()
    int dotsPerInch = 0; // 0: the screen's
};

// Writes the PDF through a temporary file renamed into place; throws TarvelError with the
// reason.
void exportPdf(const QImage& picture, const QString& path, const PdfOptions& options);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The program's emblem, drawn like a small intaglio seal.
#include "Emblem.h"

#include <QPainter>

QImage aboutEmblem() {
    QImage image(EmblemSize, EmblemSize, QImage::Format_RGB32);
    image.fill(toQColor(EmblemRed));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor paper = toQColor(EmblemPaper);
    // The seal's frame, cut in white two pixels wide, three pixels in from the edge.
    painter.fillRect(3, 3, 42, 2, paper);
    painter.fillRect(3, 43, 42, 2, paper);
    painter.fillRect(3, 5, 2, 38, paper);
    painter.fillRect(43, 5, 2, 38, paper);
    // The T: a cross stroke that thickens where the brush lands, and a falling stroke with a
    // hooked foot.
    painter.fillRect(11, 12, 26, 4, paper);
    painter.fillRect(11, 10, 4, 2, paper);
    painter.fillRect(22, 16, 4, 21, paper);
    painter.fillRect(18, 35, 4, 2, paper);
    painter.fillRect(31, 31, 4, 4, paper); // the ink drop
    return image;
}

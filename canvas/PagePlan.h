// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The picture on paper: which part of it goes on which page and where, at its own printed size
// (tiled over pages where it does not fit) or fitted to the page; the paper turned to the
// picture's shape. The PDF export and the print command both lay out pages by it.
#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One page: the part of the picture it shows, and where, in millimetres from the page's
// top-left corner.
struct PageTile {
    QRect source;
    QRectF target;
    int column = 0;
    int row = 0;
};

struct PagePlan {
    QSizeF paper; // millimetres, as the paper is turned
    bool landscape = false;
    int columns = 1;
    int rows = 1;
    std::vector<PageTile> tiles; // row by row
};

// The picture's printed size in millimetres at dotsPerInch (the screen's when none was given).
QSizeF printedSize(QSize pixels, int dotsPerInch);

// paper is given upright (its width not above its height) and is turned to landscape for a
// picture wider than high; margin is kept free on every side. At its own size a picture that
// does not fit is cut into tiles of whole pixels, each on a page of its own at the margin's
// corner; one that fits is centred. Fitted, the picture is scaled to the free area and centred.
PagePlan planPages(QSize pixels, int dotsPerInch, QSizeF paper, double margin, bool fit);

// The papers a PDF may be fitted to, by the names scripts give them ("A4", "letter" ...), and
// their upright size in millimetres.
const QStringList& paperNames();
std::optional<QSizeF> paperSize(const QString& name);

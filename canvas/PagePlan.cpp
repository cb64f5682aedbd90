// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "PagePlan.h"

#include "PrintSize.h"

#include <QPageSize>
#include <algorithm>
#include <cmath>

namespace {

constexpr double millimetresPerInch = 25.4;

struct Paper {
    const char* name;
    QPageSize::PageSizeId id;
};
constexpr Paper papers[] = {
    {"A5", QPageSize::A5}, {"A4", QPageSize::A4},         {"A3", QPageSize::A3},
    {"A2", QPageSize::A2}, {"A1", QPageSize::A1},         {"A0", QPageSize::A0},
    {"B5", QPageSize::B5}, {"B4", QPageSize::B4},         {"B3", QPageSize::B3},
    {"B2", QPageSize::B2}, {"letter", QPageSize::Letter},
};

} // namespace

QSizeF printedSize(QSize pixels, int dotsPerInch) {
    const double perPixel =
        millimetresPerInch / (dotsPerInch > 0 ? dotsPerInch : defaultResolution);
    return QSizeF(pixels.width() * perPixel, pixels.height() * perPixel);
}

PagePlan planPages(QSize pixels, int dotsPerInch, QSizeF paper, double margin, bool fit) {
    PagePlan plan;
    plan.landscape = pixels.width() > pixels.height();
    plan.paper = plan.landscape ? paper.transposed() : paper;
    const QRectF free(margin, margin, plan.paper.width() - 2 * margin,
                      plan.paper.height() - 2 * margin);
    if (pixels.isEmpty() || free.isEmpty())
        return plan;
    const QSizeF printed = printedSize(pixels, dotsPerInch);
    const auto centred = [&](QSizeF size) {
        return QRectF(free.center() - QPointF(size.width(), size.height()) / 2, size);
    };
    if (fit) {
        const double scale =
            std::min(free.width() / printed.width(), free.height() / printed.height());
        plan.tiles.push_back({QRect(QPoint(0, 0), pixels), centred(printed * scale)});
        return plan;
    }
    if (printed.width() <= free.width() + 1e-9 && printed.height() <= free.height() + 1e-9) {
        plan.tiles.push_back({QRect(QPoint(0, 0), pixels), centred(printed)});
        return plan;
    }
    // Whole pixels on each page, as many as the free area holds.
    const double perPixel = printed.width() / pixels.width();
    const int across = std::max(1, int(std::floor(free.width() / perPixel + 1e-9)));
    const int down = std::max(1, int(std::floor(free.height() / perPixel + 1e-9)));
    plan.columns = (pixels.width() + across - 1) / across;
    plan.rows = (pixels.height() + down - 1) / down;
    for (int row = 0; row < plan.rows; ++row)
        for (int column = 0; column < plan.columns; ++column) {
            const QRect source = QRect(column * across, row * down, across, down)
                                     .intersected(QRect(QPoint(0, 0), pixels));
            plan.tiles.push_back(
                {source, QRectF(free.topLeft(), QSizeF(source.size()) * perPixel), column, row});
        }
    return plan;
}

const QStringList& paperNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const Paper& paper : papers)
            list << QLatin1String(paper.name);
        return list;
    }();
    return names;
}

std::optional<QSizeF> paperSize(const QString& name) {
    for (const Paper& paper : papers)
        if (name == QLatin1String(paper.name))
            return QPageSize(paper.id).size(QPageSize::Millimeter);
    return std::nullopt;
}

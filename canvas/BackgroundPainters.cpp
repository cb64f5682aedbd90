// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "BackgroundPainters.h"

#include "TarvelError.h"

#include <QRect>
#include <cstring>
#include <new>

DrawingSurface plainBitmapCopy(const QImage& picture) {
    // A 32- or 24-bit picture gives the painters exactly the colours the copy would: it is
    // shared rather than copied, so the largest background is in memory once while it is laid.
    if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_BGR888)
        return DrawingSurface(picture);
    DrawingSurface bitmap(picture.width(), picture.height());
    if (!bitmap.isEmpty())
        bitmap.blockCopy(0, 0, DrawingSurface(picture));
    return bitmap;
}

std::vector<QPoint> tilePositions(QSize canvas, QSize picture) {
    std::vector<QPoint> positions;
    if (picture.width() < 1 || picture.height() < 1)
        return positions;
    const int columns = canvas.width() / picture.width() + 2;
    const int rows = canvas.height() / picture.height() + 2;
    positions.reserve(size_t(columns) * size_t(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            positions.emplace_back(c * picture.width(), r * picture.height());
    return positions;
}

QPoint centerOffset(QSize canvas, QSize picture) {
    // C++ division truncates toward zero, as the layout asks (-5 / 2 is -2).
    return {(canvas.width() - picture.width()) / 2, (canvas.height() - picture.height()) / 2};
}

void tileBackground(DrawingSurface& canvas, const DrawingSurface& bitmap) {
    if (canvas.isEmpty() || bitmap.isEmpty())
        return;
    const bool sameLayout = canvas.image().format() == bitmap.image().format();
    if (!sameLayout) {
        for (const QPoint& at : tilePositions(canvas.size(), bitmap.size()))
            canvas.blockCopy(at.x(), at.y(), bitmap);
        return;
    }
    // The same pixels as a block copy of every tile, laid a row at a time: each canvas row
    // is the picture's row repeated, the last copy cut at the right edge.
    const int bytesPerPixel = canvas.image().depth() / 8;
    const size_t tileBytes = size_t(bitmap.width()) * size_t(bytesPerPixel);
    const size_t rowBytes = size_t(canvas.width()) * size_t(bytesPerPixel);
    for (int y = 0; y < canvas.height(); ++y) {
        const uchar* source = bitmap.scanLine(y % bitmap.height());
        uchar* row = canvas.scanLine(y);
        for (size_t x = 0; x < rowBytes; x += tileBytes)
            std::memcpy(row + x, source, std::min(tileBytes, rowBytes - x));
    }
}

void stretchBackground(DrawingSurface& canvas, const DrawingSurface& bitmap) {
    if (canvas.isEmpty() || bitmap.isEmpty())
        return;
    canvas.copyRect(QRect(0, 0, canvas.width(), canvas.height()), bitmap,
                    QRect(0, 0, bitmap.width(), bitmap.height()));
}

void centerBackground(DrawingSurface& canvas, const DrawingSurface& bitmap) {
    if (canvas.isEmpty() || bitmap.isEmpty())
        return;
    const QPoint at = centerOffset(canvas.size(), bitmap.size());
    canvas.blockCopy(at.x(), at.y(), bitmap);
}

void paintBackground(DrawingSurface& canvas, const QImage& picture, PictureLayout layout) {
    const DrawingSurface bitmap = plainBitmapCopy(picture);
    if (bitmap.isEmpty() && !picture.isNull())
        throw std::bad_alloc();
    switch (layout) {
    case plStretch:
        stretchBackground(canvas, bitmap);
        break;
    case plCenter:
        centerBackground(canvas, bitmap);
        break;
    default:
        tileBackground(canvas, bitmap);
        break;
    }
}

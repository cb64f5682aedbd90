// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "Picture.h"

#include "TarvelError.h"

#include <algorithm>

namespace {
// The largest side a control can have.
constexpr qint64 largestSide = (1 << 24) - 1;
} // namespace

Picture::Picture(QSize size) {
    setSize(size.width(), size.height());
}

DrawingSurface& Picture::canvas() {
    if (kind == Kind::Graphic)
        throw TarvelError(QStringLiteral("Can only modify an image if it contains a bitmap"));
    if (kind == Kind::Empty) {
        surface = DrawingSurface(extent.width(), extent.height());
        surface.transparent = isTransparent;
        kind = Kind::Bitmap;
    }
    return surface;
}

void Picture::setPicture(const DrawingSurface& picture) {
    surface = picture;
    kind = Kind::Bitmap;
}

void Picture::setPicture(DrawingSurface&& picture) {
    surface = std::move(picture);
    kind = Kind::Bitmap;
}

void Picture::setGraphic(const QImage& graphic) {
    surface = DrawingSurface(graphic);
    kind = Kind::Graphic;
}

void Picture::clearPicture() {
    surface = DrawingSurface();
    kind = Kind::Empty;
}

void Picture::setTransparent(bool transparent) {
    isTransparent = transparent;
    surface.transparent = transparent;
}

void Picture::setSize(qint64 width, qint64 height) {
    extent = QSize(int(std::clamp<qint64>(width, 0, largestSide)),
                   int(std::clamp<qint64>(height, 0, largestSide)));
}

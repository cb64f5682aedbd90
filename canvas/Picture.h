// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The picture an image control shows, apart from the control: empty, a bitmap that can be drawn
// on, or a decoded graphic that can only be shown and copied. It has a size of its own (the
// control's size), which the first drawing on an empty picture takes for its white bitmap.
#pragma once

#include "DrawingSurface.h"

#include <QSize>

class Picture {
public:
    explicit Picture(QSize size = QSize(105, 105));

    bool hasPicture() const { return kind != Kind::Empty; }
    bool holdsBitmap() const { return kind == Kind::Bitmap; }
    // The picture as it is (an empty surface when there is none).
    const DrawingSurface& picture() const { return surface; }
    // The drawing surface: creates a white bitmap of the picture's size, taking its
    // transparency, when there is no picture yet; fails for a picture that is not a bitmap.
    DrawingSurface& canvas();
    void setPicture(const DrawingSurface& picture);
    void setPicture(DrawingSurface&& picture);
    void setGraphic(const QImage& graphic);
    void clearPicture();

    bool transparent() const { return isTransparent; }
    void setTransparent(bool transparent);

    // The size a new bitmap gets, kept between 0 and the largest a control can be.
    QSize size() const { return extent; }
    int width() const { return extent.width(); }
    int height() const { return extent.height(); }
    void setSize(qint64 width, qint64 height);

    // The resolution the picture is printed at, in dots per inch, which its saved files carry;
    // 0 when none was chosen.
    int dotsPerInch() const { return resolution; }
    void setDotsPerInch(int dotsPerInch) { resolution = dotsPerInch; }

private:
    enum class Kind { Empty, Bitmap, Graphic };
    DrawingSurface surface;
    Kind kind = Kind::Empty;
    bool isTransparent = false;
    QSize extent;
    int resolution = 0;
};

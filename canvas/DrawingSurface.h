// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The raster bitmap with pen, brush and font through which every picture of the program is
// drawn: the work canvas, the history's pictures, previews, seal, circle, fan and effect
// buffers.
// Origin top-left, y downwards, colours 0x00BBGGRR.
#pragma once

#include "Colors.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

// Screen pixels per inch used for point sizes (96 on the offscreen test platform).
int screenPixelsPerInch();

class DrawingSurface {
public:
    enum class Format { Bit24, Bit32 };
    enum class BrushStyle { Solid, Clear };

    struct Pen {
        TColor color = clBlack;
        int width = 1; // 0 draws one pixel wide, like 1
    };
    struct Brush {
        TColor color = clWhite;
        BrushStyle style = BrushStyle::Solid;
    };
    // A font request. A negative height asks for a character height (em size, no internal
    // leading), a positive one for a cell height (ascent + descent); 0 means the default.
    struct Font {
        QString name = QStringLiteral("宋体");
        int height = -11;
        int width = 0;      // half a full-width character's width in pixels; 0: the face's own
        int weight = 400;   // 100..1000
        int escapement = 0; // tenths of a degree, counter-clockwise
        int charset = 1;    // DEFAULT_CHARSET; 134 is GB2312
        int pitch = 0;      // 0 default, 1 fixed, 2 variable
        TColor color = clWindowText;
        bool italic = false;
        bool underline = false;
        bool strikeout = false;
        // Pixels added to the width of every stroke by drawing the glyphs' outlines with a
        // pen this wide; 0 draws the face as it is.
        double thickening = 0;

        void setSizePoints(int points);
        int sizePoints() const;
        bool operator==(const Font&) const = default;
    };

    DrawingSurface() = default;
    DrawingSurface(int width, int height, Format format = Format::Bit32);
    explicit DrawingSurface(const QImage& image);
    // A picture whose pixels carry their own coverage (premultiplied alpha): drawn onto another
    // surface it is composited over it, so its smooth edges blend with what lies beneath and
    // no key colour is involved. Nothing is drawn on such a picture through the surface.
    static DrawingSurface withAlpha(const QImage& image);
    bool hasAlpha() const { return image_.format() == QImage::Format_ARGB32_Premultiplied; }

    bool isEmpty() const { return image_.isNull() || image_.width() < 1 || image_.height() < 1; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QSize size() const { return image_.size(); }

    // Resizing keeps the old pixels at the top-left; new area takes the brush colour.
    // A surface that had no bitmap becomes white.
    void setSize(int width, int height);
    void clear(); // no bitmap any more
    Format format() const;
    void setFormat(Format format);

    uchar* scanLine(int y) { return image_.scanLine(y); }
    const uchar* scanLine(int y) const { return image_.constScanLine(y); }
    qsizetype bytesPerLine() const { return image_.bytesPerLine(); }
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    TColor pixel(int x, int y) const;
    void setPixel(int x, int y, TColor color);

    Pen pen;
    Brush brush;
    Font font;

    // Transparency of this picture when it is drawn onto another surface: the fixed
    // transparent colour, or else the colour of the bottom-left pixel.
    bool transparent = false;
    std::optional<TColor> transparentColor;
    TColor effectiveTransparentColor() const;
    // The picture as it will be stamped, for showing: a transparent picture's key-coloured
    // pixels become fully transparent; an opaque picture is returned as it is.
    QImage keyedForDisplay() const;

    // Shapes. Boxes are (left, top, right, bottom) with right and bottom exclusive; the pen
    // outline is centred on the edge and the inside is filled unless the brush is clear.
    // Nothing is antialiased, so keyed pictures never get blended fringes.
    void fillRect(int left, int top, int right, int bottom);
    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void ellipse(int left, int top, int right, int bottom);
    // From the start point counter-clockwise to the end point, on the ellipse of the box.
    void arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);
    void moveTo(int x, int y);
    void lineTo(int x, int y); // end point excluded
    QPoint penPosition() const { return penPos; }
    // Border mode: fills with the brush colour from the seed through horizontal and vertical
    // neighbours, stopping at pixels of the border colour and at the edges.
    void floodFill(int x, int y, TColor borderColor);

    // Text with the surface font: the top-left of the character cell at (x, y). A clear
    // brush draws the glyphs only, a solid one fills the cell first.
    void textOut(int x, int y, const QString& text);
    int textWidth(const QString& text);
    int textHeight(const QString& text);
    // Text with a temporary font on a transparent background, turning about (x, y) by the
    // font's escapement; the surface's own font is untouched.
    void textOutWithFont(int x, int y, const QString& text, const Font& temporaryFont);

    // Pictures. draw honours the source's transparency (a key colour left out, or an alpha
    // picture composited over the surface); the copies are straight pixel copies (no
    // blending), clipped to this surface; stretching samples the nearest pixel.
    void draw(int x, int y, const DrawingSurface& picture);
    void stretchDraw(const QRect& dest, const DrawingSurface& picture);
    void blockCopy(int x, int y, const DrawingSurface& source);
    void copyRect(const QRect& dest, const DrawingSurface& source, const QRect& sourceRect);

private:
    void ensureBitmap();
    void fillSpans(int left, int top, int right, int bottom, double rx, double ry, int penWidth);

    QImage image_;
    QPoint penPos;
};

// Makes the classic Chinese face names ("宋体", "楷体", …) render with the Song and Kai faces
// that are installed. Safe to call more than once.
void installFontSubstitutions();

// Turns a font request into a QFont at pixel sizes of the current screen; each distinct
// request is resolved once and kept.
QFont resolveFont(const DrawingSurface::Font& font);

// Qt answers a failed allocation with an empty picture, and a row of an empty picture is a
// null pointer: these raise std::bad_alloc instead, so that a command fails before it draws
// nothing or writes through the null row. A picture of no pixels asked for stays empty.
QImage newImage(QSize size, QImage::Format format);
QImage allocated(QImage image, QSize asked);

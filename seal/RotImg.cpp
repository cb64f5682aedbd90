// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rotating image control: keeps RotatedGraphic in step with Picture and the properties,
// and paints it at 1:1 (or stretched) with its key colour left out when it is transparent.
#include "RotImg.h"

#include "TarvelError.h"

#include <QPaintEvent>
#include <QPainter>

ImageCanvasEdit::ImageCanvasEdit(TRotateImage* owner, DrawingSurface* surface)
    : owner(owner), surface(surface) {}

ImageCanvasEdit::ImageCanvasEdit(ImageCanvasEdit&& other) noexcept
    : owner(other.owner), surface(other.surface) {
    other.owner = nullptr;
    other.surface = nullptr;
}

ImageCanvasEdit::~ImageCanvasEdit() {
    if (owner)
        owner->PictureModified();
}

TRotateImage::TRotateImage(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
}

TRotateImage::~TRotateImage() = default;

bool TRotateImage::pictureIsEmpty() const {
    return kind == PictureKind::Empty;
}

QSize TRotateImage::pictureSize() const {
    switch (kind) {
    case PictureKind::Bitmap:
        return bitmap.size();
    case PictureKind::Graphic:
        return graphic.size();
    case PictureKind::Empty:
        break;
    }
    return QSize(0, 0);
}

void TRotateImage::setPicture(const DrawingSurface& picture) {
    bitmap = picture;
    graphic = QImage();
    kind = PictureKind::Bitmap;
    PictureModified();
}

void TRotateImage::setPictureGraphic(const QImage& picture) {
    bitmap = DrawingSurface();
    graphic = picture;
    kind = picture.isNull() ? PictureKind::Empty : PictureKind::Graphic;
    PictureModified();
}

void TRotateImage::clearPicture() {
    bitmap = DrawingSurface();
    graphic = QImage();
    kind = PictureKind::Empty;
    PictureModified();
}

ImageCanvasEdit TRotateImage::ImageCanvas() {
    if (kind == PictureKind::Empty)
        setPicture(DrawingSurface(width(), height()));
    if (kind != PictureKind::Bitmap)
        throw TarvelError(QStringLiteral("Can only modify an image if it contains a bitmap"));
    return ImageCanvasEdit(this, &bitmap);
}

void TRotateImage::setAngle(long double degrees) {
    if (degrees == angle)
        return;
    angle = degrees;
    PictureModified();
}

void TRotateImage::setUniqueSize(bool value) {
    if (value == uniqueSize)
        return;
    uniqueSize = value;
    PictureModified();
}

void TRotateImage::setCenter(bool value) {
    if (value == center)
        return;
    center = value;
    PictureModified();
}

void TRotateImage::setStretch(bool value) {
    if (value == stretch)
        return;
    stretch = value;
    PictureModified();
}

void TRotateImage::setTransparent(bool value) {
    if (value == transparent)
        return;
    transparent = value;
    PictureModified();
}

void TRotateImage::setColor(TColor value) {
    if (value == color)
        return;
    color = value;
    RebuildRotated();
    update();
}

void TRotateImage::setAutoSize(bool value) {
    autoSize = value;
    if (autoSize)
        applyAutoSize();
}

void TRotateImage::setControlSize(int width, int height) {
    resize(std::max(width, 0), std::max(height, 0));
    if (autoSize)
        applyAutoSize();
}

void TRotateImage::declareOpaque(bool opaque) {
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void TRotateImage::PictureModified() {
    if (loading)
        return;
    if (kind != PictureKind::Empty) {
        // The picture takes the control's transparency; a transparent picture, or one that
        // leaves part of the control uncovered, lets what is beneath show through.
        if (kind == PictureKind::Bitmap)
            bitmap.transparent = transparent;
        const bool covers = stretch || (rotated.width() >= width() && rotated.height() >= height());
        declareOpaque(!transparent && covers);
        if (PaletteNotify() && paintInProgress)
            repaint();
    } else {
        declareOpaque(false);
    }
    RebuildRotated();
    const QSize size = pictureSize();
    if (autoSize && size.width() >= 1 && size.height() >= 1)
        resize(rotated.size());
    if (!paintInProgress)
        update();
}

void TRotateImage::RebuildRotated() {
    const QSize size = pictureSize();
    if (size.width() < 1 || size.height() < 1) {
        rotated.clear();
    } else {
        const RotatedPictureOptions options{angle, uniqueSize, center, transparent};
        if (kind == PictureKind::Bitmap) {
            rotated = rebuildRotatedPicture(bitmap, bitmap.effectiveTransparentColor(), options);
        } else {
            // Other graphics are drawn on the control's colour first, which becomes the
            // background of the turn.
            const TColor background = fromRgb(toRgb(color));
            DrawingSurface source(size.width(), size.height());
            source.image().fill(toQColor(background));
            {
                QPainter painter(&source.image());
                painter.drawImage(0, 0, graphic);
            }
            rotated = rebuildRotatedPicture(source, background, options);
        }
    }
    shownImage = QImage();
    emit rotatedRebuilt();
    if (autoSize)
        applyAutoSize();
}

void TRotateImage::applyAutoSize() {
    int w = width(), h = height();
    if (CanAutoSize(w, h))
        resize(w, h);
}

bool TRotateImage::CanAutoSize(int& newWidth, int& newHeight) const {
    if (align == alNone || align == alLeft || align == alRight)
        newWidth = rotated.width();
    if (align == alNone || align == alTop || align == alBottom)
        newHeight = rotated.height();
    return true;
}

QSize TRotateImage::sizeHint() const {
    if (autoSize)
        return rotated.size();
    return QSize(105, 105);
}

void TRotateImage::Loaded() {
    loading = false;
    PictureModified();
}

QList<QRgb> TRotateImage::GetPalette() const {
    if (kind == PictureKind::Graphic)
        return graphic.colorTable();
    return {};
}

void TRotateImage::PictureProgress(TProgressStage stage, quint8 percentDone, bool redrawNow,
                                   const QRect& r, const QString& msg) {
    if (redrawNow && incrementalDisplay)
        repaint();
    if (OnProgress)
        OnProgress(this, stage, percentDone, redrawNow, r, msg);
}

QRect TRotateImage::DisplayRect() const {
    const int rw = rotated.width(), rh = rotated.height();
    if (stretch)
        return rect();
    if (center)
        return QRect((width() - rw) / 2, (height() - rh) / 2, rw, rh);
    return QRect(0, 0, rw, rh);
}

void TRotateImage::showInstead(const QImage& picture) {
    shownImage = picture;
    update();
}

void TRotateImage::paintEvent(QPaintEvent*) {
    if (rotated.isEmpty())
        return;
    const bool previous = paintInProgress;
    paintInProgress = true;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{paintInProgress, previous};

    if (shownImage.isNull()) {
        shownImage = rotated.keyedForDisplay();
    }
    QPainter painter(this);
    painter.drawImage(DisplayRect(), shownImage);
}

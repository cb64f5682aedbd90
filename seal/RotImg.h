// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// TRotateImage: an image control that shows its picture turned by any angle. It keeps the
// turned picture, RotatedGraphic, rebuilt from Picture on every change of the picture or of
// a property that shapes it; the seal dialog draws into it and the main window stamps it.
#pragma once

#include "Colors.h"
#include "DrawingSurface.h"
#include "RotateBitmap.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QWidget>
#include <functional>

class TRotateImage;

// The drawing surface of the control's picture bitmap, handed out by ImageCanvas. When the
// caller is done drawing (the edit goes out of scope) the picture counts as changed and the
// turned picture is rebuilt, as for any other change of the picture.
class ImageCanvasEdit final {
public:
    ImageCanvasEdit(ImageCanvasEdit&& other) noexcept;
    ImageCanvasEdit(const ImageCanvasEdit&) = delete;
    ImageCanvasEdit& operator=(const ImageCanvasEdit&) = delete;
    ImageCanvasEdit& operator=(ImageCanvasEdit&&) = delete;
    ~ImageCanvasEdit();

    DrawingSurface* operator->() const { return surface; }
    DrawingSurface& operator*() const { return *surface; }

private:
    friend class TRotateImage;
    ImageCanvasEdit(TRotateImage* owner, DrawingSurface* surface);
    TRotateImage* owner = nullptr;
    DrawingSurface* surface = nullptr;
};

class TRotateImage final : public QWidget {
    Q_OBJECT
public:
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
    enum TProgressStage { psStarting, psRunning, psEnding };
    using TProgressEvent =
        std::function<void(QObject* sender, TProgressStage stage, quint8 percentDone,
                           bool redrawNow, const QRect& r, const QString& msg)>;

    explicit TRotateImage(QWidget* parent = nullptr);
    ~TRotateImage() override;

    // ---- Picture: empty, a bitmap, or another graphic (a decoded picture that can be shown
    // and turned but not drawn on). Every change rebuilds RotatedGraphic.
    bool pictureIsEmpty() const;
    bool pictureHoldsBitmap() const { return kind == PictureKind::Bitmap; }
    QSize pictureSize() const;
    const DrawingSurface& pictureBitmap() const { return bitmap; } // empty unless a bitmap
    const QImage& pictureGraphic() const { return graphic; }       // null unless a graphic
    void setPicture(const DrawingSurface& picture);
    void setPictureGraphic(const QImage& picture);
    void clearPicture();

    // The picture's drawing surface: an empty picture first becomes a white bitmap of the
    // control's size. Raises "Can only modify an image if it contains a bitmap" when the
    // picture holds another kind of graphic.
    [[nodiscard]] ImageCanvasEdit ImageCanvas();

    long double Angle() const { return angle; }
    void setAngle(long double degrees);
    bool UniqueSize() const { return uniqueSize; }
    void setUniqueSize(bool value);
    bool Center() const { return center; }
    void setCenter(bool value);
    bool Stretch() const { return stretch; }
    void setStretch(bool value);
    bool Transparent() const { return transparent; }
    void setTransparent(bool value);
    bool IncrementalDisplay() const { return incrementalDisplay; }
    void setIncrementalDisplay(bool value) { incrementalDisplay = value; }
    TProgressEvent OnProgress;

    // Background of pictures that are not bitmaps. A change rebuilds the turned picture.
    TColor Color() const { return color; }
    void setColor(TColor value);
    bool AutoSize() const { return autoSize; }
    void setAutoSize(bool value);
    TAlign Align() const { return align; }
    void setAlign(TAlign value) { align = value; }

    // The control's size; with AutoSize it follows RotatedGraphic.
    void setControlSize(int width, int height);

    // The turned picture that is painted and stamped; 0 x 0 when the picture is empty.
    const DrawingSurface& RotatedGraphic() const { return rotated; }
    // A picture painted in RotatedGraphic's place until the next rebuild, of its size (the
    // seal dialog's smooth seal, whose edges a keyed picture cannot show).
    void showInstead(const QImage& picture);
    // Where RotatedGraphic is painted, in the control's coordinates.
    QRect DisplayRect() const;
    bool PaintInProgress() const { return paintInProgress; }

    // Runs on every change of the picture and from the property writes.
    void PictureModified();
    void RebuildRotated();

    // Loading from a description: property writes in between do not rebuild; Loaded
    // rebuilds once at the end.
    void beginLoading() { loading = true; }
    void Loaded();

    // Palettes have no meaning here: there is never a changed palette to take up.
    bool PaletteNotify() const { return false; }
    // The colour table of an indexed picture graphic; empty otherwise.
    QList<QRgb> GetPalette() const;
    // The auto-size query: the size the control would take; always true.
    bool CanAutoSize(int& newWidth, int& newHeight) const;
    // Progress while a picture loads; forwards to OnProgress.
    void PictureProgress(TProgressStage stage, quint8 percentDone, bool redrawNow, const QRect& r,
                         const QString& msg);

    QSize sizeHint() const override;

signals:
    // Emitted after each rebuild of RotatedGraphic.
    void rotatedRebuilt();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class PictureKind { Empty, Bitmap, Graphic };
    void applyAutoSize();
    void declareOpaque(bool opaque);

    PictureKind kind = PictureKind::Empty;
    DrawingSurface bitmap;
    QImage graphic;
    DrawingSurface rotated;
    QImage shownImage; // RotatedGraphic as painted, key colour made clear
    long double angle = 0;
    bool uniqueSize = true;
    bool center = false;
    bool stretch = false;
    bool transparent = false;
    bool incrementalDisplay = false;
    bool autoSize = false;
    bool loading = false;
    bool paintInProgress = false;
    TAlign align = alNone;
    TColor color = clBtnFace;
};

#include "CompositionState.h"

#include <QPainter>

#include "BackgroundPainters.h"
#include "Filter3x3.h"
#include "RotatedText.h"
#include "TextLayout.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr int firstPlaced = ekRotatedText;

// A margin moved by a nudge stays a 32-bit value however far the user pushes it.
qint32 movedMargin(qint32 margin, int step) {
    return qint32(std::clamp<qint64>(qint64(margin) + step, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

} // namespace

CompositionState::CompositionState() : canvasPicture(QSize(1273, 649)) {}

void CompositionState::attach(ElementKind kind, PlacedElement* element) {
    if (kind >= ekRotatedText && kind <= ekFan)
        elements[std::size_t(kind - firstPlaced)] = element;
}

void CompositionState::attachText(TextBlock* block) {
    text = block;
}

PlacedElement* CompositionState::element(ElementKind kind) const {
    if (kind < ekRotatedText || kind > ekFan)
        return nullptr;
    return elements[std::size_t(kind - firstPlaced)];
}

QPoint& CompositionState::positionOf(ElementKind kind) {
    switch (kind) {
    case ekSeal:
        return SealPos;
    case ekCircle:
        return CirclePos;
    case ekFan:
        return FanPos;
    default:
        return RotatedTextPos;
    }
}

void CompositionState::takeUndoSnapshot() {
    snapshot.setSize(canvasPicture.width(), canvasPicture.height());
    if (!canvasPicture.hasPicture()) {
        snapshot.clearPicture();
        return;
    }
    const DrawingSurface& current = canvasPicture.picture();
    const DrawingSurface& kept = snapshot.picture();
    // Copying into the snapshot's own bitmap costs one pass over the pixels. Sharing the
    // canvas's bitmap instead would make the stamp that follows allocate a whole new canvas
    // and copy it, which on a large canvas costs several times as much.
    if (canvasPicture.holdsBitmap() && snapshot.holdsBitmap() && kept.size() == current.size() &&
        kept.format() == current.format()) {
        if (kept.image().constBits() != current.image().constBits()) // not already equal
            snapshot.canvas().blockCopy(0, 0, current);
        return;
    }
    snapshot.setPicture(current);
}

void CompositionState::restoreUndoSnapshot() {
    if (snapshot.hasPicture())
        canvasPicture.setPicture(snapshot.picture());
    else
        canvasPicture.clearPicture();
}

// A canvas without a picture gets its white one first, whatever is stamped.
QRect CompositionState::drawStamp(const Stamp& stamp, QPoint point) {
    DrawingSurface& surface = canvasPicture.canvas();
    if (stamp.rotatedText) {
        DrawRotatedText(surface, point.x(), point.y(), *stamp.rotatedText);
        return QRect();
    }
    if (stamp.smoothPicture && !stamp.smoothPicture->isNull()) {
        QPainter painter(&surface.image());
        painter.drawImage(point, *stamp.smoothPicture);
        return QRect(point, stamp.smoothPicture->size());
    }
    if (!stamp.picture)
        return QRect(point, QSize(0, 0));
    surface.draw(point.x(), point.y(), *stamp.picture);
    return QRect(point, stamp.picture->image().size());
}

bool CompositionState::stampPendingAt(QPoint point) {
    // Every press takes a new snapshot, whether anything is pending or not.
    takeUndoSnapshot();
    bool stamped = false;
    bool anywhere = !canvasPicture.hasPicture();
    QRect area;
    for (int kind = ekRotatedText; kind <= ekFan; ++kind) {
        PlacedElement* placed = elements[std::size_t(kind - firstPlaced)];
        if (!placed || !placed->pending())
            continue;
        const QRect drawn = drawStamp(placed->stamp(), point);
        anywhere = anywhere || drawn.isNull();
        area |= drawn;
        placed->disarm();
        positionOf(ElementKind(kind)) = point;
        LastKind = ElementKind(kind);
        stamped = true;
    }
    const QRect whole(QPoint(0, 0), canvasPicture.size());
    lastStampedArea = anywhere ? whole : area.intersected(whole);
    if (stamped)
        Changed = true;
    return stamped;
}

void CompositionState::nudge(int dx, int dy) {
    restoreUndoSnapshot();
    if (LastKind == ekText) {
        nudgeText(dx, dy);
    } else if (PlacedElement* placed = element(LastKind)) {
        QPoint& position = positionOf(LastKind);
        position += QPoint(dx, dy);
        drawStamp(placed->stamp(), position);
    }
    Changed = true;
}

void CompositionState::drawTextBlock() {
    if (!text)
        return;
    takeUndoSnapshot();
    const qint32 chosen = text->textSettings().Arrangement;
    DrawingSurface& surface = canvasPicture.canvas();
    // A clear brush, so that the picture shows through around the glyphs.
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawTextBlock(surface, text->richText(), text->textSettings(),
                  isArrangement(chosen) ? Arrangement(chosen) : arHorzLeftToRight,
                  canvasPicture.width());
    Changed = true;
}

void CompositionState::nudgeText(int dx, int dy) {
    if (!text)
        return;
    TextSettings& settings = text->textSettings();
    // The right-to-left layouts measure LeftMargin from the right edge, so the block moves
    // in the direction of the arrow when the margin changes the other way round.
    const bool fromRight =
        isArrangement(settings.Arrangement) && ::isRightToLeft(settings.Arrangement);
    settings.LeftMargin = movedMargin(settings.LeftMargin, fromRight ? -dx : dx);
    settings.TopMargin = movedMargin(settings.TopMargin, dy);
    DrawingSurface& surface = canvasPicture.canvas();
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawTextBlock(surface, text->richText(), settings, settings.Arrangement, canvasPicture.width());
}

void CompositionState::undo() {
    restoreUndoSnapshot();
    Changed = true;
}

void CompositionState::clear() {
    canvasPicture.clearPicture();
}

void CompositionState::newCanvas(const TSetStruct& settings, const QImage& background) {
    canvasPicture.clearPicture();
    canvasPicture.setSize(settings.Width, settings.Height);
    Changed = true;
    if (settings.UsePicture) {
        // Decoded pictures are drawn as the graphic they are: 24- and 32-bit pixels stay as
        // they are, every other format becomes 32 bits.
        const DrawingSurface graphic(background);
        paintBackground(canvasPicture.canvas(), graphic.image(), settings.Layout);
    }
    if (settings.UseColor) {
        DrawingSurface& surface = canvasPicture.canvas();
        surface.brush.color = settings.BackgroundColor;
        surface.fillRect(0, 0, settings.Width, settings.Height);
    }
    EffectBaseTaken = false;
}

// Puts a copy of this picture on the canvas; the canvas keeps its pen, brush and font.
// Pixels of the canvas's own of the same size and format are overwritten rather than given up,
// so the next effect can write its result there without mapping a new bitmap; otherwise the
// canvas shares the picture's pixels until either side draws.
void CompositionState::showOnCanvas(const DrawingSurface& picture) {
    if (canvasPicture.holdsBitmap()) {
        QImage& own = canvasPicture.canvas().image();
        const QImage& shown = picture.image();
        if (own.isDetached() && own.format() == shown.format() && own.size() == shown.size() &&
            own.bytesPerLine() == shown.bytesPerLine()) {
            std::memcpy(own.bits(), shown.constBits(), std::size_t(own.sizeInBytes()));
            return;
        }
    }
    DrawingSurface copy = canvasPicture.picture();
    copy.image() = picture.image();
    canvasPicture.setPicture(std::move(copy));
}

bool CompositionState::hasEffectPicture() const {
    if (EffectBaseTaken)
        return !EffectBase.isEmpty();
    return canvasPicture.hasPicture() && !canvasPicture.picture().isEmpty();
}

bool CompositionState::applyEffect(EffectKind kind) {
    if (!hasEffectPicture())
        return false;
    if (!EffectBaseTaken && canvasPicture.holdsBitmap()) {
        // The first effect takes the base and filters it in one walk down the picture: each
        // row is converted to 24 bits into the base just before the filter reads it.
        CopyTo24BitAndFilter(EffectWeights(kind), canvasPicture.picture(), EffectBase,
                             canvasPicture.canvas());
        CurrentEffect = kind;
        EffectBaseTaken = true;
        Changed = true;
        return true;
    }
    // Once the base is taken, putting it back on the canvas first would be wasted: the filter
    // reads the base and writes every pixel of the canvas.
    if (!EffectBaseTaken)
        PrepareEffectBase();
    CurrentEffect = kind;
    ApplyEffect();
    Changed = true;
    return true;
}

void CompositionState::PrepareEffectBase() {
    if (!EffectBaseTaken)
        CopyTo24Bit(EffectBase, canvasPicture.picture());
    else
        showOnCanvas(EffectBase);
}

void CompositionState::ApplyEffect() {
    if (CurrentEffect == efNone)
        return; // the restored picture has no filter
    // The filter reads the base and writes the canvas's bitmap, which serves as the working
    // bitmap: the base itself is never written, and no copy of the base is made only to be
    // overwritten.
    if (!canvasPicture.holdsBitmap())
        showOnCanvas(EffectBase);
    Filter3x3Into(EffectWeights(CurrentEffect), EffectBase, canvasPicture.canvas());
    EffectBaseTaken = true;
}

void CompositionState::restore() {
    CurrentEffect = efNone;
    if (EffectBaseTaken) {
        showOnCanvas(EffectBase);
        Changed = true;
    }
}

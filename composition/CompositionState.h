// The picture being composed and every operation on it: the stamp of the pending elements at
// a press, the nudge of the last one, undo, clear, a new canvas, the effects and restore. The
// main window owns one and shows its two pictures; nothing here sees a widget.
#pragma once

#include "CanvasSettings.h"
#include "DrawingSurface.h"
#include "EffectKind.h"
#include "Picture.h"
#include "PlacedElement.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>

class CompositionState {
public:
    CompositionState();

    ElementKind LastKind = ekNone;
    QPoint RotatedTextPos;
    QPoint SealPos;
    QPoint CirclePos;
    QPoint FanPos;
    DrawingSurface EffectBase;
    bool EffectBaseTaken = false;
    EffectKind CurrentEffect = efNone;
    // Changed since the last successful save: any stamp, text, nudge, undo, effect, restore
    // or new canvas sets it. While it is set and the canvas holds a picture, the commands
    // that discard the canvas first ask whether to save.
    bool Changed = false;

    // The work canvas, and the snapshot that undo brings back.
    Picture& canvas() { return canvasPicture; }
    const Picture& canvas() const { return canvasPicture; }
    Picture& undoSnapshot() { return snapshot; }
    const Picture& undoSnapshot() const { return snapshot; }

    // The dialogs whose elements are stamped at a press (kind is ekRotatedText to ekFan),
    // and the text dialog.
    void attach(ElementKind kind, PlacedElement* element);
    void attachText(TextBlock* block);
    PlacedElement* element(ElementKind kind) const;

    // A press on the canvas: a new undo snapshot, then every pending element in the fixed
    // order rotated text, seal, circle, fan, each disarmed, its position kept and made the
    // last kind. True when anything was stamped.
    bool stampPendingAt(QPoint point);
    // The part of the canvas the last press drew on, for the view to repaint; the whole canvas
    // when a line of rotated text was stamped or the canvas got its first picture.
    QRect stampedArea() const { return lastStampedArea; }
    // Undo, then the last element drawn again moved by (dx, dy); text moves by its margins.
    void nudge(int dx, int dy);
    // The confirmed text block, drawn at once after a new undo snapshot.
    void drawTextBlock();
    void takeUndoSnapshot();
    void undo();
    void clear();
    // The canvas rebuilt from the confirmed settings; background is the decoded picture when
    // the settings use one.
    void newCanvas(const TSetStruct& settings, const QImage& background);

    // An effect needs a picture: EffectBase once it is taken, the canvas before that.
    bool hasEffectPicture() const;
    // The canvas shows EffectBase filtered with the effect's weights; the first effect takes
    // the base. False, with nothing changed, when there is no picture.
    bool applyEffect(EffectKind kind);
    // The picture as it was before the first effect, back on the canvas.
    void restore();
    // Takes EffectBase from the canvas before the first effect, or puts it back on the canvas
    // for every later effect.
    void PrepareEffectBase();
    // Shows EffectBase filtered with the weights of CurrentEffect on the canvas.
    void ApplyEffect();

    void markSaved() { Changed = false; }

private:
    void restoreUndoSnapshot();
    // Draws the stamp and returns the rectangle it may have drawn on (null: anywhere).
    QRect drawStamp(const Stamp& stamp, QPoint point);
    void nudgeText(int dx, int dy);
    void showOnCanvas(const DrawingSurface& picture);
    QPoint& positionOf(ElementKind kind);

    Picture canvasPicture;
    Picture snapshot;
    std::array<PlacedElement*, 4> elements{}; // rotated text, seal, circle, fan
    TextBlock* text = nullptr;
    QRect lastStampedArea;
};

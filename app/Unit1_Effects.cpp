// The effect menu of the main window: eight whole-picture filters and restore. Every effect is
// computed from EffectBase, the picture as it was before the first effect, so effects never
// accumulate and restore brings that picture back. Effects take no undo snapshot.
#include "Unit1.h"

#include "Filter3x3.h"
#include "ImageControl.h"

#include <QAction>
#include <QApplication>

namespace {

// The hourglass for as long as an effect runs, taken down on every way out.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Puts these pixels on the work canvas; the canvas keeps its pen, brush and font. The pixels
// are shared with their source until either side draws.
void showOnWorkCanvas(ImageControl& workCanvas, const QImage& pixels) {
    DrawingSurface picture = workCanvas.picture();
    picture.image() = pixels;
    workCanvas.setPicture(std::move(picture));
    workCanvas.pictureChanged();
}

// The one item with a check mark (none for nullptr). The items are checkable actions that
// toggle themselves when chosen, so every command sets all nine marks.
void setEffectCheckMark(TForm1& form, QAction* checked) {
    for (QAction* item :
         {form.N17, form.N18, form.N21, form.N23, form.N25, form.N26, form.N28, form.N27, form.N29})
        item->setChecked(item == checked);
    form.checkedEffectItem = checked;
}

// An effect needs a picture: EffectBase once it is taken, the work canvas before that.
bool effectHasPicture(const TForm1& form) {
    if (form.State.EffectBaseTaken)
        return !form.State.EffectBase.isEmpty();
    return form.Image1->hasPicture() && !form.Image1->picture().isEmpty();
}

void runEffect(TForm1& form, EffectKind kind, QAction* item) {
    if (!effectHasPicture(form)) {
        // Nothing to filter: the canvas, the base and the marks stay as they were.
        setEffectCheckMark(form, form.checkedEffectItem);
        return;
    }
    const WaitCursor hourglass; // the first effect also converts the canvas to 24 bits
    form.PrepareEffectBase();
    setEffectCheckMark(form, item);
    form.State.CurrentEffect = kind;
    form.ApplyEffect();
}

} // namespace

void TForm1::PrepareEffectBase() {
    if (!State.EffectBaseTaken)
        CopyTo24Bit(State.EffectBase, Image1->picture());
    else
        showOnWorkCanvas(*Image1, State.EffectBase.image());
}

void TForm1::ApplyEffect() {
    if (State.CurrentEffect == efNone)
        return; // the restored picture has no filter
    const FilterWeights& weights = EffectWeights(State.CurrentEffect);
    {
        const WaitCursor hourglass;
        showOnWorkCanvas(*Image1, State.EffectBase.image());
        DrawingSurface working;
        CopyTo24Bit(working, Image1->picture());
        // The working bitmap shares its pixels with EffectBase, so the filter writes its
        // result to a bitmap of its own and leaves the base as it is.
        Filter3x3(weights, working);
        showOnWorkCanvas(*Image1, working.image());
    }
    State.EffectBaseTaken = true;
}

void TForm1::N17Click() {
    runEffect(*this, efHollow, N17);
}
void TForm1::N18Click() {
    runEffect(*this, efNostalgic, N18);
}
void TForm1::N21Click() {
    runEffect(*this, efRelief, N21);
}
void TForm1::N23Click() {
    runEffect(*this, efSharpen, N23);
}
void TForm1::N25Click() {
    runEffect(*this, efClear, N25);
}
void TForm1::N26Click() {
    runEffect(*this, efOutline, N26);
}
void TForm1::N27Click() {
    runEffect(*this, efBlur, N27);
}
void TForm1::N28Click() {
    runEffect(*this, efSoft, N28);
}

void TForm1::N29Click() {
    setEffectCheckMark(*this, N29);
    State.CurrentEffect = efNone;
    if (State.EffectBaseTaken)
        showOnWorkCanvas(*Image1, State.EffectBase.image());
}

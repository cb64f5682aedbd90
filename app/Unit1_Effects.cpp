// The effect menu of the main window: eight whole-picture filters and restore. Every effect is
// computed from EffectBase, the picture as it was before the first effect, so effects never
// accumulate and restore brings that picture back. Effects take no undo snapshot.
#include "Unit1.h"

#include "Filter3x3.h"
#include "ImageControl.h"

#include <QAction>
#include <QApplication>
#include <cstring>

namespace {

// The hourglass for as long as an effect runs, taken down on every way out.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Puts a copy of this picture on the work canvas; the canvas keeps its pen, brush and font.
// Pixels of the canvas's own of the same size and format are overwritten rather than given up,
// so the next effect can write its result there without mapping a new bitmap; otherwise the
// canvas shares the picture's pixels until either side draws.
void showOnWorkCanvas(ImageControl& workCanvas, const DrawingSurface& picture) {
    if (workCanvas.holdsBitmap()) {
        QImage& own = workCanvas.canvas().image();
        const QImage& shown = picture.image();
        if (own.isDetached() && own.format() == shown.format() && own.size() == shown.size() &&
            own.bytesPerLine() == shown.bytesPerLine()) {
            std::memcpy(own.bits(), shown.constBits(), std::size_t(own.sizeInBytes()));
            workCanvas.pictureChanged();
            return;
        }
    }
    DrawingSurface copy = workCanvas.picture();
    copy.image() = picture.image();
    workCanvas.setPicture(std::move(copy));
    workCanvas.pictureChanged();
}

// The one item with a check mark (none for nullptr). Only that item is checkable: a checkable
// item shows an empty box in many styles, and the menu is a list of commands, not of options.
void setEffectCheckMark(TForm1& form, QAction* checked) {
    for (QAction* item :
         {form.N17, form.N18, form.N21, form.N23, form.N25, form.N26, form.N28, form.N27, form.N29}) {
        item->setCheckable(item == checked);
        item->setChecked(item == checked);
    }
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
    if (!form.State.EffectBaseTaken && form.Image1->holdsBitmap()) {
        // The first effect takes the base and filters it in one walk down the picture: each
        // row is converted to 24 bits into the base just before the filter reads it.
        CopyTo24BitAndFilter(EffectWeights(kind), form.Image1->picture(), form.State.EffectBase,
                             form.Image1->canvas());
        form.Image1->pictureChanged();
        setEffectCheckMark(form, item);
        form.State.CurrentEffect = kind;
        form.State.EffectBaseTaken = true;
        form.State.Changed = true;
        return;
    }
    // Once the base is taken, putting it back on the canvas first would be wasted: the filter
    // reads the base and writes every pixel of the canvas.
    if (!form.State.EffectBaseTaken)
        form.PrepareEffectBase();
    setEffectCheckMark(form, item);
    form.State.CurrentEffect = kind;
    form.ApplyEffect();
    form.State.Changed = true;
}

} // namespace

void TForm1::PrepareEffectBase() {
    if (!State.EffectBaseTaken)
        CopyTo24Bit(State.EffectBase, Image1->picture());
    else
        showOnWorkCanvas(*Image1, State.EffectBase);
}

void TForm1::ApplyEffect() {
    if (State.CurrentEffect == efNone)
        return; // the restored picture has no filter
    const FilterWeights& weights = EffectWeights(State.CurrentEffect);
    {
        const WaitCursor hourglass;
        // The canvas is to show the base filtered. The filter reads the base and writes the
        // canvas's bitmap, which serves as the working bitmap: the base itself is never
        // written, and no copy of the base is made only to be overwritten.
        if (!Image1->holdsBitmap())
            showOnWorkCanvas(*Image1, State.EffectBase);
        Filter3x3Into(weights, State.EffectBase, Image1->canvas());
        Image1->pictureChanged();
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
    if (State.EffectBaseTaken) {
        showOnWorkCanvas(*Image1, State.EffectBase);
        State.Changed = true;
    }
}

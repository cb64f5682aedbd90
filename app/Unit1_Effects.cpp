// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The effect menu of the main window: eight whole-picture filters and restore. The composition
// computes every effect from EffectBase, the picture as it was before the first effect, so
// effects never accumulate and restore brings that picture back. Each is one step of the history.
#include "Unit1.h"

#include "ImageControl.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {

// The hourglass for as long as an effect runs, taken down on every way out.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

// The one item with a check mark (none for nullptr). Only that item is checkable: a checkable
// item shows an empty box in many styles, and the menu is a list of commands, not of options.
void TForm1::setEffectCheckMark(QAction* checked) {
    for (QAction* item : PopupMenu1->actions()) {
        item->setCheckable(item == checked);
        item->setChecked(item == checked);
    }
    checkedEffectItem = checked;
}

// After undo or redo the mark follows what the canvas shows: the effect's item, "还原" once the
// base is taken and no effect is shown, and no mark before the first effect.
void TForm1::effectMarkFromHistory() {
    QAction* item = nullptr;
    if (State.effectBaseTaken()) {
        const char* name = restoreEntry.objectName;
        for (const EffectEntry& entry : effectTable)
            if (entry.kind == State.currentEffect())
                name = entry.objectName;
        for (QAction* action : PopupMenu1->actions())
            if (action->objectName() == QLatin1String(name))
                item = action;
    }
    setEffectCheckMark(item);
}

void TForm1::runEffect(EffectKind kind, QAction* item) {
    if (!State.hasEffectPicture()) {
        // Nothing to filter: the canvas, the base and the marks stay as they were.
        setEffectCheckMark(checkedEffectItem);
        return;
    }
    const WaitCursor hourglass; // the first effect also converts the canvas to 24 bits
    State.applyEffect(kind);
    setEffectCheckMark(item);
}

void TForm1::N17Click() {
    runEffect(efHollow, N17);
}
void TForm1::N18Click() {
    runEffect(efNostalgic, N18);
}
void TForm1::N21Click() {
    runEffect(efRelief, N21);
}
void TForm1::N23Click() {
    runEffect(efSharpen, N23);
}
void TForm1::N25Click() {
    runEffect(efClear, N25);
}
void TForm1::N26Click() {
    runEffect(efOutline, N26);
}
void TForm1::N27Click() {
    runEffect(efBlur, N27);
}
void TForm1::N28Click() {
    runEffect(efSoft, N28);
}

void TForm1::N29Click() {
    setEffectCheckMark(N29);
    State.restore();
}

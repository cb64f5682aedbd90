// The placement workflow of the main window: the stamp at a canvas press, undo, clear, the
// nudges and the pointer position.
#include "Unit1.h"

#include "ImageControl.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

void TForm1::takeUndoSnapshot() {
    Image3->setControlSize(Image1->width(), Image1->height());
    if (!Image1->hasPicture()) {
        Image3->clearPicture();
        return;
    }
    const DrawingSurface& canvas = Image1->picture();
    const DrawingSurface& snapshot = Image3->picture();
    // Copying into the snapshot's own bitmap costs one pass over the pixels. Sharing the
    // canvas's bitmap instead would make the stamp that follows allocate a whole new canvas
    // and copy it, which on a large canvas costs several times as much.
    if (Image1->holdsBitmap() && Image3->holdsBitmap() && snapshot.size() == canvas.size() &&
        snapshot.format() == canvas.format()) {
        if (snapshot.image().constBits() != canvas.image().constBits()) // not already equal
            Image3->canvas().blockCopy(0, 0, canvas);
        return;
    }
    Image3->setPicture(canvas);
}

void TForm1::restoreUndoSnapshot() {
    if (Image3->hasPicture())
        Image1->setPicture(Image3->picture());
    else
        Image1->clearPicture();
    Image1->pictureChanged();
}

void TForm1::Image1MouseDown(QPoint point, Qt::MouseButton) {
    // Every press takes a new snapshot, whether anything is pending or not.
    takeUndoSnapshot();
    bool stamped = false;
    if (rotatedTextPending()) {
        drawRotatedTextAt(point);
        clearRotatedTextPending();
        State.RotatedTextPos = point;
        State.LastKind = ekRotatedText;
        stamped = true;
    }
    if (sealPending()) {
        drawSealAt(point);
        clearSealPending();
        State.SealPos = point;
        State.LastKind = ekSeal;
        stamped = true;
    }
    if (circlePending()) {
        drawCircleAt(point);
        clearCirclePending();
        State.CirclePos = point;
        State.LastKind = ekCircle;
        stamped = true;
    }
    if (fanPending()) {
        drawFanAt(point);
        clearFanPending();
        State.FanPos = point;
        State.LastKind = ekFan;
        stamped = true;
    }
    Image1->setCursor(Qt::ArrowCursor);
    Image1->pictureChanged();
    ToolButton22->setEnabled(true);
    if (stamped)
        State.Changed = true;
}

void TForm1::ToolButton22Click() {
    restoreUndoSnapshot();
    State.Changed = true;
    ToolButton22->setEnabled(false);
}

void TForm1::ToolButton23Click() {
    if (!saveOrDiscardWork())
        return;
    Image1->clearPicture();
    Image1->pictureChanged();
}

void TForm1::nudge(int dx, int dy) {
    restoreUndoSnapshot();
    switch (State.LastKind) {
    case ekNone:
        break;
    case ekText:
        nudgeText(dx, dy);
        break;
    case ekRotatedText:
        State.RotatedTextPos += QPoint(dx, dy);
        drawRotatedTextAt(State.RotatedTextPos);
        break;
    case ekSeal:
        State.SealPos += QPoint(dx, dy);
        drawSealAt(State.SealPos);
        break;
    case ekCircle:
        State.CirclePos += QPoint(dx, dy);
        drawCircleAt(State.CirclePos);
        break;
    case ekFan:
        State.FanPos += QPoint(dx, dy);
        drawFanAt(State.FanPos);
        break;
    }
    Image1->pictureChanged();
    State.Changed = true;
}

void TForm1::ToolButton30Click() { nudge(-10, 0); }
void TForm1::ToolButton31Click() { nudge(10, 0); }
void TForm1::ToolButton35Click() { nudge(0, -10); }
void TForm1::ToolButton36Click() { nudge(0, 10); }

void TForm1::Image1MouseMove(QPoint point) {
    const QString hint = QString::asprintf("%d,%d", point.x(), point.y());
    Image1->setProperty("hint", hint);
    ApplicationHint(hint);
}

void TForm1::BitBtn1MouseDown() { PopupMenu1->popup(QCursor::pos()); }

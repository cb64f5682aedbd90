// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The placement workflow of the main window: the stamp at a canvas press, undo and redo, clear,
// the nudges and the pointer position. The composition does the drawing and keeps the history;
// the window shows it; each command's step is a value the composition keeps.
#include "Unit1.h"
#include "Unit8.h"

#include "FontCoverage.h"
#include "ImageControl.h"
#include "Messages.h"
#include "StepSession.h"
#include "Unit3.h"
#include "Unit4.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

void TForm1::historyChanged() {
    // Journaled before anything shows the step as done.
    followJournal();
    ToolButton22->setEnabled(State.canUndo());
    MenuUndo->setEnabled(State.canUndo());
    MenuRedo->setEnabled(State.canRedo());
    // The buttons say which step they take back or do again.
    const QString undo = State.undoName(), redo = State.redoName();
    ToolButton22->setToolTip(undo.isEmpty() ? tr("撤消") : tr("撤消：%1").arg(undo));
    MenuUndo->setToolTip(ToolButton22->toolTip());
    MenuRedo->setToolTip(redo.isEmpty() ? tr("恢复") : tr("恢复：%1").arg(redo));
    ToolButtonRedo->setToolTip(MenuRedo->toolTip());
    updateTitle();
}

void TForm1::Image1MouseDown(QPoint point, Qt::MouseButton) {
    // The characters of the armed rotated line and seal that their faces lack.
    QList<FaceGap> gaps;
    if (Form3 && Form3->pending())
        gaps += rotatedTextGaps(Form3->RotatedTextSettings);
    if (Form4 && Form4->pending())
        gaps += Form4->RenderedGaps;
    const bool stamped = State.stampPendingAt(point);
    if (stamped)
        showFallbacks(gaps);
    Image1->setCursor(Qt::ArrowCursor);
}

void TForm1::showFallbacks(const QList<FaceGap>& gaps) {
    if (!gaps.isEmpty())
        StatusPanel2->setText(fallbackWarning(gaps));
    else if (StatusPanel2->text().startsWith(Messages::warning()))
        StatusPanel2->clear();
}

void TForm1::ToolButton22Click() {
    if (State.undo())
        effectMarkFromHistory();
}

void TForm1::RedoClick() {
    if (State.redo())
        effectMarkFromHistory();
}

void TForm1::ToolButton23Click() {
    if (!saveOrDiscardWork())
        return;
    State.clear();
}

void TForm1::nudge(int dx, int dy) {
    if (!State.nudge(dx, dy))
        return;
    // The text dialog's record follows its block, so that the dialog and the next nudge start
    // where the block now stands.
    const HistoryStep* moved = State.steps().last();
    if (Form8 && moved && moved->recipe && moved->recipe->kind == Step::Kind::Text) {
        TextSettings& shown = Form8->TextSettings;
        const TextSettings& now = moved->recipe->text;
        shown.LeftMargin = now.LeftMargin;
        shown.TopMargin = now.TopMargin;
        shown.FanShiftX = now.FanShiftX;
        shown.FanShiftY = now.FanShiftY;
    }
}

void TForm1::ToolButton30Click() {
    nudge(-10, 0);
}
void TForm1::ToolButton31Click() {
    nudge(10, 0);
}
void TForm1::ToolButton35Click() {
    nudge(0, -10);
}
void TForm1::ToolButton36Click() {
    nudge(0, 10);
}

void TForm1::Image1MouseMove(QPoint point) {
    const QString hint = QString::asprintf("%d,%d", point.x(), point.y());
    Image1->setProperty("hint", hint);
    ApplicationHint(hint);
}

void TForm1::BitBtn1MouseDown() {
    PopupMenu1->popup(QCursor::pos());
}

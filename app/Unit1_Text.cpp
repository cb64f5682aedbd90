// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's text concern: the add-text command, which shows the text dialog and has
// the composition draw the confirmed block at once.
#include "Unit1.h"

#include "FontCoverage.h"
#include "ImageControl.h"
#include "StepSession.h"
#include "Unit2.h"
#include "Unit8.h"

#include <QToolButton>

void TForm1::createTextDialog() {
    // The size check compares with the canvas size last confirmed in the canvas dialog.
    Form8 = new TForm8(fontFaceList(), Form2 ? &Form2->CanvasSettings : nullptr, this);
    State.attachText(Form8);
}

void TForm1::ToolButton1Click() {
    if (!Form8)
        return;
    Form8->offerFanLayout(State.lastFanRing());
    Form8->exec();
    // A cancelled dialog leaves the composition and what a nudge moves as they were.
    if (!Form8->TextSettings.Confirmed)
        return;
    State.drawTextBlock();
    // The block is stamped at once: its fallback characters are named now, as a rotated line's
    // and a seal's are at the press that stamps them.
    showFallbacks(textBlockGaps(Form8->richText()));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's side of the fan: the dialog, whose fan picture the composition stamps at
// the next canvas press.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit2.h"
#include "Unit7.h"

// The fan's key background follows the canvas settings confirmed in the canvas dialog, which
// is created before the fan dialog.
void TForm1::createFanDialog() {
    Form7 = new TForm7(Image1, Form2 ? &Form2->CanvasSettings : nullptr, this);
    State.attach(ekFan, Form7);
}

void TForm1::ToolButton26Click() {
    Form7->exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's side of the circle: the dialog, whose circle picture the composition
// stamps at the next canvas press.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit6.h"

void TForm1::createCircleDialog() {
    Form6 = new TForm6(Image1, this);
    State.attach(ekCircle, Form6);
}

void TForm1::ToolButton21Click() {
    Form6->exec();
}

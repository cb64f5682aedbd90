// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window's side of the seal: the dialog, whose turned seal picture the composition
// stamps at the next canvas press.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit4.h"

void TForm1::createSealDialog() {
    Form4 = new TForm4(Image1, fontFaceList(), this);
    State.attach(ekSeal, Form4);
}

void TForm1::ToolButton29Click() {
    Form4->exec();
}

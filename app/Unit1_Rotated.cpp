// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Rotated text and inscriptions in the main window: the dialog, whose armed line the
// composition stamps at the next canvas press.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit3.h"

void TForm1::createRotatedTextDialog() {
    Form3 = new TForm3(Image1, fontSizeList(), fontFaceList(), this);
    State.attach(ekRotatedText, Form3);
}

// "旋转字" and "落款" both come here: the two uses share one dialog.
void TForm1::N12Click() {
    if (Form3)
        Form3->exec();
}

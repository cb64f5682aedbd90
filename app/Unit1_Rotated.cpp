// Rotated text and inscriptions in the main window: the dialog, its command, and the stamp
// and nudge of the armed line on the work canvas.
#include "Unit1.h"

#include "ImageControl.h"
#include "RotatedText.h"
#include "Unit3.h"

void TForm1::createRotatedTextDialog() {
    Form3 = new TForm3(Image1, fontSizeList(), fontFaceList(), this);
}

// "旋转字" and "落款" both come here: the two uses share one dialog.
void TForm1::N12Click() {
    if (Form3)
        Form3->exec();
}

bool TForm1::rotatedTextPending() const {
    return Form3 && Form3->PendingPlacement;
}

void TForm1::clearRotatedTextPending() {
    if (Form3)
        Form3->PendingPlacement = false;
}

// The settings are read now, so a nudge after a later apply draws the new line.
void TForm1::drawRotatedTextAt(QPoint point) {
    if (!Form3)
        return;
    DrawRotatedText(Image1->canvas(), point.x(), point.y(), Form3->RotatedTextSettings);
}

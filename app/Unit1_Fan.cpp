// The main window's side of the fan: the dialog, its pending placement and the stamp of the
// fan picture the dialog keeps.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit2.h"
#include "Unit7.h"

// The fan's key background follows the canvas settings confirmed in the canvas dialog, which
// is created before the fan dialog.
void TForm1::createFanDialog() {
    Form7 = new TForm7(Image1, Form2 ? &Form2->CanvasSettings : nullptr, this);
}

void TForm1::ToolButton26Click() {
    Form7->exec();
}

bool TForm1::fanPending() const {
    return Form7 && Form7->FanSettings.PendingPlacement != 0;
}

void TForm1::clearFanPending() {
    if (Form7)
        Form7->FanSettings.PendingPlacement = 0;
}

// The picture's top-left lands at the point; its key colour (the bottom-left pixel) is left
// out. An empty preview draws nothing.
void TForm1::drawFanAt(QPoint point) {
    if (!Form7)
        return;
    Image1->canvas().draw(point.x(), point.y(), Form7->Image1->picture());
}

// The main window's side of the fan: the dialog, its pending placement and the stamp of the
// fan picture the dialog keeps.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit7.h"

// The fan's key background follows the confirmed canvas settings, which the canvas dialog
// owns; until that dialog is part of the build the fan is drawn as on a picture background.
#if __has_include("Unit2.h")
#include "Unit2.h"
namespace {
const TSetStruct* confirmedCanvasSettings(const TForm2* form2) {
    return form2 ? &form2->CanvasSettings : nullptr;
}
} // namespace
#else
namespace {
const TSetStruct* confirmedCanvasSettings(const TForm2*) {
    return nullptr;
}
} // namespace
#endif

void TForm1::createFanDialog() {
    Form7 = new TForm7(Image1, confirmedCanvasSettings(Form2), this);
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

// The main window's side of the seal: the dialog, its pending placement and the stamp of the
// turned seal picture that the dialog keeps.
#include "Unit1.h"

#include "ImageControl.h"
#include "RotImg.h"
#include "Unit4.h"

void TForm1::createSealDialog() {
    Form4 = new TForm4(Image1, fontFaceList(), this);
}

void TForm1::ToolButton29Click() {
    Form4->exec();
}

bool TForm1::sealPending() const {
    return Form4 && Form4->PendingPlacement == 1;
}

void TForm1::clearSealPending() {
    if (Form4)
        Form4->PendingPlacement = 0;
}

// The turned seal's top-left lands at the point; its key colour is left out. A canvas without
// a picture gets its white one first, as for circle and fan; an empty seal (none previewed
// yet, or cleared) then draws nothing.
void TForm1::drawSealAt(QPoint point) {
    if (!Form4)
        return;
    DrawingSurface& canvas = Image1->canvas();
    const DrawingSurface& seal = Form4->RotateImage1->RotatedGraphic();
    if (seal.isEmpty())
        return;
    canvas.draw(point.x(), point.y(), seal);
}

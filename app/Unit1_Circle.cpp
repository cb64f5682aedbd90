// The main window's side of the circle: the dialog, its pending placement and the stamp of
// the circle picture the dialog keeps.
#include "Unit1.h"

#include "ImageControl.h"
#include "Unit6.h"

void TForm1::createCircleDialog() {
    Form6 = new TForm6(Image1, this);
}

void TForm1::ToolButton21Click() {
    Form6->exec();
}

bool TForm1::circlePending() const {
    return Form6 && Form6->CircleSettings.PendingPlacement != 0;
}

void TForm1::clearCirclePending() {
    if (Form6)
        Form6->CircleSettings.PendingPlacement = 0;
}

// The picture's top-left lands at the point, so the centre is at point + (Radius, Radius);
// its key colour (the bottom-left pixel) is left out. An empty preview draws nothing.
void TForm1::drawCircleAt(QPoint point) {
    if (!Form6)
        return;
    Image1->canvas().draw(point.x(), point.y(), Form6->Image1->picture());
}

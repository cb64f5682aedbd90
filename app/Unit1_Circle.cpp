// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createCircleDialog() {}
void TForm1::ToolButton21Click() {}
bool TForm1::circlePending() const { return false; }
void TForm1::clearCirclePending() {}
void TForm1::drawCircleAt(QPoint) {}

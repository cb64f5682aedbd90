// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createFanDialog() {}
void TForm1::ToolButton26Click() {}
bool TForm1::fanPending() const { return false; }
void TForm1::clearFanPending() {}
void TForm1::drawFanAt(QPoint) {}

// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createSealDialog() {}
void TForm1::ToolButton29Click() {}
bool TForm1::sealPending() const { return false; }
void TForm1::clearSealPending() {}
void TForm1::drawSealAt(QPoint) {}

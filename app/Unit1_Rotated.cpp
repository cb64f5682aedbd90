// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createRotatedTextDialog() {}
void TForm1::N12Click() {}
bool TForm1::rotatedTextPending() const { return false; }
void TForm1::clearRotatedTextPending() {}
void TForm1::drawRotatedTextAt(QPoint) {}

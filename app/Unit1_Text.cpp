// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createTextDialog() {}
void TForm1::ToolButton1Click() { State.LastKind = ekText; }
void TForm1::nudgeText(int, int) {}

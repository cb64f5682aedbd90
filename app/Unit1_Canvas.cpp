// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createCanvasDialog() {}
void TForm1::ToolButton40Click() {}
void TForm1::BitBtn3Click() {}

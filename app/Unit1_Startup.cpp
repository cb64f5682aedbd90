// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::createAboutDialog() {}
void TForm1::registerPrivateFonts(bool) {}
void TForm1::N8Click() {}
void TForm1::N24Click() {}
void TForm1::N15Click() {}
void TForm1::N5Click() { close(); }
void TForm1::FormClose() {}

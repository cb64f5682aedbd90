// PLACEHOLDER: replaced when this concern is built.
#include "Unit1.h"

void TForm1::N17Click() {}
void TForm1::N18Click() {}
void TForm1::N21Click() {}
void TForm1::N23Click() {}
void TForm1::N25Click() {}
void TForm1::N26Click() {}
void TForm1::N27Click() {}
void TForm1::N28Click() {}
void TForm1::N29Click() {}

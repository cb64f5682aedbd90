// PLACEHOLDER: the script runner arrives with the scripted-composition work.
#include "Script.h"

#include <cstdio>

QString scriptUsage() { return QStringLiteral("Usage: tarvel [--script FILE]\n"); }

int runScriptFromArguments(TForm1&, const QStringList&) {
    std::fputs("tarvel: scripts are not available yet\n", stderr);
    return 2;
}

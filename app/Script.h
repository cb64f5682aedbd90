// Composition scripts: every command of the window, run from a JSON file against the real
// main window and dialogs, without showing anything.
#pragma once

#include <QString>
#include <QStringList>

class TForm1;

QString scriptUsage();
// Runs "--script FILE" from the program's arguments; returns the process exit status:
// 0 every step succeeded, 1 a step failed, 2 the script could not be read or is malformed.
int runScriptFromArguments(TForm1& form, const QStringList& arguments);

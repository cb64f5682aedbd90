// Composition scripts: every command of the window, run from a JSON file against the real
// main window and dialogs, without showing anything.
#pragma once

#include <QString>
#include <cstdio>

class TForm1;

QString scriptUsage();
// Runs the script FILE, writing "check" labels to out and step errors to err; returns the process
// exit status: 0 every step succeeded, 1 a step failed, 2 the script could not be read or is
// malformed.
int runScript(TForm1& form, const QString& file, FILE* out, FILE* err);

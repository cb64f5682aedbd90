// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Composition scripts from the command line: every command of the window, run from a JSON file
// without any window (the steps run on the composition, see WorkFile.h).
#pragma once

#include <QString>
#include <cstdio>

class TForm1;

QString scriptUsage();
// Runs the script FILE on the window's composition, writing "check" labels to out and step
// errors to err; returns the process exit status: 0 every step succeeded, 1 a step failed, 2 the
// script could not be read or is malformed.
int runScript(TForm1& form, const QString& file, FILE* out, FILE* err);
// A script run's standard error carries the program's own lines only: the toolkit's notes
// (about the offscreen platform, the runtime folder …) are left out unless asked for with
// --debug or TARVEL_DEBUG=1. Fatal messages always pass. Installed before the toolkit starts.
void quietenToolkitMessages();

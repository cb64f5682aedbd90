// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Composition scripts: every command of the window, run from a JSON file against the real
// main window and dialogs, without showing anything.
#pragma once

#include <QDir>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

class TForm1;
struct ScriptDocument;

// The files a work carries, written to a folder of their own for as long as its steps run.
struct EmbeddedFolder {
    explicit EmbeddedFolder(const std::map<QString, QByteArray>& files);
    QTemporaryDir folder;
    QHash<QString, QString> paths; // name in the work -> file in the folder
};

QString scriptUsage();
// Runs the script FILE, writing "check" labels to out and step errors to err; returns the process
// exit status: 0 every step succeeded, 1 a step failed, 2 the script could not be read or is
// malformed.
int runScript(TForm1& form, const QString& file, FILE* out, FILE* err);
// Runs the steps of a script already read; relative names are found among its embedded files,
// then in base. firstError receives the failing step and its message.
int runScriptDocument(TForm1& form, const ScriptDocument& document, const QDir& base, FILE* out,
                      FILE* err, QString& firstError);

// A script run's standard error carries the program's own lines only: the toolkit's notes
// (about the offscreen platform, the runtime folder …) are left out unless asked for with
// --debug or TARVEL_DEBUG=1. Fatal messages always pass. Installed before the toolkit starts.
void quietenToolkitMessages();

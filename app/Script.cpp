// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Composition scripts from the command line: the usage text, and the toolkit's messages kept
// off standard error. The steps themselves run on the composition (WorkFile.h).
#include "Script.h"

#include "ScriptReader.h"
#include "Unit1.h"
#include "WorkFile.h"

#include <QtGlobal>
#include <cstdio>

QString scriptUsage() {
    return QStringLiteral(
               "Usage: tarvel [--script FILE [--debug]]\n"
               "\n"
               "Without arguments Tarvel opens its window. With --script FILE it runs the steps of "
               "a\n"
               "composition script without any window, as a user would give them in the dialogs, "
               "and\n"
               "exits 0 when every step succeeded, 1 when a step failed (the error is printed as\n"
               "\"step N: text\"), 2 when the script cannot be read or is malformed. A text or\n"
               "rotated step whose face lacks some of its characters draws them in a fallback "
               "face\n"
               "and prints one warning \"step N: 警告：…\" naming the face and the characters.\n"
               "Standard error carries only these lines; --debug (or TARVEL_DEBUG=1) adds the\n"
               "toolkit's own messages.\n"
               "\n"
               "A script is a JSON object {\"steps\": [ ... ]}; each step names a command with "
               "\"do\"\n"
               "and gives the values a user would put in that command's dialog. Keys left out "
               "keep\n"
               "what the dialog holds. Colours are \"#RRGGBB\"; relative file names are relative "
               "to\n"
               "the script's folder. Dialog steps take \"close\": \"confirm\" (default), "
               "\"apply\",\n"
               "\"cancel\", \"closebox\", and where the dialog has them \"preview\" and "
               "\"clear\".\n"
               "\n"
               "%1"
               "\n"
               "A work file (.tarvel) is such a script with \"format\": \"tarvel-work\", "
               "\"version\"\n"
               "and \"files\", the files its steps use in base64; --script runs it too.\n"
               "\n"
               "See docs/script.md for every command with an example.\n")
        .arg(scriptCommandsUsage());
}

namespace {

QtMessageHandler& toolkitHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

void keepOnlyFatalMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && toolkitHandler())
        toolkitHandler()(type, context, text);
}

} // namespace

void quietenToolkitMessages() {
    toolkitHandler() = qInstallMessageHandler(keepOnlyFatalMessages);
}

int runScript(TForm1& form, const QString& file, FILE* out, FILE* err) {
    return runScriptFile(form.composition(), file, out, err);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Program entry: the main window first (the dialogs copy its lists), then the dialogs, then
// the message loop; or, with --script, a composition run headless.
#include "Script.h"
#include "Unit1.h"

#include "DialogPlacement.h"
#include "ErrorBoundary.h"
#include "FontFallback.h"
#include "PrivateFonts.h"
#include "Translations.h"
#include "WorkFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QSettings>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

// What the program was asked to do, read once from its arguments before the toolkit starts
// (a script run must choose the offscreen platform first).
struct ProgramArguments {
    bool help = false;
    bool debug = false; // the toolkit's own messages too
    bool scriptWithoutFile = false;
    QString script;  // --script FILE
    QString picture; // a picture handed over by the desktop
};

ProgramArguments readArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption script(QStringLiteral("script"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption debug(QStringLiteral("debug"));
    parser.addOption(help);
    parser.addOption(script);
    parser.addOption(debug);
    // The toolkit's own options (-display, -style …) are left for it: unknown options are no
    // error here.
    parser.parse(arguments);
    ProgramArguments wanted;
    wanted.help = parser.isSet(help);
    wanted.debug = parser.isSet(debug) || qEnvironmentVariableIntValue("TARVEL_DEBUG") != 0;
    wanted.script = parser.value(script);
    wanted.scriptWithoutFile =
        arguments.contains(QStringLiteral("--script")) && wanted.script.isEmpty();
    if (arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-')))
        wanted.picture = arguments[1];
    return wanted;
}

bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// A script runs on a composition of its own, without any window: the toolkit's Gui part and
// the Fonts folder's faces are all it needs.
int runHeadless(int argc, char** argv, const QString& script) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tarvel2008"));
    QGuiApplication::setOrganizationName(QStringLiteral("Tarvel"));
    const PrivateFonts::Registration registration =
        PrivateFonts::addFonts(PrivateFonts::fontPattern(programFolder()));
    QStringList families;
    for (const int id : registration.ids)
        families += QFontDatabase::applicationFontFamilies(id);
    FontFallback::setFaces(families);
    CompositionState composition;
    return runScriptFile(composition, script, stdout, stderr);
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit or quota would otherwise kill the program in the middle of a save,
    // taking the unsaved composition with it; ignored, the write fails and is reported.
    std::signal(SIGXFSZ, SIG_IGN);
    const ProgramArguments wanted = readArguments(argc, argv);
    if (wanted.help) {
        std::fputs(scriptUsage().toUtf8().constData(), stdout);
        return 0;
    }
    if (wanted.scriptWithoutFile) {
        std::fputs("tarvel: --script 后面需要脚本文件名。\n", stderr);
        return 2;
    }
    const bool headless = !wanted.script.isEmpty();
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!wanted.debug)
            quietenToolkitMessages();
    } else if (!displayAvailable()) {
        std::fputs(
            "tarvel: 找不到显示器：请设置 DISPLAY，或用 --script FILE 不显示窗口运行脚本。\n",
            stderr);
        return 1;
    }
    // The private fonts are read while the toolkit starts.
    PrivateFonts::prefetchFonts(PrivateFonts::fontPattern(programFolder()));
    if (headless)
        return runHeadless(argc, argv, wanted.script);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvel2008"));
    QApplication::setOrganizationName(QStringLiteral("Tarvel"));
    // The language chosen under "语言", else the system's; a script's messages stay as they are.
    {
        const std::unique_ptr<QSettings> settings = openUserSettings();
        const QString chosen = settings ? Translations::chosen(*settings) : QString();
        Translations::install(app, chosen.isEmpty() ? Translations::forLocale(QLocale::system())
                                                    : chosen);
    }
    TForm1 form1;
    form1.createDialogs();
    DialogPlacement dialogPlacement;
    app.installEventFilter(&dialogPlacement);
    // Every step is journaled from the start, so a crash loses nothing shown; a folder that
    // cannot be used is said, and the program runs without a journal.
    ErrorBoundary::run(&form1, [&] { form1.startRecovery(); });
    // The window as it was left, from the settings when they are the program's own.
    if (const std::unique_ptr<QSettings> settings = openUserSettings())
        form1.restoreView(*settings);
    form1.show();
    // Work left by a program that ended without saving is offered first; then a work file
    // handed over by the desktop opens for editing, and a picture becomes the background of a
    // new canvas.
    const QString file = wanted.picture;
    QTimer::singleShot(0, &form1, [&form1, file] {
        ErrorBoundary::run(&form1, [&] { form1.offerRecovery(); });
        if (file.isEmpty())
            return;
        ErrorBoundary::run(&form1, [&] {
            // A work just recovered is asked about before anything replaces it.
            if (!form1.saveOrDiscardWork())
                return;
            if (file.endsWith(QStringLiteral(".tarvel"), Qt::CaseInsensitive))
                form1.openWork(file);
            else
                form1.openPictureFile(file);
        });
    });
    const int status = app.exec();
    if (const std::unique_ptr<QSettings> settings = openUserSettings())
        form1.saveView(*settings);
    return status;
}

// Program entry: the main window first (the dialogs copy its lists), then the dialogs, then
// the message loop; or, with --script, a composition run headless.
#include "Script.h"
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "PrivateFonts.h"
#include "Translations.h"

#include <QApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

bool hasArgument(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return true;
    return false;
}

bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit or quota would otherwise kill the program in the middle of a save,
    // taking the unsaved composition with it; ignored, the write fails and is reported.
    std::signal(SIGXFSZ, SIG_IGN);
    if (hasArgument(argc, argv, "--help") || hasArgument(argc, argv, "-h")) {
        std::fputs(scriptUsage().toUtf8().constData(), stdout);
        return 0;
    }
    const bool headless = hasArgument(argc, argv, "--script");
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!displayAvailable()) {
        std::fputs("tarvel: no display found; set DISPLAY, or run a composition headless with "
                   "--script FILE\n",
                   stderr);
        return 1;
    }
    // The private fonts are read while the toolkit starts.
    PrivateFonts::prefetchFonts(PrivateFonts::fontPattern(programFolder()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvel2008"));
    installQtTranslations(app);
    TForm1 form1;
    form1.createDialogs();
    if (headless)
        return runScriptFromArguments(form1, QApplication::arguments());
    form1.show();
    // A picture handed over by the desktop becomes the background of a new canvas.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && !arguments[1].startsWith(QLatin1Char('-'))) {
        const QString picture = arguments[1];
        QTimer::singleShot(0, &form1, [&form1, picture] {
            ErrorBoundary::run(&form1, [&] { form1.openPictureFile(picture); });
        });
    }
    return app.exec();
}

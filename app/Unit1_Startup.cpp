// The main window around the composition: the private fonts of the Fonts folder, the manual,
// the About box, the home page, and the shutdown steps that undo what start-up did.
#include "Unit1.h"

#include "HelpWindow.h"
#include "PrivateFonts.h"
#include "Unit5.h"

#include <QDesktopServices>
#include <QMenuBar>
#include <QScreen>
#include <QUrl>

QString TForm1::homePageAddress() {
    return QStringLiteral("https://tarvel.example.org/");
}

QString TForm1::manualPath() const {
    return AppDir + QStringLiteral("TarvelHelp.chm::/HelpContent\\index.htm");
}

void TForm1::createAboutDialog() {
    Form5 = new TForm5(this);
}

void TForm1::registerPrivateFonts(bool add) {
    if (add) {
        const PrivateFonts::Registration registration =
            PrivateFonts::addFonts(PrivateFonts::fontPattern(AppDir));
        privateFontIds += registration.ids;
        // Registration changes the font lists, as it would for every other program.
        if (registration.folderFound)
            fillFontList();
        return;
    }
    // Removal goes by what was registered, so a file deleted meanwhile is removed as well.
    if (privateFontIds.isEmpty())
        return;
    PrivateFonts::removeFonts(privateFontIds);
    privateFontIds.clear();
    fillFontList();
}

HelpWindow* TForm1::helpWindow() const {
    return helpViewer;
}

bool TForm1::helpLibraryLoaded() const {
    return helpLibrary && helpLibrary->isLoaded();
}

qint32 TForm1::HtmlHelp(QWidget* owner, const QString& path, quint32 command, quintptr data) {
    Q_UNUSED(data);
    if (!helpLibraryLoaded()) {
        if (!helpLibrary || helpLibrary->libraryName() != helpLibraryName)
            helpLibrary = std::make_unique<HelpLibrary>(helpLibraryName);
        // Raises "HHCtrl.OCX not installed!..." or "Function HTMLHELP cannot loaded!" and
        // stays unloaded, so nothing that is missing is ever called.
        helpLibrary->load();
    }
    switch (command) {
    case HH_DISPLAY_TOPIC:
        displayHelpTopic(owner, path);
        return 0;
    case HH_CLOSE_ALL:
        if (helpViewer) {
            helpViewer->close();
            helpViewer->releaseFile();
        }
        return 0;
    default:
        return 0;
    }
}

namespace {

// The manual opens beside the main window where the screen has room, else below its menu, so
// it never covers the menu (without a window manager nothing else would move it).
void placeBeside(QWidget& window, const QMainWindow& main) {
    const QRect frame = main.frameGeometry();
    const QScreen* screen = main.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    if (room.isValid() && frame.right() + 1 + window.width() <= room.right() + 1)
        window.move(frame.right() + 1, frame.top());
    else
        window.move(frame.left(), main.mapToGlobal(QPoint(0, main.menuBar()->geometry().bottom() + 1)).y());
}

} // namespace

void TForm1::displayHelpTopic(QWidget* owner, const QString& path) {
    if (!helpViewer) {
        helpViewer = new HelpWindow(owner ? owner : this);
        placeBeside(*helpViewer, *this);
    }
    const HelpTopicPath topic = splitTopicPath(path);
    HelpFile::Opened opened =
        HelpFile::open(helpLibrary->entryPoints(), topic.file, expectedHelpFile);
    if (opened.file) {
        helpViewer->display(std::move(opened.file), topic.topic);
    } else {
        // A missing or damaged help file is reported by the help window itself.
        helpViewer->releaseFile();
        helpViewer->displayError(opened.error);
    }
    helpViewer->show();
    helpViewer->raise();
    helpViewer->activateWindow();
}

void TForm1::releaseHelp() {
    if (!helpLibraryLoaded())
        return;
    // The window's help file is read through the library: it goes first.
    if (helpViewer)
        helpViewer->releaseFile();
    helpLibrary->release();
}

void TForm1::N8Click() {
    HtmlHelp(this, manualPath(), HH_DISPLAY_TOPIC, 0);
}

void TForm1::N24Click() {
    Form5->exec();
}

void TForm1::N15Click() {
    // Whether a browser opened is not reported: there is nothing the user could do about it.
    QDesktopServices::openUrl(QUrl(homePageAddress()));
}

void TForm1::N5Click() {
    close(); // the close event asks about unsaved work
}

void TForm1::FormClose() {
    // 1. The private fonts go.
    registerPrivateFonts(false);
    // 2. Every help window closes.
    if (helpLibraryLoaded())
        HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    // 3. The help library is released.
    releaseHelp();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "HelpController.h"

#include "HelpWindow.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

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
        window.move(frame.left(),
                    main.mapToGlobal(QPoint(0, main.menuBar()->geometry().bottom() + 1)).y());
}

} // namespace

HelpController::HelpController(QMainWindow* main) : main(main) {}

HelpController::~HelpController() = default;

bool HelpController::libraryLoaded() const {
    return library && library->isLoaded();
}

HelpWindow* HelpController::window() const {
    return viewer;
}

qint32 HelpController::HtmlHelp(QWidget* owner, const QString& path, quint32 command,
                                quintptr data) {
    Q_UNUSED(data);
    if (!libraryLoaded()) {
        if (!library || library->libraryName() != libraryName)
            library = std::make_unique<HelpLibrary>(libraryName);
        // Raises "HHCtrl.OCX not installed!..." or "Function HTMLHELP cannot loaded!" and
        // stays unloaded, so nothing that is missing is ever called.
        library->load();
    }
    switch (command) {
    case HH_DISPLAY_TOPIC:
        displayTopic(owner, path);
        return 0;
    case HH_CLOSE_ALL:
        if (viewer) {
            viewer->close();
            viewer->releaseFile();
        }
        return 0;
    default:
        return 0;
    }
}

void HelpController::displayTopic(QWidget* owner, const QString& path) {
    if (!viewer) {
        viewer = new HelpWindow(owner ? owner : main);
        placeBeside(*viewer, *main);
    }
    const HelpTopicPath topic = splitTopicPath(path);
    HelpFile::Opened opened = HelpFile::open(library->entryPoints(), topic.file, expectedFile);
    if (opened.file) {
        viewer->display(std::move(opened.file), topic.topic);
    } else {
        // A missing or damaged help file is reported by the help window itself.
        viewer->releaseFile();
        viewer->displayError(opened.error);
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

void HelpController::release() {
    if (!libraryLoaded())
        return;
    // The window's help file is read through the library: it goes first.
    if (viewer)
        viewer->releaseFile();
    library->release();
}

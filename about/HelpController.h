// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The manual: loads the help library at the first request, opens the help file it reads, and
// keeps the one help window, beside the main window. The main window only asks.
#pragma once

#include "HelpFile.h"
#include "HelpLibrary.h"

#include <QPointer>
#include <QString>
#include <memory>

class HelpWindow;
class QMainWindow;
class QWidget;

class HelpController final {
public:
    // main is the window the help window opens beside.
    explicit HelpController(QMainWindow* main);
    ~HelpController();
    HelpController(const HelpController&) = delete;
    HelpController& operator=(const HelpController&) = delete;

    // The help request: loads the help library at the first call (raising its messages when
    // it cannot), then carries out the command.
    qint32 HtmlHelp(QWidget* owner, const QString& path, quint32 command, quintptr data);
    // The help window's file goes first, then the library.
    void release();
    bool libraryLoaded() const;
    HelpWindow* window() const;

    // The library asked for and the help file accepted: the shipped ones unless a test
    // names others.
    void setLibraryName(const QString& name) { libraryName = name; }
    void setExpectedFile(const HelpFileDigest& digest) { expectedFile = digest; }

private:
    void displayTopic(QWidget* owner, const QString& path);

    QMainWindow* main;
    QString libraryName = HelpLibrary::defaultName();
    HelpFileDigest expectedFile = builtManualDigest();
    std::unique_ptr<HelpLibrary> library; // none until the first help request
    QPointer<HelpWindow> viewer;
};

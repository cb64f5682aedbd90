// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The program's own help window: shows the pages of the compiled manual, with their pictures
// and styles read straight from the help file, working links, back and forward.
#pragma once

#include "HelpFile.h"

#include <QTextBrowser>
#include <QWidget>
#include <memory>

class QPushButton;

// The browser that reads every page, picture and style sheet from the help file.
class HelpBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr const char* Scheme = "tarvelhelp";

    explicit HelpBrowser(QWidget* parent = nullptr);
    void setHelpFile(const HelpFile* file) { helpFile = file; }
    QVariant loadResource(int type, const QUrl& name) override;

    // Where a clicked link leads: a page of the help file (the new source), an outside web
    // address (handed to the desktop), or nowhere.
    void followLink(const QUrl& link);

private:
    QUrl resolved(const QUrl& name) const;

    const HelpFile* helpFile = nullptr;
    QUrl currentPage;
};

// The URL of a topic path inside the help file ("/HelpContent/index.htm").
QUrl helpTopicUrl(const QString& topic);
// Page bytes as text, in the character set the page declares (UTF-8 when it declares none).
QString decodePage(const QByteArray& bytes);

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Shows a topic of the opened help file; the window keeps the file until released.
    void display(std::unique_ptr<HelpFile> file, const QString& topic);
    // Shows why the manual could not be opened.
    void displayError(const QString& text);
    // Drops the help file (the library that reads it is about to go).
    void releaseFile();
    bool hasFile() const { return helpFile != nullptr; }

    HelpBrowser* HelpBrowser1 = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* ForwardButton = nullptr;
    QPushButton* HomeButton = nullptr;
    QPushButton* CloseButton = nullptr; // also Esc and Ctrl+W

private:
    std::unique_ptr<HelpFile> helpFile;
    QUrl home;
};

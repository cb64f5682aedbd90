// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The help library: chmlib, which reads the compiled manual. It is loaded at the first help
// request, never at start, and released at shutdown.
#pragma once

#include <QString>
#include <chm_lib.h>
#include <memory>

class QLibrary;

// The help commands the main window sends.
enum HelpCommand : quint32 {
    HH_DISPLAY_TOPIC = 0x0000,
    HH_CLOSE_ALL = 0x0012,
    HH_INITIALIZE = 0x001C,
    HH_UNINITIALIZE = 0x001D,
};

// The library's functions the help file needs; all are found before any is called.
struct HelpEntryPoints {
    chmFile* (*open)(const char* path) = nullptr;
    void (*close)(chmFile* file) = nullptr;
    int (*resolveObject)(chmFile* file, const char* path, chmUnitInfo* unit) = nullptr;
    LONGINT64(*retrieveObject)
    (chmFile* file, chmUnitInfo* unit, unsigned char* buffer, LONGUINT64 address,
     LONGINT64 length) = nullptr;
};

class HelpLibrary final {
public:
    // The shared object as the dynamic loader finds it.
    static QString defaultName() { return QStringLiteral("libchm.so.1"); }
    static QString notInstalledMessage();
    static QString entryPointMissingMessage();

    explicit HelpLibrary(QString libraryName = defaultName());
    ~HelpLibrary();
    HelpLibrary(const HelpLibrary&) = delete;
    HelpLibrary& operator=(const HelpLibrary&) = delete;

    const QString& libraryName() const { return name; }
    bool isLoaded() const { return library != nullptr; }
    // Loads the library and finds its entry points; raises the user's message when either
    // fails and then stays unloaded, so the next request tries again and nothing missing is
    // ever called.
    void load();
    void release();
    const HelpEntryPoints& entryPoints() const { return functions; }

private:
    QString name;
    std::unique_ptr<QLibrary> library; // none until loaded
    HelpEntryPoints functions;
};

// Whether the process has the named shared object loaded, whoever loaded it.
bool sharedObjectLoaded(const QString& libraryName);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The help library: loading chmlib by name and finding its entry points.
#include "HelpLibrary.h"

#include "TarvelError.h"

#include <QLibrary>

#include <dlfcn.h>

QString HelpLibrary::notInstalledMessage() {
    return QStringLiteral("HHCtrl.OCX not installed!") + QChar(13) +
           QStringLiteral(" HTMLHELP cannot displayed!");
}

QString HelpLibrary::entryPointMissingMessage() {
    return QStringLiteral("Function HTMLHELP cannot loaded!");
}

HelpLibrary::HelpLibrary(QString libraryName) : name(std::move(libraryName)) {}

HelpLibrary::~HelpLibrary() {
    release();
}

namespace {

template <class Function> bool lookUp(QLibrary& library, const char* symbol, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(symbol));
    return function != nullptr;
}

} // namespace

void HelpLibrary::load() {
    if (library)
        return;
    auto loaded = std::make_unique<QLibrary>(name);
    if (!loaded->load())
        throw TarvelError(notInstalledMessage());
    HelpEntryPoints found;
    const bool complete = lookUp(*loaded, "chm_open", found.open) &&
                          lookUp(*loaded, "chm_close", found.close) &&
                          lookUp(*loaded, "chm_resolve_object", found.resolveObject) &&
                          lookUp(*loaded, "chm_retrieve_object", found.retrieveObject);
    if (!complete) {
        loaded->unload();
        throw TarvelError(entryPointMissingMessage());
    }
    library = std::move(loaded);
    functions = found;
}

void HelpLibrary::release() {
    if (!library)
        return;
    functions = HelpEntryPoints();
    library->unload();
    library.reset();
}

// Asks the dynamic loader without loading anything: QLibrary has no such question.
bool sharedObjectLoaded(const QString& libraryName) {
    void* handle = dlopen(libraryName.toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The help library loader: both failure messages for real, nothing missing ever called, and
// loading and releasing chmlib itself.
#include "HelpLibrary.h"
#include "TarvelError.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

const QString partialLibrary =
    QStringLiteral(TARVEL_BINARY_DIR "/tests/libpartial_help_library.so");

QString loadError(HelpLibrary& library) {
    try {
        library.load();
    } catch (const TarvelError& error) {
        return error.text();
    }
    return QStringLiteral("(no error)");
}

// Reads the stand-in's call counter through a handle of the test's own.
struct PartialLibraryProbe {
    void* handle = dlopen(partialLibrary.toLocal8Bit().constData(), RTLD_NOW);
    ~PartialLibraryProbe() {
        if (handle)
            dlclose(handle);
    }
    int calls() const {
        auto count = reinterpret_cast<int (*)()>(dlsym(handle, "partial_help_calls"));
        return count ? count() : -1;
    }
};

} // namespace

TEST(HelpLibrary, MessagesAreExact) {
    EXPECT_EQ(HelpLibrary::notInstalledMessage().toUtf8(),
              QByteArray("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!"));
    EXPECT_EQ(HelpLibrary::entryPointMissingMessage().toUtf8(),
              QByteArray("Function HTMLHELP cannot loaded!"));
}

TEST(HelpLibrary, MissingLibraryRaisesNotInstalledAtEveryRequest) {
    HelpLibrary library(QStringLiteral("libtarvel-no-such-help-library.so.9"));
    EXPECT_EQ(loadError(library), HelpLibrary::notInstalledMessage());
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(loadError(library), HelpLibrary::notInstalledMessage());
    EXPECT_FALSE(library.isLoaded());
}

TEST(HelpLibrary, LibraryWithoutEntryPointsRaisesMissingFunction) {
    HelpLibrary library(QStringLiteral("libz.so.1"));
    EXPECT_EQ(loadError(library), HelpLibrary::entryPointMissingMessage());
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(library.entryPoints().open, nullptr);
    EXPECT_EQ(library.entryPoints().retrieveObject, nullptr);
}

TEST(HelpLibrary, PartialLibraryIsNeverCalledAndNotKept) {
    PartialLibraryProbe probe;
    ASSERT_NE(probe.handle, nullptr) << dlerror();
    {
        HelpLibrary library(partialLibrary);
        EXPECT_EQ(loadError(library), HelpLibrary::entryPointMissingMessage());
        EXPECT_EQ(loadError(library), HelpLibrary::entryPointMissingMessage());
        EXPECT_FALSE(library.isLoaded());
        library.release();
    }
    EXPECT_EQ(probe.calls(), 0);
}

TEST(HelpLibrary, LoadsChmlibOnlyWhenAskedAndReleasesIt) {
    EXPECT_FALSE(sharedObjectLoaded(HelpLibrary::defaultName()));
    {
        HelpLibrary library;
        EXPECT_FALSE(sharedObjectLoaded(HelpLibrary::defaultName()));
        library.load();
        EXPECT_TRUE(library.isLoaded());
        EXPECT_TRUE(sharedObjectLoaded(HelpLibrary::defaultName()));
        EXPECT_NE(library.entryPoints().open, nullptr);
        EXPECT_NE(library.entryPoints().close, nullptr);
        EXPECT_NE(library.entryPoints().resolveObject, nullptr);
        EXPECT_NE(library.entryPoints().retrieveObject, nullptr);
        library.load(); // a second load keeps the one handle
        library.release();
        EXPECT_FALSE(library.isLoaded());
        EXPECT_FALSE(sharedObjectLoaded(HelpLibrary::defaultName()));
        library.load();
    } // the destructor releases
    EXPECT_FALSE(sharedObjectLoaded(HelpLibrary::defaultName()));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The manual, About, home page and exit through the real main window: the help library is
// loaded at the first manual request only, both loader messages reach the user exactly and
// the program goes on, and closing releases the window and the library.
#include "../about/ChmFixture.h"
#include "ErrorBoundary.h"
#include "HelpController.h"
#include "HelpWindow.h"
#include "Unit1.h"
#include "Unit5.h"

#include <QAction>
#include <QDesktopServices>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

const QString chmlib = HelpLibrary::defaultName();
const QString partialLibrary =
    QStringLiteral(TARVEL_BINARY_DIR "/tests/libpartial_help_library.so");
const QString shippedManual = QStringLiteral(TARVEL_BINARY_DIR "/bin/TarvelHelp.chm");

// Collects what the error boundary would show in message boxes.
struct ShownErrors {
    QStringList texts;
    ErrorBoundary::Display previous =
        ErrorBoundary::setDisplay([this](QWidget*, const QString& text) { texts << text; });
    ~ShownErrors() { ErrorBoundary::setDisplay(previous); }
};

class UrlCatcher final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

QString helpText(TForm1& form) {
    return form.help().window() ? form.help().window()->HelpBrowser1->toPlainText() : QString();
}

TEST(StartupHelp, ClosingWithoutTheManualNeverLoadsTheLibrary) {
    EXPECT_FALSE(sharedObjectLoaded(chmlib));
    {
        TForm1 form;
        form.createDialogs();
        form.show();
        EXPECT_FALSE(sharedObjectLoaded(chmlib));
        form.N5->trigger(); // exit
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.help().libraryLoaded());
        EXPECT_EQ(form.help().window(), nullptr);
    }
    EXPECT_FALSE(sharedObjectLoaded(chmlib));
}

TEST(StartupHelp, ShippedManualOpensAndClosingReleasesEverything) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(shippedManual, dir.filePath(QStringLiteral("TarvelHelp.chm"))));
    ShownErrors errors;
    TForm1 form;
    form.AppDir = dir.path() + QLatin1Char('/');
    EXPECT_EQ(form.manualPath(),
              form.AppDir + QStringLiteral("TarvelHelp.chm::/HelpContent\\index.htm"));
    form.N8->trigger();
    EXPECT_TRUE(errors.texts.isEmpty());
    ASSERT_NE(form.help().window(), nullptr);
    EXPECT_TRUE(form.help().window()->isVisible());
    EXPECT_TRUE(form.help().window()->hasFile());
    EXPECT_TRUE(helpText(form).startsWith(QStringLiteral("Tarvel 使用手册")));
    EXPECT_TRUE(sharedObjectLoaded(chmlib));

    // A second request reuses the window and the loaded library.
    HelpWindow* window = form.help().window();
    form.N8->trigger();
    EXPECT_EQ(form.help().window(), window);

    form.close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->hasFile());
    EXPECT_FALSE(form.help().libraryLoaded());
    EXPECT_FALSE(sharedObjectLoaded(chmlib));
}

TEST(StartupHelp, PageOfAFileBuiltHereReachesTheWindow) {
    QTemporaryDir dir;
    const QString path = ChmFixture::build(dir.path(), QStringLiteral("TarvelHelp.chm"));
    ASSERT_FALSE(path.isEmpty()) << "chmcmd failed";
    TForm1 form;
    form.AppDir = dir.path() + QLatin1Char('/');
    // This build recorded the shipped manual: the file made here is refused...
    form.N8->trigger();
    EXPECT_EQ(helpText(form), QStringLiteral("帮助文件已损坏或被替换，不能打开：") + path);
    // ...until its own digest is the one expected.
    form.help().setExpectedFile(digestOf(ChmFixture::readAll(path)));
    form.N8->trigger();
    EXPECT_TRUE(helpText(form).startsWith(QStringLiteral("小页面的正文 small page")));
    form.help().window()->HelpBrowser1->followLink(QUrl(QStringLiteral("second.htm")));
    EXPECT_TRUE(helpText(form).startsWith(QStringLiteral("第二页 second page")));
}

TEST(StartupHelp, MissingHelpFileIsReportedByTheWindow) {
    QTemporaryDir dir;
    ShownErrors errors;
    TForm1 form;
    form.AppDir = dir.path() + QLatin1Char('/');
    form.N8->trigger();
    EXPECT_TRUE(errors.texts.isEmpty());
    ASSERT_NE(form.help().window(), nullptr);
    EXPECT_TRUE(form.help().window()->isVisible());
    EXPECT_EQ(helpText(form),
              QStringLiteral("找不到帮助文件：") + form.AppDir + QStringLiteral("TarvelHelp.chm"));
}

TEST(StartupHelp, MissingLibraryMessageAtEveryRequestAndTheProgramGoesOn) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(shippedManual, dir.filePath(QStringLiteral("TarvelHelp.chm"))));
    ShownErrors errors;
    TForm1 form;
    form.AppDir = dir.path() + QLatin1Char('/');
    form.help().setLibraryName(QStringLiteral("libtarvel-no-such-help-library.so.9"));
    form.N8->trigger();
    form.N8->trigger();
    const QString message =
        QStringLiteral("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!");
    EXPECT_EQ(errors.texts, (QStringList{message, message}));
    EXPECT_EQ(form.help().window(), nullptr);
    EXPECT_FALSE(form.help().libraryLoaded());

    // Once the library is there, the next request finds it.
    form.help().setLibraryName(chmlib);
    form.N8->trigger();
    EXPECT_EQ(errors.texts.size(), 2);
    EXPECT_TRUE(helpText(form).startsWith(QStringLiteral("Tarvel 使用手册")));
}

TEST(StartupHelp, MissingEntryPointIsNeverCalled) {
    void* probe = dlopen(partialLibrary.toLocal8Bit().constData(), RTLD_NOW);
    ASSERT_NE(probe, nullptr) << dlerror();
    const auto calls = reinterpret_cast<int (*)()>(dlsym(probe, "partial_help_calls"));
    ASSERT_NE(calls, nullptr);
    ShownErrors errors;
    {
        TForm1 form;
        form.help().setLibraryName(partialLibrary);
        form.N8->trigger();
        form.N8->trigger();
        EXPECT_EQ(errors.texts, (QStringList{QStringLiteral("Function HTMLHELP cannot loaded!"),
                                             QStringLiteral("Function HTMLHELP cannot loaded!")}));
        EXPECT_FALSE(form.help().libraryLoaded());
        form.close(); // the shutdown steps call nothing of it either
    }
    EXPECT_EQ(calls(), 0);
    dlclose(probe);
}

TEST(StartupHelp, HomePageOpensInTheBrowserAndFailureNamesTheAddress) {
    ShownErrors errors;
    TForm1 form;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    form.N15->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://tarvel.example.org/"))});
    // No browser on this platform: the message gives the address.
    form.N15->trigger();
    EXPECT_EQ(errors.texts, QStringList{QStringLiteral(
                                "无法启动浏览器。作者主页的地址是 https://tarvel.example.org/")});
}

TEST(StartupHelp, AboutBoxIsShownModally) {
    TForm1 form;
    form.createDialogs();
    ASSERT_NE(form.Form5, nullptr);
    bool shown = false;
    QTimer::singleShot(0, form.Form5, [&] {
        shown = form.Form5->isVisible() && form.Form5->isModal();
        form.Form5->Button1->click();
    });
    form.N24->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(form.Form5->isVisible());
    EXPECT_EQ(form.Form5->result(), QDialog::Accepted);
}

} // namespace

#include "StartupHelpTest.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window around the composition: the private fonts of the Fonts folder, the manual,
// the About box, the home page, and the shutdown steps that undo what start-up did.
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "FontFallback.h"
#include "HelpController.h"
#include "PlatformDialogs.h"
#include "PrivateFonts.h"
#include "TarvelError.h"
#include "Translations.h"
#include "Unit5.h"

#include <QActionGroup>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QMenu>
#include <QSettings>
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
        // The Fonts folder's faces stand in for one another where a face lacks a character.
        QStringList families;
        for (const int id : std::as_const(privateFontIds))
            families += QFontDatabase::applicationFontFamilies(id);
        FontFallback::setFaces(families);
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
    FontFallback::setFaces({});
    fillFontList();
}

void TForm1::N8Click() {
    helpController->HtmlHelp(this, manualPath(), HH_DISPLAY_TOPIC, 0);
}

void TForm1::N24Click() {
    Form5->exec();
}

void TForm1::N15Click() {
    // Without a browser the user can still copy the address from the message.
    if (!QDesktopServices::openUrl(QUrl(homePageAddress())))
        throw TarvelError(tr("无法启动浏览器。作者主页的地址是 %1").arg(homePageAddress()));
}

void TForm1::buildLanguageMenu(QMenu* help) {
    MenuLanguage = help->addMenu(tr("语言(&L)"));
    MenuLanguage->setObjectName(QStringLiteral("MenuLanguage"));
    const std::unique_ptr<QSettings> settings = openUserSettings();
    const QString chosen = settings ? Translations::chosen(*settings) : QString();
    auto* group = new QActionGroup(MenuLanguage);
    for (const QString& language : QStringList{QString()} + Translations::languages()) {
        QAction* item = MenuLanguage->addAction(
            language.isEmpty() ? tr("跟随系统") : Translations::nativeName(language));
        item->setObjectName(QStringLiteral("MenuLanguage_") + language);
        item->setCheckable(true);
        item->setChecked(language == chosen);
        group->addAction(item);
        connect(item, &QAction::triggered, this,
                ErrorBoundary::guard(this, [this, language] { LanguageClick(language); }));
    }
}

void TForm1::LanguageClick(const QString& language) {
    const std::unique_ptr<QSettings> settings = openUserSettings();
    if (!settings)
        throw TarvelError(tr("无法保存设置，语言没有改变。"));
    Translations::choose(*settings, language);
    PlatformDialogs::tell(this, tr("新的语言在下次启动 Tarvel 时生效。"));
}

void TForm1::N5Click() {
    close(); // the close event asks about unsaved work
}

void TForm1::FormClose() {
    // 1. The private fonts go.
    registerPrivateFonts(false);
    // 2. Every help window closes.
    if (helpController->libraryLoaded())
        helpController->HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    // 3. The help library is released.
    helpController->release();
}

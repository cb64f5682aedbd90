// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The program's language. The catalogues are built into the program (":/translations"); Qt's
// own come from the system's Qt translations folder.
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <memory>
#include <vector>

namespace {

const QString sourceLanguage = QStringLiteral("zh_CN");
const QString languageKey = QStringLiteral("language");

// The translators this module installed, removed again when another language is installed
// (a translator removes itself from the application when it is destroyed).
std::vector<std::unique_ptr<QTranslator>>& installed() {
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

bool installTranslator(const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed().push_back(std::move(translator));
    return true;
}

} // namespace

namespace Translations {

QStringList languages() {
    return {sourceLanguage, QStringLiteral("zh_TW"), QStringLiteral("en")};
}

QString nativeName(const QString& language) {
    if (language == QLatin1String("zh_TW"))
        return QStringLiteral("繁體中文");
    if (language == QLatin1String("en"))
        return QStringLiteral("English");
    return QStringLiteral("简体中文");
}

QString forLocale(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return sourceLanguage;
    if (locale.language() == QLocale::Chinese) {
        const bool traditional = locale.script() == QLocale::TraditionalHanScript ||
                                 locale.territory() == QLocale::Taiwan ||
                                 locale.territory() == QLocale::HongKong ||
                                 locale.territory() == QLocale::Macao;
        return traditional ? QStringLiteral("zh_TW") : sourceLanguage;
    }
    return QStringLiteral("en");
}

QString chosen(const QSettings& settings) {
    const QString language = settings.value(languageKey).toString();
    return languages().contains(language) ? language : QString();
}

void choose(QSettings& settings, const QString& language) {
    if (language.isEmpty())
        settings.remove(languageKey);
    else
        settings.setValue(languageKey, language);
}

bool install(QCoreApplication& application, const QString& language) {
    Q_UNUSED(application); // the translators are the application's while it runs
    installed().clear();
    // Numbers, sizes and dates the program and Qt's dialogs write follow the language too.
    QLocale::setDefault(QLocale(language));
    bool complete = true;
    if (language != sourceLanguage)
        complete = installTranslator(QStringLiteral("tarvel_") + language,
                                     QStringLiteral(":/translations"));
    // English is Qt's own language.
    if (language == QLatin1String("en"))
        return complete;
    return installTranslator(QStringLiteral("qtbase_") + language,
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           complete;
}

} // namespace Translations

bool installQtTranslations(QCoreApplication& application) {
    return Translations::install(application, sourceLanguage);
}

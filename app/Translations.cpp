// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Qt's own dialogs in the program's language: every caption of the program is Simplified
// Chinese, whatever the system's locale, so Qt's buttons and labels follow it.
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

bool installQtTranslations(QCoreApplication& application) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setParent(&application);
    return QCoreApplication::installTranslator(translator.release());
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The program's language: its own texts from the catalogue built out of translations/, and
// Qt's dialogs (file and colour dialogs, message boxes) in the same language.
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;
class QLocale;
class QSettings;

namespace Translations {

// The languages the program speaks, as locale names; the first is the source text's own.
QStringList languages();
// A language's name in that language ("简体中文", "繁體中文", "English").
QString nativeName(const QString& language);
// The program's language for a system locale: traditional Chinese for Taiwan, Hong Kong and
// Macau, simplified for other Chinese and for the C locale, English for every other language.
QString forLocale(const QLocale& locale);
// The language chosen under "语言" in the settings, empty when it follows the system.
QString chosen(const QSettings& settings);
void choose(QSettings& settings, const QString& language);
// Installs the catalogue and Qt's own translation of a language for the application's
// lifetime, replacing the ones installed before; false when either is missing on this system
// (those texts then stay in the source language).
bool install(QCoreApplication& application, const QString& language);

} // namespace Translations

// Installs Qt's Simplified Chinese translation; false when it is not installed on this system
// (Qt's dialogs then stay in English).
bool installQtTranslations(QCoreApplication& application);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Qt's own dialogs (file and colour dialogs, message boxes) in the program's language.
#pragma once

class QCoreApplication;

// Installs Qt's Simplified Chinese translation for the application's lifetime; false when
// the translation is not installed on this system (Qt's dialogs then stay in English).
bool installQtTranslations(QCoreApplication& application);

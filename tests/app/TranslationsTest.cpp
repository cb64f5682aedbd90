// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Qt's own dialogs speak the program's language once its translation is installed.
#include "Translations.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(QtTranslations, TurnQtsDialogTextsIntoChinese) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    const QString file =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
    if (!QFile::exists(file)) {
        EXPECT_FALSE(installQtTranslations(application));
        GTEST_SKIP() << "Qt's Chinese translation is not installed here";
    }
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    ASSERT_TRUE(installQtTranslations(application));
    for (const auto& [context, text] :
         {std::pair{"QFileDialog", "Look in:"}, std::pair{"QFileDialog", "File &name:"},
          std::pair{"QColorDialog", "Select Color"}, std::pair{"QPlatformTheme", "Cancel"}}) {
        const QString translated = QCoreApplication::translate(context, text);
        EXPECT_NE(translated, QString::fromLatin1(text)) << context << " " << text;
        EXPECT_TRUE(translated.contains(QRegularExpression(QStringLiteral("\\p{Han}"))))
            << translated.toStdString();
    }
}

} // namespace

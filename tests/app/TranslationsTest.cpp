// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Qt's own dialogs speak the program's language once its translation is installed, and the
// file dialog's list writes sizes and dates in it whatever the system's locale.
#include "Translations.h"
#include "PlatformDialogs.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
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

    // A file of 500 bytes and its folder in the file dialog, shown from a system locale of C.
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(installQtTranslations(application));
    QTemporaryDir dir;
    QFile file500(dir.filePath(QStringLiteral("paper.png")));
    ASSERT_TRUE(file500.open(QIODevice::WriteOnly));
    file500.write(QByteArray(500, 'x'));
    file500.close();
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // Qt's own list when the dialog has no list of the program's.
        const QAbstractProxyModel* list = dialog->proxyModel();
        const auto* files = qobject_cast<QFileSystemModel*>(
            list ? list->sourceModel() : dialog->findChild<QFileSystemModel*>());
        for (const int column : {1, 3}) {
            const QModelIndex index = files->index(file500.fileName(), column);
            shown << (list ? list->mapFromSource(index) : index).data().toString();
        }
        const QModelIndex folder = files->index(dir.path(), 2);
        shown << (list ? list->mapFromSource(folder) : folder).data().toString();
        // A file's type stays Qt's.
        const QModelIndex type = files->index(file500.fileName(), 2);
        EXPECT_EQ((list ? list->mapFromSource(type) : type).data().toString(),
                  type.data().toString());
        dialog->reject();
    });
    FileDialogRequest request;
    request.filter = PlatformDialogs::pictureFilter(QStringLiteral("All (*.png)|*.png"));
    request.initialPath = file500.fileName();
    EXPECT_FALSE(PlatformDialogs::chooseFile(nullptr, request));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    EXPECT_EQ(shown, QStringList(
                         {chinese.formattedDataSize(500),
                          chinese.toString(QFileInfo(file500).lastModified(), QLocale::ShortFormat),
                          QStringLiteral("文件夹")}))
        << shown.join(QLatin1Char('|')).toStdString(); // "500 字节|2026/12/10 19:13|文件夹"
    EXPECT_NE(shown.value(0), QLocale::c().formattedDataSize(500)); // "500 bytes"
}

} // namespace

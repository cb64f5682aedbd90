// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The real file dialog, as a user sees it: each type in its list reads as the program's
// description alone, and the picture dialog makes room for its preview beside the list.
#include "PlatformDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QStringList types;
    QSize size;
    int listWidth = 0;
};

// Opens the dialog for the request, reads what it shows and cancels it.
Seen look(const FileDialogRequest& request) {
    Seen seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < types->count(); ++i)
                seen.types << types->itemText(i);
        seen.size = dialog->size();
        if (const auto* list = dialog->findChild<QWidget*>(QStringLiteral("treeView")))
            seen.listWidth = list->width();
        dialog->reject();
    });
    EXPECT_FALSE(PlatformDialogs::chooseFile(nullptr, request).has_value());
    return seen;
}

struct PlatformDialogsTest : ::testing::Test {};

TEST_F(PlatformDialogsTest, FileTypesReadAsTheProgramsDescriptions) {
    FileDialogRequest request;
    request.filter = QStringLiteral("Text File(*.rtf)|*.rtf|文本文件(*.txt)|*.txt");
    const Seen text = look(request);
    EXPECT_EQ(text.types,
              (QStringList{QStringLiteral("Text File(*.rtf)"), QStringLiteral("文本文件(*.txt)")}));

    request.filter = QStringLiteral("All (*.jpg;*.bmp)|*.jpg;*.bmp|Bitmaps (*.bmp)|*.bmp");
    request.picturePreview = true;
    const Seen pictures = look(request);
    EXPECT_EQ(pictures.types, (QStringList{QStringLiteral("All (*.jpg;*.bmp)"),
                                           QStringLiteral("Bitmaps (*.bmp)")}));
    // The preview is added beside the list, which keeps the width it has without one.
    EXPECT_GT(text.listWidth, 0);
    EXPECT_GE(pictures.listWidth, text.listWidth);
    EXPECT_GT(pictures.size.width(), text.size.width());
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Keys in the real main window and its dialogs: Esc presses each dialog's "取消", wherever the
// focus is in the dialog, while the close box still closes without it; every menu opens with
// Alt and a letter of its own.
#include "PlacementFixture.h"

#include "DialogPlacement.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit8.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMenuBar>

namespace {

using DialogKeys = MainWindowTest;

TEST_F(DialogKeys, EscPressesCancelInEveryDialogThatHasOne) {
    struct Case {
        const char* name;
        QDialog* dialog;
        QAbstractButton* cancel;
        std::function<void()> open;
    } cases[] = {
        {"canvas", form.Form2, form.Form2->Button4, [this] { form.ToolButton40Click(); }},
        {"rotated text", form.Form3, form.Form3->Button5, [this] { form.N12Click(); }},
        {"seal", form.Form4, form.Form4->Button3, [this] { form.ToolButton29Click(); }},
        {"circle", form.Form6, form.Form6->Button3, [this] { form.ToolButton21Click(); }},
        {"fan", form.Form7, form.Form7->Button3, [this] { form.ToolButton26Click(); }},
        {"text", form.Form8, form.Form8->Button3, [this] { form.ToolButton1Click(); }},
    };
    for (const Case& c : cases) {
        int pressed = 0;
        const QMetaObject::Connection counting =
            QObject::connect(c.cancel, &QAbstractButton::clicked, [&pressed] { ++pressed; });
        bool closed = false;
        withDialog(
            [&] {
                QWidget* focus = c.dialog->focusWidget();
                QTest::keyClick(focus ? focus : c.dialog, Qt::Key_Escape);
                closed = !c.dialog->isVisible();
                if (!closed)
                    c.dialog->close();
            },
            c.open);
        QObject::disconnect(counting);
        EXPECT_EQ(pressed, 1) << c.name;
        EXPECT_TRUE(closed) << c.name;

        // The close box does not press it.
        withDialog([&] { c.dialog->close(); }, c.open);
        EXPECT_EQ(pressed, 1) << c.name;
    }
    EXPECT_TRUE(shownErrors.isEmpty()) << shownErrors.join('\n').toStdString();
}

// Enter presses 确定 wherever the focus is in the dialogs that confirm settings, never a button
// that opens another window (the canvas dialog's 调色板).
TEST_F(DialogKeys, EnterPressesOk) {
    struct Case {
        const char* name;
        QDialog* dialog;
        QAbstractButton* ok;
        std::function<void()> open;
    } cases[] = {
        {"canvas", form.Form2, form.Form2->Button3, [this] { form.ToolButton40Click(); }},
        {"circle", form.Form6, form.Form6->Button1, [this] { form.ToolButton21Click(); }},
        {"fan", form.Form7, form.Form7->Button1, [this] { form.ToolButton26Click(); }},
    };
    pickColours(std::nullopt); // a palette opened by mistake is cancelled
    for (const Case& c : cases) {
        int pressed = 0;
        const QMetaObject::Connection counting =
            QObject::connect(c.ok, &QAbstractButton::clicked, [&pressed] { ++pressed; });
        withDialog(
            [&] {
                QWidget* focus = c.dialog->focusWidget();
                QTest::keyClick(focus ? focus : c.dialog, Qt::Key_Return);
                if (c.dialog->isVisible())
                    c.dialog->close();
            },
            c.open);
        QObject::disconnect(counting);
        EXPECT_EQ(pressed, 1) << c.name;
    }
}

// A dialog shown again goes back to where its frame was when it closed, whatever position the
// window system left it at while hidden (some add the title bar's height each time).
TEST_F(DialogKeys, ADialogOpensAgainWhereItClosed) {
    DialogPlacement placement;
    qApp->installEventFilter(&placement);
    QDialog& dialog = *form.Form4;
    dialog.show();
    dialog.move(130, 70);
    dialog.hide();
    dialog.move(130, 90);
    dialog.show();
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(130, 70));
    dialog.hide();
    qApp->removeEventFilter(&placement);
}

// Every menu of the main window and of the text dialog has its letter, none taken twice in one
// bar or menu, nor one of the window's Alt shortcuts (the two would cancel each other out);
// Alt and the letter opens the menu.
TEST_F(DialogKeys, EveryMenuOpensWithAltAndALetterOfItsOwn) {
    for (QMenuBar* bar : {form.menuBar(), form.Form8->MainMenu1}) {
        QWidget* window = bar->window();
        SCOPED_TRACE(window->objectName().toStdString());
        QSet<QKeySequence> taken;
        for (const QAction* action : window->findChildren<QAction*>())
            for (const QKeySequence& key : action->shortcuts())
                if ((key[0].keyboardModifiers() & ~Qt::KeypadModifier) == Qt::AltModifier)
                    taken.insert(key);
        window->show();
        QApplication::setActiveWindow(window);
        int menus = 0;
        for (QAction* entry : bar->actions()) {
            const QKeySequence letter = QKeySequence::mnemonic(entry->text());
            EXPECT_FALSE(letter.isEmpty()) << entry->text().toStdString();
            EXPECT_FALSE(taken.contains(letter)) << entry->text().toStdString();
            taken.insert(letter);
            QTest::keyClick(window, letter[0].key(), Qt::AltModifier);
            EXPECT_TRUE(entry->menu()->isVisible()) << entry->text().toStdString();
            entry->menu()->hide();
            QSet<QKeySequence> inMenu;
            for (const QAction* item : entry->menu()->actions())
                if (item->menu()) {
                    const QKeySequence sub = QKeySequence::mnemonic(item->text());
                    EXPECT_FALSE(sub.isEmpty()) << item->text().toStdString();
                    EXPECT_FALSE(inMenu.contains(sub)) << item->text().toStdString();
                    inMenu.insert(sub);
                }
            ++menus;
        }
        EXPECT_EQ(menus, window == &form ? 4 : 3);
    }
    form.Form8->hide();
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The editor control: the selection in step with RichText both ways, editing through the
// widget, and the look RichText asks for.
#include "RichEditWidget.h"

#include "ErrorBoundary.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {} // namespace

TEST(RichEdit, SelectionFollowsRichTextAndTheUser) {
    RichEdit edit;
    RichText& rich = edit.richText();
    EXPECT_EQ(edit.document(), rich.document());
    rich.setText(QStringLiteral("书法ab"));
    rich.setSelStart(2);
    rich.setSelLength(2);
    EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("法"));

    // The user selects "ab" in the widget: RichText's setSel* act on it.
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(2);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    EXPECT_EQ(rich.selStart(), 4);
    EXPECT_EQ(rich.selLength(), 2);
    rich.setSelSize(30);
    rich.setSelStart(5);
    rich.setSelLength(1);
    EXPECT_EQ(rich.selAttributes().Size, 30);
    rich.setSelStart(0);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selAttributes().Size, 10);
}

TEST(RichEdit, TypingCutAndPasteChangeTheSharedText) {
    RichEdit edit;
    RichText& rich = edit.richText();
    rich.setText(QStringLiteral("ab"));
    rich.setSelStart(2);
    rich.setSelColor(clRed); // for the text typed next
    QTest::keyClicks(&edit, QStringLiteral("xy"));
    EXPECT_EQ(rich.text(), QStringLiteral("abxy"));
    rich.setSelStart(2);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selAttributes().Color, clRed);

    rich.setSelStart(0);
    rich.setSelLength(2);
    edit.cut();
    EXPECT_EQ(rich.text(), QStringLiteral("xy"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ab"));
    rich.setSelStart(2);
    edit.paste();
    EXPECT_EQ(rich.text(), QStringLiteral("xyab"));
    rich.undo();
    EXPECT_EQ(rich.text(), QStringLiteral("xy"));
}

TEST(RichEdit, ShowsBackgroundWrapAndKeepsSelectionVisible) {
    RichEdit edit;
    RichText& rich = edit.richText();
    rich.setBackgroundColor(0x00E0F0FF);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(0xFF, 0xF0, 0xE0));
    rich.setWordWrap(true, 120);
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(edit.lineWrapColumnOrWidth(), 120);
    rich.setWordWrap(false, 0);
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::NoWrap);
    edit.resize(300, 200);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.setWordWrap(true);
    EXPECT_TRUE(rich.wordWrap());
    EXPECT_EQ(rich.wrapWidth(), edit.viewport()->width());
    edit.resize(400, 200);
    EXPECT_EQ(edit.lineWrapColumnOrWidth(), edit.viewport()->width());
    EXPECT_TRUE(edit.keepsSelectionVisible());
    EXPECT_EQ(edit.palette().color(QPalette::Inactive, QPalette::Highlight),
              edit.palette().color(QPalette::Active, QPalette::Highlight));
    edit.setKeepSelectionVisible(false);
    EXPECT_EQ(edit.palette().color(QPalette::Inactive, QPalette::Highlight),
              edit.palette().color(QPalette::Inactive, QPalette::Base));
    rich.setDefaultFont(QStringLiteral("宋体"), clWindowText, 20);
    EXPECT_EQ(edit.document()->defaultFont().pointSize(), 20);
}

// A line break is a line break: Shift+Enter ends the paragraph as Enter does, and pasted HTML
// keeps only what a character carries here, its pixel sizes in points, its <br> a paragraph end.
TEST(RichEdit, ShiftEnterAndPastedHtmlGiveTheLayoutItsLines) {
    RichEdit edit;
    RichText& rich = edit.richText();
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&edit, QStringLiteral("c"));
    EXPECT_EQ(rich.lineCount(), 2);
    EXPECT_EQ(rich.text(), QStringLiteral("ab\nc"));

    // Pasted plain text leaves its control characters out; a tab stays.
    rich.clear();
    auto* plain = new QMimeData;
    plain->setText(QStringLiteral("发\f财\x01\t后\u0085台"));
    QApplication::clipboard()->setMimeData(plain);
    edit.paste();
    EXPECT_EQ(rich.text(), QStringLiteral("发财\t后台"));

    rich.clear();
    auto* html = new QMimeData;
    html->setHtml(
        QStringLiteral("<span style=\"font-family:'AR PL UKai CN'; font-size:24px; color:#ff0000; "
                       "font-weight:bold; text-decoration:line-through\">中</span>文<br>x"));
    QApplication::clipboard()->setMimeData(html);
    edit.paste();
    EXPECT_EQ(rich.text(), QStringLiteral("中文\nx"));
    EXPECT_EQ(rich.lineCount(), 2);
    RichText::Attributes first;
    first.Name = QStringLiteral("AR PL UKai CN");
    first.Size = 18; // 24 pixels at 96 pixels per inch
    first.Color = clRed;
    first.Charset = 134;
    first.Bold = true;
    first.StrikeOut = true;
    rich.setSelStart(0);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selAttributes(), first);
    rich.setSelStart(2);
    rich.setSelLength(2);
    EXPECT_EQ(rich.selAttributes(), rich.defaultAttributes());

    // Pasting or typing past the lines a text may have is refused with the file's message.
    QStringList shown;
    const ErrorBoundary::Display before =
        ErrorBoundary::setDisplay([&shown](QWidget*, const QString& text) { shown.append(text); });
    rich.setText(QString(9999, QLatin1Char('\n')));
    QApplication::clipboard()->setText(QStringLiteral("a\nb"));
    edit.paste();
    QTest::keyClick(&edit, Qt::Key_Return);
    ErrorBoundary::setDisplay(before);
    EXPECT_EQ(rich.text(), QString(9999, QLatin1Char('\n')));
    EXPECT_EQ(shown,
              QStringList(2, QStringLiteral("文本太长：最多 10000 行，这段文本有 10001 行。")));
}

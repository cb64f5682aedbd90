// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text dialog: its controls, the settings record's apply, reset and size check, and the
// editor commands with their check marks and button rules.
#include "Unit8.h"
#include "ErrorBoundary.h"
#include "FanTextLayout.h"
#include "PlatformDialogs.h"
#include "RichEditWidget.h"
#include "SpinEdit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

void pressReturn(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

class Unit8 : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.Width = 160;
        canvas.Height = 137;
        form = std::make_unique<TForm8>(QStringList{QStringLiteral("宋体"), QStringLiteral("楷体")},
                                        &canvas);
    }
    void TearDown() override {
        PlatformDialogs::setFileChooser({});
        PlatformDialogs::setColorChooser({});
    }
    // The reference block: two two-byte characters at 20 points.
    void writeExample() {
        RichText& text = form->richText();
        text.setText(QStringLiteral("中文"));
        text.selectAll();
        text.setSelSize(20);
    }
    TSetStruct canvas;
    std::unique_ptr<TForm8> form;
};

TEST_F(Unit8, StartsWithTheDesignedControls) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文本设置"));
    EXPECT_FALSE(form->UndoButton->isEnabled());
    EXPECT_FALSE(form->RedoButton->isEnabled());
    EXPECT_EQ(form->NewButton->toolTip(), QStringLiteral("新建"));
    EXPECT_EQ(form->NewButton->statusTip(), QStringLiteral("新建文件"));
    EXPECT_EQ(form->PasteButton->statusTip(), QStringLiteral("粘贴对象"));
    EXPECT_EQ(form->UndoButton->toolTip(), QStringLiteral("撤消"));
    EXPECT_EQ(form->SizeComboBox->count(), 19);
    EXPECT_EQ(form->SizeComboBox->itemText(18), QStringLiteral("200"));
    EXPECT_EQ(form->SizeComboBox->currentText(), QStringLiteral("8"));
    EXPECT_EQ(form->FontComboBox->count(), 2);
    EXPECT_EQ(form->FontComboBox->currentText(), QStringLiteral("宋体"));
    EXPECT_EQ(form->FontComboBox->maxVisibleItems(), 20);
    const SpinEdit* spins[] = {form->SpinEdit1, form->SpinEdit2, form->SpinEdit3, form->SpinEdit4};
    const int values[] = {50, 50, 2, 5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spins[i]->value(), values[i]);
        EXPECT_FALSE(spins[i]->bounded());
    }
    EXPECT_TRUE(form->RadioButton1->isChecked());
    EXPECT_EQ(form->Label5->text(), QString());
    EXPECT_EQ(form->Label5->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    EXPECT_EQ(form->Label5->font().pixelSize(), 12);
    EXPECT_EQ(form->MenuNew->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(form->MenuSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));
    EXPECT_EQ(form->MenuRedo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(form->MenuExit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_EQ(form->PopupMenu1->actions().size(), 4);
    EXPECT_EQ(form->richText().defaultAttributes().Name, QStringLiteral("宋体"));
    // Every field starts at its reset value.
    ::TextSettings reset;
    resetTextSettings(reset);
    EXPECT_EQ(form->TextSettings, reset);
}

TEST_F(Unit8, ApplyResetAndTheSizeCheck) {
    writeExample();
    form->SpinEdit1->setText(QStringLiteral("x")); // not a whole number: 0
    form->SpinEdit2->setValue(-7);
    form->SpinEdit3->setValue(3);
    form->SpinEdit4->setValue(6);
    form->RadioButton3->click();
    form->PunctuationComboBox->setCurrentIndex(3); // 句读
    form->ChineseDigitsCheckBox->setChecked(true);
    EXPECT_EQ(form->ArrangementChoice, arVertLeftToRight);
    EXPECT_EQ(form->TextSettings.Arrangement, arHorzLeftToRight); // only apply copies it
    form->Button2->click();
    EXPECT_EQ(form->TextSettings.LeftMargin, 0);
    EXPECT_EQ(form->TextSettings.TopMargin, -7);
    EXPECT_EQ(form->TextSettings.CharSpacing, 3);
    EXPECT_EQ(form->TextSettings.LineSpacing, 6);
    EXPECT_EQ(form->TextSettings.Arrangement, arVertLeftToRight);
    EXPECT_EQ(form->TextSettings.RowPitch, 33);
    EXPECT_EQ(form->TextSettings.Punctuation, vpClassical);
    EXPECT_TRUE(form->TextSettings.ChineseDigits);
    EXPECT_TRUE(form->TextSettings.Confirmed);

    // Cancel resets the record, never the controls.
    form->Button3->click();
    EXPECT_FALSE(form->TextSettings.Confirmed);
    EXPECT_EQ(form->TextSettings.LeftMargin, 50);
    EXPECT_EQ(form->TextSettings.RowPitch, 0);
    EXPECT_EQ(form->TextSettings.Punctuation, vpOriginal);
    EXPECT_FALSE(form->TextSettings.ChineseDigits);
    EXPECT_EQ(form->SpinEdit2->value(), -7);
    EXPECT_TRUE(form->RadioButton3->isChecked());

    form->SpinEdit1->setValue(50);
    form->SpinEdit2->setValue(50);
    form->SpinEdit3->setValue(2);
    form->SpinEdit4->setValue(5);
    form->RadioButton1->click();
    form->PunctuationComboBox->setCurrentIndex(0);
    form->ChineseDigitsCheckBox->setChecked(false);
    form->Button4->click(); // the check applies too
    EXPECT_TRUE(form->TextSettings.Confirmed);
    EXPECT_EQ(form->Label5->text(), QStringLiteral("文本尺寸为:160*137。"));
    canvas.Height = 136; // the canvas is read at every check
    form->Button4->click();
    EXPECT_EQ(
        form->Label5->text(),
        QStringLiteral("文本尺寸为:160*137。文本超出图片范围了，请重新调整文本或者图片大小。"));
    // The result is of the text measured: a change of the text takes it away.
    form->richText().insertText(QStringLiteral("一"));
    EXPECT_EQ(form->Label5->text(), QString());
}

// What a user sees on the shown dialog: the margin boxes show their numbers whole, and the
// size check's warning wraps beside the groups without widening the dialog or the button.
TEST_F(Unit8, FanLayoutIsOfferedOnlyAfterARing) {
    auto* fan = form->findChild<QRadioButton*>("RadioButton5");
    auto* alternate = form->findChild<QCheckBox*>("CheckBox1");
    ASSERT_TRUE(fan && alternate);
    EXPECT_EQ(fan->text(), "扇面");
    EXPECT_EQ(alternate->text(), "长短行");
    EXPECT_FALSE(fan->isEnabled());
    const FanRing ring{QPoint(400, 400), 300, 135, 140};
    form->offerFanLayout(ring);
    form->RadioButton4->click();
    fan->click();
    alternate->setChecked(true);
    form->TextSettings.FanShiftX = 30; // a nudge of the last block
    form->Button2->click();
    EXPECT_TRUE(form->TextSettings.FanLayout);
    EXPECT_EQ(form->TextSettings.FanColumnStyle, fcLongShort);
    EXPECT_EQ(form->TextSettings.FanShiftX, 0);
    // The size check measures the block in the ring: the columns it takes, or what is left over.
    RichText& text = form->richText();
    text.setText(QString(30, QChar(0x6C34)));
    text.selectAll();
    text.setSelSize(20);
    form->Button4->click();
    const FanTextPlan plan = planFanTextBlock(text, form->TextSettings, ring);
    ASSERT_GT(plan.longCells, 0);
    const int pair = plan.longCells + plan.shortCells;
    EXPECT_EQ(plan.mainColumns, 30 / pair * 2 + (30 % pair > plan.longCells ? 2 : 30 % pair > 0));
    EXPECT_EQ(form->Label5->text(),
              QStringLiteral("扇面文字占 %1 列（落款 0 列），扇面可排 %2 列；长列最多 %3 个字，"
                             "短列 %4 个字。")
                  .arg(plan.mainColumns)
                  .arg(plan.columns)
                  .arg(plan.longCells)
                  .arg(plan.shortCells));
    text.setText(QString(400, QChar(0x6C34)));
    text.selectAll();
    text.setSelSize(20);
    form->Button4->click();
    EXPECT_TRUE(form->Label5->text().startsWith(QStringLiteral("扇面放不下这段文字")));
    // Without a ring the choice goes back to the arrangement chosen among the four.
    form->offerFanLayout(std::nullopt);
    EXPECT_FALSE(fan->isEnabled());
    EXPECT_TRUE(form->RadioButton4->isChecked());
    form->Button2->click();
    EXPECT_FALSE(form->TextSettings.FanLayout);
    EXPECT_EQ(form->TextSettings.Arrangement, arVertRightToLeft);
}

TEST_F(Unit8, TheMarginBoxesAndTheSizeCheckResultShowWhole) {
    writeExample();
    form->show();
    const QSize designed = form->size();
    for (SpinEdit* spin : {form->SpinEdit1, form->SpinEdit2, form->SpinEdit3, form->SpinEdit4}) {
        spin->setText(QStringLiteral("-1000"));
        const QLineEdit* field = spin->findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(field->text()))
            << spin->objectName().toStdString();
        spin->setValue(50);
    }
    canvas.Width = 10; // far too small: the long warning follows the size
    form->Button4->click();
    ASSERT_TRUE(form->Label5->text().endsWith(QStringLiteral("请重新调整文本或者图片大小。")));
    form->layout()->activate();
    EXPECT_EQ(form->size(), designed);
    EXPECT_EQ(form->Button4->width(), form->Button4->sizeHint().width());
    const QRect label = form->Label5->geometry();
    EXPECT_GE(label.height(), form->Label5->heightForWidth(label.width()));
    EXPECT_LT(label.right(), form->Button1->geometry().left());
    EXPECT_LE(label.bottom(), form->height());
}

// The combos act on a pick from the list and on every Enter after typing; they show the
// selection's size and face, empty where the selection mixes them.
TEST_F(Unit8, CombosActOnAPickAndOnEveryEnterAndFollowTheSelection) {
    writeExample();
    emit form->SizeComboBox->activated(1);
    emit form->FontComboBox->activated(1);
    EXPECT_EQ(form->richText().selAttributes().Size, 16);
    EXPECT_EQ(form->richText().selAttributes().Name, QStringLiteral("楷体"));

    RichText& text = form->richText();
    const auto select = [&](int start, int length) {
        QTextCursor cursor = form->RichEdit1->textCursor(); // as the user selects
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        form->RichEdit1->setTextCursor(cursor);
    };
    const auto type = [](QComboBox* box, const QString& typed) {
        box->lineEdit()->setText(typed);
        pressReturn(box->lineEdit());
    };
    select(0, 1); // 中
    type(form->SizeComboBox, QStringLiteral("36"));
    type(form->FontComboBox, QStringLiteral("宋体"));
    select(1, 1); // 文: the same typed size applies again
    EXPECT_EQ(form->SizeComboBox->currentText(), QStringLiteral("16"));
    type(form->SizeComboBox, QStringLiteral("36"));
    EXPECT_EQ(text.selAttributes().Size, 36);
    type(form->SizeComboBox, QStringLiteral("48"));
    EXPECT_EQ(text.selAttributes().Size, 48);
    select(0, 1);
    EXPECT_EQ(form->SizeComboBox->currentText(), QStringLiteral("36"));
    EXPECT_EQ(form->FontComboBox->currentText(), QStringLiteral("宋体"));
    EXPECT_EQ(text.selAttributes().Size, 36);
    select(1, 1);
    EXPECT_EQ(form->SizeComboBox->currentText(), QStringLiteral("48"));
    EXPECT_EQ(form->FontComboBox->currentText(), QStringLiteral("楷体"));
    text.selectAll(); // through the store as well: both differ
    EXPECT_EQ(form->SizeComboBox->currentText(), QString());
    EXPECT_EQ(form->FontComboBox->currentText(), QString());
    // Not a whole number, or no face: nothing changes.
    type(form->SizeComboBox, QStringLiteral("big"));
    type(form->FontComboBox, QString());
    select(1, 1);
    EXPECT_EQ(text.selAttributes().Size, 48);
    EXPECT_EQ(text.selAttributes().Name, QStringLiteral("楷体"));
}

TEST_F(Unit8, StyleAndAlignmentMarksBelongToTheMenuItems) {
    writeExample();
    form->BoldButton->click();
    EXPECT_TRUE(form->MenuBold->isChecked());
    EXPECT_TRUE(form->richText().selAttributes().Bold);
    form->MenuBold->trigger();
    EXPECT_FALSE(form->BoldButton->isChecked());
    EXPECT_FALSE(form->MenuBold->isChecked());
    EXPECT_FALSE(form->richText().selAttributes().Bold);
    form->ItalicButton->click();
    EXPECT_TRUE(form->richText().selAttributes().Italic);
    EXPECT_FALSE(form->richText().selAttributes().Underline);

    form->CenterButton->click();
    EXPECT_TRUE(form->MenuAlignCenter->isChecked());
    EXPECT_EQ(form->richText().paragraphAlignment(), RichText::Alignment::Center);
    form->RightAlignButton->click();
    EXPECT_FALSE(form->MenuAlignCenter->isChecked());
    EXPECT_TRUE(form->MenuAlignRight->isChecked());
    // Clearing the mark changes nothing else.
    form->MenuAlignRight->trigger();
    EXPECT_FALSE(form->MenuAlignRight->isChecked());
    EXPECT_EQ(form->richText().paragraphAlignment(), RichText::Alignment::Right);
}

TEST_F(Unit8, UndoAndRedoButtonsFollowTheEdits) {
    RichText& text = form->richText();
    text.setText(QStringLiteral("中"));
    text.setSelStart(2);
    text.insertText(QStringLiteral("文"));
    EXPECT_TRUE(form->UndoButton->isEnabled());
    EXPECT_FALSE(form->RedoButton->isEnabled());
    form->UndoButton->click();
    EXPECT_EQ(text.text(), QStringLiteral("中"));
    EXPECT_FALSE(form->UndoButton->isEnabled());
    EXPECT_TRUE(form->RedoButton->isEnabled());
    form->RedoButton->click();
    EXPECT_EQ(text.text(), QStringLiteral("中文"));
    EXPECT_TRUE(form->UndoButton->isEnabled());
    EXPECT_FALSE(form->RedoButton->isEnabled());
    // The menu items stay enabled whatever the buttons show.
    EXPECT_TRUE(form->MenuUndo->isEnabled() && form->MenuRedo->isEnabled());
}

TEST_F(Unit8, ConversionIsOneStepOfTheEditorsUndo) {
    RichText& text = form->richText();
    text.setText(QStringLiteral("头发"));
    auto* traditional = form->findChild<QPushButton*>(QStringLiteral("TraditionalButton"));
    auto* simplified = form->findChild<QPushButton*>(QStringLiteral("SimplifiedButton"));
    ASSERT_TRUE(traditional && simplified);
    EXPECT_EQ(traditional->text(), QStringLiteral("转为繁体"));
    EXPECT_EQ(simplified->text(), QStringLiteral("转为简体"));
    traditional->click();
    EXPECT_EQ(text.text(), QStringLiteral("頭髮"));
    EXPECT_TRUE(form->UndoButton->isEnabled());
    form->UndoButton->click();
    EXPECT_EQ(text.text(), QStringLiteral("头发"));
    traditional->click();
    simplified->click();
    EXPECT_EQ(text.text(), QStringLiteral("头发"));
}

TEST_F(Unit8, ColourOpenSaveAndNewGoThroughTheirDialogs) {
    writeExample();
    PlatformDialogs::setColorChooser([](QWidget*, TColor) { return std::optional<TColor>(clRed); });
    form->FontColorButton->click();
    EXPECT_EQ(form->richText().selAttributes().Color, clRed);
    PlatformDialogs::setColorChooser([](QWidget*, TColor) { return std::optional<TColor>(); });
    form->MenuColor->trigger();
    EXPECT_EQ(form->richText().selAttributes().Color, clRed);

    QTemporaryDir dir;
    std::vector<FileDialogRequest> requests;
    QString answer = dir.filePath(QStringLiteral("poem"));
    PlatformDialogs::setFileChooser([&](QWidget*, const FileDialogRequest& request) {
        requests.push_back(request);
        return std::optional<QString>(answer);
    });
    form->SaveButton->click();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(requests[0].filter,
              QStringLiteral("文本文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*"));
    EXPECT_EQ(requests[0].defaultExtension, QStringLiteral("txt"));
    QFile saved(dir.filePath(QStringLiteral("poem.txt")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("{\\rtf"));

    form->MenuNew->trigger();
    EXPECT_EQ(form->richText().lineCount(), 0);
    EXPECT_EQ(form->richText().backgroundColor(), clWhite);
    EXPECT_EQ(form->richText().defaultAttributes().Size, 10);
    EXPECT_EQ(form->richText().defaultAttributes().Color, clBlack);

    answer = dir.filePath(QStringLiteral("poem.txt"));
    form->PopupOpen->trigger();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(requests[1].filter, QStringLiteral("Text File(*.rtf)|*.rtf|文本文件(*.txt)|*.txt"));
    EXPECT_EQ(form->richText().text(), QStringLiteral("中文"));
    form->richText().setSelStart(0);
    form->richText().setSelLength(2);
    EXPECT_EQ(form->richText().selAttributes().Color, clRed);

    // A failed load is shown through the error boundary and keeps the content.
    QString shown;
    const auto previous = ErrorBoundary::setDisplay([&](QWidget*, const QString& t) { shown = t; });
    answer = dir.filePath(QStringLiteral("missing.rtf"));
    form->OpenButton->click();
    ErrorBoundary::setDisplay(previous);
    EXPECT_EQ(shown,
              QStringLiteral("Failed to Load Stream\n无法打开文本“%1”：文件不存在。").arg(answer));
    EXPECT_EQ(form->richText().text(), QStringLiteral("中文"));
}

TEST_F(Unit8, WordWrapFollowsItsCheckMark) {
    EXPECT_FALSE(form->richText().wordWrap());
    form->MenuWordWrap->trigger();
    EXPECT_TRUE(form->MenuWordWrap->isChecked());
    EXPECT_TRUE(form->richText().wordWrap());
    form->MenuWordWrap->trigger();
    EXPECT_FALSE(form->richText().wordWrap());
}

} // namespace

// The characters that their face lacks are marked with a wavy red line in the editor as they
// are typed and as faces change; the document's own formats, which are saved and drawn, never
// carry the mark.
TEST_F(Unit8, CharactersTheFaceLacksAreMarkedInTheEditorOnly) {
    RichText& text = form->richText();
    const auto marks = [&] {
        QCoreApplication::processEvents();
        std::vector<std::pair<int, int>> found;
        for (const QTextEdit::ExtraSelection& mark : form->RichEdit1->extraSelections()) {
            EXPECT_EQ(mark.format.underlineStyle(), QTextCharFormat::WaveUnderline);
            EXPECT_EQ(mark.format.underlineColor(), QColor(Qt::red));
            found.emplace_back(mark.cursor.selectionStart(),
                               mark.cursor.selectionEnd() - mark.cursor.selectionStart());
        }
        return found;
    };
    using Marks = std::vector<std::pair<int, int>>;
    text.setSelName(QStringLiteral("AR PL KaitiM GB")); // GB 2312 only
    text.insertText(QStringLiteral("一堃二𠀀\n三堃 "));
    const RichTextModel typed = text.toModel();
    EXPECT_EQ(marks(), (Marks{{1, 1}, {3, 2}, {7, 1}}));
    EXPECT_EQ(text.toModel(), typed);
    for (QTextBlock block = text.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            EXPECT_EQ(it.fragment().charFormat().underlineStyle(), QTextCharFormat::NoUnderline);
    // A face that has every character takes the marks away; a face for one line brings back
    // those of that line.
    text.selectAll();
    text.setSelName(QStringLiteral("BabelStone Han"));
    EXPECT_EQ(marks(), Marks{});
    QTextCursor secondLine = form->RichEdit1->textCursor(); // as the user selects
    secondLine.setPosition(6);
    secondLine.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    form->RichEdit1->setTextCursor(secondLine);
    text.setSelName(QStringLiteral("AR PL KaitiM GB"));
    EXPECT_EQ(marks(), (Marks{{7, 1}}));
}

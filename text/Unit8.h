// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text dialog: the user writes the block of calligraphy text, formats it character by
// character in the editor, and sets the margins, spacings and arrangement it is laid out with.
#pragma once

#include "CanvasSettings.h"
#include "ChineseConversion.h"
#include "FanRing.h"
#include "PlacedElement.h"
#include "RichText.h"
#include "TextSettings.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QToolBar;
class QToolButton;
class RichEdit;
class SpinEdit;

class TForm8 final : public QDialog, public TextBlock {
    Q_OBJECT
public:
    // fontFaces: the main window's list of installed faces, copied into the font combo.
    // canvasSettings: the canvas size last confirmed, which the size check compares with; it
    // is read at every check and may be null (then the default canvas is compared).
    TForm8(const QStringList& fontFaces, const TSetStruct* canvasSettings,
           QWidget* parent = nullptr);
    ~TForm8() override;

    void setCanvasSettings(const TSetStruct* canvasSettings) { canvas = canvasSettings; }

    // The editor's store: the only keeper of the text and its per-character fonts, read by
    // the layout every time the block is drawn.
    RichText& richText() override;
    ::TextSettings& textSettings() override { return TextSettings; }

    // Copies the controls into the record in the fixed order, sets Confirmed, then measures.
    void ApplyTextSettings();
    // Sets the record back to its defaults; the controls keep what the user set.
    void ResetTextSettings();
    // Offers the arrangement 扇面 while the last fan stamped is a folding-fan ring, which the
    // size check then measures the block in.
    void offerFanLayout(const std::optional<FanRing>& ring);
    // "查看尺寸": applies, then shows the measured size and warns when the canvas is smaller;
    // for a 扇面 block, the columns it takes in the ring or what does not fit.
    void CheckTextSize();

    // Commands of the menus, the toolbar and the popup menu.
    void FileNewClick();
    void FileOpenClick();
    void FileSaveClick();
    void FileExitClick();
    void EditUndoClick();
    void EditRedoClick();
    void EditCutClick();
    void EditCopyClick();
    void EditPasteClick();
    void EditWordWrapClick();
    void EditSelectAllClick();
    void AlignClick(QAction* item, RichText::Alignment alignment);
    void BoldClick();
    void ItalicClick();
    void UnderlineClick();
    void FontColorClick();
    void SizeComboPicked(int index);
    void FontComboPicked(int index);
    void RadioButtonClick();
    void RichEdit1Change();
    // "转为繁体" / "转为简体": the whole text, each character keeping its format, as one step
    // of the editor's undo.
    void ConvertClick(ChineseConversion direction);
    void Button1Click(); // 确定
    void Button2Click(); // 应用
    void Button3Click(); // 取消

    ::TextSettings TextSettings{};
    // The arrangement of the selected radio button; only apply copies it into the record.
    Arrangement ArrangementChoice = arHorzLeftToRight;
    // The ring a 扇面 block follows, as last offered.
    std::optional<FanRing> OfferedRing;

    // Controls, each also carrying its name as objectName.
    QMenuBar* MainMenu1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* NewButton = nullptr;
    QToolButton* OpenButton = nullptr;
    QToolButton* SaveButton = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    QToolButton* CutButton = nullptr;
    QToolButton* CopyButton = nullptr;
    QToolButton* PasteButton = nullptr;
    QToolButton* BoldButton = nullptr;
    QToolButton* ItalicButton = nullptr;
    QToolButton* UnderlineButton = nullptr;
    QToolButton* LeftAlignButton = nullptr;
    QToolButton* CenterButton = nullptr;
    QToolButton* RightAlignButton = nullptr;
    QToolButton* FontColorButton = nullptr;
    QComboBox* SizeComboBox = nullptr;
    QComboBox* FontComboBox = nullptr;
    RichEdit* RichEdit1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QGroupBox* GroupBox1 = nullptr; // 边距和间距
    SpinEdit* SpinEdit1 = nullptr;  // 左边距：
    SpinEdit* SpinEdit2 = nullptr;  // 上边距：
    SpinEdit* SpinEdit3 = nullptr;  // 字间距：
    SpinEdit* SpinEdit4 = nullptr;  // 行间距：
    QGroupBox* GroupBox2 = nullptr; // 文本排列
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    // 标点: the punctuation convention of the vertical arrangements, in VerticalPunctuation's
    // order; 数字写作汉字: digits drawn as Chinese numerals.
    QComboBox* PunctuationComboBox = nullptr;
    QCheckBox* ChineseDigitsCheckBox = nullptr;
    QCheckBox* MatchFallbackCheckBox = nullptr;
    QPushButton* Button4 = nullptr; // 查看尺寸
    QLabel* Label5 = nullptr;       // the size check's result
    QPushButton* Button1 = nullptr; // 确定
    QPushButton* Button2 = nullptr; // 应用
    QPushButton* Button3 = nullptr; // 取消

    // Menu items. The style and alignment items carry the check marks that the toolbar
    // buttons flip as well.
    QAction* MenuNew = nullptr;
    QAction* MenuOpen = nullptr;
    QAction* MenuSave = nullptr;
    QAction* MenuExit = nullptr;
    QAction* MenuUndo = nullptr;
    QAction* MenuRedo = nullptr;
    QAction* MenuCut = nullptr;
    QAction* MenuCopy = nullptr;
    QAction* MenuPaste = nullptr;
    QAction* MenuWordWrap = nullptr;
    QAction* MenuSelectAll = nullptr;
    QAction* MenuAlignLeft = nullptr;
    QAction* MenuAlignCenter = nullptr;
    QAction* MenuAlignRight = nullptr;
    QAction* MenuBold = nullptr;
    QAction* MenuItalic = nullptr;
    QAction* MenuUnderline = nullptr;
    QAction* MenuColor = nullptr;
    QActionGroup* AlignGroup = nullptr;
    QAction* PopupNew = nullptr;
    QAction* PopupOpen = nullptr;
    QAction* PopupSave = nullptr;
    QAction* PopupPaste = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildEditor();
    void buildSettingsControls();
    void connectCommands();
    void applyStyle(bool add, bool RichText::Attributes::*style);

    const TSetStruct* canvas = nullptr;
};

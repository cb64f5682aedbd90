// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text dialog: editor, formatting commands, margins and spacings, arrangement, size check
// and the settings record that the main window reads when the dialog closes.
#include "Unit8.h"

#include "ComboPopup.h"
#include "ConversionButtons.h"
#include "DialogKeys.h"
#include "ErrorBoundary.h"
#include "FanTextLayout.h"
#include "FanTextOption.h"
#include "PlatformDialogs.h"
#include "RichEditWidget.h"
#include "SpinEdit.h"
#include "TextMeasure.h"
#include "Toolbars.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const openFilter =
    QT_TRANSLATE_NOOP("TForm8", "Text File(*.rtf)|*.rtf|文本文件(*.txt)|*.txt");
const char* const saveFilter =
    QT_TRANSLATE_NOOP("TForm8", "文本文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*");

const char* const fontSizes[] = {"8",  "16", "20", "24", "28", "30",  "34",  "36",  "40", "48",
                                 "56", "60", "68", "72", "80", "100", "120", "160", "200"};

// The toolbar's 16 x 16 glyphs: SVG files compiled into the program as resources
// (editor_icons.qrc, under ":/editor/"), so that no icon theme is needed.
enum class EditorGlyph {
    New,
    Open,
    Save,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Color
};

} // namespace

// text_widgets is a static library: the linker keeps the compiled resource file only when
// something calls the initialiser that rcc generates for it. Q_INIT_RESOURCE declares that
// initialiser, so it must be used outside any namespace.
static void registerEditorIcons() {
    Q_INIT_RESOURCE(editor_icons);
}

namespace {

// The resource file of each glyph, under ":/editor/".
const char* editorGlyphFile(EditorGlyph glyph) {
    switch (glyph) {
    case EditorGlyph::New:
        return "new";
    case EditorGlyph::Open:
        return "open";
    case EditorGlyph::Save:
        return "save";
    case EditorGlyph::Undo:
        return "undo";
    case EditorGlyph::Redo:
        return "redo";
    case EditorGlyph::Cut:
        return "cut";
    case EditorGlyph::Copy:
        return "copy";
    case EditorGlyph::Paste:
        return "paste";
    case EditorGlyph::Bold:
        return "bold";
    case EditorGlyph::Italic:
        return "italic";
    case EditorGlyph::Underline:
        return "underline";
    case EditorGlyph::AlignLeft:
        return "align-left";
    case EditorGlyph::AlignCenter:
        return "align-center";
    case EditorGlyph::AlignRight:
        return "align-right";
    case EditorGlyph::Color:
        return "color";
    }
    return "new";
}

QIcon editorGlyph(EditorGlyph glyph) {
    static const bool registered = (registerEditorIcons(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/editor/%1.svg").arg(QLatin1String(editorGlyphFile(glyph))));
}

// A toolbar hint is "short|long": the short part is the tooltip, the long one the status tip.
void setHint(QToolButton* button, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    button->setToolTip(bar < 0 ? hint : hint.left(bar));
    button->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    button->setProperty("hint", hint);
}

// A toolbar button with the editor's glyph and a "short|long" hint.
QToolButton* addEditorButton(QToolBar* bar, const char* name, EditorGlyph glyph,
                             const QString& hint) {
    QToolButton* button =
        addToolButton(bar, QString::fromLatin1(name), editorGlyph(glyph), QString());
    setHint(button, hint);
    return button;
}

SpinEdit* addSpinEdit(QGridLayout* grid, QWidget* parent, int row, const char* name,
                      const QString& caption, int value) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
    auto* spin = new SpinEdit(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, 0); // no bounds
    spin->setValue(value);
    label->setBuddy(spin);
    grid->addWidget(label, row, 0);
    grid->addWidget(spin, row, 1);
    return spin;
}

// The size and face boxes show the selected characters' size and face, and nothing where the
// selection mixes them; with no selection, those the text typed next takes.
void showSelectionFont(QComboBox* sizeBox, QComboBox* faceBox, const RichText& text) {
    const RichText::SharedFont shared = text.selSharedFont();
    sizeBox->setEditText(shared.Size > 0 ? QString::number(shared.Size) : QString());
    faceBox->setEditText(shared.Name);
}

QRadioButton* addRadioButton(QVBoxLayout* column, QWidget* parent, const char* name,
                             const QString& caption) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    column->addWidget(radio);
    return radio;
}

} // namespace

TForm8::TForm8(const QStringList& fontFaces, const TSetStruct* canvasSettings, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      canvas(canvasSettings) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(tr("文本设置"));
    setModal(true);
    resize(755, 561);

    buildEditor();
    buildMenus();
    buildToolBar();
    buildSettingsControls();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(4);
    page->setMenuBar(MainMenu1);
    page->addWidget(ToolBar1);
    page->addWidget(RichEdit1);
    auto* lower = new QHBoxLayout;
    lower->setContentsMargins(8, 4, 8, 8);
    lower->setSpacing(12);
    lower->addWidget(GroupBox1);
    lower->addWidget(GroupBox2);
    // The size check's result takes the room left beside the groups: a long result wraps
    // there rather than widening the dialog or stretching the button above it.
    auto* check = new QVBoxLayout;
    check->addWidget(makeConversionButtons(this, [this](ChineseConversion d) { ConvertClick(d); }),
                     0, Qt::AlignLeft);
    check->addWidget(Button4, 0, Qt::AlignLeft);
    check->addWidget(Label5);
    check->addStretch();
    lower->addLayout(check, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addStretch();
    lower->addLayout(buttons);
    page->addLayout(lower);
    page->addStretch();

    connectCommands();

    // Creation: nothing to undo or redo yet, the selection stays visible without focus, new
    // text is typed in the Song face, and the font combo lists the installed faces.
    // (The store reports the default font as a change, so the buttons are set after it.)
    richText().setDefaultFont(QStringLiteral("宋体"), clWindowText, 10);
    UndoButton->setEnabled(false);
    RedoButton->setEnabled(false);
    RichEdit1->setKeepSelectionVisible(true);
    // Characters that the layout will draw in a fallback face are marked as they are typed.
    RichEdit1->setMarksFallbackCharacters(true);
    FontComboBox->addItems(fontFaces);
    FontComboBox->setEditText(QStringLiteral("宋体"));
    showWholeItems(*FontComboBox);
    // From the first move of the caret on, the two boxes follow the selection.
    const auto followSelection = [this] {
        showSelectionFont(SizeComboBox, FontComboBox, richText());
    };
    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, followSelection);
    connect(RichEdit1, &QTextEdit::selectionChanged, this, followSelection);
    connect(&richText(), &RichText::selectionChanged, this, followSelection);
    connect(&richText(), &RichText::changed, this, followSelection);

    resetTextSettings(TextSettings);
}

TForm8::~TForm8() = default;

RichText& TForm8::richText() {
    return RichEdit1->richText();
}

void TForm8::buildEditor() {
    RichEdit1 = new RichEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    // Tab goes on to the next control, as in every other box of the dialog: a tab typed in
    // the text would replace the selection with a blank cell.
    RichEdit1->setTabChangesFocus(true);
    RichEdit1->setFixedHeight(266);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setWordWrap(false);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    RichEdit1->installEventFilter(this);
}

void TForm8::buildMenus() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = MainMenu1->addMenu(tr("文件(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    MenuNew = addMenuItem(file, "MenuNew", tr("新建"), QKeySequence(Qt::Key_F2));
    MenuOpen = addMenuItem(file, "MenuOpen", tr("打开"), QKeySequence(Qt::Key_F3));
    MenuSave = addMenuItem(file, "MenuSave", tr("保存"), QKeySequence(Qt::CTRL | Qt::Key_F3));
    MenuExit = addMenuItem(file, "MenuExit", tr("退出"), QKeySequence(Qt::ALT | Qt::Key_X));

    QMenu* edit = MainMenu1->addMenu(tr("编辑(&E)"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    MenuUndo = addMenuItem(edit, "MenuUndo", tr("撤销"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    MenuRedo = addMenuItem(edit, "MenuRedo", tr("重做"), QKeySequence(Qt::CTRL | Qt::Key_R));
    MenuCut = addMenuItem(edit, "MenuCut", tr("剪切"), QKeySequence(Qt::CTRL | Qt::Key_X));
    MenuCopy = addMenuItem(edit, "MenuCopy", tr("复制"), QKeySequence(Qt::CTRL | Qt::Key_C));
    MenuPaste = addMenuItem(edit, "MenuPaste", tr("粘贴"), QKeySequence(Qt::CTRL | Qt::Key_V));
    MenuWordWrap = addMenuItem(edit, "MenuWordWrap", tr("自动换行"));
    MenuWordWrap->setCheckable(true);
    MenuSelectAll = addMenuItem(edit, "MenuSelectAll", tr("全选"));

    QMenu* format = MainMenu1->addMenu(tr("格式(&O)"));
    format->setObjectName(QStringLiteral("MenuFormat"));
    QMenu* align = format->addMenu(tr("对齐(&A)"));
    align->setObjectName(QStringLiteral("MenuAlign"));
    MenuAlignLeft = addMenuItem(align, "MenuAlignLeft", tr("左对齐"));
    MenuAlignCenter = addMenuItem(align, "MenuAlignCenter", tr("居中"));
    MenuAlignRight = addMenuItem(align, "MenuAlignRight", tr("右对齐"));
    // One radio group whose checked item may also be cleared again.
    AlignGroup = new QActionGroup(this);
    AlignGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* item : {MenuAlignLeft, MenuAlignCenter, MenuAlignRight}) {
        item->setCheckable(true);
        AlignGroup->addAction(item);
    }
    QMenu* font = format->addMenu(tr("字体(&F)"));
    font->setObjectName(QStringLiteral("MenuFont"));
    MenuBold = addMenuItem(font, "MenuBold", tr("加粗"));
    MenuItalic = addMenuItem(font, "MenuItalic", tr("倾斜"));
    MenuUnderline = addMenuItem(font, "MenuUnderline", tr("下划线"));
    for (QAction* item : {MenuBold, MenuItalic, MenuUnderline})
        item->setCheckable(true);
    MenuColor = addMenuItem(font, "MenuColor", tr("颜色"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupNew = addMenuItem(PopupMenu1, "PopupNew", tr("新建"));
    PopupOpen = addMenuItem(PopupMenu1, "PopupOpen", tr("打开"));
    PopupSave = addMenuItem(PopupMenu1, "PopupSave", tr("保存"));
    PopupPaste = addMenuItem(PopupMenu1, "PopupPaste", tr("粘贴"));
}

void TForm8::buildToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    NewButton = addEditorButton(ToolBar1, "NewButton", EditorGlyph::New, tr("新建|新建文件"));
    OpenButton = addEditorButton(ToolBar1, "OpenButton", EditorGlyph::Open, tr("打开|打开文件"));
    SaveButton = addEditorButton(ToolBar1, "SaveButton", EditorGlyph::Save, tr("保存|保存文件"));
    ToolBar1->addSeparator();
    UndoButton = addEditorButton(ToolBar1, "UndoButton", EditorGlyph::Undo, tr("撤消"));
    RedoButton = addEditorButton(ToolBar1, "RedoButton", EditorGlyph::Redo, tr("重做"));
    ToolBar1->addSeparator();
    CutButton = addEditorButton(ToolBar1, "CutButton", EditorGlyph::Cut, tr("剪切|剪切所选对象"));
    CopyButton =
        addEditorButton(ToolBar1, "CopyButton", EditorGlyph::Copy, tr("复制|复制所选对象"));
    PasteButton = addEditorButton(ToolBar1, "PasteButton", EditorGlyph::Paste, tr("粘贴|粘贴对象"));
    ToolBar1->addSeparator();

    SizeComboBox = new QComboBox(ToolBar1);
    SizeComboBox->setObjectName(QStringLiteral("SizeComboBox"));
    SizeComboBox->setToolTip(tr("字号"));
    SizeComboBox->setEditable(true);
    SizeComboBox->setInsertPolicy(QComboBox::NoInsert);
    SizeComboBox->lineEdit()->installEventFilter(this);
    SizeComboBox->setFixedWidth(56);
    for (const char* size : fontSizes)
        SizeComboBox->addItem(QString::fromLatin1(size));
    SizeComboBox->setEditText(QStringLiteral("8"));
    ToolBar1->addWidget(SizeComboBox);

    FontComboBox = new QComboBox(ToolBar1);
    FontComboBox->setObjectName(QStringLiteral("FontComboBox"));
    FontComboBox->setToolTip(tr("字体"));
    FontComboBox->setEditable(true);
    FontComboBox->setInsertPolicy(QComboBox::NoInsert);
    FontComboBox->lineEdit()->installEventFilter(this);
    FontComboBox->setMaxVisibleItems(20);
    FontComboBox->setFixedWidth(145);
    ToolBar1->addWidget(FontComboBox);
    ToolBar1->addSeparator();

    BoldButton = addEditorButton(ToolBar1, "BoldButton", EditorGlyph::Bold, tr("加粗|字体加粗"));
    ItalicButton =
        addEditorButton(ToolBar1, "ItalicButton", EditorGlyph::Italic, tr("倾斜|字体倾斜"));
    UnderlineButton = addEditorButton(ToolBar1, "UnderlineButton", EditorGlyph::Underline,
                                      tr("下划线|文字下划线"));
    ToolBar1->addSeparator();
    LeftAlignButton = addEditorButton(ToolBar1, "LeftAlignButton", EditorGlyph::AlignLeft,
                                      tr("左对齐|文字左对齐"));
    CenterButton =
        addEditorButton(ToolBar1, "CenterButton", EditorGlyph::AlignCenter, tr("居中|文字居中"));
    RightAlignButton = addEditorButton(ToolBar1, "RightAlignButton", EditorGlyph::AlignRight,
                                       tr("右对齐|文字右对齐"));
    ToolBar1->addSeparator();
    FontColorButton = addEditorButton(ToolBar1, "FontColorButton", EditorGlyph::Color, tr("颜色"));
}

void TForm8::buildSettingsControls() {
    GroupBox1 = new QGroupBox(tr("边距和间距"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(GroupBox1);
    SpinEdit1 = addSpinEdit(grid, GroupBox1, 0, "SpinEdit1", tr("左边距："), 50);
    SpinEdit2 = addSpinEdit(grid, GroupBox1, 1, "SpinEdit2", tr("上边距："), 50);
    SpinEdit3 = addSpinEdit(grid, GroupBox1, 2, "SpinEdit3", tr("字间距："), 2);
    SpinEdit4 = addSpinEdit(grid, GroupBox1, 3, "SpinEdit4", tr("行间距："), 5);

    GroupBox2 = new QGroupBox(tr("文本排列"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* column = new QVBoxLayout(GroupBox2);
    RadioButton1 = addRadioButton(column, GroupBox2, "RadioButton1", tr("从左向右横排"));
    RadioButton2 = addRadioButton(column, GroupBox2, "RadioButton2", tr("从右向左横排"));
    RadioButton3 = addRadioButton(column, GroupBox2, "RadioButton3", tr("从左向右竖排"));
    RadioButton4 = addRadioButton(column, GroupBox2, "RadioButton4", tr("从右向左竖排"));
    RadioButton1->setChecked(true);
    auto* punctuationRow = new QHBoxLayout;
    auto* punctuationLabel = new QLabel(tr("标点"), GroupBox2);
    punctuationLabel->setObjectName(QStringLiteral("PunctuationLabel"));
    PunctuationComboBox = new QComboBox(GroupBox2);
    PunctuationComboBox->setObjectName(QStringLiteral("PunctuationComboBox"));
    for (const char* caption : punctuationCaptions)
        PunctuationComboBox->addItem(QCoreApplication::translate("Punctuation", caption));
    punctuationLabel->setBuddy(PunctuationComboBox);
    punctuationRow->addWidget(punctuationLabel);
    punctuationRow->addWidget(PunctuationComboBox, 1);
    column->addLayout(punctuationRow);
    ChineseDigitsCheckBox = new QCheckBox(tr("数字写作汉字"), GroupBox2);
    ChineseDigitsCheckBox->setObjectName(QStringLiteral("ChineseDigitsCheckBox"));
    column->addWidget(ChineseDigitsCheckBox);
    MatchFallbackCheckBox = new QCheckBox(tr("补字同粗细"), GroupBox2);
    MatchFallbackCheckBox->setObjectName(QStringLiteral("MatchFallbackCheckBox"));
    MatchFallbackCheckBox->setToolTip(tr("字体缺的字从其他字体补上时，笔画加粗到与本字体一样"));
    column->addWidget(MatchFallbackCheckBox);
    FanTextOption::add(GroupBox2);

    Button4 = new QPushButton(tr("查看尺寸"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont labelFont(QStringLiteral("宋体"));
    labelFont.setPixelSize(12);
    Label5->setFont(labelFont);
    QPalette palette = Label5->palette();
    palette.setColor(QPalette::WindowText, toQColor(clMaroon));
    Label5->setPalette(palette);
    Label5->setWordWrap(true);
    Label5->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    Button1 = new QPushButton(tr("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(tr("应用"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(tr("取消"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    for (QPushButton* button : {Button1, Button2, Button3, Button4})
        button->setAutoDefault(false);
}

void TForm8::connectCommands() {
    using ErrorBoundary::guard;
    const auto command = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this,
                guard(this, [this, handler] { (this->*handler)(); }));
    };
    command(MenuNew, &TForm8::FileNewClick);
    command(MenuOpen, &TForm8::FileOpenClick);
    command(MenuSave, &TForm8::FileSaveClick);
    command(MenuExit, &TForm8::FileExitClick);
    command(MenuUndo, &TForm8::EditUndoClick);
    command(MenuRedo, &TForm8::EditRedoClick);
    command(MenuCut, &TForm8::EditCutClick);
    command(MenuCopy, &TForm8::EditCopyClick);
    command(MenuPaste, &TForm8::EditPasteClick);
    command(MenuWordWrap, &TForm8::EditWordWrapClick);
    command(MenuSelectAll, &TForm8::EditSelectAllClick);
    command(MenuBold, &TForm8::BoldClick);
    command(MenuItalic, &TForm8::ItalicClick);
    command(MenuUnderline, &TForm8::UnderlineClick);
    command(MenuColor, &TForm8::FontColorClick);
    command(PopupNew, &TForm8::FileNewClick);
    command(PopupOpen, &TForm8::FileOpenClick);
    command(PopupSave, &TForm8::FileSaveClick);
    command(PopupPaste, &TForm8::EditPasteClick);
    connect(MenuAlignLeft, &QAction::triggered, this,
            guard(this, [this] { AlignClick(MenuAlignLeft, RichText::Alignment::Left); }));
    connect(MenuAlignCenter, &QAction::triggered, this,
            guard(this, [this] { AlignClick(MenuAlignCenter, RichText::Alignment::Center); }));
    connect(MenuAlignRight, &QAction::triggered, this,
            guard(this, [this] { AlignClick(MenuAlignRight, RichText::Alignment::Right); }));

    // Toolbar buttons run the menu items, so that the check marks flip the same way.
    const auto runs = [this](QToolButton* button, QAction* item) {
        connect(button, &QToolButton::clicked, item, &QAction::trigger);
    };
    runs(NewButton, MenuNew);
    runs(OpenButton, MenuOpen);
    runs(SaveButton, MenuSave);
    runs(CutButton, MenuCut);
    runs(CopyButton, MenuCopy);
    runs(PasteButton, MenuPaste);
    runs(BoldButton, MenuBold);
    runs(ItalicButton, MenuItalic);
    runs(UnderlineButton, MenuUnderline);
    runs(LeftAlignButton, MenuAlignLeft);
    runs(CenterButton, MenuAlignCenter);
    runs(RightAlignButton, MenuAlignRight);
    runs(FontColorButton, MenuColor);
    runs(UndoButton, MenuUndo);
    runs(RedoButton, MenuRedo);

    // The combos act only when an entry is picked from the list.
    connect(SizeComboBox, &QComboBox::activated, this,
            [this](int index) { ErrorBoundary::run(this, [&] { SizeComboPicked(index); }); });
    connect(FontComboBox, &QComboBox::activated, this,
            [this](int index) { ErrorBoundary::run(this, [&] { FontComboPicked(index); }); });

    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        connect(radio, &QRadioButton::clicked, this, guard(this, [this] { RadioButtonClick(); }));
    connect(&richText(), &RichText::changed, this, [this] { RichEdit1Change(); });
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(point));
    });

    connect(Button1, &QPushButton::clicked, this, guard(this, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, [this] { Button3Click(); }));
    escapePresses(*this, *Button3);
    connect(Button4, &QPushButton::clicked, this, guard(this, [this] { CheckTextSize(); }));
}

// ---- The settings record

void TForm8::ApplyTextSettings() {
    TextSettings.LeftMargin = SpinEdit1->value();
    TextSettings.TopMargin = SpinEdit2->value();
    TextSettings.CharSpacing = SpinEdit3->value();
    TextSettings.LineSpacing = SpinEdit4->value();
    TextSettings.Arrangement = ArrangementChoice;
    TextSettings.Punctuation = VerticalPunctuation(PunctuationComboBox->currentIndex());
    TextSettings.ChineseDigits = ChineseDigitsCheckBox->isChecked();
    TextSettings.MatchFallbackWeight = MatchFallbackCheckBox->isChecked();
    FanTextOption::apply(GroupBox2, TextSettings);
    TextSettings.Confirmed = true;
    MeasureTextBlock(richText(), TextSettings);
}

void TForm8::offerFanLayout(const std::optional<FanRing>& ring) {
    OfferedRing = ring;
    FanTextOption::offer(GroupBox2, ring.has_value(), ArrangementChoice);
}

void TForm8::ResetTextSettings() {
    resetTextSettings(TextSettings);
}

void TForm8::CheckTextSize() {
    ApplyTextSettings();
    if (TextSettings.FanLayout && OfferedRing) {
        Label5->setText(fanTextSizeReport(richText(), TextSettings, *OfferedRing));
        return;
    }
    const TSetStruct defaultCanvas;
    Label5->setText(textSizeReport(TextSettings, canvas ? *canvas : defaultCanvas));
}

void TForm8::RadioButtonClick() {
    const QRadioButton* radios[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (int value = arHorzLeftToRight; value <= arVertRightToLeft; ++value) {
        if (radios[value]->isChecked()) {
            ArrangementChoice = Arrangement(value);
            break;
        }
    }
}

void TForm8::Button1Click() {
    ApplyTextSettings();
    accept();
}

void TForm8::Button2Click() {
    ApplyTextSettings();
}

void TForm8::Button3Click() {
    ResetTextSettings();
    reject();
}

// ---- Editor commands

void TForm8::FileNewClick() {
    RichText& text = richText();
    text.clear();
    RichEdit1->setFocus();
    text.setBackgroundColor(clWhite);
    text.setDefaultFont(QStringLiteral("宋体"), clBlack, 10);
}

void TForm8::FileOpenClick() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.filter = tr(openFilter);
    const std::optional<QString> path = PlatformDialogs::chooseFile(this, request);
    if (!path)
        return;
    richText().loadFromFile(*path);
}

void TForm8::FileSaveClick() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.filter = tr(saveFilter);
    request.defaultExtension = QStringLiteral("txt");
    const std::optional<QString> path = PlatformDialogs::chooseFile(this, request);
    if (!path)
        return;
    richText().saveToFile(PlatformDialogs::withDefaultExtension(*path, request.defaultExtension));
}

void TForm8::FileExitClick() {
    close();
}

void TForm8::EditUndoClick() {
    richText().undo();
    UndoButton->setEnabled(false);
    RedoButton->setEnabled(true);
}

void TForm8::EditRedoClick() {
    // The editor keeps one level: a second undo takes the first one back.
    richText().undo();
    RedoButton->setEnabled(false);
    UndoButton->setEnabled(true);
}

void TForm8::EditCutClick() {
    RichEdit1->cut();
}
void TForm8::EditCopyClick() {
    RichEdit1->copy();
}
void TForm8::EditPasteClick() {
    RichEdit1->paste();
}

void TForm8::EditWordWrapClick() {
    RichEdit1->setWordWrap(MenuWordWrap->isChecked());
}

void TForm8::EditSelectAllClick() {
    richText().selectAll();
}

void TForm8::AlignClick(QAction* item, RichText::Alignment alignment) {
    if (item->isChecked())
        richText().setParagraphAlignment(alignment);
}

void TForm8::applyStyle(bool add, bool RichText::Attributes::*style) {
    RichText& text = richText();
    RichText::Attributes attributes = text.selAttributes();
    attributes.*style = add;
    text.setSelStyle(attributes.Bold, attributes.Italic, attributes.Underline,
                     attributes.StrikeOut);
}

void TForm8::BoldClick() {
    applyStyle(MenuBold->isChecked(), &RichText::Attributes::Bold);
}
void TForm8::ItalicClick() {
    applyStyle(MenuItalic->isChecked(), &RichText::Attributes::Italic);
}
void TForm8::UnderlineClick() {
    applyStyle(MenuUnderline->isChecked(), &RichText::Attributes::Underline);
}

void TForm8::FontColorClick() {
    const std::optional<TColor> color =
        PlatformDialogs::chooseColor(this, richText().selAttributes().Color);
    if (color)
        richText().setSelColor(*color);
}

void TForm8::SizeComboPicked(int index) {
    bool ok = false;
    const int points = SizeComboBox->itemText(index).toInt(&ok);
    if (ok)
        richText().setSelSize(points);
}

void TForm8::FontComboPicked(int index) {
    richText().setSelName(FontComboBox->itemText(index));
}

void TForm8::ConvertClick(ChineseConversion direction) {
    richText().convertText(ChineseConverter::shared(direction));
}

void TForm8::RichEdit1Change() {
    UndoButton->setEnabled(true);
    RedoButton->setEnabled(false);
    Label5->clear(); // the size check's result was of the text before
}

// The editor's own undo, redo and clipboard keys would bypass the dialog's commands (and so
// the undo button rules): leave those keys to the menu shortcuts.
bool TForm8::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichEdit1 && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* item : {MenuUndo, MenuRedo, MenuCut, MenuCopy, MenuPaste}) {
            if (item->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    // Enter in a combo gives the selection the typed size or face, each time it is pressed
    // (the combo itself would act only when the text picks an entry other than the last one).
    if (event->type() == QEvent::KeyPress &&
        (watched == SizeComboBox->lineEdit() || watched == FontComboBox->lineEdit())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            bool whole = false;
            const int points = SizeComboBox->currentText().trimmed().toInt(&whole);
            const QString face = FontComboBox->currentText().trimmed();
            if (watched == SizeComboBox->lineEdit() && whole)
                richText().setSelSize(points);
            else if (watched == FontComboBox->lineEdit() && !face.isEmpty())
                richText().setSelName(face);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

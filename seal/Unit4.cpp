// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal dialog: its controls, the settings record filled from them, and the preview that
// renders the seal, frames it for turning and hands it to the rotating image control.
#include "Unit4.h"

#include "Step.h"

#include "ComboPopup.h"
#include "ConversionButtons.h"
#include "DialogKeys.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "Limits.h"
#include "Named.h"
#include "RichEditWidget.h"
#include "RotImg.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

SpinEdit* makeSpinEdit(QWidget* parent, const char* name, int min, int max, int step, int initial) {
    auto* edit = named(new SpinEdit(parent), name);
    edit->setRange(min, max);
    edit->setIncrement(step);
    edit->setValue(initial);
    return edit;
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& caption) {
    return named(new QRadioButton(caption, parent), name);
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm4::TForm4(QWidget* workCanvas, const QStringList& fontFaces, QWidget* parent)
    : QDialog(parent), workCanvas(workCanvas) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("印章设置"));
    setWindowFlag(Qt::Tool);
    setSizeGripEnabled(true);
    resize(564, 633);
    buildControls(fontFaces);
    connectHandlers();
    escapePresses(*this, *Button3);

    StyleChoice = stRelief;
    ArrangementChoice = arHorzLeftToRight;
    PendingPlacement = 0;
    ResetSettings();
    Image1->hide();
    Image1->setTransparent(true);
    RotateImage1->setTransparent(true);
}

TForm4::~TForm4() = default;

void TForm4::buildControls(const QStringList& fontFaces) {
    GroupBox1 = named(new QGroupBox(tr("内容"), this), "GroupBox1");
    SpinEdit1 = makeSpinEdit(GroupBox1, "SpinEdit1", 0, 0, 1, 50);
    SpinEdit2 = makeSpinEdit(GroupBox1, "SpinEdit2", 0, 0, 1, 50);
    SpinEdit4 = makeSpinEdit(GroupBox1, "SpinEdit4", 0, 0, 1, 1);
    SpinEdit5 = makeSpinEdit(GroupBox1, "SpinEdit5", 0, 0, 1, 1);
    SpinEdit3 = makeSpinEdit(GroupBox1, "SpinEdit3", limits::sealWeightMin, limits::sealWeightMax,
                             100, limits::sealWeightMin);
    SpinEdit6 = makeSpinEdit(GroupBox1, "SpinEdit6", -limits::sealAngle, limits::sealAngle, 5, 0);
    SpinEdit6->setToolTip(QStringLiteral("%1~%2").arg(-limits::sealAngle).arg(limits::sealAngle));
    ComboBox1 = named(new QComboBox(GroupBox1), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(fontFaces);
    ComboBox1->setEditText(tr("字体"));
    showWholeItems(*ComboBox1);
    RichEdit1 = named(new RichEdit(GroupBox1), "RichEdit1");
    RichEdit1->setTabChangesFocus(true); // a tab character would take a cell of the seal

    auto* content = new QGridLayout(GroupBox1);
    const std::pair<const char*, QWidget*> rows[] = {
        {QT_TR_NOOP("印章宽："), SpinEdit1}, {QT_TR_NOOP("印章高："), SpinEdit2},
        {QT_TR_NOOP("字间距："), SpinEdit4}, {QT_TR_NOOP("边缘宽："), SpinEdit5},
        {QT_TR_NOOP("笔画粗："), SpinEdit3}, {QT_TR_NOOP("字体："), ComboBox1},
        {QT_TR_NOOP("旋转角："), SpinEdit6}};
    int row = 0;
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(tr(caption), GroupBox1);
        label->setBuddy(edit);
        content->addWidget(label, row / 2, (row % 2) * 2);
        content->addWidget(edit, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    content->addWidget(RichEdit1, 4, 0, 1, 4);
    content->setRowStretch(4, 1);

    // How the seal is printed: the paste, the frame, smooth edges and wear. The defaults
    // print the seal as the plain red stamp.
    GroupBox5 = named(new QGroupBox(tr("印面"), this), "GroupBox5");
    ComboBox2 = named(new QComboBox(GroupBox5), "ComboBox2");
    ComboBox2->addItems({tr("大红"), tr("朱砂"), tr("朱磦")});
    SpinEdit7 = makeSpinEdit(GroupBox5, "SpinEdit7", 1, limits::sealFrameMax, 1, 1);
    CheckBox1 = named(new QCheckBox(tr("平滑边缘"), GroupBox5), "CheckBox1");
    SpinEdit8 = makeSpinEdit(GroupBox5, "SpinEdit8", 0, limits::sealWearMax, 10, 0);
    SpinEdit8->setToolTip(QStringLiteral("0~%1").arg(limits::sealWearMax));
    SpinEdit9 = makeSpinEdit(GroupBox5, "SpinEdit9", 0, 0, 1, 1);
    ComboBox3 = named(new QComboBox(GroupBox5), "ComboBox3");
    ComboBox3->addItems({tr("斑点"), tr("压印")});
    CheckBox2 = named(new QCheckBox(tr("透底"), GroupBox5), "CheckBox2");
    CheckBox3 = named(new QCheckBox(tr("保持字形比例"), GroupBox5), "CheckBox3");
    CheckBox4 = named(new QCheckBox(tr("补字同粗细"), GroupBox5), "CheckBox4");
    Label1 = named(new QLabel(GroupBox5), "Label1");
    Label1->setText(tr("印章形状与字数不合：字按原比例居中，四周留白"));
    Label1->hide();
    auto* printing = new QGridLayout(GroupBox5);
    const std::pair<const char*, QWidget*> printingRows[] = {{QT_TR_NOOP("印泥："), ComboBox2},
                                                             {QT_TR_NOOP("边框宽："), SpinEdit7},
                                                             {QT_TR_NOOP("做旧："), SpinEdit8},
                                                             {QT_TR_NOOP("种子："), SpinEdit9},
                                                             {QT_TR_NOOP("做旧方式："), ComboBox3}};
    row = 0;
    for (const auto& [caption, edit] : printingRows) {
        auto* label = new QLabel(tr(caption), GroupBox5);
        label->setBuddy(edit);
        printing->addWidget(label, row / 2, (row % 2) * 2);
        printing->addWidget(edit, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    auto* looks = new QHBoxLayout;
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        looks->addWidget(box);
    looks->addStretch(1);
    printing->addLayout(looks, 3, 0, 1, 4);
    printing->addWidget(Label1, 4, 0, 1, 4);

    GroupBox2 = named(new QGroupBox(tr("印章形状"), this), "GroupBox2");
    RadioButton7 = makeRadio(GroupBox2, "RadioButton7", tr("直角"));
    RadioButton8 = makeRadio(GroupBox2, "RadioButton8", tr("圆角"));
    RadioButton7->setChecked(true);
    auto* shape = new QVBoxLayout(GroupBox2);
    shape->addWidget(RadioButton7);
    shape->addWidget(RadioButton8);

    GroupBox3 = named(new QGroupBox(tr("显示方式"), this), "GroupBox3");
    RadioButton1 = makeRadio(GroupBox3, "RadioButton1", tr("阴文"));
    RadioButton2 = makeRadio(GroupBox3, "RadioButton2", tr("阳文"));
    RadioButton2->setChecked(true);
    auto* style = new QVBoxLayout(GroupBox3);
    style->addWidget(RadioButton1);
    style->addWidget(RadioButton2);

    GroupBox4 = named(new QGroupBox(tr("排列方式"), this), "GroupBox4");
    RadioButton3 = makeRadio(GroupBox4, "RadioButton3", tr("从左向右横排"));
    RadioButton4 = makeRadio(GroupBox4, "RadioButton4", tr("从右向左横排"));
    RadioButton5 = makeRadio(GroupBox4, "RadioButton5", tr("从左向右竖排"));
    RadioButton6 = makeRadio(GroupBox4, "RadioButton6", tr("从右向左竖排"));
    RadioButton3->setChecked(true);
    auto* arrangement = new QVBoxLayout(GroupBox4);
    for (QRadioButton* button : {RadioButton3, RadioButton4, RadioButton5, RadioButton6})
        arrangement->addWidget(button);

    // The preview: the turned seal at 1:1 from the top-left of a scroll box in a 150 x 150
    // panel.
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedSize(150, 150);
    ScrollBox1 = named(new QScrollArea(Panel1), "ScrollBox1");
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    RotateImage1 = named(new TRotateImage(ScrollBox1), "RotateImage1");
    ScrollBox1->setWidget(RotateImage1);
    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(ScrollBox1);

    Image1 = named(new ImageControl(this, QSize(50, 50)), "Image1");

    Button4 = makeButton(this, "Button4", tr("预览"));
    Button6 = makeButton(this, "Button6", tr("清空"));
    Button1 = makeButton(this, "Button1", tr("确定"));
    Button2 = makeButton(this, "Button2", tr("应用"));
    Button3 = makeButton(this, "Button3", tr("取消"));

    auto* choices = new QVBoxLayout;
    choices->addWidget(GroupBox2);
    choices->addWidget(GroupBox3);
    choices->addWidget(GroupBox4);
    choices->addStretch(1);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(Panel1);
    auto* previewButtons = new QHBoxLayout;
    previewButtons->addWidget(Button4);
    previewButtons->addWidget(Button6);
    previewColumn->addLayout(previewButtons);
    previewColumn->addWidget(makeConversionButtons(this, [this](ChineseConversion direction) {
        RichEdit1->richText().convertText(ChineseConverter::shared(direction));
    }));
    previewColumn->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(choices);
    middle->addLayout(previewColumn);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    bottom->addWidget(Button3);
    auto* main = new QVBoxLayout(this);
    main->addWidget(GroupBox1, 1);
    main->addWidget(GroupBox5);
    main->addLayout(middle);
    main->addLayout(bottom);
}

void TForm4::connectHandlers() {
    using ErrorBoundary::guard;
    auto onChecked = [this](QRadioButton* button, void (TForm4::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                ErrorBoundary::run(this, [this, handler] { (this->*handler)(); });
        });
    };
    onChecked(RadioButton1, &TForm4::RadioButton1Click);
    onChecked(RadioButton2, &TForm4::RadioButton1Click);
    onChecked(RadioButton7, &TForm4::RadioButton7Click);
    onChecked(RadioButton8, &TForm4::RadioButton7Click);
    for (QRadioButton* button : {RadioButton3, RadioButton4, RadioButton5, RadioButton6})
        onChecked(button, &TForm4::RadioButton3Click);
    connect(Button4, &QPushButton::clicked, this, guard(this, [this] { Button4Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, [this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, guard(this, [this] { Button1Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, [this] { Button3Click(); }));
    connect(Button6, &QPushButton::clicked, this, guard(this, [this] { Button6Click(); }));
}

void TForm4::ResetSettings() {
    SealSettings = TSetStamper{};
    Image1->setControlSize(50, 50);
}

void TForm4::ReadSettings() {
    SealSettings.SealWidth = SpinEdit1->value();
    SealSettings.SealHeight = SpinEdit2->value();
    SealSettings.StrokeWeight = SpinEdit3->value();
    SealSettings.CharSpacing = SpinEdit4->value();
    SealSettings.FontName = ComboBox1->currentText();
    SealSettings.EdgeWidth = SpinEdit5->value();
    SealSettings.SealStyle = StyleChoice;
    SealSettings.CornerShape = CornerChoice;
    SealSettings.Arrangement = ArrangementChoice;
    SealSettings.SealAngle = SpinEdit6->value();
    SealSettings.Ink = ::SealInk(std::max(0, ComboBox2->currentIndex()));
    SealSettings.FrameWidth = SpinEdit7->value();
    SealSettings.SmoothEdges = CheckBox1->isChecked();
    SealSettings.Wear = SpinEdit8->value();
    SealSettings.WearSeed = SpinEdit9->value();
    SealSettings.WearStyle = ::WearStyle(std::max(0, ComboBox3->currentIndex()));
    SealSettings.Paper = CheckBox2->isChecked();
    SealSettings.KeepProportions = CheckBox3->isChecked();
    SealSettings.MatchFallbackWeight = CheckBox4->isChecked();
    Image1->setControlSize(sealSide(SealSettings.SealWidth), sealSide(SealSettings.SealHeight));
}

void TForm4::RadioButton1Click() {
    if (RadioButton1->isChecked())
        StyleChoice = stIntaglio;
    if (RadioButton2->isChecked())
        StyleChoice = stRelief;
}

void TForm4::RadioButton7Click() {
    if (RadioButton7->isChecked())
        CornerChoice = cnSquare;
    if (RadioButton8->isChecked())
        CornerChoice = cnRounded;
}

void TForm4::RadioButton3Click() {
    const QRadioButton* buttons[] = {RadioButton3, RadioButton4, RadioButton5, RadioButton6};
    for (int i = 0; i < 4; ++i)
        if (buttons[i]->isChecked())
            ArrangementChoice = ::Arrangement(i);
}

QStringList TForm4::sealLines() const {
    QStringList lines;
    const RichText& text = RichEdit1->richText();
    const int count = text.lineCount();
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(text.lineString(i));
    return lines;
}

void TForm4::renderSealBitmap(const QStringList& lines) {
    Image1->setPicture(renderSealText(SealSettings, lines, &TextColor));
    RenderedGaps = sealGaps(SealSettings, lines);
    Label1->setVisible(SealSettings.KeepProportions &&
                       sealShapeDistortion(SealSettings, lines) > maxGlyphDistortion + 0.01);
}

// The control is the seal's size when it is not turned, else the square of the seal's
// diagonal, so that the turn keeps every corner.
void TForm4::sizeRotateImage() {
    RotateImage1->clearPicture();
    const int w = sealSide(SealSettings.SealWidth), h = sealSide(SealSettings.SealHeight);
    if (SealSettings.SealAngle == 0) {
        RotateImage1->setControlSize(w, h);
    } else {
        const int side = sealDiagonal(w, h);
        RotateImage1->setControlSize(side, side);
    }
}

// The seal goes into the top-left of a key-coloured picture of the control's size, and the
// picture is turned by the seal's angle. The angle is set while the picture is still empty,
// so the seal is resampled once, when the framed picture arrives.
void TForm4::turnSeal() {
    RotateImage1->setAngle(SealSettings.SealAngle);
    RotateImage1->setPicture(
        framedSeal(Image1->picture(), RotateImage1->width(), RotateImage1->height()));
}

void TForm4::turnSmoothSeal(const QStringList& lines) {
    smoothGraphic = QImage();
    if (!SealSettings.SmoothEdges)
        return;
    smoothGraphic = turnedSmoothSeal(renderSmoothSeal(SealSettings, lines), SealSettings.SealAngle,
                                     RotateImage1->RotatedGraphic().size());
    RotateImage1->showInstead(smoothGraphic);
}

void TForm4::Button4Click() {
    ReadSettings();
    const QStringList lines = sealLines();
    if (lines.isEmpty())
        return;
    renderSealBitmap(lines);
    sizeRotateImage();
    turnSeal();
    turnSmoothSeal(lines);
    renderedSettings = SealSettings;
    renderedLines = lines;
    repaint();
}

void TForm4::Button2Click() {
    ReadSettings();
    Button4Click();
}

void TForm4::Button1Click() {
    ReadSettings();
    // The seal is drawn before it is armed: a seal that cannot be drawn, or one without any
    // character, arms nothing (the seal drawn before must not be stamped in its place).
    if (sealLines().isEmpty()) {
        PendingPlacement = 0;
        accept();
        return;
    }
    Button4Click();
    if (workCanvas)
        workCanvas->setCursor(Qt::PointingHandCursor);
    PendingPlacement = 1;
    accept();
}

void TForm4::Button3Click() {
    ResetSettings();
    reject();
}

void TForm4::Button6Click() {
    Image1->clearPicture();
    Label1->hide();
    RotateImage1->clearPicture();
    smoothGraphic = QImage();
    RenderedGaps.clear();
    renderedLines.clear();
    ResetSettings();
}

Element TForm4::element() const {
    Element element;
    element.kind = ekSeal;
    element.seal = renderedSettings;
    element.sealLines = renderedLines;
    element.blank = renderedLines.isEmpty();
    return element;
}

const DrawingSurface& TForm4::stampedPicture() const {
    return RotateImage1->RotatedGraphic();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rotated-text dialog: its controls, the apply and reset of its settings record, the
// preview and the confirm that arms the stamp.
#include "Unit3.h"

#include "ColorButton.h"
#include "ComboPopup.h"
#include "ConversionButtons.h"
#include "DialogKeys.h"
#include "ErrorBoundary.h"
#include "Gbk.h"
#include "ImageControl.h"
#include "Limits.h"
#include "Named.h"
#include "SpinEdit.h"
#include "Step.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QPushButton* dialogButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = named(new QPushButton(caption, parent), name);
    // Enter in the edit box must not press a button by itself.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TForm3::TForm3(QWidget* canvas, const QStringList& sizes, const QStringList& faces, QWidget* parent)
    : QDialog(parent), workCanvas(canvas) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("旋转字制作设置"));
    buildControls(sizes, faces);
    setFixedSize(475, 577);

    RadioButton2->setChecked(true);
    PendingPlacement = false;
    PlacementChoice = tpVertical;
    ResetRotatedTextSettings();
}

void TForm3::buildControls(const QStringList& sizes, const QStringList& faces) {
    using ErrorBoundary::guard;

    GroupBox1 = named(new QGroupBox(tr("字体设置"), this), "GroupBox1");
    auto* fontGrid = new QGridLayout(GroupBox1);
    Label1 = named(new QLabel(tr("输入字："), GroupBox1), "Label1");
    Edit1 = named(new QLineEdit(GroupBox1), "Edit1");
    Label2 = named(new QLabel(tr("旋转角："), GroupBox1), "Label2");
    SpinEdit1 = named(new SpinEdit(GroupBox1), "SpinEdit1");
    SpinEdit1->setRange(-limits::rotatedAngle, limits::rotatedAngle);
    SpinEdit1->setIncrement(5);
    SpinEdit1->setValue(0);
    const QString angles =
        QStringLiteral("%1~%2").arg(-limits::rotatedAngle).arg(limits::rotatedAngle);
    SpinEdit1->setToolTip(angles);
    SpinEdit1->setProperty("hint", angles);
    Label3 = named(new QLabel(tr("字间距："), GroupBox1), "Label3");
    SpinEdit2 = named(new SpinEdit(GroupBox1), "SpinEdit2");
    SpinEdit2->setRange(0, 0);
    SpinEdit2->setValue(2);
    Label4 = named(new QLabel(tr("字  号："), GroupBox1), "Label4");
    ComboBox1 = named(new QComboBox(GroupBox1), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(16);
    ComboBox1->addItems(sizes);
    ComboBox1->setEditText(QStringLiteral("20"));
    Label5 = named(new QLabel(tr("字  体："), GroupBox1), "Label5");
    ComboBox2 = named(new QComboBox(GroupBox1), "ComboBox2");
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setMaxVisibleItems(16);
    ComboBox2->addItems(faces);
    ComboBox2->setEditText(QStringLiteral("宋体"));
    showWholeItems(*ComboBox2);
    Label6 = named(new QLabel(tr("颜  色："), GroupBox1), "Label6");
    ColorButton1 = named(new ColorButton(clBlack, GroupBox1), "ColorButton1");

    fontGrid->addWidget(Label1, 0, 0);
    fontGrid->addWidget(Edit1, 0, 1, 1, 3);
    fontGrid->addWidget(Label2, 1, 0);
    fontGrid->addWidget(SpinEdit1, 1, 1);
    fontGrid->addWidget(Label3, 1, 2);
    fontGrid->addWidget(SpinEdit2, 1, 3);
    fontGrid->addWidget(Label4, 2, 0);
    fontGrid->addWidget(ComboBox1, 2, 1);
    fontGrid->addWidget(Label5, 2, 2);
    fontGrid->addWidget(ComboBox2, 2, 3);
    fontGrid->addWidget(Label6, 3, 0);
    fontGrid->addWidget(ColorButton1, 3, 1, Qt::AlignLeft);
    MatchFallbackCheckBox =
        named(new QCheckBox(tr("补字同粗细"), GroupBox1), "MatchFallbackCheckBox");
    MatchFallbackCheckBox->setToolTip(tr("字体缺的字从其他字体补上时，笔画加粗到与本字体一样"));
    fontGrid->addWidget(MatchFallbackCheckBox, 3, 2, 1, 2);

    GroupBox2 = named(new QGroupBox(tr("放置方式"), this), "GroupBox2");
    auto* placementRow = new QHBoxLayout(GroupBox2);
    RadioButton1 = named(new QRadioButton(tr("横向放置"), GroupBox2), "RadioButton1");
    RadioButton2 = named(new QRadioButton(tr("纵向放置"), GroupBox2), "RadioButton2");
    placementRow->addWidget(RadioButton1);
    placementRow->addWidget(RadioButton2);

    auto* previewFrame = named(new QFrame(this), "Panel1");
    previewFrame->setFrameShape(QFrame::Box);
    auto* frameLayout = new QVBoxLayout(previewFrame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    Image1 = named(new ImageControl(previewFrame, QSize(148, 148)), "Image1");
    frameLayout->addWidget(Image1);

    Button1 = dialogButton(this, "Button1", tr("预览"));
    Button2 = dialogButton(this, "Button2", tr("清空"));
    Button3 = dialogButton(this, "Button3", tr("确认"));
    Button4 = dialogButton(this, "Button4", tr("应用"));
    Button5 = dialogButton(this, "Button5", tr("取消"));

    auto* previewRow = new QHBoxLayout;
    previewRow->addStretch();
    previewRow->addWidget(previewFrame);
    auto* previewButtons = new QVBoxLayout;
    previewButtons->addStretch();
    previewButtons->addWidget(Button1);
    previewButtons->addWidget(Button2);
    previewRow->addLayout(previewButtons);
    previewRow->addStretch();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button3);
    buttonRow->addWidget(Button4);
    buttonRow->addWidget(Button5);

    auto* page = new QVBoxLayout(this);
    page->addWidget(GroupBox1);
    page->addWidget(makeConversionButtons(this, [this](ChineseConversion d) { ConvertClick(d); }),
                    0, Qt::AlignRight);
    page->addWidget(GroupBox2);
    page->addLayout(previewRow);
    page->addStretch();
    page->addLayout(buttonRow);

    connect(Button1, &QPushButton::clicked, this, guard(this, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, [this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard(this, [this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, guard(this, [this] { Button5Click(); }));
    escapePresses(*this, *Button5);
    connect(ColorButton1, &QToolButton::clicked, this,
            guard(this, [this] { ColorButton1Click(); }));
    // Either button's change recomputes the choice from the one that is selected.
    connect(RadioButton1, &QRadioButton::toggled, this, [this] { RadioButtonClick(); });
    connect(RadioButton2, &QRadioButton::toggled, this, [this] { RadioButtonClick(); });
}

void TForm3::ConvertClick(ChineseConversion direction) {
    const QString converted = ChineseConverter::shared(direction).convert(Edit1->text());
    if (converted == Edit1->text())
        return;
    Edit1->selectAll();
    Edit1->insert(converted);
}

void TForm3::ApplyRotatedTextSettings() {
    RotatedTextSettings.Text = Gbk::encode(Edit1->text());
    RotatedTextSettings.Characters = Edit1->text();
    RotatedTextSettings.Angle = SpinEdit1->value();
    RotatedTextSettings.CharSpacing = SpinEdit2->value();
    RotatedTextSettings.Size = RotatedTextSizeFromText(ComboBox1->currentText());
    RotatedTextSettings.FaceName = ComboBox2->currentText();
    RotatedTextSettings.Placement = PlacementChoice;
    RotatedTextSettings.Color = ColorButton1->color();
    RotatedTextSettings.MatchFallbackWeight = MatchFallbackCheckBox->isChecked();
}

void TForm3::ResetRotatedTextSettings() {
    RotatedTextSettings = TSetSector{};
}

void TForm3::Button1Click() {
    Image1->clearPicture();
    Image1->pictureChanged();
    ApplyRotatedTextSettings();
    DrawRotatedText(Image1->canvas(), 30, 10, RotatedTextSettings);
    Image1->pictureChanged();
}

void TForm3::Button2Click() {
    Image1->clearPicture();
    Image1->pictureChanged();
}

void TForm3::Button3Click() {
    ApplyRotatedTextSettings();
    if (workCanvas)
        workCanvas->setCursor(Qt::PointingHandCursor);
    PendingPlacement = true;
    accept();
}

void TForm3::Button4Click() {
    ApplyRotatedTextSettings();
}

void TForm3::Button5Click() {
    ResetRotatedTextSettings();
    reject();
}

void TForm3::RadioButtonClick() {
    PlacementChoice = RadioButton1->isChecked() ? tpHorizontal : tpVertical;
}

void TForm3::ColorButton1Click() {
    ColorButton1->choose();
}

Element TForm3::element() const {
    Element element;
    element.kind = ekRotatedText;
    element.rotated = RotatedTextSettings;
    return element;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "TemplateDialog.h"

#include "ColorButton.h"
#include "Limits.h"
#include "Named.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TemplateDialog::TemplateDialog(const QStringList& faces, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TemplateDialog"));
    setWindowTitle(tr("作品模板"));
    ComboBoxFormat = named(new QComboBox(this), "ComboBoxFormat");
    for (const char* caption : workFormatCaptions)
        ComboBoxFormat->addItem(QCoreApplication::translate("Templates", caption));
    ComboBoxFormat->setCurrentIndex(int(WorkFormat::HangingScroll));
    ComboBoxPaper = named(new QComboBox(this), "ComboBoxPaper");
    for (const PaperSize& paper : standardPapers)
        ComboBoxPaper->addItem(QStringLiteral("%1 %2 × %3 cm")
                                   .arg(QCoreApplication::translate("Templates", paper.name))
                                   .arg(paper.longCm)
                                   .arg(paper.shortCm));
    ComboBoxPaper->addItem(tr("自定义"));
    SpinEditLong = named(new SpinEdit(this), "SpinEditLong");
    SpinEditShort = named(new SpinEdit(this), "SpinEditShort");
    SpinEditDpi = named(new SpinEdit(this), "SpinEditDpi");
    SpinEditLong->setRange(1, limits::templatePaperCmMax);
    SpinEditShort->setRange(1, limits::templatePaperCmMax);
    SpinEditDpi->setRange(0, limits::templateDpiMax);
    ColorButtonGround = named(new ColorButton(WorkTemplate{}.ground, this), "ColorButtonGround");
    ColorButtonInk = named(new ColorButton(clBlack, this), "ColorButtonInk");
    ComboBoxFace = named(new QComboBox(this), "ComboBoxFace");
    ComboBoxFace->setEditable(true);
    ComboBoxFace->addItems(faces);
    ComboBoxFace->setEditText(WorkTemplate{}.face);
    TextMain = named(new QPlainTextEdit(this), "TextMain");
    TextMain->setTabChangesFocus(true);
    TextMain->setPlaceholderText(tr("正文；对联写两行：上联、下联"));
    EditBanner = named(new QLineEdit(this), "EditBanner");
    EditUpper = named(new QLineEdit(this), "EditUpper");
    EditLower = named(new QLineEdit(this), "EditLower");
    EditNameSeal = named(new QLineEdit(this), "EditNameSeal");
    EditLeadingSeal = named(new QLineEdit(this), "EditLeadingSeal");
    SpinEditSpan = named(new SpinEdit(this), "SpinEditSpan");
    SpinEditSpan->setRange(limits::templateSpanMin, limits::templateSpanMax);
    SpinEditSpan->setValue(WorkTemplate{}.fanSpan);
    CheckBoxLongShort = named(new QCheckBox(tr("长短行"), this), "CheckBoxLongShort");
    CheckBoxLongShort->setChecked(true);
    ComboBoxPunctuation = named(new QComboBox(this), "ComboBoxPunctuation");
    for (const char* caption : punctuationCaptions)
        ComboBoxPunctuation->addItem(QCoreApplication::translate("Punctuation", caption));
    ComboBoxPunctuation->setCurrentIndex(WorkTemplate{}.punctuation);
    CheckBoxChineseDigits = named(new QCheckBox(tr("数字写作汉字"), this), "CheckBoxChineseDigits");
    CheckBoxChineseDigits->setChecked(WorkTemplate{}.chineseDigits);
    CheckBoxMounted = named(new QCheckBox(tr("按装裱的规矩排"), this), "CheckBoxMounted");
    CheckBoxMounted->setToolTip(tr("正文按纸张分行、定字大小，落款和印章按书写的规矩排，"
                                   "印章用朱砂色、刻出透底；不选则按旧版的排法"));
    CheckBoxMounted->setChecked(true);
    LabelSize = named(new QLabel(this), "LabelSize");
    ButtonOk = named(new QPushButton(tr("确定"), this), "ButtonOk");
    ButtonCancel = named(new QPushButton(tr("取消"), this), "ButtonCancel");
    ButtonOk->setDefault(true);

    auto* form = new QFormLayout;
    auto* format = new QHBoxLayout;
    format->addWidget(ComboBoxFormat);
    format->addWidget(CheckBoxMounted);
    format->addStretch();
    form->addRow(tr("格式"), format);
    form->addRow(tr("纸张"), ComboBoxPaper);
    auto* sides = new QHBoxLayout;
    sides->addWidget(SpinEditLong);
    sides->addWidget(new QLabel(QStringLiteral("×"), this));
    sides->addWidget(SpinEditShort);
    sides->addWidget(new QLabel(tr("厘米，分辨率"), this));
    sides->addWidget(SpinEditDpi);
    sides->addWidget(new QLabel(tr("dpi（0 为自动）"), this));
    form->addRow(tr("长 × 宽"), sides);
    form->addRow(QString(), LabelSize);
    auto* colours = new QHBoxLayout;
    colours->addWidget(new QLabel(tr("底色"), this));
    colours->addWidget(ColorButtonGround);
    colours->addWidget(new QLabel(tr("墨色"), this));
    colours->addWidget(ColorButtonInk);
    colours->addStretch();
    form->addRow(tr("颜色"), colours);
    form->addRow(tr("字体"), ComboBoxFace);
    form->addRow(tr("正文"), TextMain);
    form->addRow(tr("横批"), EditBanner);
    auto* conventions = new QHBoxLayout;
    conventions->addWidget(ComboBoxPunctuation);
    conventions->addWidget(CheckBoxChineseDigits);
    conventions->addStretch();
    form->addRow(tr("标点"), conventions);
    form->addRow(tr("上款"), EditUpper);
    form->addRow(tr("下款"), EditLower);
    form->addRow(tr("名章"), EditNameSeal);
    form->addRow(tr("引首章"), EditLeadingSeal);
    auto* fan = new QHBoxLayout;
    fan->addWidget(SpinEditSpan);
    fan->addWidget(new QLabel(tr("度"), this));
    fan->addWidget(CheckBoxLongShort);
    fan->addStretch();
    form->addRow(tr("扇面角度"), fan);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ComboBoxFormat, &QComboBox::currentIndexChanged, this, [this] { formatChosen(); });
    connect(ComboBoxPaper, &QComboBox::currentIndexChanged, this, [this] { paperChosen(); });
    for (SpinEdit* box : {SpinEditLong, SpinEditShort, SpinEditDpi, SpinEditSpan})
        connect(box, &SpinEdit::editingFinished, this, [this] { showSize(); });
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    formatChosen();
}

void TemplateDialog::formatChosen() {
    const auto format = WorkFormat(ComboBoxFormat->currentIndex());
    ComboBoxPaper->setCurrentIndex(defaultPaperOf(format));
    EditBanner->setEnabled(format == WorkFormat::Couplet);
    // A fan has no 引首章; its angle and columns are its own.
    EditLeadingSeal->setEnabled(format != WorkFormat::Fan);
    SpinEditSpan->setEnabled(format == WorkFormat::Fan);
    CheckBoxLongShort->setEnabled(format == WorkFormat::Fan);
    // Couplets are written on red paper.
    ColorButtonGround->setColor(format == WorkFormat::Couplet ? 0x002E10C8 : WorkTemplate{}.ground);
    paperChosen();
}

void TemplateDialog::paperChosen() {
    const int index = ComboBoxPaper->currentIndex();
    const bool custom = index >= int(std::size(standardPapers));
    SpinEditLong->setEnabled(custom);
    SpinEditShort->setEnabled(custom);
    if (!custom) {
        SpinEditLong->setValue(int(standardPapers[index].longCm));
        SpinEditShort->setValue(int(standardPapers[index].shortCm));
    }
    showSize();
}

void TemplateDialog::showSize() {
    const WorkTemplate work = workTemplate();
    const QSizeF paper = workCentimetres(work);
    const int dpi = workDpi(work);
    const QSize pixels = paperPixels(paper.width(), paper.height(), dpi);
    LabelSize->setText(tr("画布 %1 × %2 像素（%3 × %4 厘米，%5 dpi）")
                           .arg(pixels.width())
                           .arg(pixels.height())
                           .arg(paper.width())
                           .arg(paper.height())
                           .arg(dpi));
}

WorkTemplate TemplateDialog::workTemplate() const {
    WorkTemplate work;
    work.format = WorkFormat(ComboBoxFormat->currentIndex());
    work.longCm = std::max(SpinEditLong->value(), SpinEditShort->value());
    work.shortCm = std::min(SpinEditLong->value(), SpinEditShort->value());
    work.dpi = SpinEditDpi->value();
    work.ground = ColorButtonGround->color();
    work.ink = ColorButtonInk->color();
    work.face = ComboBoxFace->currentText();
    work.text = TextMain->toPlainText();
    work.banner = work.format == WorkFormat::Couplet ? EditBanner->text() : QString();
    work.upper = EditUpper->text();
    work.lower = EditLower->text();
    work.nameSeal = EditNameSeal->text();
    work.leadingSeal = work.format == WorkFormat::Fan ? QString() : EditLeadingSeal->text();
    work.fanSpan = SpinEditSpan->value();
    work.fanColumns = CheckBoxLongShort->isChecked() ? fcLongShort : fcLong;
    work.punctuation = VerticalPunctuation(ComboBoxPunctuation->currentIndex());
    work.chineseDigits = CheckBoxChineseDigits->isChecked();
    work.mounted = CheckBoxMounted->isChecked();
    return work;
}

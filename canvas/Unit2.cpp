// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "Unit2.h"
#include "Limits.h"

#include "DialogKeys.h"
#include "ErrorBoundary.h"
#include "Named.h"
#include "PlatformDialogs.h"
#include "PrintSize.h"
#include "SpinEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

QString TForm2::PictureFilter() {
    return PlatformDialogs::pictureFilter(
        QStringLiteral("All (*.png;*.jpg;*.jpeg;*.bmp)|*.png;*.jpg;*.jpeg;*.bmp"));
}

namespace {

// A side of at least 1 pixel: a canvas without area could hold no picture, and every save
// of it would fail.
SpinEdit* sizeBox(QWidget* parent, const char* name, const QRect& geometry, int value) {
    auto* box = named(new SpinEdit(parent), name, geometry);
    box->setRange(1, limits::canvasSide);
    box->setIncrement(20);
    box->setValue(value);
    return box;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("图片设置窗口"));
    setFixedSize(375, 384);
    move(333, 200);

    GroupBox1 = named(new QGroupBox(tr("图片大小"), this), "GroupBox1", QRect(16, 12, 343, 96));
    // Three rows: width and height, each with its printed length beside it, and the
    // resolution that length is measured at.
    Label1 = named(new QLabel(tr("图片长："), GroupBox1), "Label1", QRect(24, 22, 70, 20));
    SpinEdit1 = sizeBox(GroupBox1, "SpinEdit1", QRect(100, 20, 110, 22), 800);
    Label2 = named(new QLabel(tr("图片宽："), GroupBox1), "Label2", QRect(24, 46, 70, 20));
    SpinEdit2 = sizeBox(GroupBox1, "SpinEdit2", QRect(100, 44, 110, 22), 600);
    Label5 = named(new QLabel(tr("分辨率："), GroupBox1), "Label5", QRect(24, 70, 70, 20));
    SpinEdit3 = named(new SpinEdit(GroupBox1), "SpinEdit3", QRect(100, 68, 110, 22));
    SpinEdit3->setRange(minimumResolution, maximumResolution);
    SpinEdit3->setIncrement(12);
    SpinEdit3->setValue(defaultResolution);
    Label3 = named(new QLabel(GroupBox1), "Label3", QRect(218, 22, 120, 20));
    Label4 = named(new QLabel(GroupBox1), "Label4", QRect(218, 46, 120, 20));
    Label6 = named(new QLabel(tr("点/英寸"), GroupBox1), "Label6", QRect(218, 70, 120, 20));
    for (SpinEdit* box : {SpinEdit1, SpinEdit2, SpinEdit3})
        connect(box->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
                [this] { ShowPrintSize(); });
    ShowPrintSize();

    GroupBox2 = named(new QGroupBox(tr("背景设置"), this), "GroupBox2", QRect(16, 118, 343, 96));
    RadioButton5 =
        named(new QRadioButton(tr("背景颜色"), GroupBox2), "RadioButton5", QRect(24, 26, 100, 22));
    Button1 = named(new QPushButton(tr("调色板"), GroupBox2), "Button1", QRect(150, 24, 80, 26));
    RadioButton6 =
        named(new QRadioButton(tr("背景图片"), GroupBox2), "RadioButton6", QRect(24, 60, 100, 22));
    Button2 = named(new QPushButton(tr("打开"), GroupBox2), "Button2", QRect(150, 58, 80, 26));
    RadioButton6->setChecked(true);

    GroupBox4 = named(new QGroupBox(tr("图片排列"), this), "GroupBox4", QRect(16, 224, 343, 100));
    RadioButton7 =
        named(new QRadioButton(tr("平铺"), GroupBox4), "RadioButton7", QRect(24, 26, 80, 22));
    RadioButton8 =
        named(new QRadioButton(tr("拉伸"), GroupBox4), "RadioButton8", QRect(24, 48, 80, 22));
    RadioButton9 =
        named(new QRadioButton(tr("居中"), GroupBox4), "RadioButton9", QRect(24, 70, 80, 22));
    RadioButton7->setChecked(true);

    Button3 = named(new QPushButton(tr("确定"), this), "Button3", QRect(40, 340, 80, 28));
    Button5 = named(new QPushButton(tr("应用"), this), "Button5", QRect(148, 340, 80, 28));
    Button4 = named(new QPushButton(tr("取消"), this), "Button4", QRect(256, 340, 80, 28));
    Button3->setAutoDefault(false);
    // Enter confirms wherever the focus is; the palette and the file buttons open only when
    // pressed.
    Button3->setDefault(true);
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    Button5->setAutoDefault(false);
    Button4->setAutoDefault(false);

    using ErrorBoundary::guard;
    connect(RadioButton5, &QRadioButton::toggled, this,
            guard(this, [this] { RadioButton5Click(); }));
    connect(RadioButton6, &QRadioButton::toggled, this,
            guard(this, [this] { RadioButton5Click(); }));
    for (QRadioButton* layoutButton : {RadioButton7, RadioButton8, RadioButton9})
        connect(layoutButton, &QRadioButton::toggled, this,
                guard(this, [this] { RadioButton7Click(); }));
    connect(Button1, &QPushButton::clicked, this, guard(this, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, [this] { Button3Click(); }));
    connect(Button5, &QPushButton::clicked, this, guard(this, [this] { Button5Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard(this, [this] { Button4Click(); }));
    escapePresses(*this, *Button4);

    FormCreate();
}

void TForm2::FormCreate() {
    Button1->setEnabled(false);
    CanvasSettings = TSetStruct{};
}

void TForm2::ShowPrintSize() {
    const int resolution = SpinEdit3->value();
    Label3->setText(centimetresText(SpinEdit1->value(), resolution));
    Label4->setText(centimetresText(SpinEdit2->value(), resolution));
}

void TForm2::RadioButton5Click() {
    const bool colour = RadioButton5->isChecked();
    const bool picture = RadioButton6->isChecked();
    Button1->setEnabled(colour);
    Button2->setEnabled(picture);
    GroupBox4->setEnabled(picture);
    RadioButton7->setEnabled(picture);
    RadioButton8->setEnabled(picture);
    RadioButton9->setEnabled(picture);
}

void TForm2::Button1Click() {
    const std::optional<TColor> colour = PlatformDialogs::chooseColor(this, ChosenColor);
    if (!colour)
        return;
    ChosenColor = *colour;
    PictureChosen = false;
    ColorChosen = true;
}

void TForm2::Button2Click() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.filter = PictureFilter();
    request.picturePreview = true;
    request.initialPath = ChosenPicture;
    const std::optional<QString> file = PlatformDialogs::chooseFile(this, request);
    if (!file)
        return;
    ChosenPicture = *file;
    PictureChosen = true;
    ColorChosen = false;
}

void TForm2::RadioButton7Click() {
    if (RadioButton7->isChecked())
        ChosenLayout = plTile;
    else if (RadioButton8->isChecked())
        ChosenLayout = plStretch;
    else if (RadioButton9->isChecked())
        ChosenLayout = plCenter;
}

void TForm2::Commit() {
    CanvasSettings.Width = SpinEdit1->value();
    CanvasSettings.Height = SpinEdit2->value();
    CanvasSettings.Layout = ChosenLayout;
    CanvasSettings.BackgroundColor = ChosenColor;
    CanvasSettings.UsePicture = PictureChosen;
    CanvasSettings.PictureFile = ChosenPicture;
    CanvasSettings.UseColor = ColorChosen;
    CanvasSettings.Resolution = SpinEdit3->value();
}

void TForm2::Button3Click() {
    Commit();
    accept();
}

void TForm2::Button5Click() {
    Commit();
}

void TForm2::Button4Click() {
    Cancelled = true;
    resetCanvasSettings(CanvasSettings);
    reject();
}

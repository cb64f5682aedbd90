// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle and fan dialogs' shared layout, wiring and commands.
#include "ShapeDialog.h"

#include "ColorButton.h"
#include "DialogKeys.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "Named.h"
#include "SpinEdit.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

ShapeDialog::ShapeDialog(QWidget* workCanvas, const QString& widthCaption, QWidget* parent)
    : QDialog(parent), workCanvas(workCanvas) {
    setWindowFlag(Qt::Tool);
    setSizeGripEnabled(true);
    GroupBox1 = named(new QGroupBox(tr("设置"), this), "GroupBox1");
    Label1 = named(new QLabel(widthCaption, GroupBox1), "Label1");
    Label2 = named(new QLabel(tr("半径："), GroupBox1), "Label2");
    Label3 = named(new QLabel(tr("线条颜色："), GroupBox1), "Label3");
    Label4 = named(new QLabel(tr("填充颜色："), GroupBox1), "Label4");
    SpinEdit1 = named(new SpinEdit(GroupBox1), "SpinEdit1");
    SpinEdit2 = named(new SpinEdit(GroupBox1), "SpinEdit2");
    SpeedButton1 = named(new ColorButton(clBlack, GroupBox1), "SpeedButton1");
    SpeedButton2 = named(new ColorButton(clWhite, GroupBox1), "SpeedButton2");
    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(SpeedButton1, 2, 1, Qt::AlignLeft);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(SpeedButton2, 3, 1, Qt::AlignLeft);

    // The preview box is smaller than most pictures on purpose: it scrolls over them.
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedSize(190, 190);
    ScrollBox1 = named(new QScrollArea(Panel1), "ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = named(new ImageControl(nullptr, QSize(100, 100)), "Image1");
    ScrollBox1->setWidget(Image1);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(ScrollBox1);
    Image2 = named(new ImageControl(this, QSize(32, 32)), "Image2");

    Button4 = named(new QPushButton(tr("预览"), this), "Button4");
    Button6 = named(new QPushButton(tr("清空"), this), "Button6");
    Button1 = named(new QPushButton(tr("确定"), this), "Button1");
    Button2 = named(new QPushButton(tr("应用"), this), "Button2");
    Button3 = named(new QPushButton(tr("取消"), this), "Button3");
    for (QPushButton* button : {Button1, Button2, Button3, Button4, Button6})
        button->setAutoDefault(false);
    // Enter in any box confirms, as the mouse on 确定 does.
    Button1->setDefault(true);

    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(Button4);
    previewRow->addWidget(Button6);
    previewRow->addStretch(1);
    auto* commandRow = new QHBoxLayout;
    commandRow->addStretch(1);
    commandRow->addWidget(Button1);
    commandRow->addWidget(Button2);
    commandRow->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(Panel1, 0, Qt::AlignLeft);
    layout->addLayout(previewRow);
    layout->addStretch(1);
    layout->addLayout(commandRow);

    using ErrorBoundary::guard;
    connect(SpeedButton1, &QToolButton::clicked, this,
            guard(this, [this] { SpeedButton1Click(); }));
    connect(SpeedButton2, &QToolButton::clicked, this,
            guard(this, [this] { SpeedButton2Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard(this, [this] { Button4Click(); }));
    connect(Button6, &QPushButton::clicked, this, guard(this, [this] { Button6Click(); }));
    connect(Button1, &QPushButton::clicked, this, guard(this, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, [this] { Button3Click(); }));
    escapePresses(*this, *Button3);
}

void ShapeDialog::FormCreate() {
    Image1->setTransparent(true);
    ResetSettings();
    Image2->hide();
}

void ShapeDialog::fitPreview() {
    const auto [width, height] = previewSize();
    Image1->setControlSize(width, height);
}

void ShapeDialog::ResetSettings() {
    resetRecord();
    ShapeSettingsRecord& s = settings();
    s.LineColor = s.PickedLineColor;
    s.FillColor = s.PickedFillColor;
    fitPreview();
    s.PendingPlacement = 0;
    // The buttons show the colours that will be drawn.
    SpeedButton1->setColor(s.PickedLineColor);
    SpeedButton2->setColor(s.PickedFillColor);
}

void ShapeDialog::ApplySettings() {
    ShapeSettingsRecord& s = settings();
    s.LineWidth = SpinEdit1->value();
    s.Radius = SpinEdit2->value();
    s.LineColor = s.PickedLineColor;
    s.FillColor = s.PickedFillColor;
    applyOwnControls();
    fitPreview();
}

void ShapeDialog::SpeedButton1Click() {
    if (SpeedButton1->choose())
        settings().PickedLineColor = SpeedButton1->color();
}

void ShapeDialog::SpeedButton2Click() {
    if (SpeedButton2->choose())
        settings().PickedFillColor = SpeedButton2->color();
}

void ShapeDialog::Button4Click() {
    ApplySettings();
    auto shown = std::make_shared<Element>(describeSettings());
    auto rendered = std::make_shared<RenderedElement>();
    try {
        // The new picture is made before the old one is removed, so a picture that cannot be
        // allocated leaves the previous one (and its size) in place.
        *rendered = renderElement(*shown);
    } catch (...) {
        const DrawingSurface& kept = Image1->picture();
        Image1->setControlSize(kept.width(), kept.height());
        throw;
    }
    shown->rendered = rendered;
    DrawingSurface picture = rendered->picture;
    if (picture.isEmpty()) {
        // A radius of 0 or less: there is no shape, so the preview is empty.
        Image1->clearPicture();
        previewed = shown;
        return;
    }
    picture.transparent = Image1->transparent();
    Image1->setPicture(std::move(picture));
    previewed = shown;
}

void ShapeDialog::Button6Click() {
    Image1->clearPicture();
    previewed.reset();
}

void ShapeDialog::Button1Click() {
    // The picture is drawn before the placement is armed, so a shape that cannot be drawn
    // leaves nothing pending and the dialog open.
    Button4Click();
    workCanvas->setCursor(Qt::PointingHandCursor);
    settings().PendingPlacement = 1;
    accept();
}

void ShapeDialog::Button2Click() {
    ApplySettings();
}

void ShapeDialog::Button3Click() {
    ResetSettings();
    reject();
}

bool ShapeDialog::pending() const {
    return settings().PendingPlacement != 0;
}

void ShapeDialog::disarm() {
    settings().PendingPlacement = 0;
}

Element ShapeDialog::element() const {
    if (previewed)
        return *previewed;
    Element blank = describeSettings();
    blank.blank = true;
    return blank;
}

// The layout shared by the circle and fan dialogs.
#include "ShapeDialog.h"

#include "Named.h"
#include "ColorButton.h"
#include "ImageControl.h"
#include "SpinEdit.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>


ShapeDialogControls buildShapeDialogControls(QDialog* dialog, const QString& widthCaption) {
    ShapeDialogControls c;
    c.GroupBox1 = named(new QGroupBox(QStringLiteral("设置"), dialog), "GroupBox1");
    c.Label1 = named(new QLabel(widthCaption, c.GroupBox1), "Label1");
    c.Label2 = named(new QLabel(QStringLiteral("半径："), c.GroupBox1), "Label2");
    c.Label3 = named(new QLabel(QStringLiteral("线条颜色："), c.GroupBox1), "Label3");
    c.Label4 = named(new QLabel(QStringLiteral("填充颜色："), c.GroupBox1), "Label4");
    c.SpinEdit1 = named(new SpinEdit(c.GroupBox1), "SpinEdit1");
    c.SpinEdit2 = named(new SpinEdit(c.GroupBox1), "SpinEdit2");
    c.SpeedButton1 = named(new ColorButton(clBlack, c.GroupBox1), "SpeedButton1");
    c.SpeedButton2 = named(new ColorButton(clWhite, c.GroupBox1), "SpeedButton2");
    auto* grid = new QGridLayout(c.GroupBox1);
    grid->addWidget(c.Label1, 0, 0);
    grid->addWidget(c.SpinEdit1, 0, 1);
    grid->addWidget(c.Label2, 1, 0);
    grid->addWidget(c.SpinEdit2, 1, 1);
    grid->addWidget(c.Label3, 2, 0);
    grid->addWidget(c.SpeedButton1, 2, 1, Qt::AlignLeft);
    grid->addWidget(c.Label4, 3, 0);
    grid->addWidget(c.SpeedButton2, 3, 1, Qt::AlignLeft);

    // The preview box is smaller than most pictures on purpose: it scrolls over them.
    c.Panel1 = named(new QFrame(dialog), "Panel1");
    c.Panel1->setFrameShape(QFrame::StyledPanel);
    c.Panel1->setFixedSize(190, 190);
    c.ScrollBox1 = named(new QScrollArea(c.Panel1), "ScrollBox1");
    c.ScrollBox1->setWidgetResizable(false);
    c.ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.Image1 = named(new ImageControl(nullptr, QSize(100, 100)), "Image1");
    c.ScrollBox1->setWidget(c.Image1);
    auto* panelLayout = new QVBoxLayout(c.Panel1);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(c.ScrollBox1);
    c.Image2 = named(new ImageControl(dialog, QSize(32, 32)), "Image2");

    c.Button4 = named(new QPushButton(QStringLiteral("预览"), dialog), "Button4");
    c.Button6 = named(new QPushButton(QStringLiteral("清空"), dialog), "Button6");
    c.Button1 = named(new QPushButton(QStringLiteral("确定"), dialog), "Button1");
    c.Button2 = named(new QPushButton(QStringLiteral("应用"), dialog), "Button2");
    c.Button3 = named(new QPushButton(QStringLiteral("取消"), dialog), "Button3");
    for (QPushButton* button : {c.Button1, c.Button2, c.Button3, c.Button4, c.Button6})
        button->setAutoDefault(false);

    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(c.Button4);
    previewRow->addWidget(c.Button6);
    previewRow->addStretch(1);
    auto* commandRow = new QHBoxLayout;
    commandRow->addStretch(1);
    commandRow->addWidget(c.Button1);
    commandRow->addWidget(c.Button2);
    commandRow->addWidget(c.Button3);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(c.GroupBox1);
    layout->addWidget(c.Panel1, 0, Qt::AlignLeft);
    layout->addLayout(previewRow);
    layout->addStretch(1);
    layout->addLayout(commandRow);
    return c;
}

void setPreviewSize(ImageControl* image, qint64 width, qint64 height) {
    image->setControlSize(int(std::clamp<qint64>(width, 0, QWIDGETSIZE_MAX)),
                          int(std::clamp<qint64>(height, 0, QWIDGETSIZE_MAX)));
}

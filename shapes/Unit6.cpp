// The circle dialog. Its preview picture is exactly what the main window stamps.
#include "Unit6.h"

#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "ShapeDialog.h"
#include "SpinEdit.h"

#include <QPushButton>

TForm6::TForm6(QWidget* workCanvas, QWidget* parent) : QDialog(parent), workCanvas(workCanvas) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("圆形"));
    setWindowFlag(Qt::Tool);
    setSizeGripEnabled(true);
    resize(374, 544);

    const ShapeDialogControls c = buildShapeDialogControls(this, QStringLiteral("线粗："));
    GroupBox1 = c.GroupBox1;
    Label1 = c.Label1;
    Label2 = c.Label2;
    Label3 = c.Label3;
    Label4 = c.Label4;
    SpinEdit1 = c.SpinEdit1;
    SpinEdit2 = c.SpinEdit2;
    SpeedButton1 = c.SpeedButton1;
    SpeedButton2 = c.SpeedButton2;
    Panel1 = c.Panel1;
    ScrollBox1 = c.ScrollBox1;
    Image1 = c.Image1;
    Image2 = c.Image2;
    Button1 = c.Button1;
    Button2 = c.Button2;
    Button3 = c.Button3;
    Button4 = c.Button4;
    Button6 = c.Button6;

    // Both boxes are unbounded; text that is not a whole number reads as 0.
    SpinEdit1->setValue(2);
    SpinEdit1->setIncrement(1);
    SpinEdit2->setValue(50);
    SpinEdit2->setIncrement(5);

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

    FormCreate();
}

void TForm6::FormCreate() {
    Image1->setTransparent(true);
    ResetSettings();
    Image2->hide();
}

void TForm6::ResetSettings() {
    CircleSettings = CircleSettingsRecord{};
    CircleSettings.LineColor = CircleSettings.PickedLineColor;
    CircleSettings.FillColor = CircleSettings.PickedFillColor;
    const qint64 side = circlePictureSide(CircleSettings.Radius);
    setPreviewSize(Image1, side, side);
    CircleSettings.PendingPlacement = 0;
    // The buttons show the colours that will be drawn.
    SpeedButton1->setColor(CircleSettings.PickedLineColor);
    SpeedButton2->setColor(CircleSettings.PickedFillColor);
}

void TForm6::ApplySettings() {
    CircleSettings.LineWidth = SpinEdit1->value();
    CircleSettings.Radius = SpinEdit2->value();
    CircleSettings.LineColor = CircleSettings.PickedLineColor;
    CircleSettings.FillColor = CircleSettings.PickedFillColor;
    const qint64 side = circlePictureSide(CircleSettings.Radius);
    setPreviewSize(Image1, side, side);
}

void TForm6::SpeedButton1Click() {
    if (SpeedButton1->choose())
        CircleSettings.PickedLineColor = SpeedButton1->color();
}

void TForm6::SpeedButton2Click() {
    if (SpeedButton2->choose())
        CircleSettings.PickedFillColor = SpeedButton2->color();
}

void TForm6::Button4Click() {
    ApplySettings();
    DrawingSurface picture;
    try {
        // The new picture is made before the old one is removed, so a circle too large to
        // allocate leaves the previous picture (and its size) in place.
        picture = renderCirclePicture(CircleSettings);
    } catch (...) {
        const DrawingSurface& kept = Image1->picture();
        setPreviewSize(Image1, kept.width(), kept.height());
        throw;
    }
    if (picture.isEmpty()) {
        // A radius of 0 or less: there is no circle, so the preview is empty.
        Image1->clearPicture();
        return;
    }
    picture.transparent = Image1->transparent();
    Image1->setPicture(std::move(picture));
}

void TForm6::Button6Click() {
    Image1->clearPicture();
}

void TForm6::Button1Click() {
    ApplySettings();
    // The picture is drawn before the placement is armed, so a circle that cannot be drawn
    // leaves nothing pending and the dialog open.
    Button4Click();
    workCanvas->setCursor(Qt::PointingHandCursor);
    CircleSettings.PendingPlacement = 1;
    accept();
}

void TForm6::Button2Click() {
    ApplySettings();
}

void TForm6::Button3Click() {
    ResetSettings();
    reject();
}

// The fan dialog. Its preview picture is exactly what the main window stamps.
#include "Unit7.h"

#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "ShapeDialog.h"
#include "SpinEdit.h"

#include <QPushButton>

TForm7::TForm7(QWidget* workCanvas, const TSetStruct* canvasSettings, QWidget* parent)
    : QDialog(parent), workCanvas(workCanvas), canvasSettings(canvasSettings) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("扇面"));
    setWindowFlag(Qt::Tool);
    setSizeGripEnabled(true);
    resize(378, 502);

    const ShapeDialogControls c = buildShapeDialogControls(this, QStringLiteral("线条粗："));
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

    // Bounded boxes: text that is not a whole number reads as the lower limit, and a value
    // out of range is brought back into it when the box loses focus.
    SpinEdit1->setRange(1, 10);
    SpinEdit1->setIncrement(1);
    SpinEdit1->setValue(1);
    SpinEdit2->setRange(10, 1000);
    SpinEdit2->setIncrement(5);
    SpinEdit2->setValue(100);

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

void TForm7::FormCreate() {
    Image1->setTransparent(true);
    ResetSettings();
    Image2->hide();
}

void TForm7::ResetSettings() {
    FanSettings = FanSettingsRecord{};
    FanSettings.LineColor = FanSettings.PickedLineColor;
    FanSettings.FillColor = FanSettings.PickedFillColor;
    setPreviewSize(Image1, 4 * qint64(FanSettings.Radius), 2 * qint64(FanSettings.Radius));
    FanSettings.PendingPlacement = 0;
    // The buttons show the colours that will be drawn.
    SpeedButton1->setColor(FanSettings.PickedLineColor);
    SpeedButton2->setColor(FanSettings.PickedFillColor);
}

void TForm7::ApplySettings() {
    FanSettings.LineWidth = SpinEdit1->value();
    FanSettings.Radius = SpinEdit2->value();
    FanSettings.LineColor = FanSettings.PickedLineColor;
    FanSettings.FillColor = FanSettings.PickedFillColor;
    setPreviewSize(Image1, 4 * qint64(FanSettings.Radius), 2 * qint64(FanSettings.Radius));
}

void TForm7::SpeedButton1Click() {
    if (SpeedButton1->choose())
        FanSettings.PickedLineColor = SpeedButton1->color();
}

void TForm7::SpeedButton2Click() {
    if (SpeedButton2->choose())
        FanSettings.PickedFillColor = SpeedButton2->color();
}

void TForm7::Button4Click() {
    ApplySettings();
    const bool canvasUsesColor = canvasSettings && canvasSettings->UseColor;
    DrawingSurface picture;
    try {
        // The new picture is made before the old one is removed, so a picture that cannot be
        // allocated leaves the previous one (and its size) in place.
        picture = renderFanPicture(FanSettings, canvasUsesColor);
    } catch (...) {
        const DrawingSurface& kept = Image1->picture();
        setPreviewSize(Image1, kept.width(), kept.height());
        throw;
    }
    if (picture.isEmpty()) {
        Image1->clearPicture();
        return;
    }
    picture.transparent = Image1->transparent();
    Image1->setPicture(std::move(picture));
}

void TForm7::Button6Click() {
    Image1->clearPicture();
}

void TForm7::Button1Click() {
    // The picture is drawn before the placement is armed, so a fan that cannot be drawn
    // leaves nothing pending and the dialog open.
    Button4Click();
    workCanvas->setCursor(Qt::PointingHandCursor);
    FanSettings.PendingPlacement = 1;
    accept();
}

void TForm7::Button2Click() {
    ApplySettings();
}

void TForm7::Button3Click() {
    ResetSettings();
    reject();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan dialog. Its preview picture is exactly what the main window stamps.
#include "Unit7.h"
#include "Limits.h"

#include "FanRingGeometry.h"
#include "Named.h"
#include "SpinEdit.h"
#include "TarvelError.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

TForm7::TForm7(QWidget* workCanvas, const TSetStruct* canvasSettings, QWidget* parent)
    : ShapeDialog(workCanvas, tr("线条粗："), parent), canvasSettings(canvasSettings) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(tr("扇面"));
    resize(378, 502);
    // Bounded boxes: text that is not a whole number reads as the lower limit, and a value
    // out of range is brought back into it when the box loses focus.
    SpinEdit1->setRange(1, limits::fanLineMax);
    SpinEdit1->setIncrement(1);
    SpinEdit1->setValue(1);
    SpinEdit2->setRange(limits::fanRadiusMin, limits::fanRadiusMax);
    SpinEdit2->setIncrement(5);
    SpinEdit2->setValue(100);

    // The ring's own settings. Their ranges reach past what a ring allows, so that a span of
    // 0 or over 180 degrees, or an inner radius beyond the outer one, is refused with words
    // rather than silently changed.
    RadioButton1 = named(new QRadioButton(tr("扇形"), GroupBox1), "RadioButton1");
    RadioButton2 = named(new QRadioButton(tr("折扇"), GroupBox1), "RadioButton2");
    RadioButton1->setChecked(true);
    Label5 = named(new QLabel(tr("内半径："), GroupBox1), "Label5");
    Label6 = named(new QLabel(tr("角度："), GroupBox1), "Label6");
    SpinEdit3 = named(new SpinEdit(GroupBox1), "SpinEdit3");
    SpinEdit3->setRange(0, limits::fanRadiusMax);
    SpinEdit3->setIncrement(5);
    SpinEdit3->setValue(45);
    SpinEdit4 = named(new SpinEdit(GroupBox1), "SpinEdit4");
    SpinEdit4->setRange(0, limits::fanSpanMax);
    SpinEdit4->setIncrement(5);
    SpinEdit4->setValue(140);
    auto* grid = static_cast<QGridLayout*>(GroupBox1->layout());
    const int row = grid->rowCount();
    grid->addWidget(RadioButton1, row, 0);
    grid->addWidget(RadioButton2, row, 1);
    grid->addWidget(Label5, row + 1, 0);
    grid->addWidget(SpinEdit3, row + 1, 1);
    grid->addWidget(Label6, row + 2, 0);
    grid->addWidget(SpinEdit4, row + 2, 1);
    FormCreate();
}

void TForm7::applyOwnControls() {
    FanSettings.Shape = RadioButton2->isChecked() ? fsRing : fsLeaf;
    FanSettings.InnerRadius = SpinEdit3->value();
    FanSettings.Span = SpinEdit4->value();
}

std::pair<qint64, qint64> TForm7::previewSize() const {
    if (FanSettings.Shape == fsRing) {
        try {
            const FanRingGeometry ring =
                computeFanRingGeometry(FanSettings.Radius, FanSettings.InnerRadius,
                                       FanSettings.Span, FanSettings.LineWidth);
            return {ring.size.width(), ring.size.height()};
        } catch (const TarvelError&) {
            // Settings that make no ring: the preview says so when it draws.
        }
    }
    return {4 * qint64(FanSettings.Radius), 2 * qint64(FanSettings.Radius)};
}

// The key background of the leaf follows the canvas: magenta on a colour canvas, else white.
// The ring needs no key: its picture carries its own transparency.
Element TForm7::describeSettings() const {
    Element element;
    element.kind = ekFan;
    element.fan = FanSettings;
    element.fanOnColor = canvasSettings && canvasSettings->UseColor;
    return element;
}

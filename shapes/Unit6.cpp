// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle dialog. Its preview picture is exactly what the main window stamps.
#include "Unit6.h"

#include "SpinEdit.h"

TForm6::TForm6(QWidget* workCanvas, QWidget* parent)
    : ShapeDialog(workCanvas, tr("线粗："), parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("圆形"));
    resize(374, 544);
    // Both boxes are unbounded; text that is not a whole number reads as 0.
    SpinEdit1->setValue(2);
    SpinEdit1->setIncrement(1);
    SpinEdit2->setValue(50);
    SpinEdit2->setIncrement(5);
    FormCreate();
}

std::pair<qint64, qint64> TForm6::previewSize() const {
    const qint64 side = circlePictureSide(CircleSettings.Radius);
    return {side, side};
}

Element TForm6::describeSettings() const {
    Element element;
    element.kind = ekCircle;
    element.circle = CircleSettings;
    return element;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle dialog: chooses the outline width, radius and colours of a circle, previews the
// circle picture and keeps it; on OK the main window stamps it at the next canvas press.
#pragma once

#include "CircleGeometry.h"
#include "ShapeDialog.h"

class TForm6 final : public ShapeDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* workCanvas, QWidget* parent = nullptr);

    CircleSettingsRecord CircleSettings;

protected:
    ShapeSettingsRecord& settings() override { return CircleSettings; }
    void resetRecord() override { CircleSettings = CircleSettingsRecord{}; }
    std::pair<qint64, qint64> previewSize() const override;
    Element describeSettings() const override;
};

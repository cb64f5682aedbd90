// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan dialog: chooses the shape (the leaf outline or the folding-fan ring), the outline
// width, radius and colours, previews the fan picture and keeps it; on OK the main window
// stamps it at the next canvas press.
#pragma once

#include "CanvasSettings.h"
#include "FanGeometry.h"
#include "FanRing.h"
#include "ShapeDialog.h"

#include <optional>

class QRadioButton;

class TForm7 final : public ShapeDialog {
    Q_OBJECT
public:
    // canvasSettings is the confirmed canvas choice (no colour background when null).
    TForm7(QWidget* workCanvas, const TSetStruct* canvasSettings, QWidget* parent = nullptr);

    FanSettingsRecord FanSettings;

    QRadioButton* RadioButton1 = nullptr; // 扇形, the leaf
    QRadioButton* RadioButton2 = nullptr; // 折扇, the ring
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    SpinEdit* SpinEdit3 = nullptr; // the ring's inner radius
    SpinEdit* SpinEdit4 = nullptr; // the ring's angle span

protected:
    ShapeSettingsRecord& settings() override { return FanSettings; }
    void resetRecord() override { FanSettings = FanSettingsRecord{}; }
    std::pair<qint64, qint64> previewSize() const override;
    Element describeSettings() const override;
    void applyOwnControls() override;

private:
    const TSetStruct* canvasSettings;
};

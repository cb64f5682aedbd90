// The fan dialog: chooses the outline width, radius and colours of a fan leaf, previews the
// fan picture and keeps it; on OK the main window stamps it at the next canvas press.
#pragma once

#include "CanvasSettings.h"
#include "FanGeometry.h"
#include "ShapeDialog.h"

class TForm7 final : public ShapeDialog {
    Q_OBJECT
public:
    // canvasSettings is the confirmed canvas choice (no colour background when null).
    TForm7(QWidget* workCanvas, const TSetStruct* canvasSettings, QWidget* parent = nullptr);

    FanSettingsRecord FanSettings;

protected:
    ShapeSettingsRecord& settings() override { return FanSettings; }
    void resetRecord() override { FanSettings = FanSettingsRecord{}; }
    std::pair<qint64, qint64> previewSize() const override;
    DrawingSurface renderPicture() const override;

private:
    const TSetStruct* canvasSettings;
};

// The fan dialog. Its preview picture is exactly what the main window stamps.
#include "Unit7.h"

#include "SpinEdit.h"

TForm7::TForm7(QWidget* workCanvas, const TSetStruct* canvasSettings, QWidget* parent)
    : ShapeDialog(workCanvas, QStringLiteral("线条粗："), parent), canvasSettings(canvasSettings) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("扇面"));
    resize(378, 502);
    // Bounded boxes: text that is not a whole number reads as the lower limit, and a value
    // out of range is brought back into it when the box loses focus.
    SpinEdit1->setRange(1, 10);
    SpinEdit1->setIncrement(1);
    SpinEdit1->setValue(1);
    SpinEdit2->setRange(10, 1000);
    SpinEdit2->setIncrement(5);
    SpinEdit2->setValue(100);
    FormCreate();
}

std::pair<qint64, qint64> TForm7::previewSize() const {
    return {4 * qint64(FanSettings.Radius), 2 * qint64(FanSettings.Radius)};
}

// The key background follows the canvas: magenta on a colour canvas, else white.
DrawingSurface TForm7::renderPicture() const {
    return renderFanPicture(FanSettings, canvasSettings && canvasSettings->UseColor);
}

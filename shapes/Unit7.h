// The fan dialog: chooses the outline width, radius and colours of a fan leaf, previews the
// fan picture and keeps it; on OK the main window stamps it at the next canvas press.
#pragma once

#include "CanvasSettings.h"
#include "FanGeometry.h"

#include <QDialog>

class ColorButton;
class ImageControl;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class SpinEdit;

class TForm7 final : public QDialog {
    Q_OBJECT
public:
    // workCanvas is the main window's canvas, which gets the hand-point cursor on OK;
    // canvasSettings is the confirmed canvas choice (no colour background when null).
    TForm7(QWidget* workCanvas, const TSetStruct* canvasSettings, QWidget* parent = nullptr);

    FanSettingsRecord FanSettings;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;       // outline width, 1 to 10
    SpinEdit* SpinEdit2 = nullptr;       // radius, 10 to 1000
    ColorButton* SpeedButton1 = nullptr; // line colour, runs ColorDialog1
    ColorButton* SpeedButton2 = nullptr; // fill colour, runs ColorDialog2
    QFrame* Panel1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr; // the preview, whose picture is the fan that is stamped
    ImageControl* Image2 = nullptr; // hidden, unused
    QPushButton* Button1 = nullptr; // 确定
    QPushButton* Button2 = nullptr; // 应用
    QPushButton* Button3 = nullptr; // 取消
    QPushButton* Button4 = nullptr; // 预览
    QPushButton* Button6 = nullptr; // 清空

    void FormCreate();
    void ResetSettings();
    void ApplySettings();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button4Click(); // preview
    void Button6Click(); // clear the preview
    void Button1Click(); // OK
    void Button2Click(); // apply
    void Button3Click(); // cancel

private:
    QWidget* workCanvas;
    const TSetStruct* canvasSettings;
};

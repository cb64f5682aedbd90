// The circle dialog: chooses the outline width, radius and colours of a circle, previews the
// circle picture and keeps it; on OK the main window stamps it at the next canvas press.
#pragma once

#include "CircleGeometry.h"

#include <QDialog>

class ColorButton;
class ImageControl;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class SpinEdit;

class TForm6 final : public QDialog {
    Q_OBJECT
public:
    // workCanvas is the main window's canvas, which gets the hand-point cursor on OK.
    explicit TForm6(QWidget* workCanvas, QWidget* parent = nullptr);

    CircleSettingsRecord CircleSettings;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;       // outline width
    SpinEdit* SpinEdit2 = nullptr;       // radius
    ColorButton* SpeedButton1 = nullptr; // line colour, runs ColorDialog1
    ColorButton* SpeedButton2 = nullptr; // fill colour, runs ColorDialog2
    QFrame* Panel1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr; // the preview, whose picture is the circle that is stamped
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
};

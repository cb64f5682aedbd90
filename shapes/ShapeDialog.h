// The controls the circle and fan dialogs share: a settings group with two spin boxes and two
// colour buttons, a scrolling preview image and the five command buttons.
#pragma once

#include <QString>

class ColorButton;
class ImageControl;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class SpinEdit;

struct ShapeDialogControls {
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;
    SpinEdit* SpinEdit2 = nullptr;
    ColorButton* SpeedButton1 = nullptr;
    ColorButton* SpeedButton2 = nullptr;
    QFrame* Panel1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr;
    ImageControl* Image2 = nullptr;
    QPushButton* Button1 = nullptr; // 确定
    QPushButton* Button2 = nullptr; // 应用
    QPushButton* Button3 = nullptr; // 取消
    QPushButton* Button4 = nullptr; // 预览
    QPushButton* Button6 = nullptr; // 清空
};

// Builds the controls inside the dialog, each named as its member. The spin boxes start
// unbounded at 0 and the colour buttons black: the dialog sets them up.
ShapeDialogControls buildShapeDialogControls(QDialog* dialog, const QString& widthCaption);

// Sets the preview image's control size, kept within what a widget can be.
void setPreviewSize(ImageControl* image, qint64 width, qint64 height);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rotated-text dialog "旋转字制作设置": designs a line of turned characters for rotated
// lettering or the inscription, previews it, and arms it to be stamped at the next click.
#pragma once

#include "ChineseConversion.h"
#include "PlacedElement.h"
#include "RotatedText.h"

#include <QDialog>
#include <QStringList>

class ColorButton;
class QCheckBox;
class ImageControl;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SpinEdit;

class TForm3 final : public QDialog, public PlacedElement {
    Q_OBJECT
public:
    // workCanvas gets the hand-point cursor on confirm; sizes and faces are the main window's
    // lists, copied once here.
    TForm3(QWidget* workCanvas, const QStringList& sizes, const QStringList& faces,
           QWidget* parent = nullptr);

    // The confirmed values, read by every draw of the line.
    TSetSector RotatedTextSettings;
    // Set by "确认", cleared by the main window's stamp and by the dialog's creation.
    bool PendingPlacement = false;
    bool pending() const override { return PendingPlacement; }
    void disarm() override { PendingPlacement = false; }
    Element element() const override;
    // The placement the radio buttons chose; taken at the next apply.
    TextPlacement PlacementChoice = tpVertical;

    // Takes Text, Angle, CharSpacing, Size, FaceName, Placement and Color from the controls,
    // in this order. A size text that is not a whole number stops it at Size with a
    // TarvelError; the fields before it are taken then, the rest keep their values.
    void ApplyRotatedTextSettings();
    // The reset values; the controls keep what the user set.
    void ResetRotatedTextSettings();

    void Button1Click(); // 预览
    void Button2Click(); // 清空
    void Button3Click(); // 确认
    void Button4Click(); // 应用
    void Button5Click(); // 取消
    void RadioButtonClick();
    void ColorButton1Click();
    // "转为繁体" / "转为简体": converts the text of the edit box as one step of its undo.
    void ConvertClick(ChineseConversion direction);

    QGroupBox* GroupBox1 = nullptr; // 字体设置
    QLabel* Label1 = nullptr;       // 输入字：
    QLabel* Label2 = nullptr;       // 旋转角：
    QLabel* Label3 = nullptr;       // 字间距：
    QLabel* Label4 = nullptr;       // 字  号：
    QLabel* Label5 = nullptr;       // 字  体：
    QLabel* Label6 = nullptr;       // 颜  色：
    QLineEdit* Edit1 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;  // angle
    SpinEdit* SpinEdit2 = nullptr;  // character spacing
    QComboBox* ComboBox1 = nullptr; // size in pixels
    QComboBox* ComboBox2 = nullptr; // face
    ColorButton* ColorButton1 = nullptr;
    QCheckBox* MatchFallbackCheckBox = nullptr; // 补字同粗细
    QGroupBox* GroupBox2 = nullptr;             // 放置方式
    QRadioButton* RadioButton1 = nullptr;       // 横向放置
    QRadioButton* RadioButton2 = nullptr;       // 纵向放置
    ImageControl* Image1 = nullptr;             // the 148 x 148 preview
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;

private:
    void buildControls(const QStringList& sizes, const QStringList& faces);
    QWidget* workCanvas = nullptr;
};

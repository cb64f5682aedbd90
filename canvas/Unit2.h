// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The canvas settings dialog: chooses the size of a new canvas and its background, a plain
// colour or a picture file laid tiled, stretched or centred, and keeps the confirmed choice.
#pragma once

#include "CanvasSettings.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SpinEdit;

class TForm2 final : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // The filter of the picture file dialog, pairs of description and pattern.
    static QString PictureFilter();

    TSetStruct CanvasSettings;
    // The dialog was closed with "取消" (or Esc): the main window keeps its canvas.
    bool Cancelled = false;

    // Working values: they reach CanvasSettings only by confirm or apply, and the cancel
    // button leaves them alone, so the dialog reopens as it was left.
    TColor ChosenColor = clWhite; // the colour dialog's colour, the last one chosen there
    QString ChosenPicture;
    PictureLayout ChosenLayout = plTile;
    bool PictureChosen = false;
    bool ColorChosen = false;

    QGroupBox* GroupBox1 = nullptr; // 图片大小
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;        // width
    SpinEdit* SpinEdit2 = nullptr;        // height
    QLabel* Label5 = nullptr;             // 分辨率：
    SpinEdit* SpinEdit3 = nullptr;        // resolution, dots per inch
    QLabel* Label3 = nullptr;             // the width in centimetres
    QLabel* Label4 = nullptr;             // the height in centimetres
    QLabel* Label6 = nullptr;             // 点/英寸
    QGroupBox* GroupBox2 = nullptr;       // 背景设置
    QRadioButton* RadioButton5 = nullptr; // 背景颜色
    QPushButton* Button1 = nullptr;       // 调色板
    QRadioButton* RadioButton6 = nullptr; // 背景图片
    QPushButton* Button2 = nullptr;       // 打开
    QGroupBox* GroupBox4 = nullptr;       // 图片排列
    QRadioButton* RadioButton7 = nullptr; // 平铺
    QRadioButton* RadioButton8 = nullptr; // 拉伸
    QRadioButton* RadioButton9 = nullptr; // 居中
    QPushButton* Button3 = nullptr;       // 确定
    QPushButton* Button5 = nullptr;       // 应用
    QPushButton* Button4 = nullptr;       // 取消

    void FormCreate();
    void RadioButton5Click();
    void Button1Click(); // colour dialog
    void Button2Click(); // picture file dialog
    void RadioButton7Click();
    void Button3Click(); // confirm
    void Button5Click(); // apply
    void Button4Click(); // cancel
    // The size in centimetres at the resolution the boxes show.
    void ShowPrintSize();

    // Copies the working values into CanvasSettings.
    void Commit();
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal dialog "印章设置": designs a seal impression, previews it turned, and keeps the
// turned picture (RotateImage1's RotatedGraphic) that the main window stamps.
#pragma once

#include "Arrangement.h"
#include "Colors.h"
#include "PlacedElement.h"
#include "SealRenderer.h"

#include <QByteArray>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QStringList>

class ImageControl;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class RichEdit;
class SpinEdit;
class TRotateImage;

class TForm4 final : public QDialog, public PlacedElement {
    Q_OBJECT
public:
    // FormCreate. workCanvas gets the hand-point cursor on OK; fontFaces are the main
    // window's face names, copied into ComboBox1.
    TForm4(QWidget* workCanvas, const QStringList& fontFaces, QWidget* parent = nullptr);
    ~TForm4() override;

    // The dialog's state, kept for the whole run.
    TSetStamper SealSettings;
    ::SealStyle StyleChoice = stRelief;
    ::CornerShape CornerChoice = cnSquare;
    ::Arrangement ArrangementChoice = arHorzLeftToRight;
    qint32 PendingPlacement = 0; // 1 while the seal waits for a click on the canvas
    TColor TextColor = clBlack;  // colour of the characters, set by each preview
    // The characters of the last rendered seal that its face lacks: what a stamp of it draws
    // in a fallback face.
    QList<FaceGap> RenderedGaps;

    bool pending() const override { return PendingPlacement == 1; }
    void disarm() override { PendingPlacement = 0; }
    // The record and lines the turned seal was last drawn from; blank before the first
    // preview and after 清空.
    Element element() const override;
    // The turned seal and its smooth picture, as the preview shows them.
    const DrawingSurface& stampedPicture() const;
    const QImage& stampedSmoothPicture() const { return smoothGraphic; }

    void ResetSettings();
    void ReadSettings();

    void RadioButton1Click(); // "阴文" / "阳文"
    void RadioButton7Click(); // "直角" / "圆角"
    void RadioButton3Click(); // the four arrangements
    void Button4Click();      // "预览"
    void Button2Click();      // "应用"
    void Button1Click();      // "确定"
    void Button3Click();      // "取消"
    void Button6Click();      // "清空"

    // The seal's text, one string of its real characters per line.
    QStringList sealLines() const;

    SpinEdit* SpinEdit1 = nullptr; // width
    SpinEdit* SpinEdit2 = nullptr; // height
    SpinEdit* SpinEdit3 = nullptr; // stroke weight
    SpinEdit* SpinEdit4 = nullptr; // character spacing
    SpinEdit* SpinEdit5 = nullptr; // edge width
    SpinEdit* SpinEdit6 = nullptr; // angle
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr; // the paste: 大红, 朱砂, 朱磦
    SpinEdit* SpinEdit7 = nullptr;  // frame width
    SpinEdit* SpinEdit8 = nullptr;  // wear
    SpinEdit* SpinEdit9 = nullptr;  // seed of the wear
    QCheckBox* CheckBox1 = nullptr; // smooth edges
    QComboBox* ComboBox3 = nullptr; // how wear takes the paste: "斑点", "压印"
    QCheckBox* CheckBox2 = nullptr; // 透底: the paper shows through
    QCheckBox* CheckBox3 = nullptr; // glyphs keep their proportions
    QCheckBox* CheckBox4 = nullptr; // fallback characters as heavy as the face's
    // Shown when the seal's shape keeps the glyphs from filling their cells.
    QLabel* Label1 = nullptr;
    RichEdit* RichEdit1 = nullptr;
    QRadioButton* RadioButton1 = nullptr; // 阴文
    QRadioButton* RadioButton2 = nullptr; // 阳文
    QRadioButton* RadioButton3 = nullptr; // 从左向右横排
    QRadioButton* RadioButton4 = nullptr; // 从右向左横排
    QRadioButton* RadioButton5 = nullptr; // 从左向右竖排
    QRadioButton* RadioButton6 = nullptr; // 从右向左竖排
    QRadioButton* RadioButton7 = nullptr; // 直角
    QRadioButton* RadioButton8 = nullptr; // 圆角
    QPushButton* Button1 = nullptr;       // 确定
    QPushButton* Button2 = nullptr;       // 应用
    QPushButton* Button3 = nullptr;       // 取消
    QPushButton* Button4 = nullptr;       // 预览
    QPushButton* Button6 = nullptr;       // 清空
    QGroupBox* GroupBox1 = nullptr;       // 内容
    QGroupBox* GroupBox2 = nullptr;       // 印章形状
    QGroupBox* GroupBox3 = nullptr;       // 显示方式
    QGroupBox* GroupBox4 = nullptr;       // 排列方式
    QGroupBox* GroupBox5 = nullptr;       // 印面
    QFrame* Panel1 = nullptr;             // the preview panel
    QScrollArea* ScrollBox1 = nullptr;
    TRotateImage* RotateImage1 = nullptr;
    ImageControl* Image1 = nullptr; // the unturned seal bitmap, never shown

private:
    void buildControls(const QStringList& fontFaces);
    void connectHandlers();
    // The preview's steps after reading the settings.
    void renderSealBitmap(const QStringList& lines);
    void sizeRotateImage();
    void turnSeal();
    // With SmoothEdges the turned seal again, with an alpha channel: what is stamped.
    void turnSmoothSeal(const QStringList& lines);
    QImage smoothGraphic;
    // What the preview was last drawn from.
    TSetStamper renderedSettings;
    QStringList renderedLines;

    QWidget* workCanvas = nullptr;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The circle and fan dialogs: a settings group with two spin boxes and two colour buttons, a
// scrolling preview whose picture is exactly what the main window stamps, and the five
// command buttons. The two differ only in their settings record and the picture they render.
#pragma once

#include "DrawingSurface.h"
#include "PlacedElement.h"
#include "ShapeSettings.h"
#include "Step.h"

#include <memory>

#include <QDialog>
#include <utility>

class ColorButton;
class ImageControl;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class SpinEdit;

class ShapeDialog : public QDialog, public PlacedElement {
    Q_OBJECT
public:
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
    ImageControl* Image1 = nullptr; // the preview, whose picture is the one that is stamped
    ImageControl* Image2 = nullptr; // hidden, unused
    QPushButton* Button1 = nullptr; // 确定
    QPushButton* Button2 = nullptr; // 应用
    QPushButton* Button3 = nullptr; // 取消
    QPushButton* Button4 = nullptr; // 预览
    QPushButton* Button6 = nullptr; // 清空

    void ResetSettings();
    void ApplySettings();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button4Click(); // preview
    void Button6Click(); // clear the preview
    void Button1Click(); // OK
    void Button2Click(); // apply
    void Button3Click(); // cancel

    bool pending() const override;
    void disarm() override;
    // The record the preview was last drawn from, with the preview's picture; blank before
    // the first preview and after 清空.
    Element element() const override;

protected:
    // workCanvas is the main window's canvas, which gets the hand-point cursor on OK. The
    // dialog that derives sets up the spin boxes and then calls FormCreate.
    ShapeDialog(QWidget* workCanvas, const QString& widthCaption, QWidget* parent);
    void FormCreate();

    virtual ShapeSettingsRecord& settings() = 0;
    const ShapeSettingsRecord& settings() const {
        return const_cast<ShapeDialog*>(this)->settings();
    }
    // The record back at its defaults.
    virtual void resetRecord() = 0;
    // The preview's width and height for the radius in the settings.
    virtual std::pair<qint64, qint64> previewSize() const = 0;
    // Reads the controls a dialog has beyond the shared ones; part of ApplySettings.
    virtual void applyOwnControls() {}
    // The element of the settings as they are now, without its picture.
    virtual Element describeSettings() const = 0;

private:
    void fitPreview();
    std::shared_ptr<const Element> previewed;
    QWidget* workCanvas;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The template dialog ("作品模板"): a format, its paper and resolution, the ground, the main
// text, the inscription, the seals and a face. Confirmed, it hands the window a WorkTemplate,
// which the window composes as ordinary steps.
#pragma once

#include "WorkTemplate.h"

#include <QDialog>

class ColorButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SpinEdit;

class TemplateDialog final : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(const QStringList& faces, QWidget* parent = nullptr);

    // The work as the controls describe it.
    WorkTemplate workTemplate() const;

    QComboBox* ComboBoxFormat = nullptr;
    QComboBox* ComboBoxPaper = nullptr; // the standard papers and "自定义"
    SpinEdit* SpinEditLong = nullptr;   // centimetres
    SpinEdit* SpinEditShort = nullptr;
    SpinEdit* SpinEditDpi = nullptr; // 0: the largest that fits
    ColorButton* ColorButtonGround = nullptr;
    ColorButton* ColorButtonInk = nullptr;
    QComboBox* ComboBoxFace = nullptr;
    QPlainTextEdit* TextMain = nullptr;
    QLineEdit* EditBanner = nullptr;
    QLineEdit* EditUpper = nullptr;
    QLineEdit* EditLower = nullptr;
    QLineEdit* EditNameSeal = nullptr;
    QLineEdit* EditLeadingSeal = nullptr;     // not on a fan
    SpinEdit* SpinEditSpan = nullptr;         // 扇面: the ring's angle in degrees
    QCheckBox* CheckBoxLongShort = nullptr;   // 扇面: long and short columns in turn
    QComboBox* ComboBoxPunctuation = nullptr; // as the text dialog's "标点"
    QCheckBox* CheckBoxChineseDigits = nullptr;
    QCheckBox* CheckBoxMounted = nullptr; // the layout calligraphers mount
    QLabel* LabelSize = nullptr;          // the canvas the paper gives, in pixels
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;

private:
    void formatChosen();
    void paperChosen();
    void showSize();
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The About box: the emblem, the program's name, licence and date, and a contact line that
// lights up under the pointer.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TForm5 final : public QDialog {
    Q_OBJECT
public:
    static QString contactText();
    static QString licenceText();
    static constexpr int LicenceWidth = 248; // the licence line wraps at this width

    explicit TForm5(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr; // the emblem
    QLabel* Label1 = nullptr; // "Tarvel V1.0"
    QLabel* Label2 = nullptr; // "2008.4"
    QLabel* Label3 = nullptr; // the contact line
    QLabel* Label4 = nullptr; // the licence, on two lines
    QPushButton* Button1 = nullptr;

    // The pointer moved over the contact line: it turns bold, underlined and blue, and stays.
    void Label3MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

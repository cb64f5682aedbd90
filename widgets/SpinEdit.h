// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The numeric box of every dialog: any text may be typed; text that is not a whole number
// reads as the minimum; a minimum and maximum both 0 mean no bounds; a bounded box brings
// its value into range when it loses focus.
#pragma once

#include <QAbstractSpinBox>

class SpinEdit final : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    int minValue() const { return minimum; }
    int maxValue() const { return maximum; }
    void setRange(int min, int max);
    void setIncrement(int step) { increment = step; }
    int incrementValue() const { return increment; }
    bool bounded() const { return !(minimum == 0 && maximum == 0); }
    // Types text as a user would (the value is read from the text when asked for).
    void setText(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    // Wide enough for the widest value of the range (five digits and a sign when unbounded),
    // so that a box placed by a layout never hides its digits.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int clampValue(qint64 value) const;
    int minimum = 0;
    int maximum = 0;
    int increment = 1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "SpinEdit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setText(QStringLiteral("0"));
}

int SpinEdit::clampValue(qint64 v) const {
    if (bounded())
        v = std::clamp<qint64>(v, minimum, maximum);
    return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

int SpinEdit::value() const {
    bool ok = false;
    const qint64 v = lineEdit()->text().trimmed().toLongLong(&ok);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return minimum;
    return clampValue(v);
}

void SpinEdit::setValue(int v) {
    setText(QString::number(clampValue(v)));
}

void SpinEdit::setRange(int min, int max) {
    minimum = min;
    maximum = max;
}

void SpinEdit::setText(const QString& text) {
    lineEdit()->setText(text);
}

void SpinEdit::stepBy(int steps) {
    setValue(
        int(std::clamp<qint64>(qint64(value()) + qint64(steps) * increment, INT_MIN, INT_MAX)));
}

QValidator::State SpinEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

// The base class measures the texts of its range, which a box without a typed value does not
// have; the texts of this box's own bounds stand in for them.
QSize SpinEdit::sizeHint() const {
    ensurePolished();
    const QStringList widest = bounded()
                                   ? QStringList{QString::number(minimum), QString::number(maximum)}
                                   : QStringList{QStringLiteral("-99999")};
    int width = 0;
    for (const QString& text : widest)
        width = std::max(width, fontMetrics().horizontalAdvance(text + QLatin1Char(' ')));
    width += 2; // room for the blinking cursor
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize text(width, lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

QSize SpinEdit::minimumSizeHint() const {
    return sizeHint();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    bool ok = false;
    const qint64 v = lineEdit()->text().trimmed().toLongLong(&ok);
    if (ok && bounded() && (v < minimum || v > maximum))
        setValue(clampValue(v));
    QAbstractSpinBox::focusOutEvent(event);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text dialog's 扇面 choice.
#include "FanTextOption.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLayout>
#include <QRadioButton>

namespace {

QRadioButton* fanButton(QGroupBox* arrangements) {
    return arrangements->findChild<QRadioButton*>(QStringLiteral("RadioButton5"));
}

QCheckBox* alternationBox(QGroupBox* arrangements) {
    return arrangements->findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
}

} // namespace

namespace FanTextOption {

void add(QGroupBox* arrangements) {
    auto* fan =
        new QRadioButton(QCoreApplication::translate("FanTextOption", "扇面"), arrangements);
    fan->setObjectName(QStringLiteral("RadioButton5"));
    auto* alternate =
        new QCheckBox(QCoreApplication::translate("FanTextOption", "长短行"), arrangements);
    alternate->setObjectName(QStringLiteral("CheckBox1"));
    fan->setEnabled(false);
    alternate->setEnabled(false);
    arrangements->layout()->addWidget(fan);
    arrangements->layout()->addWidget(alternate);
}

void offer(QGroupBox* arrangements, bool ringStamped, Arrangement chosen) {
    QRadioButton* fan = fanButton(arrangements);
    fan->setEnabled(ringStamped);
    alternationBox(arrangements)->setEnabled(ringStamped);
    if (!ringStamped && fan->isChecked()) {
        const QList<QRadioButton*> radios = arrangements->findChildren<QRadioButton*>();
        const QString name = QStringLiteral("RadioButton%1").arg(int(chosen) + 1);
        for (QRadioButton* radio : radios)
            if (radio->objectName() == name)
                radio->setChecked(true);
    }
}

void apply(QGroupBox* arrangements, TextSettings& settings) {
    settings.FanLayout = fanButton(arrangements)->isChecked();
    settings.FanColumnStyle = alternationBox(arrangements)->isChecked() ? fcLongShort : fcLong;
    settings.FanShiftX = 0;
    settings.FanShiftY = 0;
}

} // namespace FanTextOption

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The simplified ↔ traditional buttons of the dialogs.
#include "ConversionButtons.h"

#include "ErrorBoundary.h"

#include <QHBoxLayout>
#include <QPushButton>

QWidget* makeConversionButtons(QWidget* parent,
                               const std::function<void(ChineseConversion)>& convert) {
    auto* row = new QWidget(parent);
    row->setObjectName(QStringLiteral("ConversionButtons"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char* name, const QString& caption, ChineseConversion direction) {
        auto* button = new QPushButton(caption, row);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        QObject::connect(
            button, &QPushButton::clicked, row,
            ErrorBoundary::guard(parent, [convert, direction] { convert(direction); }));
        layout->addWidget(button);
    };
    add("TraditionalButton", QCoreApplication::translate("ConversionButtons", "转为繁体"),
        ChineseConversion::SimplifiedToTraditional);
    add("SimplifiedButton", QCoreApplication::translate("ConversionButtons", "转为简体"),
        ChineseConversion::TraditionalToSimplified);
    return row;
}

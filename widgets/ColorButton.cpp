// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "ColorButton.h"

#include "PlatformDialogs.h"

#include <QPainter>
#include <QPixmap>

ColorButton::ColorButton(TColor initial, QWidget* parent) : QToolButton(parent), current(initial) {
    setIconSize(QSize(16, 16));
    updateSwatch();
}

void ColorButton::setColor(TColor color) {
    current = color;
    updateSwatch();
}

bool ColorButton::choose() {
    const std::optional<TColor> picked = PlatformDialogs::chooseColor(window(), current);
    if (!picked)
        return false;
    setColor(*picked);
    emit colorChosen(current);
    return true;
}

void ColorButton::updateSwatch() {
    QPixmap swatch(16, 16);
    swatch.fill(toQColor(current));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 15);
    setIcon(QIcon(swatch));
}

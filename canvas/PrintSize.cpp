// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "PrintSize.h"

#include <QCoreApplication>
#include <cmath>

QString centimetresText(qint64 pixels, int dotsPerInch) {
    if (dotsPerInch < 1)
        return QString();
    return QCoreApplication::translate("Canvas", "%1 厘米")
        .arg(double(pixels) * 2.54 / dotsPerInch, 0, 'f', 2);
}

int dotsPerMetre(int dotsPerInch) {
    return int(std::lround(dotsPerInch / 0.0254));
}

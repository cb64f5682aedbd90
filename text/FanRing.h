// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A folding-fan ring as the text laid out inside it sees it: its centre, its two radii and the
// angle it spreads over, centred on the upward vertical.
#pragma once

#include <QPoint>
#include <QtGlobal>

struct FanRing {
    QPoint centre; // on the canvas once stamped; from the picture's top-left in a stamp
    qint32 outer = 0;
    qint32 inner = 0;
    qint32 span = 0; // whole degrees

    bool operator==(const FanRing&) const = default;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The folding-fan ring: the segment of a ring between an outer and an inner radius, spread
// over an angle centred on the upward vertical, outlined and filled. It is drawn smooth on a
// picture with an alpha channel, so it lands on the canvas without a key colour.
#pragma once

#include "DrawingSurface.h"
#include "FanGeometry.h"

#include <QPoint>
#include <QSize>
#include <QtGlobal>

// The picture's size and where the ring's centre lies from its top-left corner (below the
// picture when the span is under 180 degrees). The picture holds the ring and half the
// outline's width plus a pixel for the smooth edge on every side.
struct FanRingGeometry {
    QSize size;
    QPoint centre;
    int outer = 0;
    int inner = 0;
    int span = 0; // degrees
    int lineWidth = 0;
    int padding = 0; // from each side of the picture to the ring's extent
};

// The geometry of a ring; an inner radius at or beyond the outer one, a negative one, a span
// of 0 or under or over 180 degrees, and a picture too large to draw raise an error that says
// what does not fit.
FanRingGeometry computeFanRingGeometry(qint32 outer, qint32 inner, qint32 span, qint32 lineWidth);

// The ring of the settings, outlined in the line colour and filled with the fill colour,
// antialiased on a transparent picture.
DrawingSurface renderFanRingPicture(const FanSettingsRecord& settings);

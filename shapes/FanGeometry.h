// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fan picture: the outline of a folding fan leaf (a wide arc at the top, two sides running
// down and inwards, a small arc at the bottom centre) with the area between them filled.
#pragma once

#include "DrawingSurface.h"
#include "Limits.h"
#include "ShapeSettings.h"

#include <QPoint>
#include <QRect>
#include <QtGlobal>

// The two shapes of the fan dialog: the leaf outline, and the folding-fan ring, a segment of
// a ring whose outer radius is Radius.
enum FanShape : qint32 {
    fsLeaf = 0,
    fsRing = 1,
};

// The fan dialog's settings; the defaults are the values ResetSettings restores. The ring's
// inner radius and angle span are read only for the ring.
struct FanSettingsRecord : ShapeSettingsRecord {
    FanSettingsRecord() : ShapeSettingsRecord{2, 100, clGray, clWhite, clGray, clWhite, 0} {}
    FanShape Shape = fsLeaf;
    qint32 InnerRadius = 45;
    qint32 Span = 140; // whole degrees, the ring centred on the upward vertical
};

// The largest side of a fan picture the program will draw (4 x Radius wide): 8192 x 4096
// pixels, 128 MB. The fan is filled from its middle, so it is drawn whole before it is cut.
constexpr qint64 maxFanPictureSide = 8192;
// No more of a fan than its top-left 4000 x 4000 pixels can land on the largest canvas; the
// picture kept for stamping is cut to that.
constexpr int largestStampedFanSide = limits::canvasSide;

// The constants of the fan outline for one radius. A and B lie outside the picture, so the top
// arc leaves the picture through its left and right sides.
struct FanGeometry {
    int W = 0; // picture width, 4 x Radius
    int H = 0; // picture height, 2 x Radius
    int e = 0; // how far the top arc reaches beyond each side
    int A = 0; // left end of the top arc, -e
    int B = 0; // right end of the top arc, W + e
    int t = 0; // height at which both sides start
    int k = 0;
    int m = 0; // how far the bottom arc rises into the picture

    QPoint topArcStart() const;    // (B, H div 2)
    QPoint topArcEnd() const;      // (A, H div 2)
    QPoint rightSideStart() const; // (B, t)
    QPoint rightSideEnd() const;   // (8k, H)
    QPoint bottomArcStart() const; // (4R - 4k, H)
    QPoint bottomArcEnd() const;   // (4k, H)
    QPoint leftSideStart() const;  // (4k, H)
    QPoint leftSideEnd() const;    // (A, t)
    QPoint fillSeed() const;       // (B div 2, H div 2)
};

// Step 4: the constants, every division a floating-point one truncated toward zero. A radius
// of 0 or less gives an empty geometry; one too large to draw raises an error.
FanGeometry computeFanGeometry(qint32 radius);

// Steps 2 and 3: a W x H picture (empty for an empty geometry) with its background, painted
// once rather than white first and then again.
DrawingSurface createFanPicture(const FanGeometry& geometry, bool canvasUsesColor);
// Step 3: a magenta key background when the canvas background is a colour; else white.
void fillFanBackground(DrawingSurface& picture, bool canvasUsesColor);
// Step 5: pen width and colour, solid brush in the fill colour. The outline ink is normally
// the line colour; see outlineInkFor.
void setFanPenAndBrush(DrawingSurface& picture, const FanSettingsRecord& settings,
                       TColor outlineInk);
// Steps 6 to 9, in this order.
void drawTopArc(DrawingSurface& picture, const FanGeometry& geometry);
void drawRightSide(DrawingSurface& picture, const FanGeometry& geometry);
void drawBottomArc(DrawingSurface& picture, const FanGeometry& geometry);
void drawLeftSide(DrawingSurface& picture, const FanGeometry& geometry);
// Step 10: brush fill from the seed, bounded by the outline ink and the picture's edges.
void fillFan(DrawingSurface& picture, const FanGeometry& geometry, TColor outlineInk);

// The colour the outline is drawn in. When the line colour is the colour the seed pixel has
// before the outline is drawn, a border fill could not tell the outline from the area it
// holds, so the outline is drawn in a stand-in colour (one that is neither the background, the
// fill nor the line colour) and given the line colour after the fill.
TColor outlineInkFor(const FanSettingsRecord& settings, TColor seedColor);
// Gives every pixel of the stand-in colour the line colour.
void recolourOutline(DrawingSurface& picture, TColor standIn, TColor lineColor);

// The complete fan picture, marked transparent (keyed by its bottom-left pixel). Empty when the
// radius is 0 or less.
// The picture is cut to largestSide (at least largestStampedFanSide) each way.
DrawingSurface renderFanPicture(const FanSettingsRecord& settings, bool canvasUsesColor,
                                int largestSide = largestStampedFanSide);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A scroll, a square or a horizontal work laid out to be mounted: the text divided and sized
// by the paper, the inscription (款) and the seals in the proportions calligraphers keep.
#pragma once

#include "WorkTemplate.h"

#include <QStringList>
#include <functional>

// The division of the main text into columns (the first, the rightmost, first) and the
// character size it allows, in pixels. Lines the user wrote stay columns where more than one
// was written; otherwise the division that gives the largest characters in the room, with
// sideEms of the width taken by the inscription columns beside the text.
struct MountedGrid {
    QStringList columns;
    double em = 0;
};
MountedGrid chooseGrid(const QStringList& lines, QSizeF room, double sideEms);

// The inscription cut into columns of at most `capacity` characters: where the user typed a
// space if one is near, never between a 天干 and its 地支, never inside the last three
// characters (the name and 书), and never a character alone in a column. The spaces the user
// typed stay in the columns, as one space each.
QStringList inscriptionColumns(const QString& text, int capacity);

// One side's inscription in columns from the one nearest the main text outwards (the 款 after
// the last column goes left, the 上款 before the first goes right), `from` a height down to at
// most `end`, the seal `sealAbove` (the leading seal) over its first column or `sealBelow`
// (the name seal) under its last. `nearest` is the left edge of the column nearest the main
// text; every inscription column and seal placed is passed to `placed`.
struct InscriptionSide {
    QString text;
    QString sealAbove;
    QString sealBelow;
    int direction = -1; // -1 to the left of the main text, +1 to its right
};
void placeSide(TemplateLayout& layout, const InscriptionSide& side, int nearest, int from, int end,
               int size, const std::function<void(const QRect&)>& placed);

void layoutMounted(TemplateLayout& layout, const WorkTemplate& work);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The picture as a zoomed-out view shows it: levels of half, a quarter, an eighth ... of the
// picture, each the 2 x 2 average of the one above, and the view at the zoom itself, sampled
// between the two neighbouring pixels of the nearest level that is not smaller. A paint only
// copies the view; a step that changed a rectangle brings only that rectangle's part of every
// level and of the view up to date, so the view is always what a rebuild would make.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <vector>

class ZoomCache {
public:
    // The zooms a view shows: 5 % to 800 %.
    static constexpr double minimumZoom = 0.05;
    static constexpr double maximumZoom = 8.0;

    // The size of a picture of the given size shown at zoom, each side rounded up.
    static QSize viewSize(QSize picture, double zoom);
    // Which level a zoom out samples: 0 the picture itself, 1 the half, ...
    static int levelFor(double zoom);

    // Makes the levels and the view again from the whole picture; zoom below 1.
    void rebuild(const QImage& picture, double zoom);
    // After the pixels of changed (picture pixels) changed: brings the levels and the view up
    // to date and returns the rectangle of the view that was made again. A picture of another
    // size is rebuilt whole.
    QRect update(const QImage& picture, const QRect& changed);
    void clear();

    bool isEmpty() const { return shown.isNull(); }
    double zoom() const { return factor; }
    QSize pictureSize() const { return source; }
    // The picture at the zoom.
    const QImage& view() const { return shown; }
    // A level of the picture (1 the half, ...), for tests.
    const QImage& level(int index) const { return levels.at(index - 1); }
    int levelCount() const { return int(levels.size()); }

private:
    // Brings the levels up to date over changed; returns the area of the last level made.
    QRect makeLevelsArea(const QImage& picture, QRect changed);
    QRect makeView(const QImage& picture, QRect levelArea);

    std::vector<QImage> levels;
    QImage shown;
    double factor = 0;
    QSize source;
};

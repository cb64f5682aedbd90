// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The zoomed-out copy: its levels and view against a slow reference made channel by channel,
// and a copy brought up to date after a change against one made from scratch.
#include "ZoomCache.h"

#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QImage randomPicture(QSize size, quint32 seed, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
    return picture.convertToFormat(format);
}

// The reference: each level the mean of its 2 x 2 pixels above, each column's pair first and
// rounded up (the last column or row of an odd level its own pixel twice), the view the pixels of
// the level sampled between neighbours with weights in 256ths.
QImage referenceHalf(const QImage& above) {
    QImage level((above.width() + 1) / 2, (above.height() + 1) / 2, QImage::Format_RGB32);
    for (int y = 0; y < level.height(); ++y)
        for (int x = 0; x < level.width(); ++x) {
            const int xs[2] = {2 * x, std::min(2 * x + 1, above.width() - 1)};
            const int ys[2] = {2 * y, std::min(2 * y + 1, above.height() - 1)};
            // Each column's two pixels averaged, then the two columns, rounding up.
            const auto up = [](int a, int b) { return (a + b + 1) / 2; };
            int mean[3];
            for (int c = 0; c < 3; ++c) {
                const auto at = [&](int xx, int yy) {
                    const QRgb p = above.pixel(xx, yy);
                    return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
                };
                mean[c] = up(up(at(xs[0], ys[0]), at(xs[0], ys[1])),
                             up(at(xs[1], ys[0]), at(xs[1], ys[1])));
            }
            level.setPixel(x, y, qRgb(mean[0], mean[1], mean[2]));
        }
    return level;
}

QImage referenceView(const QImage& picture, double zoom) {
    QImage base = picture.convertToFormat(QImage::Format_RGB32);
    double ratio = zoom;
    while (ratio * 2 <= 1.0 + 1e-9) {
        base = referenceHalf(base);
        ratio *= 2;
    }
    const QSize size(int(std::ceil(picture.width() * zoom - 1e-9)),
                     int(std::ceil(picture.height() * zoom - 1e-9)));
    QImage view(size, QImage::Format_RGB32);
    const auto where = [ratio](int i, int length, int& first, int& weight) {
        const double at = std::clamp((i + 0.5) / ratio - 0.5, 0.0, double(length - 1));
        first = int(at);
        weight = int(std::lround((at - first) * 256));
    };
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            int x0, wx, y0, wy;
            where(x, base.width(), x0, wx);
            where(y, base.height(), y0, wy);
            const int x1 = std::min(x0 + 1, base.width() - 1);
            const int y1 = std::min(y0 + 1, base.height() - 1);
            const auto mix = [](int a, int b, int w) { return (a * (256 - w) + b * w) >> 8; };
            int channel[3];
            for (int c = 0; c < 3; ++c) {
                const auto value = [&](int xx, int yy) {
                    const QRgb p = base.pixel(xx, yy);
                    return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
                };
                channel[c] = mix(mix(value(x0, y0), value(x1, y0), wx),
                                 mix(value(x0, y1), value(x1, y1), wx), wy);
            }
            view.setPixel(x, y, qRgb(channel[0], channel[1], channel[2]));
        }
    return view;
}

// 24-bit pictures (canvases of that format) are read through a 32-bit copy of the part read.
struct ZoomCase {
    QSize size;
    double zoom;
    QImage::Format format = QImage::Format_RGB32;
};
void PrintTo(const ZoomCase& c, std::ostream* out) {
    *out << c.size.width() << "x" << c.size.height() << " at " << c.zoom
         << (c.format == QImage::Format_BGR888 ? " 24-bit" : "");
}

class ZoomCacheTest : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomCacheTest, ViewMatchesTheReferenceAndFollowsChangedRectangles) {
    const ZoomCase c = GetParam();
    QImage picture = randomPicture(c.size, 7, c.format);
    ZoomCache cache;
    cache.rebuild(picture, c.zoom);
    EXPECT_EQ(cache.levelCount(), ZoomCache::levelFor(c.zoom));
    EXPECT_EQ(cache.view().size(), ZoomCache::viewSize(c.size, c.zoom));
    EXPECT_EQ(cache.view().convertToFormat(QImage::Format_RGB32), referenceView(picture, c.zoom));

    // Rectangles changed one after another, at the corners, the edges and inside: the copy
    // brought up to date is the copy made from scratch, and only the part returned changed.
    const QRect changes[] = {{0, 0, 3, 5},
                             {c.size.width() - 7, c.size.height() - 3, 7, 3},
                             {c.size.width() / 3, c.size.height() / 2, 41, 19},
                             {c.size.width() - 1, 0, 1, c.size.height()}};
    quint32 seed = 11;
    for (const QRect& change : changes) {
        const QImage before = cache.view();
        const QImage patch = randomPicture(change.size(), ++seed);
        for (int y = 0; y < change.height(); ++y)
            for (int x = 0; x < change.width(); ++x)
                if (picture.rect().contains(change.left() + x, change.top() + y))
                    picture.setPixel(change.left() + x, change.top() + y, patch.pixel(x, y));
        const QRect shownArea = cache.update(picture, change);
        ZoomCache fresh;
        fresh.rebuild(picture, c.zoom);
        ASSERT_EQ(cache.view(), fresh.view()) << change.x() << "," << change.y();
        for (int k = 1; k <= cache.levelCount(); ++k)
            ASSERT_EQ(cache.level(k), fresh.level(k)) << "level " << k;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (!shownArea.contains(x, y))
                    ASSERT_EQ(before.pixel(x, y), cache.view().pixel(x, y)) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomCacheTest,
                         ::testing::Values(ZoomCase{{131, 97}, 0.75}, ZoomCase{{131, 97}, 0.5},
                                           ZoomCase{{131, 97}, 1.0 / 3},
                                           ZoomCase{{400, 400}, 0.225}, ZoomCase{{257, 129}, 0.05},
                                           ZoomCase{{90, 61}, 0.8, QImage::Format_BGR888},
                                           ZoomCase{{90, 61}, 0.3, QImage::Format_BGR888}));

TEST(ZoomCache, LevelsAndSizesFollowTheZoom) {
    EXPECT_EQ(ZoomCache::levelFor(0.75), 0);
    EXPECT_EQ(ZoomCache::levelFor(0.5), 1);
    EXPECT_EQ(ZoomCache::levelFor(0.26), 1);
    EXPECT_EQ(ZoomCache::levelFor(0.25), 2);
    EXPECT_EQ(ZoomCache::levelFor(0.05), 4);
    EXPECT_EQ(ZoomCache::viewSize(QSize(4000, 4000), 0.225), QSize(900, 900));
    EXPECT_EQ(ZoomCache::viewSize(QSize(3, 1), 0.05), QSize(1, 1));
    // A plain colour stays that colour at every level and in the view.
    QImage grey(37, 21, QImage::Format_RGB32);
    grey.fill(0xFF606060);
    ZoomCache cache;
    cache.rebuild(grey, 0.1);
    for (int k = 1; k <= cache.levelCount(); ++k)
        EXPECT_EQ(cache.level(k).pixel(cache.level(k).width() - 1, 0), 0xFF606060u);
    EXPECT_EQ(cache.view().pixel(3, 1), 0xFF606060u);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "ZoomCache.h"

#include <algorithm>
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace {

bool isThirtyTwoBit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// The format of the levels and the view: the picture's own when it has 32 bits a pixel.
QImage::Format levelFormat(const QImage& picture) {
    if (isThirtyTwoBit(picture.format()))
        return picture.format();
    return picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

// The rows of a picture as 32-bit pixels: the picture's own rows when it has 32 bits a pixel,
// otherwise a converted copy of the area that is read.
class Rows {
public:
    Rows(const QImage& picture, const QRect& area) {
        if (isThirtyTwoBit(picture.format())) {
            image = &picture;
        } else {
            converted = picture.copy(area).convertToFormat(levelFormat(picture));
            image = &converted;
            origin = area.topLeft();
        }
    }
    // The pixel (x, y) of the area and those after it on its row.
    const quint32* at(int x, int y) const {
        return reinterpret_cast<const quint32*>(image->constScanLine(y - origin.y())) +
               (x - origin.x());
    }

private:
    QImage converted;
    const QImage* image = nullptr;
    QPoint origin;
};

// The mean of two pixels, each byte rounded up, as SSE2's pavgb makes it.
inline quint32 mean2(quint32 a, quint32 b) {
    return (a | b) - (((a ^ b) & 0xFEFEFEFEu) >> 1);
}

// The mean of a 2 x 2 block: each column's two pixels first, then the two columns.
inline quint32 mean4(quint32 topLeft, quint32 topRight, quint32 bottomLeft, quint32 bottomRight) {
    return mean2(mean2(topLeft, bottomLeft), mean2(topRight, bottomRight));
}

// a and b weighed (256 - w) : w, each channel apart.
inline quint32 blend(quint32 a, quint32 b, quint32 w) {
    constexpr quint32 mask = 0x00FF00FF;
    const quint32 v = 256 - w;
    const quint32 rb = (((a & mask) * v + (b & mask) * w) >> 8) & mask;
    const quint32 ag = (((a >> 8) & mask) * v + ((b >> 8) & mask) * w) & ~mask;
    return rb | ag;
}

// A row of pixels from two, weighed (256 - w) : w.
void blendRows(const quint32* a, const quint32* b, quint32 w, quint32* out, size_t count) {
    size_t i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i wb = _mm_set1_epi16(short(w)), wa = _mm_set1_epi16(short(256 - w));
    for (; i + 4 <= count; i += 4) {
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const auto half = [&](__m128i x, __m128i y) {
            return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(x, wa), _mm_mullo_epi16(y, wb)), 8);
        };
        const __m128i low = half(_mm_unpacklo_epi8(pa, zero), _mm_unpacklo_epi8(pb, zero));
        const __m128i high = half(_mm_unpackhi_epi8(pa, zero), _mm_unpackhi_epi8(pb, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < count; ++i)
        out[i] = blend(a[i], b[i], w);
}

// Level pixels of area (its right and bottom edges excluded) from the level above, of size
// above; the last column and row of an odd level repeat their pixel.
void halve(const Rows& above, QSize aboveSize, QImage& level, const QRect& area) {
    const int x0 = area.left(), x1 = area.right() + 1;
    const int pairs = std::min(x1, aboveSize.width() / 2) - x0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const quint32* a = above.at(2 * x0, 2 * y);
        const quint32* b = above.at(2 * x0, std::min(2 * y + 1, aboveSize.height() - 1));
        auto* out = reinterpret_cast<quint32*>(level.scanLine(y)) + x0;
        int i = 0;
#ifdef __SSE2__
        // Four pixels of the level from eight of each row above.
        for (; i + 4 <= pairs; i += 4) {
            const auto load = [](const quint32* p) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            };
            const __m128 left = _mm_castsi128_ps(_mm_avg_epu8(load(a + 2 * i), load(b + 2 * i)));
            const __m128 right =
                _mm_castsi128_ps(_mm_avg_epu8(load(a + 2 * i + 4), load(b + 2 * i + 4)));
            const __m128i even = _mm_castps_si128(_mm_shuffle_ps(left, right, 0x88));
            const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(left, right, 0xDD));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_avg_epu8(even, odd));
        }
#endif
        for (; i < pairs; ++i)
            out[i] = mean4(a[2 * i], a[2 * i + 1], b[2 * i], b[2 * i + 1]);
        if (pairs < x1 - x0) // the odd last column
            out[pairs] = mean4(a[2 * pairs], a[2 * pairs], b[2 * pairs], b[2 * pairs]);
    }
}

struct Sample {
    int first;
    int second;
    quint32 weight; // of the second, out of 256
};

// Where the view's pixels fall on a level of the given length, for the view's pixels from
// begin to end, at ratio view pixels per level pixel.
std::vector<Sample> samples(int begin, int end, double ratio, int length) {
    std::vector<Sample> out;
    out.reserve(std::max(0, end - begin));
    for (int i = begin; i < end; ++i) {
        const double at = std::clamp((i + 0.5) / ratio - 0.5, 0.0, double(length - 1));
        const int first = int(at);
        out.push_back(
            {first, std::min(first + 1, length - 1), quint32(std::lround((at - first) * 256))});
    }
    return out;
}

} // namespace

QSize ZoomCache::viewSize(QSize picture, double zoom) {
    const auto side = [zoom](int pixels) {
        return pixels <= 0 ? 0 : std::max(1, int(std::ceil(pixels * zoom - 1e-9)));
    };
    return QSize(side(picture.width()), side(picture.height()));
}

int ZoomCache::levelFor(double zoom) {
    int level = 0;
    while (level < 30 && zoom * double(qint64(2) << level) <= 1.0 + 1e-9)
        ++level;
    return level;
}

void ZoomCache::clear() {
    levels.clear();
    shown = QImage();
    factor = 0;
    source = QSize();
}

void ZoomCache::rebuild(const QImage& picture, double zoom) {
    clear();
    if (picture.isNull() || zoom >= 1.0)
        return;
    factor = std::max(zoom, minimumZoom);
    source = picture.size();
    const QImage::Format format = levelFormat(picture);
    QSize size = source;
    for (int k = levelFor(factor); k > 0; --k) {
        size = QSize((size.width() + 1) / 2, (size.height() + 1) / 2);
        levels.emplace_back(size, format);
    }
    shown = QImage(viewSize(source, factor), format);
    if (levels.empty() ? shown.isNull() : levels.back().isNull()) {
        clear(); // out of memory: the view scales the picture as it paints
        return;
    }
    makeView(picture, makeLevelsArea(picture, picture.rect()));
}

QRect ZoomCache::update(const QImage& picture, const QRect& changed) {
    if (shown.isNull())
        return QRect();
    if (picture.size() != source) {
        rebuild(picture, factor);
        return shown.rect();
    }
    const QRect area = changed.isNull() ? picture.rect() : changed.intersected(picture.rect());
    if (area.isEmpty())
        return QRect();
    return makeView(picture, makeLevelsArea(picture, area));
}

QRect ZoomCache::makeLevelsArea(const QImage& picture, QRect area) {
    QSize aboveSize = source;
    for (size_t k = 0; k < levels.size(); ++k) {
        QImage& level = levels[k];
        // The level's pixels that average a changed pixel.
        const int x0 = area.left() / 2, y0 = area.top() / 2;
        const int x1 = area.right() / 2, y1 = area.bottom() / 2;
        area = QRect(QPoint(x0, y0), QPoint(x1, y1));
        if (k == 0) {
            const QRect read = QRect(QPoint(2 * x0, 2 * y0), QPoint(2 * x1 + 1, 2 * y1 + 1))
                                   .intersected(picture.rect());
            halve(Rows(picture, read), aboveSize, level, area);
        } else {
            halve(Rows(levels[k - 1], levels[k - 1].rect()), aboveSize, level, area);
        }
        aboveSize = level.size();
    }
    return area;
}

QRect ZoomCache::makeView(const QImage& picture, QRect levelArea) {
    const QImage& base = levels.empty() ? picture : levels.back();
    const double ratio = factor * double(qint64(1) << levels.size());
    // The view's pixels that sample a changed level pixel, and one more on each side.
    const auto from = [ratio](int first) {
        return int(std::floor((first - 0.5) * ratio - 0.5)) - 1;
    };
    const auto to = [ratio](int last) { return int(std::ceil((last + 1.5) * ratio - 0.5)) + 2; };
    const QRect area = QRect(QPoint(from(levelArea.left()), from(levelArea.top())),
                             QPoint(to(levelArea.right()), to(levelArea.bottom())))
                           .intersected(shown.rect());
    if (area.isEmpty())
        return QRect();
    const std::vector<Sample> columns = samples(area.left(), area.right() + 1, ratio, base.width());
    const std::vector<Sample> rows = samples(area.top(), area.bottom() + 1, ratio, base.height());
    const QRect read = QRect(QPoint(columns.front().first, rows.front().first),
                             QPoint(columns.back().second, rows.back().second));
    const Rows in(base, read);
    const int left = read.left();
    const size_t width = columns.size();
    // Each level row sampled across once, kept while the view's next row samples it too.
    std::vector<quint32> across[2] = {std::vector<quint32>(width), std::vector<quint32>(width)};
    int held[2] = {-1, -1};
    const auto sampleAcross = [&](int levelRow, std::vector<quint32>& into) {
        const quint32* p = in.at(left, levelRow);
        for (size_t i = 0; i < width; ++i)
            into[i] =
                blend(p[columns[i].first - left], p[columns[i].second - left], columns[i].weight);
    };
    for (size_t j = 0; j < rows.size(); ++j) {
        const Sample& row = rows[j];
        if (held[0] != row.first) {
            if (held[1] == row.first) {
                std::swap(across[0], across[1]);
                std::swap(held[0], held[1]);
            } else {
                sampleAcross(row.first, across[0]);
                held[0] = row.first;
            }
        }
        if (held[1] != row.second) {
            sampleAcross(row.second, across[1]);
            held[1] = row.second;
        }
        auto* out = reinterpret_cast<quint32*>(shown.scanLine(area.top() + int(j))) + area.left();
        blendRows(across[0].data(), across[1].data(), row.weight, out, width);
    }
    return area;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The bitmap rotation: an inverse nearest-neighbour mapping in 16.16 fixed point. Each
// destination row works out, with integer floor and ceiling divisions, the run of pixels
// whose source lies inside the picture, so the inner loop has no bounds tests.
#include "RotateBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

// pi rounded to the 64-bit mantissa of the extended type.
constexpr long double extendedPi = 3.14159265358979323846264338327950288L;
constexpr qint64 fixedOne = 65536;

qint64 floorDiv(qint64 numerator, qint64 denominator) {
    qint64 quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0)))
        --quotient;
    return quotient;
}

qint64 ceilDiv(qint64 numerator, qint64 denominator) {
    return -floorDiv(-numerator, denominator);
}

// The integers u for which lo <= slope * u + offset <= hi, as [first, last]; empty when
// first > last.
void solveLinearRange(qint64 slope, qint64 offset, qint64 lo, qint64 hi, qint64& first,
                      qint64& last) {
    if (slope > 0) {
        first = ceilDiv(lo - offset, slope);
        last = floorDiv(hi - offset, slope);
    } else if (slope < 0) {
        first = ceilDiv(hi - offset, slope);
        last = floorDiv(lo - offset, slope);
    } else if (offset >= lo && offset <= hi) {
        first = std::numeric_limits<qint32>::min();
        last = std::numeric_limits<qint32>::max();
    } else {
        first = 1;
        last = 0;
    }
}

// A 32-bit surface whose pixels are left for the caller to write.
DrawingSurface uninitialisedSurface(int width, int height) {
    QImage pixels(width, height, QImage::Format_RGB32);
    if (pixels.isNull() && width > 0 && height > 0)
        throw std::bad_alloc();
    return DrawingSurface(pixels);
}

// Step 7 for every row of the nW x nH destination, which sits at offset in target: source
// pixels inside the run, bg outside it.
void mapRows(const DrawingSurface& source, DrawingSurface& target, QPoint offset, QSize size,
             QPoint pivot, RotationCoefficients k, QRgb bg) {
    const qint64 w = source.width(), h = source.height();
    const qint64 halfW = w / 2, halfH = h / 2;
    const qint64 nW = size.width(), nH = size.height();
    const qint64 c = k.cosine, s = k.sine;
    // Source rows are addressed by b, counted up from the bottom row.
    const qint64 stride = source.bytesPerLine() / qint64(sizeof(QRgb));
    const QRgb* bottomRow = reinterpret_cast<const QRgb*>(source.scanLine(int(h - 1)));
    // floor(X / 65536) in [-halfW, w - halfW - 1] and likewise for Y.
    const qint64 loX = -halfW * fixedOne, hiX = (w - halfW) * fixedOne - 1;
    const qint64 loY = -halfH * fixedOne, hiY = (h - halfH) * fixedOne - 1;
    const qint64 firstU = -pivot.x(), lastU = nW - 1 - pivot.x();

    for (qint64 y = 0; y < nH; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(target.scanLine(int(y) + offset.y())) + offset.x();
        const qint64 v = (nH - 1 - y) - pivot.y();
        const qint64 offsetX = -v * s, offsetY = v * c;
        qint64 fromX, toX, fromY, toY;
        solveLinearRange(c, offsetX, loX, hiX, fromX, toX);
        solveLinearRange(s, offsetY, loY, hiY, fromY, toY);
        const qint64 u0 = std::max({firstU, fromX, fromY});
        const qint64 u1 = std::min({lastU, toX, toY});
        if (u0 > u1) {
            std::fill(row, row + nW, bg);
            continue;
        }
        const qint64 x0 = u0 + pivot.x(), x1 = u1 + pivot.x();
        std::fill(row, row + x0, bg);
        std::fill(row + x1 + 1, row + nW, bg);
        // Inside the run both coordinates stay in range, so the shifts see non-negative
        // values; the half sizes are folded into the accumulators.
        qint64 accX = u0 * c + offsetX + halfW * fixedOne;
        qint64 accY = u0 * s + offsetY + halfH * fixedOne;
        QRgb* out = row + x0;
        QRgb* const end = row + x1 + 1;
        while (out != end) {
            *out++ = bottomRow[(accX >> 16) - (accY >> 16) * stride];
            accX += c;
            accY += s;
        }
    }
}

} // namespace

long double normalizeAngle(long double degrees) {
    if (!std::isfinite(degrees))
        return 0;
    // fmod is exact, so this equals subtracting or adding 360 one turn at a time.
    long double a = std::fmod(degrees, 360.0L);
    if (a > 180)
        a -= 360;
    if (a < -180)
        a += 360;
    return a;
}

RotationCoefficients rotationCoefficients(long double normalizedDegrees) {
    const long double theta = -normalizedDegrees * extendedPi / 180;
    const long double sine = fixedOne * std::sin(theta);
    const long double cosine = fixedOne * std::cos(theta);
    return {qint32(std::trunc(sine)), qint32(std::trunc(cosine))};
}

QSize rotatedSize(QSize source, RotationCoefficients k) {
    const qint64 c = std::abs(qint64(k.cosine)), s = std::abs(qint64(k.sine));
    const qint64 w = std::max(source.width(), 0), h = std::max(source.height(), 0);
    return QSize(int((c * w + s * h) / fixedOne), int((s * w + c * h) / fixedOne));
}

QPoint destinationPivot(QSize destination, long double normalizedDegrees) {
    const int nW = destination.width(), nH = destination.height();
    const bool zero = normalizedDegrees == 0;
    const int px = (zero || normalizedDegrees == -90) ? nW / 2 : (nW - 1) / 2;
    const int pb = (zero || normalizedDegrees == 90) ? nH / 2 : (nH - 1) / 2;
    return QPoint(px, pb);
}

DrawingSurface RotateBitmap(DrawingSurface& source, TColor bg, long double degrees) {
    const long double alpha = normalizeAngle(degrees);
    const RotationCoefficients k = rotationCoefficients(alpha);
    source.setFormat(DrawingSurface::Format::Bit32);
    if (source.isEmpty())
        return DrawingSurface();
    const QSize size = rotatedSize(source.size(), k);
    if (size.width() < 1 || size.height() < 1)
        return DrawingSurface();
    DrawingSurface destination = uninitialisedSurface(size.width(), size.height());
    if (destination.isEmpty())
        return DrawingSurface();
    mapRows(source, destination, QPoint(0, 0), size, destinationPivot(size, alpha), k,
            toRgb(bg) | 0xFF000000u);
    return destination;
}

int uniqueSquareSide(int width, int height) {
    const double w = double(width) + 2, h = double(height) + 2;
    return int(std::lround(std::sqrt(w * w + h * h)));
}

DrawingSurface rebuildRotatedPicture(DrawingSurface& source, TColor bg,
                                     const RotatedPictureOptions& options) {
    if (source.isEmpty())
        return DrawingSurface();
    // Whole turns are not resampled: the picture is taken as it is.
    const long double turns = options.angle / 360.0L;
    const bool wholeTurns = std::isfinite(turns) && turns == std::trunc(turns);
    const QRgb bgPixel = toRgb(bg) | 0xFF000000u;

    DrawingSurface result;
    if (options.uniqueSize) {
        const int side = uniqueSquareSide(source.width(), source.height());
        result = uninitialisedSurface(side, side);
        result.image().fill(bgPixel);
        auto placeAt = [&](QSize turned) {
            if (!options.center)
                return QPoint(0, 0);
            return QPoint((side - turned.width()) / 2, (side - turned.height()) / 2);
        };
        if (wholeTurns) {
            result.blockCopy(placeAt(source.size()).x(), placeAt(source.size()).y(), source);
        } else {
            // The turn is written straight into the square, which always holds it.
            const long double alpha = normalizeAngle(options.angle);
            const RotationCoefficients k = rotationCoefficients(alpha);
            source.setFormat(DrawingSurface::Format::Bit32);
            const QSize size = rotatedSize(source.size(), k);
            const QPoint at = placeAt(size);
            if (size.width() >= 1 && size.height() >= 1 && !result.isEmpty() && at.x() >= 0 &&
                at.y() >= 0 && at.x() + size.width() <= side && at.y() + size.height() <= side)
                mapRows(source, result, at, size, destinationPivot(size, alpha), k, bgPixel);
        }
    } else {
        result = wholeTurns ? source : RotateBitmap(source, bg, options.angle);
    }
    result.transparent = options.transparent;
    result.transparentColor = bg;
    return result;
}

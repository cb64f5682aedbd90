// The effect filter walks down the picture holding three rows of the bordered copy at a time:
// the row above, the pixel's own row and the row below, each widened by one wrapped pixel on
// either side. The two rows that wrap vertically (the bottom row placed above the top, and
// the top row placed below the bottom) are built before any pixel is written, so every read
// sees the picture as it was before the filter even though the result is written in place.
#include "Filter3x3.h"

#include "FilterKernels.h"
#include "TarvelError.h"

#include <cstring>
#include <utility>
#include <vector>

void CopyTo24Bit(DrawingSurface& target, const DrawingSurface& source) {
    if (source.isEmpty()) {
        target.clear();
        return;
    }
    // A 24-bit source is shared until one side writes; any other one is converted.
    target.image() = source.image().format() == QImage::Format_BGR888
                         ? source.image()
                         : source.image().convertToFormat(QImage::Format_BGR888);
}

void BuildBorderedRow(const DrawingSurface& picture, int borderedRow, uchar* out) {
    const int width = picture.width();
    const int height = picture.height();
    const int rowBytes = 3 * width;
    const auto pixelAt = [&picture](int x, int y) { return picture.scanLine(y) + 3 * x; };
    int sourceRow = 0;
    const uchar* leftCell = nullptr;
    const uchar* rightCell = nullptr;
    if (borderedRow == 0) {
        // Above the top row: the bottom row, with the top corners at its ends.
        sourceRow = height - 1;
        leftCell = pixelAt(0, 0);
        rightCell = pixelAt(width - 1, 0);
    } else if (borderedRow == height + 1) {
        // Below the bottom row: the top row, with the bottom corners at its ends.
        sourceRow = 0;
        leftCell = pixelAt(0, height - 1);
        rightCell = pixelAt(width - 1, height - 1);
    } else {
        // An inner row wraps sideways: its right-most pixel on the left, its left-most on the
        // right.
        sourceRow = borderedRow - 1;
        leftCell = pixelAt(width - 1, sourceRow);
        rightCell = pixelAt(0, sourceRow);
    }
    std::memcpy(out, leftCell, 3);
    std::memcpy(out + 3, picture.scanLine(sourceRow), std::size_t(rowBytes));
    std::memcpy(out + 3 + rowBytes, rightCell, 3);
}

bool filterPathSupported(FilterPath path) {
    switch (path) {
    case FilterPath::Portable:
        return true;
    case FilterPath::Ssse3:
        return cpuHasSsse3();
    case FilterPath::Avx2:
        return cpuHasAvx2() && cpuHasSsse3();
    }
    return false;
}

FilterPath fastestFilterPath() {
    static const FilterPath fastest = filterPathSupported(FilterPath::Avx2) ? FilterPath::Avx2
                                      : filterPathSupported(FilterPath::Ssse3)
                                          ? FilterPath::Ssse3
                                          : FilterPath::Portable;
    return fastest;
}

namespace {

// The kernel actually run: the requested one where the processor, the weights and the row
// length allow it, else the next simpler one.
FilterPath effectivePath(FilterPath requested, bool weightsFitVectors, int rowBytes) {
    if (!weightsFitVectors || rowBytes < 16)
        return FilterPath::Portable;
    if (requested == FilterPath::Avx2 && !filterPathSupported(FilterPath::Avx2))
        requested = FilterPath::Ssse3;
    if (requested == FilterPath::Ssse3 && !filterPathSupported(FilterPath::Ssse3))
        requested = FilterPath::Portable;
    return requested;
}

} // namespace

void Filter3x3Into(const std::array<qint32, 9>& weights, quint16 divisor,
                   const DrawingSurface& source, DrawingSurface& target, FilterPath path) {
    if (divisor == 0)
        throw TarvelError(QStringLiteral("The filter divisor must not be 0"));
    if (source.isEmpty()) {
        target.clear();
        return;
    }
    if (source.format() != DrawingSurface::Format::Bit24) {
        DrawingSurface converted;
        CopyTo24Bit(converted, source);
        Filter3x3Into(weights, divisor, converted, target, path);
        return;
    }

    const int width = source.width();
    const int height = source.height();
    const int rowBytes = 3 * width;
    const std::size_t borderedBytes = std::size_t(rowBytes) + 6;

    PackedWeights packed;
    const bool fits = packWeights(weights, divisor, packed);
    const FilterPath kernel = effectivePath(path, fits, rowBytes);

    // The two vertically wrapped rows first, while the source is untouched.
    std::vector<uchar> rows(4 * borderedBytes);
    uchar* above = rows.data();
    uchar* own = above + borderedBytes;
    uchar* below = own + borderedBytes;
    uchar* bottomBorder = below + borderedBytes;
    BuildBorderedRow(source, 0, above);
    BuildBorderedRow(source, height + 1, bottomBorder);
    BuildBorderedRow(source, 1, own);

    // The result goes into the target's own pixels when it has 24-bit pixels of this size
    // that nothing else shares (the source's own, when filtering in place); otherwise into a
    // new bitmap, so shared pixels are only ever read.
    QImage& targetImage = target.image();
    const bool reuse = targetImage.format() == QImage::Format_BGR888 &&
                       targetImage.size() == source.size() && targetImage.isDetached();
    QImage fresh;
    if (!reuse) {
        fresh = QImage(width, height, QImage::Format_BGR888);
        if (fresh.isNull())
            throw std::bad_alloc();
    }
    QImage& output = reuse ? targetImage : fresh;

    for (int y = 0; y < height; ++y) {
        // The row below is read before row y is written: in place, it is picture row y + 1.
        if (y + 1 < height)
            BuildBorderedRow(source, y + 2, below);
        else
            std::memcpy(below, bottomBorder, borderedBytes);
        uchar* out = output.scanLine(y);
        switch (kernel) {
        case FilterPath::Avx2:
            filterRowAvx2(above, own, below, out, rowBytes, packed);
            break;
        case FilterPath::Ssse3:
            filterRowSsse3(above, own, below, out, rowBytes, packed);
            break;
        case FilterPath::Portable:
            filterRowPortable(above, own, below, out, rowBytes, weights, divisor);
            break;
        }
        // The window moves down one row.
        std::swap(above, own);
        std::swap(own, below);
    }
    if (!reuse)
        targetImage = std::move(fresh);
}

void Filter3x3(const std::array<qint32, 9>& weights, quint16 divisor, DrawingSurface& picture,
               FilterPath path) {
    Filter3x3Into(weights, divisor, picture, picture, path);
}

void Filter3x3(const std::array<qint32, 9>& weights, quint16 divisor, DrawingSurface& picture) {
    Filter3x3(weights, divisor, picture, fastestFilterPath());
}

void Filter3x3(const FilterWeights& weights, DrawingSurface& picture) {
    Filter3x3(weights.weights, weights.divisor, picture);
}

void Filter3x3Into(const FilterWeights& weights, const DrawingSurface& source,
                   DrawingSurface& target) {
    Filter3x3Into(weights.weights, weights.divisor, source, target, fastestFilterPath());
}

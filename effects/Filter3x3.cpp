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

void Filter3x3(const std::array<qint32, 9>& weights, quint16 divisor, DrawingSurface& picture,
               FilterPath path) {
    if (divisor == 0)
        throw TarvelError(QStringLiteral("The filter divisor must not be 0"));
    if (picture.isEmpty())
        return;
    picture.setFormat(DrawingSurface::Format::Bit24);

    const int width = picture.width();
    const int height = picture.height();
    const int rowBytes = 3 * width;
    const std::size_t borderedBytes = std::size_t(rowBytes) + 6;

    PackedWeights packed;
    const bool fits = packWeights(weights, divisor, packed);
    const FilterPath kernel = effectivePath(path, fits, rowBytes);

    // The two vertically wrapped rows first, while the picture is untouched.
    std::vector<uchar> rows(4 * borderedBytes);
    uchar* above = rows.data();
    uchar* own = above + borderedBytes;
    uchar* below = own + borderedBytes;
    uchar* bottomBorder = below + borderedBytes;
    BuildBorderedRow(picture, 0, above);
    BuildBorderedRow(picture, height + 1, bottomBorder);
    BuildBorderedRow(picture, 1, own);

    // A picture whose pixels are shared with another (the effect base) is not copied and then
    // overwritten: the result goes to a fresh bitmap and the shared pixels are only read.
    QImage& image = picture.image();
    QImage result;
    if (!image.isDetached())
        result = QImage(width, height, QImage::Format_BGR888);
    QImage& target = result.isNull() ? image : result;
    if (target.isNull())
        throw std::bad_alloc();

    for (int y = 0; y < height; ++y) {
        // The row below must be read before row y is written: it is picture row y + 1.
        if (y + 1 < height)
            BuildBorderedRow(picture, y + 2, below);
        else
            std::memcpy(below, bottomBorder, borderedBytes);
        uchar* out = target.scanLine(y);
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
    if (!result.isNull())
        image = std::move(result);
}

void Filter3x3(const std::array<qint32, 9>& weights, quint16 divisor, DrawingSurface& picture) {
    Filter3x3(weights, divisor, picture, fastestFilterPath());
}

void Filter3x3(const FilterWeights& weights, DrawingSurface& picture) {
    Filter3x3(weights.weights, weights.divisor, picture);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The effect filter walks down the picture holding three rows of the bordered copy at a time:
// the row above, the pixel's own row and the row below, each widened by one wrapped pixel on
// either side. The two rows that wrap vertically (the bottom row placed above the top, and
// the top row placed below the bottom) are built before any pixel is written, so every read
// sees the picture as it was before the filter even though the result is written in place.
#include "Filter3x3.h"

#include "FilterKernels.h"
#include "TarvelError.h"

#include <array>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// A new 24-bit bitmap for a whole picture. On Linux a large one is mapped on its own and
// asked for huge pages: the base of a 4000 x 4000 canvas is 48 MB, and faulting it in 4 kB
// at a time costs more than the conversion that fills it.
QImage newBitmap24(QSize size) {
#ifdef __linux__
    const qsizetype stride = (3 * qsizetype(size.width()) + 3) & ~qsizetype(3);
    const std::size_t bytes = std::size_t(stride) * std::size_t(size.height());
    constexpr std::size_t hugePage = std::size_t(2) << 20;
    if (size.width() > 0 && size.height() > 0 && bytes >= 4 * hugePage) {
        void* mapped =
            mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        madvise(mapped, bytes, MADV_HUGEPAGE);
        struct Mapping {
            void* start;
            std::size_t bytes;
        };
        QImage image(
            static_cast<uchar*>(mapped), size.width(), size.height(), stride, QImage::Format_BGR888,
            [](void* info) {
                auto* mapping = static_cast<Mapping*>(info);
                munmap(mapping->start, mapping->bytes);
                delete mapping;
            },
            new Mapping{mapped, bytes});
        return image;
    }
#endif
    QImage image(size, QImage::Format_BGR888);
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

} // namespace

void CopyTo24Bit(DrawingSurface& target, const DrawingSurface& source) {
    if (source.isEmpty()) {
        target.clear();
        return;
    }
    // A 24-bit source is shared until one side writes; any other one is converted.
    target.image() = source.image().format() == QImage::Format_BGR888
                         ? source.image()
                         : allocated(source.image().convertToFormat(QImage::Format_BGR888),
                                     source.image().size());
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

namespace {

// The output bitmap: the target's own pixels when they are 24-bit pixels of this size that
// nothing else shares (the source's own, when filtering in place); otherwise a new bitmap, so
// shared pixels are only ever read.
QImage* outputFor(DrawingSurface& target, QSize size, QImage& fresh) {
    QImage& targetImage = target.image();
    if (targetImage.format() == QImage::Format_BGR888 && targetImage.size() == size &&
        targetImage.isDetached())
        return &targetImage;
    fresh = newBitmap24(size);
    return &fresh;
}

// The filter's walk over a 24-bit source into output. rowNeeded(y) is called before row y of
// the source is first read, rows 0 and H - 1 first and then the others from the top down, so
// that a source can be made one row at a time just ahead of the walk.
template <class RowNeeded>
void filterRows(const std::array<qint32, 9>& weights, quint16 divisor, const DrawingSurface& source,
                QImage& output, FilterPath path, RowNeeded rowNeeded) {
    const int width = source.width();
    const int height = source.height();
    const int rowBytes = 3 * width;
    const std::size_t borderedBytes = std::size_t(rowBytes) + 6;

    PackedWeights packed;
    const bool fits = packWeights(weights, divisor, packed);
    const FilterPath kernel = effectivePath(path, fits, rowBytes);

    // The two vertically wrapped rows first, while the source is untouched. window[k] holds
    // bordered row y + k.
    std::vector<uchar> rows(4 * borderedBytes);
    std::array<uchar*, 3> window;
    for (std::size_t k = 0; k < window.size(); ++k)
        window[k] = rows.data() + k * borderedBytes;
    uchar* const bottomBorder = rows.data() + 3 * borderedBytes;
    rowNeeded(0);
    if (height > 1)
        rowNeeded(height - 1);
    BuildBorderedRow(source, 0, window[0]);
    BuildBorderedRow(source, height + 1, bottomBorder);
    BuildBorderedRow(source, 1, window[1]);
    // Picture row b - 1 is read into a bordered row before any output row at or below it is
    // written: in place, output row y overwrites picture row y.
    const auto build = [&](int bordered, uchar* into) {
        if (bordered == height + 1) {
            std::memcpy(into, bottomBorder, borderedBytes);
            return;
        }
        if (bordered - 1 < height - 1)
            rowNeeded(bordered - 1);
        BuildBorderedRow(source, bordered, into);
    };

    for (int y = 0; y < height; ++y) {
        build(y + 2, window[2]);
        uchar* out = output.scanLine(y);
        switch (kernel) {
        case FilterPath::Avx2:
            filterRowAvx2(window[0], window[1], window[2], out, rowBytes, packed);
            break;
        case FilterPath::Ssse3:
            filterRowSsse3(window[0], window[1], window[2], out, rowBytes, packed);
            break;
        case FilterPath::Portable:
            filterRowPortable(window[0], window[1], window[2], out, rowBytes, weights, divisor);
            break;
        }
        // The window moves down one row.
        window = {window[1], window[2], window[0]};
    }
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
    QImage fresh;
    QImage* output = outputFor(target, source.size(), fresh);
    filterRows(weights, divisor, source, *output, path, [](int) {});
    if (output == &fresh)
        target.image() = std::move(fresh);
}

void CopyTo24BitAndFilter(const FilterWeights& weights, const DrawingSurface& source,
                          DrawingSurface& base, DrawingSurface& target) {
    if (source.isEmpty() || source.image().format() != QImage::Format_RGB32 || &base == &source ||
        &base == &target) {
        CopyTo24Bit(base, source);
        Filter3x3Into(weights, base, target);
        return;
    }
    // Each row of the base is converted just before the filter first reads it, so the walk
    // finds it in cache instead of reading the whole base again after a separate conversion.
    const QSize size = source.size();
    const int width = source.width();
    const QImage& from = source.image();
    const uchar* const fromBits = from.constBits();
    const qsizetype fromStride = from.bytesPerLine();

    // The base's own pixels are overwritten when they fit, as after a new canvas of the same
    // size; otherwise it gets new ones.
    QImage& baseImage = base.image();
    if (!(baseImage.format() == QImage::Format_BGR888 && baseImage.size() == size &&
          baseImage.isDetached())) {
        baseImage = newBitmap24(size);
    }
    // Written through these, read through the base as a const picture: neither detaches.
    uchar* const baseBits = baseImage.bits();
    const qsizetype baseStride = baseImage.bytesPerLine();

    // The result goes over the source's own pixels when the target is the source and nothing
    // else shares them: a 24-bit row is shorter than a 32-bit one, so output row y ends before
    // source row y + 1 starts, and the rows above it are already in the base when it is
    // written. The 24-bit picture keeps the 32-bit one's bitmap alive until it goes itself.
    QImage fresh;
    QImage* output = nullptr;
    if (&target == &source && from.isDetached()) {
        auto* kept = new QImage(std::move(target.image()));
        fresh = QImage(
            kept->bits(), size.width(), size.height(), (3 * qsizetype(width) + 3) & ~qsizetype(3),
            QImage::Format_BGR888, [](void* image) { delete static_cast<QImage*>(image); }, kept);
        output = &fresh;
    } else {
        output = outputFor(target, size, fresh);
    }
    filterRows(weights.weights, weights.divisor, std::as_const(base), *output, fastestFilterPath(),
               [&](int y) {
                   convertRowTo24Bit(fromBits + y * fromStride, baseBits + y * baseStride, width);
               });
    if (output == &fresh)
        target.image() = std::move(fresh);
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The effect filter on small pictures with literal results, its bordered rows, and the vector
// kernels proven equal to a plain reference on random pictures.
#include "Filter3x3.h"
#include "EffectWeights.h"
#include "TarvelError.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <vector>

namespace {

constexpr EffectKind allEffects[] = {efHollow, efNostalgic, efRelief, efSharpen,
                                     efClear,  efOutline,   efBlur,   efSoft};

// A 24-bit picture whose pixels are grey levels given row by row.
DrawingSurface greyPicture(int width, int height, const std::vector<int>& levels) {
    DrawingSurface picture(width, height, DrawingSurface::Format::Bit24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TColor v = TColor(levels[std::size_t(y * width + x)]);
            picture.setPixel(x, y, v | (v << 8) | (v << 16));
        }
    return picture;
}

// The grey levels of a picture, checking that its three channels agree.
std::vector<int> greyLevels(const DrawingSurface& picture) {
    std::vector<int> levels;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const uchar* p = picture.scanLine(y) + 3 * x;
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
            levels.push_back(p[0]);
        }
    return levels;
}

DrawingSurface randomPicture(int width, int height, QRandomGenerator& random) {
    DrawingSurface picture(width, height, DrawingSurface::Format::Bit24);
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int i = 0; i < 3 * width; ++i)
            row[i] = uchar(random.bounded(256));
    }
    return picture;
}

// The plain reference: the whole bordered copy built cell by cell from its four strips and
// four corners, then every channel summed in 64 bits and divided with truncation.
DrawingSurface referenceFilter(const std::array<qint32, 9>& weights, int divisor,
                               const DrawingSurface& picture) {
    const int w = picture.width();
    const int h = picture.height();
    const auto src = [&](int x, int y, int c) { return int(picture.scanLine(y)[3 * x + c]); };
    std::vector<int> bordered(std::size_t((w + 2) * (h + 2) * 3));
    const auto cell = [&](int x, int y, int c) -> int& {
        return bordered[std::size_t((y * (w + 2) + x) * 3 + c)];
    };
    for (int c = 0; c < 3; ++c) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                cell(x + 1, y + 1, c) = src(x, y, c);
        for (int x = 0; x < w; ++x) {
            cell(x + 1, 0, c) = src(x, h - 1, c);
            cell(x + 1, h + 1, c) = src(x, 0, c);
        }
        for (int y = 0; y < h; ++y) {
            cell(0, y + 1, c) = src(w - 1, y, c);
            cell(w + 1, y + 1, c) = src(0, y, c);
        }
        cell(0, 0, c) = src(0, 0, c);
        cell(w + 1, 0, c) = src(w - 1, 0, c);
        cell(0, h + 1, c) = src(0, h - 1, c);
        cell(w + 1, h + 1, c) = src(w - 1, h - 1, c);
    }
    DrawingSurface result(w, h, DrawingSurface::Format::Bit24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                qint64 sum = 0;
                for (int r = 0; r < 3; ++r)
                    for (int k = 0; k < 3; ++k)
                        sum += qint64(weights[std::size_t(r * 3 + k)]) * cell(x + k, y + r, c);
                const qint64 quotient = sum / divisor;
                result.scanLine(y)[3 * x + c] = uchar(quotient < 0     ? 0
                                                      : quotient > 255 ? 255
                                                                       : quotient);
            }
    return result;
}

// Whether two pictures have the same size and the same 24-bit bytes; names the first
// difference.
::testing::AssertionResult samePixels(const DrawingSurface& actual,
                                      const DrawingSurface& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < expected.height(); ++y)
        for (int i = 0; i < 3 * expected.width(); ++i)
            if (actual.scanLine(y)[i] != expected.scanLine(y)[i])
                return ::testing::AssertionFailure()
                       << "pixel " << i / 3 << "," << y << " channel " << i % 3 << ": "
                       << int(actual.scanLine(y)[i]) << " instead of "
                       << int(expected.scanLine(y)[i]);
    return ::testing::AssertionSuccess();
}

std::vector<FilterPath> supportedPaths() {
    std::vector<FilterPath> paths;
    for (FilterPath path : {FilterPath::Portable, FilterPath::Ssse3, FilterPath::Avx2})
        if (filterPathSupported(path))
            paths.push_back(path);
    return paths;
}

} // namespace

TEST(EffectWeights, EachFilterSumsToItsDivisorOrToZero) {
    // "空心" and "立体" keep only edges; the other six keep flat areas as they are.
    for (EffectKind kind : allEffects) {
        const FilterWeights& f = EffectWeights(kind);
        qint32 sum = 0;
        for (qint32 w : f.weights)
            sum += w;
        const bool edgesOnly = kind == efHollow || kind == efRelief;
        EXPECT_EQ(sum, edgesOnly ? 0 : qint32(f.divisor)) << "kind " << int(kind);
    }
    EXPECT_EQ(EffectWeights(efRelief).weights,
              (std::array<qint32, 9>{1, 1, 1, 1, -2, 1, -1, -1, -1}));
    EXPECT_EQ(EffectWeights(efOutline).weights,
              (std::array<qint32, 9>{1, 0, 1, 0, 0, 0, 1, 0, -2}));
    EXPECT_EQ(EffectWeights(efSharpen).divisor, 8);
    EXPECT_EQ(EffectWeights(efBlur).divisor, 16);
    EXPECT_EQ(EffectWeights(efSoft).divisor, 32);
    EXPECT_THROW(EffectWeights(efNone), TarvelError);
    EXPECT_THROW(EffectWeights(EffectKind(9)), TarvelError);
}

TEST(ClampByte, KeepsBytesAndClampsTheRest) {
    EXPECT_EQ(ClampByte(-2040), 0);
    EXPECT_EQ(ClampByte(-1), 0);
    EXPECT_EQ(ClampByte(0), 0);
    EXPECT_EQ(ClampByte(1), 1);
    EXPECT_EQ(ClampByte(254), 254);
    EXPECT_EQ(ClampByte(255), 255);
    EXPECT_EQ(ClampByte(256), 255);
    EXPECT_EQ(ClampByte(4080), 255);
}

TEST(BorderedRows, WrapAroundWithNearestCornersInTheCorners) {
    // 3 x 2 picture with a distinct level in each pixel: a b c / d e f.
    const DrawingSurface picture = greyPicture(3, 2, {10, 20, 30, 40, 50, 60});
    const auto row = [&](int r) {
        std::vector<uchar> bytes(15);
        BuildBorderedRow(picture, r, bytes.data());
        std::vector<int> levels;
        for (int x = 0; x < 5; ++x)
            levels.push_back(bytes[std::size_t(3 * x + 1)]);
        return levels;
    };
    // Top border: the bottom row, between the top corners.
    EXPECT_EQ(row(0), (std::vector<int>{10, 40, 50, 60, 30}));
    // Inner rows: each row between its own right-most and left-most pixels.
    EXPECT_EQ(row(1), (std::vector<int>{30, 10, 20, 30, 10}));
    EXPECT_EQ(row(2), (std::vector<int>{60, 40, 50, 60, 40}));
    // Bottom border: the top row, between the bottom corners.
    EXPECT_EQ(row(3), (std::vector<int>{40, 10, 20, 30, 60}));
}

TEST(BorderedRows, KeepTheThreeChannelsInOrder) {
    DrawingSurface picture(2, 1, DrawingSurface::Format::Bit24);
    picture.setPixel(0, 0, 0x00030201); // red 1, green 2, blue 3
    picture.setPixel(1, 0, 0x00060504);
    std::vector<uchar> bytes(12);
    BuildBorderedRow(picture, 1, bytes.data());
    EXPECT_EQ(bytes, (std::vector<uchar>{6, 5, 4, 3, 2, 1, 6, 5, 4, 3, 2, 1}));
}

TEST(Filter3x3, BlurOfWhiteWithBlackBottomRow) {
    // The corners of the top row see their own pixel as the outer diagonal neighbour, so only
    // two black neighbours: 2 x 6 x 255 / 16 = 191; the others see three: 2550 / 16 = 159.
    for (FilterPath path : supportedPaths()) {
        DrawingSurface picture = greyPicture(3, 3, {255, 255, 255, 255, 255, 255, 0, 0, 0});
        Filter3x3(EffectWeights(efBlur).weights, EffectWeights(efBlur).divisor, picture, path);
        EXPECT_EQ(greyLevels(picture),
                  (std::vector<int>{191, 159, 191, 159, 159, 159, 159, 191, 159}));
    }
    // A wide one runs the vector kernels over whole blocks.
    DrawingSurface wide(40, 4);
    wide.brush.color = clBlack;
    wide.fillRect(0, 3, 40, 4);
    Filter3x3(EffectWeights(efBlur), wide);
    EXPECT_EQ(wide.format(), DrawingSurface::Format::Bit24);
    EXPECT_EQ(wide.pixel(0, 0), 0x00BFBFBFu);
    EXPECT_EQ(wide.pixel(39, 0), 0x00BFBFBFu);
    for (int x = 1; x < 39; ++x)
        ASSERT_EQ(wide.pixel(x, 0), 0x009F9F9Fu) << x;
    EXPECT_EQ(wide.pixel(20, 1), 0x00FFFFFFu);
}

TEST(Filter3x3, UniformPictureKeptBySixAndBlackenedByTwo) {
    const TColor colour = 0x000A82FA;
    for (FilterPath path : supportedPaths())
        for (EffectKind kind : allEffects) {
            DrawingSurface picture(37, 5, DrawingSurface::Format::Bit24);
            picture.brush.color = colour;
            picture.fillRect(0, 0, 37, 5);
            Filter3x3(EffectWeights(kind).weights, EffectWeights(kind).divisor, picture, path);
            const TColor expected = kind == efHollow || kind == efRelief ? clBlack : colour;
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 37; ++x)
                    ASSERT_EQ(picture.pixel(x, y), expected) << "kind " << int(kind);
        }
}

TEST(Filter3x3, ClampsAndTruncates) {
    for (FilterPath path : supportedPaths()) {
        // Sharpen of one white dot on black: 16 x 255 / 8 clamps to 255, the neighbours'
        // -255 / 8 to 0.
        DrawingSurface dot = greyPicture(3, 3, {0, 0, 0, 0, 255, 0, 0, 0, 0});
        Filter3x3(EffectWeights(efSharpen).weights, 8, dot, path);
        EXPECT_EQ(greyLevels(dot), (std::vector<int>{0, 0, 0, 0, 255, 0, 0, 0, 0}));
        // Nostalgic: 9 x 110 - 8 x 100 = 190 in the middle, 9 x 100 - 7 x 100 - 110 = 90 around.
        DrawingSurface bump = greyPicture(3, 3, {100, 100, 100, 100, 110, 100, 100, 100, 100});
        Filter3x3(EffectWeights(efNostalgic).weights, 1, bump, path);
        EXPECT_EQ(greyLevels(bump), (std::vector<int>{90, 90, 90, 90, 190, 90, 90, 90, 90}));
        // Soft of 7 in the middle of 0: 8 x 7 / 32 = 1.75 gives 1, 3 x 7 / 32 = 0.66 gives 0.
        DrawingSurface faint = greyPicture(3, 3, {0, 0, 0, 0, 7, 0, 0, 0, 0});
        Filter3x3(EffectWeights(efSoft).weights, 32, faint, path);
        EXPECT_EQ(greyLevels(faint), (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0, 0}));
    }
}

TEST(Filter3x3, OnePixelWideAndOnePixelHigh) {
    const auto& blur = EffectWeights(efBlur);
    // One column: a pixel's left and right neighbours are itself.
    DrawingSurface column = greyPicture(1, 3, {10, 100, 200});
    Filter3x3(blur, column);
    EXPECT_EQ(greyLevels(column), (std::vector<int>{67, 103, 138}));
    // One row: the rows above and below are the row itself, with the corner pixels at the
    // ends, so the left pixel sees 10 10 100 above and below (a full wrap would give it 200).
    for (FilterPath path : supportedPaths()) {
        DrawingSurface row = greyPicture(3, 1, {10, 100, 200});
        Filter3x3(blur.weights, blur.divisor, row, path);
        EXPECT_EQ(greyLevels(row), (std::vector<int>{67, 103, 138}));
    }
    // A single pixel is all its own neighbours.
    DrawingSurface single = greyPicture(1, 1, {77});
    Filter3x3(blur, single);
    EXPECT_EQ(greyLevels(single), (std::vector<int>{77}));
    Filter3x3(EffectWeights(efHollow), single);
    EXPECT_EQ(greyLevels(single), (std::vector<int>{0}));
}

TEST(Filter3x3, LongRowsAndColumnsMatchTheReference) {
    QRandomGenerator random(7);
    for (const QSize size : {QSize(1, 50), QSize(50, 1), QSize(11, 1), QSize(1, 2), QSize(2, 1)})
        for (FilterPath path : supportedPaths())
            for (EffectKind kind : allEffects) {
                const DrawingSurface original = randomPicture(size.width(), size.height(), random);
                DrawingSurface filtered(original.image().copy());
                Filter3x3(EffectWeights(kind).weights, EffectWeights(kind).divisor, filtered, path);
                ASSERT_TRUE(
                    samePixels(filtered, referenceFilter(EffectWeights(kind).weights,
                                                         EffectWeights(kind).divisor, original)))
                    << size.width() << "x" << size.height() << " kind " << int(kind);
            }
}

TEST(Filter3x3, EveryKernelEqualsTheReferenceOnRandomPictures) {
    QRandomGenerator random(20261207);
    // Widths around every block length: rows of 3 to 300 bytes, whole blocks and remainders.
    std::vector<QSize> sizes;
    for (int width = 1; width <= 45; ++width)
        sizes.emplace_back(width, 1 + width % 5);
    for (const QSize size : {QSize(64, 3), QSize(100, 7), QSize(211, 4), QSize(333, 9)})
        sizes.push_back(size);
    int compared = 0;
    for (const QSize size : sizes) {
        const DrawingSurface original = randomPicture(size.width(), size.height(), random);
        for (EffectKind kind : allEffects) {
            const FilterWeights& f = EffectWeights(kind);
            const DrawingSurface expected = referenceFilter(f.weights, f.divisor, original);
            for (FilterPath path : supportedPaths()) {
                // In place on pixels of its own, and into a new bitmap when they are shared.
                DrawingSurface own(original.image().copy());
                Filter3x3(f.weights, f.divisor, own, path);
                ASSERT_TRUE(samePixels(own, expected))
                    << size.width() << "x" << size.height() << " kind " << int(kind) << " path "
                    << int(path);
                DrawingSurface shared = original;
                Filter3x3(f.weights, f.divisor, shared, path);
                ASSERT_TRUE(samePixels(shared, expected));
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, int(sizes.size()) * 8 * int(supportedPaths().size()));
}

TEST(Filter3x3, WeightsBeyondTheVectorKernelsStayExact) {
    // Weights outside a signed byte, sums beyond 16 bits and divisors that are not powers of
    // two take the portable kernel whatever is asked for.
    QRandomGenerator random(99);
    const std::vector<std::pair<std::array<qint32, 9>, int>> filters = {
        {{1, 2, 1, 2, 4, 2, 1, 2, 1}, 3},
        {{-300, 0, 300, -600, 0, 600, -300, 0, 300}, 7},
        {{100, 100, 100, 100, 100, 100, 100, 100, 100}, 64},
        {{2000000000, 0, 0, 0, 2000000000, 0, 0, 0, -2000000000}, 65535},
    };
    for (const auto& [weights, divisor] : filters)
        for (FilterPath path : supportedPaths()) {
            const DrawingSurface original = randomPicture(29, 6, random);
            DrawingSurface filtered(original.image().copy());
            Filter3x3(weights, quint16(divisor), filtered, path);
            ASSERT_TRUE(samePixels(filtered, referenceFilter(weights, divisor, original)))
                << "divisor " << divisor;
        }
    DrawingSurface picture(4, 4);
    EXPECT_THROW(Filter3x3({0, 0, 0, 0, 1, 0, 0, 0, 0}, 0, picture), TarvelError);
}

TEST(Filter3x3, LeavesAPictureSharingItsPixelsAlone) {
    QRandomGenerator random(3);
    const DrawingSurface original = randomPicture(50, 8, random);
    const DrawingSurface keep = original; // shares the pixels
    DrawingSurface filtered = original;   // shares them too
    Filter3x3(EffectWeights(efSharpen), filtered);
    QRandomGenerator again(3);
    EXPECT_TRUE(samePixels(keep, randomPicture(50, 8, again)));
    EXPECT_TRUE(samePixels(filtered, referenceFilter(EffectWeights(efSharpen).weights, 8, keep)));
}

TEST(Filter3x3, ThirtyTwoBitPictureBecomesTwentyFourBit) {
    DrawingSurface picture(6, 3); // 32 bits, white
    picture.brush.color = 0x00204080;
    picture.fillRect(0, 2, 6, 3);
    Filter3x3(EffectWeights(efSoft), picture);
    ASSERT_EQ(picture.format(), DrawingSurface::Format::Bit24);
    ASSERT_EQ(picture.size(), QSize(6, 3));
    // Middle row, middle pixel: three bottom neighbours of the colour, the rest white.
    const auto expect = [](int c) { return (8 * 255 + 3 * 5 * 255 + 3 * 3 * c) / 32; };
    EXPECT_EQ(picture.pixel(2, 1),
              TColor(expect(0x80)) | TColor(expect(0x40)) << 8 | TColor(expect(0x20)) << 16);
    DrawingSurface empty;
    Filter3x3(EffectWeights(efSoft), empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(CopyTo24Bit, CopiesEveryPixelIntoTwentyFourBits) {
    DrawingSurface source(5, 4); // 32 bits
    source.brush.color = 0x00123456;
    source.fillRect(1, 1, 4, 3);
    DrawingSurface target(9, 9);
    target.brush.color = clRed;
    CopyTo24Bit(target, source);
    ASSERT_EQ(target.format(), DrawingSurface::Format::Bit24);
    ASSERT_EQ(target.size(), QSize(5, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(target.pixel(x, y), source.pixel(x, y));
    EXPECT_EQ(target.brush.color, clRed);

    // A 24-bit copy is independent of its source once either is drawn on.
    DrawingSurface copy;
    CopyTo24Bit(copy, target);
    copy.setPixel(0, 0, clBlack);
    EXPECT_EQ(target.pixel(0, 0), clWhite);
    EXPECT_EQ(copy.pixel(0, 0), clBlack);

    CopyTo24Bit(copy, DrawingSurface());
    EXPECT_TRUE(copy.isEmpty());
}

TEST(Filter3x3Into, WritesTheTargetAndOnlyItsOwnPixels) {
    QRandomGenerator random(11);
    const DrawingSurface source = randomPicture(21, 9, random);
    const DrawingSurface expected = referenceFilter(EffectWeights(efClear).weights, 1, source);

    // A target of its own of the right size is written where it is.
    DrawingSurface target = randomPicture(21, 9, random);
    target.brush.color = clRed;
    const uchar* pixels = target.scanLine(0);
    Filter3x3Into(EffectWeights(efClear), source, target);
    EXPECT_TRUE(samePixels(target, expected));
    EXPECT_EQ(target.scanLine(0), pixels);
    EXPECT_EQ(target.brush.color, clRed);

    // A target whose pixels another picture shares gets new ones; the sharer keeps its own.
    const DrawingSurface sharer = target;
    Filter3x3Into(EffectWeights(efBlur), source, target);
    EXPECT_TRUE(samePixels(sharer, expected));
    EXPECT_TRUE(samePixels(target, referenceFilter(EffectWeights(efBlur).weights, 16, source)));

    // A target of another size or depth takes the source's size in 24 bits.
    DrawingSurface small(3, 3);
    Filter3x3Into(EffectWeights(efClear), source, small);
    EXPECT_EQ(small.format(), DrawingSurface::Format::Bit24);
    EXPECT_TRUE(samePixels(small, expected));

    // A 32-bit source is read as its 24-bit copy and left as it is.
    DrawingSurface deep(4, 4);
    deep.setPixel(1, 1, 0x00102030);
    const DrawingSurface deepBefore(deep.image().copy());
    DrawingSurface out;
    Filter3x3Into(EffectWeights(efOutline), deep, out);
    EXPECT_EQ(deep.format(), DrawingSurface::Format::Bit32);
    EXPECT_EQ(deep.image(), deepBefore.image());
    DrawingSurface deep24;
    CopyTo24Bit(deep24, deep);
    EXPECT_TRUE(samePixels(out, referenceFilter(EffectWeights(efOutline).weights, 1, deep24)));

    Filter3x3Into(EffectWeights(efOutline), DrawingSurface(), out);
    EXPECT_TRUE(out.isEmpty());
}

TEST(CopyTo24BitAndFilter, GivesTheBaseAndTheFilterOfItInOneWalk) {
    QRandomGenerator random(2026);
    const FilterWeights& soft = EffectWeights(efSoft);
    for (const QSize size : {QSize(1, 1), QSize(1, 9), QSize(13, 1), QSize(11, 2), QSize(37, 7),
                             QSize(64, 5), QSize(101, 12), QSize(1200, 2400) /* mapped */}) {
        DrawingSurface canvas(size.width(), size.height()); // 32 bits, alpha bytes random too
        for (int y = 0; y < size.height(); ++y)
            for (int i = 0; i < 4 * size.width(); ++i)
                canvas.scanLine(y)[i] = uchar(random.bounded(256));
        DrawingSurface expectedBase;
        CopyTo24Bit(expectedBase, canvas);
        const DrawingSurface expected = referenceFilter(soft.weights, soft.divisor, expectedBase);
        const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());

        // The canvas filtered over its own pixels; an old base of the same size is reused.
        DrawingSurface base(size.width(), size.height(), DrawingSurface::Format::Bit24);
        const uchar* basePixels = base.scanLine(0);
        DrawingSurface own(canvas.image().copy());
        CopyTo24BitAndFilter(soft, own, base, own);
        ASSERT_TRUE(samePixels(base, expectedBase)) << at.toStdString();
        ASSERT_TRUE(samePixels(own, expected)) << at.toStdString();
        EXPECT_EQ(base.scanLine(0), basePixels);
        EXPECT_EQ(own.format(), DrawingSurface::Format::Bit24);
        // The result is an ordinary picture: a copy of it is independent once drawn on.
        DrawingSurface copy = own;
        copy.setPixel(0, 0, 0x00010203);
        ASSERT_TRUE(samePixels(own, expected));

        // A canvas whose pixels are shared keeps them; a base of another size is replaced.
        DrawingSurface shared = canvas;
        DrawingSurface smallBase(2, 2);
        CopyTo24BitAndFilter(soft, shared, smallBase, shared);
        ASSERT_TRUE(samePixels(smallBase, expectedBase));
        ASSERT_TRUE(samePixels(shared, expected));
        EXPECT_EQ(canvas.format(), DrawingSurface::Format::Bit32);

        // A 24-bit source takes the two steps one after the other.
        DrawingSurface flat(expectedBase.image().copy());
        DrawingSurface flatBase;
        CopyTo24BitAndFilter(soft, flat, flatBase, flat);
        ASSERT_TRUE(samePixels(flatBase, expectedBase));
        ASSERT_TRUE(samePixels(flat, expected));
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Benchmark cases shared by the effect benchmarks: a 4000 x 4000 24-bit picture (the largest
// canvas), one memcpy of its pixels as the yardstick, and the effect filter on it.
#pragma once

#include "Filter3x3.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>
#include <cstring>
#include <vector>

namespace effects_bench {

constexpr int side = 4000;

inline DrawingSurface largestPicture() {
    DrawingSurface picture(side, side, DrawingSurface::Format::Bit24);
    QRandomGenerator random(1);
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int i = 0; i < 3 * side / 4; ++i)
            row[i] = random.generate();
    }
    return picture;
}

inline void pixelBytesProcessed(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * qint64(side) * side * 3);
}

// One memcpy of the picture's pixels into a buffer that is already mapped.
inline void Memcpy(benchmark::State& state) {
    const std::vector<uchar> source(std::size_t(side) * side * 3, 7);
    std::vector<uchar> target(source.size(), 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    pixelBytesProcessed(state);
}

// The filter in place on a picture of its own (argument: the kernel, 0 portable, 1 SSSE3,
// 2 AVX2), blur weights.
inline void Filter3x3InPlace(benchmark::State& state) {
    const auto path = FilterPath(state.range(0));
    if (!filterPathSupported(path)) {
        state.SkipWithError("kernel not supported on this processor");
        return;
    }
    DrawingSurface picture = largestPicture();
    const FilterWeights& blur = EffectWeights(efBlur);
    for (auto _ : state) {
        Filter3x3(blur.weights, blur.divisor, picture, path);
        benchmark::ClobberMemory();
    }
    pixelBytesProcessed(state);
}

// The filter on a picture whose pixels are shared with a kept base, as an effect runs it:
// the result goes to a new bitmap.
inline void Filter3x3FromBase(benchmark::State& state) {
    const DrawingSurface base = largestPicture();
    const FilterWeights& blur = EffectWeights(efBlur);
    for (auto _ : state) {
        DrawingSurface working = base;
        Filter3x3(blur, working);
        benchmark::DoNotOptimize(working.scanLine(0));
    }
    pixelBytesProcessed(state);
}

} // namespace effects_bench

#define TARVEL_REGISTER_FILTER_BENCHMARKS()                                                        \
    BENCHMARK(effects_bench::Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();                \
    BENCHMARK(effects_bench::Filter3x3InPlace)                                                     \
        ->Arg(int(FilterPath::Avx2))                                                               \
        ->Arg(int(FilterPath::Ssse3))                                                              \
        ->Arg(int(FilterPath::Portable))                                                           \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime();                                                                           \
    BENCHMARK(effects_bench::Filter3x3FromBase)->Unit(benchmark::kMillisecond)->UseRealTime()

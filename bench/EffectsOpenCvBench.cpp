// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The effect filter against OpenCV's filter2D with the same weights on the same 8-bit
// three-channel picture, the border wrapped by copyMakeBorder, on one thread. Built only where
// OpenCV is installed; the program itself does not use OpenCV.
#include "EffectsBenchCases.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace {

void OpenCvFilter2D(benchmark::State& state) {
    cv::setNumThreads(1);
    const DrawingSurface picture = effects_bench::largestPicture();
    const cv::Mat source(picture.height(), picture.width(), CV_8UC3,
                         const_cast<uchar*>(picture.scanLine(0)), size_t(picture.bytesPerLine()));
    const FilterWeights& blur = EffectWeights(efBlur);
    cv::Mat kernel(3, 3, CV_32F);
    for (int i = 0; i < 9; ++i)
        kernel.at<float>(i / 3, i % 3) = float(blur.weights[i]) / blur.divisor;
    cv::Mat bordered;
    cv::Mat result;
    for (auto _ : state) {
        cv::copyMakeBorder(source, bordered, 1, 1, 1, 1, cv::BORDER_WRAP);
        cv::filter2D(bordered, result, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_ISOLATED);
        benchmark::DoNotOptimize(result.data);
    }
    effects_bench::pixelBytesProcessed(state);
}

} // namespace

TARVEL_REGISTER_FILTER_BENCHMARKS();
BENCHMARK(OpenCvFilter2D)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

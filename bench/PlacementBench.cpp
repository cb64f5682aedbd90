// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What a stamp costs on a large canvas (the history's copy of the stamped rectangle plus
// drawing a keyed picture), and what a fan preview at the largest radius costs, each beside
// one memcpy of the same pixels.
#include "CircleGeometry.h"
#include "FanGeometry.h"
#include "ImageControl.h"
#include "Unit1.h"
#include "Unit6.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

constexpr int canvasSide = 4000;

// One copy of a canvas's pixels between two buffers that are already in memory.
void BM_MemcpyPixels(benchmark::State& state) {
    const size_t bytes = size_t(state.range(0)) * size_t(state.range(1)) * 4;
    std::vector<char> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_MemcpyPixels)
    ->Args({canvasSide, canvasSide})
    ->Args({4000, 2000})
    ->Unit(benchmark::kMillisecond);

// The stamp as the surfaces do it: the snapshot shares the canvas, the first drawing on the
// canvas copies it, and the 100 x 100 circle is drawn leaving out its key colour.
void BM_StampOnSurface(benchmark::State& state) {
    DrawingSurface canvas(canvasSide, canvasSide);
    const DrawingSurface circle = renderCirclePicture(CircleSettingsRecord{});
    DrawingSurface snapshot;
    int step = 0;
    for (auto _ : state) {
        snapshot = canvas;
        canvas.draw(100 + step % 7, 200, circle);
        benchmark::DoNotOptimize(canvas.scanLine(200));
        ++step;
    }
}
BENCHMARK(BM_StampOnSurface)->Unit(benchmark::kMillisecond);

// The whole press handler of the main window with a circle pending on a 4000 x 4000 canvas.
void BM_StampThroughMainWindow(benchmark::State& state) {
    TForm1 form;
    form.createDialogs();
    form.Image1->setControlSize(canvasSide, canvasSide);
    form.Image1->canvas();
    form.Form6->Button4Click();
    int step = 0;
    for (auto _ : state) {
        form.Form6->CircleSettings.PendingPlacement = 1;
        form.Image1MouseDown(QPoint(100 + step % 7, 200), Qt::LeftButton);
        ++step;
    }
}
BENCHMARK(BM_StampThroughMainWindow)->Unit(benchmark::kMillisecond);

// The fan preview at radius 1000: a 4000 x 2000 picture, key background, outline and fill.
void BM_FanPreviewRadius1000(benchmark::State& state) {
    FanSettingsRecord settings;
    settings.Radius = 1000;
    settings.LineWidth = 1;
    settings.FillColor = clRed;
    for (auto _ : state) {
        DrawingSurface fan = renderFanPicture(settings, true);
        benchmark::DoNotOptimize(fan.scanLine(1000));
    }
}
BENCHMARK(BM_FanPreviewRadius1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

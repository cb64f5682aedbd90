// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A 四尺 中堂 made by its template (1983 x 3966 pixels, 73 dpi) drawn again from its steps
// for print: at 150 dpi, and at the 300 dpi asked, which the memory budget lowers; against
// composing the work at its canvas's size.
#include "CompositionState.h"
#include "ScaledRendering.h"
#include "WorkTemplate.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

WorkTemplate centralScroll() {
    WorkTemplate work;
    work.format = WorkFormat::CentralScroll;
    work.longCm = 138;
    work.shortCm = 69;
    work.text = QStringLiteral("白日依山尽黄河入海流欲穷千里目更上一层楼");
    work.upper = QStringLiteral("录王之涣登鹳雀楼");
    work.lower = QStringLiteral("丙午年春月书");
    work.nameSeal = QStringLiteral("王印");
    work.leadingSeal = QStringLiteral("千里");
    return work;
}

void BM_ComposeAtCanvasSize(benchmark::State& state) {
    for (auto _ : state) {
        CompositionState composed;
        composed.applyTemplate(centralScroll());
        benchmark::DoNotOptimize(composed.canvas().picture().image().constBits());
    }
}
BENCHMARK(BM_ComposeAtCanvasSize)->Unit(benchmark::kMillisecond);

void BM_DrawnAgainForPrint(benchmark::State& state) {
    CompositionState composed;
    composed.applyTemplate(centralScroll());
    const int dpi = int(state.range(0));
    for (auto _ : state) {
        const ScaledRendering drawn = renderForPrint(composed, dpi);
        state.counters["dpi"] = drawn.dotsPerInch;
        state.counters["megapixels"] = double(drawn.picture.width()) * drawn.picture.height() / 1e6;
    }
}
BENCHMARK(BM_DrawnAgainForPrint)->Arg(150)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

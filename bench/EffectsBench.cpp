// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Effect speed on the largest canvas: the filter against one memcpy of the picture, and the
// whole effect command of the main window (every copy included) against the same memcpy.
#include "EffectsBenchCases.h"
#include "ImageControl.h"
#include "Unit1.h"

#include <QApplication>
#include <memory>

namespace {

// The blur command on a 4000 x 4000 work canvas whose base has been taken: each run puts the
// base back, copies, filters and shows the result.
void ApplyEffectCommand(benchmark::State& state) {
    TForm1 form;
    DrawingSurface canvas(effects_bench::side, effects_bench::side); // as a new canvas: 32 bits
    canvas.brush.color = 0x00336699;
    canvas.fillRect(100, 100, 3900, 3900);
    form.Image1->setPicture(std::move(canvas));
    form.N23Click(); // takes the base
    for (auto _ : state) {
        form.N27Click();
        benchmark::DoNotOptimize(form.Image1->picture().scanLine(0));
    }
    effects_bench::pixelBytesProcessed(state);
}

// The first effect on a fresh 32-bit canvas: the base is converted to 24 bits as well. The
// window holds the canvas's bitmap alone, as the new-canvas command leaves it.
void FirstEffectCommand(benchmark::State& state) {
    TForm1 form;
    DrawingSurface canvas(effects_bench::side, effects_bench::side);
    for (auto _ : state) {
        state.PauseTiming();
        form.composition().takeWork(); // the composition as at program start
        form.Image1->setPicture(DrawingSurface(canvas.image().copy()));
        state.ResumeTiming();
        form.N27Click();
    }
    effects_bench::pixelBytesProcessed(state);
}

} // namespace

TARVEL_REGISTER_FILTER_BENCHMARKS();
BENCHMARK(ApplyEffectCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FirstEffectCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

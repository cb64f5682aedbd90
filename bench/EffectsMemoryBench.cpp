// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Peak memory of one effect on the largest canvas (4000 x 4000), read from the kernel's
// high-water mark of resident memory, which is reset just before the effect. Each figure is
// divided by the canvas's 24-bit pixel bytes (48 000 000). Linux only; run on its own.
#include "ImageControl.h"
#include "Unit1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr int side = 4000;
constexpr double pixelBytes = double(side) * side * 3;

// A field of /proc/self/status in bytes (VmRSS, VmHWM).
double statusBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(status.readAll());
    const QRegularExpression line(QStringLiteral("%1:\\s+(\\d+) kB").arg(QLatin1String(field)));
    const QRegularExpressionMatch match = line.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() * 1024 : -1;
}

bool resetPeak() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// Runs one effect command and records, as multiples of the pixel bytes: the peak resident
// memory above what the process held before the canvas existed (canvas, base, result and
// every temporary), and the peak above what it held just before the command.
void measure(benchmark::State& state, TForm1& form, double beforeCanvas,
             void (TForm1::*command)()) {
    const double beforeCommand = statusBytes("VmRSS");
    if (!resetPeak()) {
        state.SkipWithError("cannot reset the peak of resident memory");
        return;
    }
    (form.*command)();
    const double peak = statusBytes("VmHWM");
    state.counters["peak_with_canvas_x"] = (peak - beforeCanvas) / pixelBytes;
    state.counters["peak_growth_x"] = (peak - beforeCommand) / pixelBytes;
    state.counters["peak_MB"] = peak / 1e6;
}

void FirstEffectPeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        TForm1 form;
        const double beforeCanvas = statusBytes("VmRSS");
        DrawingSurface canvas(side, side); // as the new-canvas command leaves it: 32 bits
        canvas.brush.color = 0x00336699;
        canvas.fillRect(100, 100, 3900, 3900);
        form.Image1->setPicture(std::move(canvas));
        measure(state, form, beforeCanvas, &TForm1::N27Click);
    }
}

void LaterEffectPeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        TForm1 form;
        const double beforeCanvas = statusBytes("VmRSS");
        DrawingSurface canvas(side, side);
        canvas.brush.color = 0x00336699;
        canvas.fillRect(100, 100, 3900, 3900);
        form.Image1->setPicture(std::move(canvas));
        form.N23Click();
        measure(state, form, beforeCanvas, &TForm1::N27Click);
    }
}

} // namespace

BENCHMARK(FirstEffectPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LaterEffectPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Rotated text speed: a 20-character inscription drawn character by character with a turned
// font, against the same characters in one upright textOut call on the same canvas.
#include "Gbk.h"
#include "RotatedText.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

const QString line = QStringLiteral("白日依山尽黄河入海流欲穷千里目更上一层楼书");

TSetSector inscription(int angle) {
    TSetSector s;
    s.Text = Gbk::encode(line);
    s.Angle = angle;
    s.Size = 40;
    s.CharSpacing = 2;
    s.Placement = tpVertical;
    s.Color = clBlack;
    return s;
}

void BM_DrawRotatedText(benchmark::State& state) {
    DrawingSurface canvas(1273, 649);
    const TSetSector s = inscription(int(state.range(0)));
    for (auto _ : state) {
        DrawRotatedText(canvas, 600, 100, s);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * line.size());
}
BENCHMARK(BM_DrawRotatedText)->Arg(0)->Arg(30)->Arg(90)->Unit(benchmark::kMicrosecond);

// The floor: the same characters and font in one upright call, no per-character work.
void BM_UprightTextOut(benchmark::State& state) {
    DrawingSurface canvas(1273, 649);
    canvas.font.height = -40;
    canvas.font.color = clBlack;
    canvas.brush.style = DrawingSurface::BrushStyle::Clear;
    for (auto _ : state) {
        canvas.textOut(100, 100, line);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * line.size());
}
BENCHMARK(BM_UprightTextOut)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The arrangement 扇面 against a horizontal block of the same characters.
//   BM_FanTextBlock      a 扇面 block of 100 characters in a folding-fan ring: the plan (the
//                        editor walk that measures it) and the drawing of the turned characters
//   BM_HorizontalBlock   the same 100 characters drawn by DrawTextBlock from left to right
// Both draw on the same 4000 x 2000 canvas in the Song face at 20 points; the goal is the fan
// at most twice the horizontal block.
#include "FanTextLayout.h"
#include "TextLayout.h"
#include "TextMeasure.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

// One hundred different ideographs spread over the first 5,000 from U+4E00.
QString hundredCharacters() {
    QString text;
    for (int i = 0; i < 100; ++i)
        text.append(QChar(char16_t(0x4E00 + i * 97 % 5000)));
    return text;
}

struct Block {
    Block() {
        text.setText(hundredCharacters());
        text.selectAll();
        text.setSelName(QStringLiteral("宋体"));
        text.setSelSize(20);
        resetTextSettings(settings);
        MeasureTextBlock(text, settings);
        canvas.brush.style = DrawingSurface::BrushStyle::Clear;
    }
    RichText text;
    TextSettings settings;
    DrawingSurface canvas{4000, 2000};
    const FanRing ring{QPoint(2000, 1950), 1800, 810, 160};
};

void BM_FanTextBlock(benchmark::State& state) {
    Block block;
    block.settings.FanLayout = true;
    for (auto _ : state) {
        const FanTextPlan plan = planFanTextBlock(block.text, block.settings, block.ring);
        DrawFanTextBlock(block.canvas, block.text, block.settings, block.ring, plan);
        benchmark::DoNotOptimize(block.canvas.scanLine(0));
    }
}
BENCHMARK(BM_FanTextBlock)->Unit(benchmark::kMillisecond);

void BM_HorizontalBlock(benchmark::State& state) {
    Block block;
    for (auto _ : state) {
        DrawTextBlock(block.canvas, block.text, block.settings, arHorzLeftToRight,
                      block.canvas.width());
        benchmark::DoNotOptimize(block.canvas.scanLine(0));
    }
}
BENCHMARK(BM_HorizontalBlock)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

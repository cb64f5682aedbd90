// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The zoomed canvas: a full repaint of a 1280 x 900 view of a 4000 x 4000 canvas fitted to the
// view against one at 100 %, and bringing the zoomed-out copy up to date after a stamp against
// a memcpy of the stamped rectangle.
#include "ImageControl.h"
#include "ZoomCache.h"

#include <QApplication>
#include <QImage>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

constexpr int side = 4000;
const QSize viewSize(1280, 900);
const QRect stamped(1500, 1700, 400, 400); // a seal's or a circle's rectangle

QImage canvasPicture() {
    QImage picture(side, side, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < side; ++x)
            row[x] = 0xFF000000u | (random.generate() & 0xFFFFFF);
    }
    return picture;
}

const QImage& picture() {
    static const QImage shared = canvasPicture();
    return shared;
}

// Every pixel of the view painted, as when the window is shown again; the copy is warm.
void repaint(benchmark::State& state, double zoom) {
    ImageControl control(nullptr, QSize(side, side));
    control.setPicture(DrawingSurface(picture()));
    control.setZoom(zoom);
    QImage screen(viewSize, QImage::Format_RGB32);
    const QRegion shown(QRect(QPoint(0, 0), viewSize).intersected(control.rect()));
    control.render(&screen, QPoint(), shown);
    for (auto _ : state) {
        control.render(&screen, QPoint(), shown);
        benchmark::DoNotOptimize(screen.constBits());
    }
}

void BM_RepaintAt100(benchmark::State& state) {
    repaint(state, 1.0);
}
BENCHMARK(BM_RepaintAt100)->Unit(benchmark::kMillisecond);

void BM_RepaintFitted(benchmark::State& state) {
    repaint(state, std::min(double(viewSize.width()) / side, double(viewSize.height()) / side));
}
BENCHMARK(BM_RepaintFitted)->Unit(benchmark::kMillisecond);

void BM_CacheUpdateAfterStamp(benchmark::State& state) {
    ZoomCache cache;
    cache.rebuild(picture(), double(viewSize.height()) / side);
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.update(picture(), stamped));
}
BENCHMARK(BM_CacheUpdateAfterStamp)->Unit(benchmark::kMicrosecond);

void BM_MemcpyStampedRectangle(benchmark::State& state) {
    QImage target(side, side, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int y = stamped.top(); y <= stamped.bottom(); ++y)
            std::memcpy(target.scanLine(y) + 4 * stamped.left(),
                        picture().constScanLine(y) + 4 * stamped.left(), 4 * stamped.width());
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_MemcpyStampedRectangle)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    (void)picture();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

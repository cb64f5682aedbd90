// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal's turn: RotateBitmap on a 2000 x 2000 picture at 30 degrees against a memcpy of
// its destination, the plain per-pixel mapping and, where OpenCV is installed, warpAffine with
// nearest-neighbour sampling on one thread; and a whole 400 x 400 seal preview (render,
// frame, turn) against the turn alone.
#include "RotateBitmap.h"
#include "SealRenderer.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef TARVEL_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int side = 2000;
constexpr long double angle = 30;

DrawingSurface testPicture(int w, int h) {
    DrawingSurface picture(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | QRgb((x * 7 + y * 13) & 0xFFFFFF);
    }
    return picture;
}

void BM_MemcpyOfDestination(benchmark::State& state) {
    const QSize size = rotatedSize(QSize(side, side), rotationCoefficients(angle));
    const size_t bytes = size_t(size.width()) * size.height() * 4;
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOfDestination)->Unit(benchmark::kMillisecond);

void BM_RotateBitmap(benchmark::State& state) {
    DrawingSurface picture = testPicture(side, side);
    for (auto _ : state) {
        DrawingSurface turned = RotateBitmap(picture, clFuchsia, angle);
        benchmark::DoNotOptimize(turned.scanLine(0));
    }
}
BENCHMARK(BM_RotateBitmap)->Unit(benchmark::kMillisecond);

// The mapping one pixel at a time with its bounds test, as the tests keep it.
void BM_PlainPerPixelMapping(benchmark::State& state) {
    const DrawingSurface picture = testPicture(side, side);
    const RotationCoefficients k = rotationCoefficients(angle);
    const QSize size = rotatedSize(picture.size(), k);
    const QPoint pivot = destinationPivot(size, angle);
    const int w = side, h = side, nW = size.width(), nH = size.height();
    for (auto _ : state) {
        QImage out(nW, nH, QImage::Format_RGB32);
        for (int y = 0; y < nH; ++y) {
            auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < nW; ++x) {
                const qint32 u = x - pivot.x(), v = (nH - 1 - y) - pivot.y();
                const qint32 sx = w / 2 + ((u * k.cosine - v * k.sine) >> 16);
                const qint32 sb = h / 2 + ((u * k.sine + v * k.cosine) >> 16);
                row[x] = (sx >= 0 && sx < w && sb >= 0 && sb < h)
                             ? reinterpret_cast<const QRgb*>(picture.scanLine(h - 1 - sb))[sx]
                             : 0xFFFF00FFu;
            }
        }
        benchmark::DoNotOptimize(out.bits());
    }
}
BENCHMARK(BM_PlainPerPixelMapping)->Unit(benchmark::kMillisecond);

#ifdef TARVEL_HAVE_OPENCV
void BM_OpenCvWarpAffineNearest(benchmark::State& state) {
    cv::setNumThreads(1);
    DrawingSurface picture = testPicture(side, side);
    const cv::Mat source(side, side, CV_8UC4, picture.scanLine(0), picture.bytesPerLine());
    const RotationCoefficients k = rotationCoefficients(angle);
    const QSize size = rotatedSize(picture.size(), k);
    // The same inverse map, from destination to source pixels, in y-down coordinates.
    const double c = k.cosine / 65536.0, s = k.sine / 65536.0;
    const double cx = side / 2.0, cy = side / 2.0;
    const double px = (size.width() - 1) / 2.0, py = (size.height() - 1) / 2.0;
    const cv::Mat map =
        (cv::Mat_<double>(2, 3) << c, s, cx - c * px - s * py, -s, c, cy + s * px - c * py);
    cv::Mat turned;
    for (auto _ : state) {
        cv::warpAffine(source, turned, map, cv::Size(size.width(), size.height()),
                       cv::INTER_NEAREST | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                       cv::Scalar(255, 0, 255, 255));
        benchmark::DoNotOptimize(turned.data);
    }
}
BENCHMARK(BM_OpenCvWarpAffineNearest)->Unit(benchmark::kMillisecond);
#endif

// The seal preview's pictures for a 400 x 400 seal at 30 degrees: the seal bitmap, its
// 565 x 565 frame and the turned square.
constexpr int sealSize = 400;

TSetStamper previewSettings() {
    TSetStamper settings;
    settings.SealWidth = sealSize;
    settings.SealHeight = sealSize;
    settings.SealAngle = 30;
    settings.SealStyle = stIntaglio;
    return settings;
}

const QList<QByteArray> previewLines = {QByteArray("\xd3\xc0\xba\xcd"),
                                        QByteArray("\xbe\xc5\xc4\xea")}; // 永和 九年

void BM_SealPreview400(benchmark::State& state) {
    const TSetStamper settings = previewSettings();
    for (auto _ : state) {
        const DrawingSurface seal = renderSeal(settings, previewLines);
        const int diagonal = sealDiagonal(seal.width(), seal.height());
        DrawingSurface framed = framedSeal(seal, diagonal, diagonal);
        RotatedPictureOptions options;
        options.angle = settings.SealAngle;
        options.transparent = true;
        DrawingSurface turned = rebuildRotatedPicture(framed, sealKeyColor, options);
        benchmark::DoNotOptimize(turned.scanLine(0));
    }
}
BENCHMARK(BM_SealPreview400)->Unit(benchmark::kMillisecond);

void BM_SealTurnAlone400(benchmark::State& state) {
    const int diagonal = sealDiagonal(sealSize, sealSize);
    DrawingSurface framed = testPicture(diagonal, diagonal);
    for (auto _ : state) {
        DrawingSurface turned = RotateBitmap(framed, clFuchsia, 30);
        benchmark::DoNotOptimize(turned.scanLine(0));
    }
}
BENCHMARK(BM_SealTurnAlone400)->Unit(benchmark::kMillisecond);

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

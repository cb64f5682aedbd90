// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Start-up to the first paint of the main window, beside a bare QApplication + QMainWindow to
// its first paint, on the offscreen platform. Each iteration starts this program again as a
// child process that builds one of the two windows, waits for its first paint and exits, so
// the time includes everything a real start does (toolkit, fonts, all eight windows).
#include "FreshProcess.h"
#include "Unit1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

int runChild(int argc, char** argv, bool full) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FreshProcess::FirstPaint watcher;
    app.installEventFilter(&watcher);
    if (full) {
        TForm1 form;
        form.createDialogs();
        form.show();
        return app.exec();
    }
    QMainWindow window;
    window.show();
    return app.exec();
}

std::string selfPath;

void startChild(benchmark::State& state, const char* mode) {
    for (auto _ : state)
        if (!FreshProcess::runChild(state, selfPath, {mode}))
            return;
}

void BM_BareMainWindowFirstPaint(benchmark::State& state) {
    startChild(state, "--child-bare");
}
BENCHMARK(BM_BareMainWindowFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TarvelFirstPaint(benchmark::State& state) {
    startChild(state, "--child-full");
}
BENCHMARK(BM_TarvelFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child-bare") == 0)
        return runChild(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "--child-full") == 0)
        return runChild(argc, argv, true);
    selfPath = FreshProcess::selfPath(argv[0]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Start-up with a full Fonts folder (50 small files, or the built folder with its brush faces)
// against an empty one, and opening the manual's first page
// against showing the About box. Start-up is measured twice: in this process, where every
// iteration after the first finds Qt, its font database and the font engines of the widgets
// already set up, and in a fresh process for each iteration, as a user starts the program.
#include "FreshProcess.h"
#include "HelpController.h"
#include "HelpWindow.h"
#include "PrivateFonts.h"
#include "Unit1.h"
#include "Unit5.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>

namespace {

std::unique_ptr<QTemporaryDir> fullFolder;  // Fonts with 50 font files
std::unique_ptr<QTemporaryDir> emptyFolder; // an empty Fonts
std::unique_ptr<QTemporaryDir> manualFolder;

QString withSeparator(const QTemporaryDir& dir) {
    return dir.path() + QLatin1Char('/');
}

void prepareFolders() {
    fullFolder = std::make_unique<QTemporaryDir>();
    emptyFolder = std::make_unique<QTemporaryDir>();
    manualFolder = std::make_unique<QTemporaryDir>();
    QDir(emptyFolder->path()).mkdir(QStringLiteral("Fonts"));
    const QString fonts = fullFolder->filePath(QStringLiteral("Fonts"));
    QDir().mkpath(fonts);
    const QDir dejavu(QStringLiteral("/usr/share/fonts/truetype/dejavu"));
    const QStringList faces = dejavu.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name);
    for (int i = 0; i < 50 && !faces.isEmpty(); ++i)
        QFile::copy(dejavu.filePath(faces[i % faces.size()]),
                    fonts + QStringLiteral("/face%1.ttf").arg(i, 2, 10, QLatin1Char('0')));
    // The benchmark lives in <build>/bench, the program and its manual in <build>/bin.
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/TarvelHelp.chm"),
                manualFolder->filePath(QStringLiteral("TarvelHelp.chm")));
}

// The main window made, its fonts registered from the folder, its dialogs made and the window
// shown and painted; closing is not timed.
void startUp(benchmark::State& state, const QString& appDir) {
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>();
        form->AppDir = appDir;
        form->registerPrivateFonts(true);
        form->createDialogs();
        form->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        form->close();
        form.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_StartupEmptyFonts(benchmark::State& state) {
    startUp(state, withSeparator(*emptyFolder));
}
void BM_StartupFiftyFonts(benchmark::State& state) {
    startUp(state, withSeparator(*fullFolder));
}

// The first page of the manual from a cold start: the library loaded, the file checked and
// opened, the page shown and painted.
void BM_OpenManualFirstPage(benchmark::State& state) {
    TForm1 form;
    form.AppDir = withSeparator(*manualFolder);
    for (auto _ : state) {
        form.N8Click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!form.help().window() || !form.help().window()->hasFile())
            state.SkipWithError("the manual did not open");
        form.help().HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
        form.help().release();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The fresh process, started as the program starts: the Fonts folder of appDir read while the
// toolkit starts, the main window made with those fonts registered, its dialogs made, shown,
// and gone at its first paint.
int runStartupChild(int argc, char** argv, const QString& appDir) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PrivateFonts::prefetchFonts(PrivateFonts::fontPattern(appDir));
    QApplication app(argc, argv);
    FreshProcess::FirstPaint watcher;
    app.installEventFilter(&watcher);
    TForm1 form(nullptr, appDir);
    form.createDialogs();
    form.show();
    return app.exec();
}

std::string selfPath;

double childProcessorMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

// Wall time from the spawn to the child's exit; the counter child_cpu_ms is the child's own
// processor time per start, the steadier figure on a busy machine.
void startFreshProcess(benchmark::State& state, const QString& appDir) {
    const std::string folder = appDir.toStdString();
    const double cpuBefore = childProcessorMs();
    for (auto _ : state)
        if (!FreshProcess::runChild(state, selfPath, {"--child-startup", folder}))
            return;
    state.counters["child_cpu_ms"] =
        benchmark::Counter((childProcessorMs() - cpuBefore) / double(state.iterations()));
}

void BM_FreshStartupEmptyFonts(benchmark::State& state) {
    startFreshProcess(state, withSeparator(*emptyFolder));
}
void BM_FreshStartupFiftyFonts(benchmark::State& state) {
    startFreshProcess(state, withSeparator(*fullFolder));
}
// The Fonts folder the build makes: the Debian print faces and the four brush faces, about
// 45 MB. The benchmark lives in <build>/bench, the program and its Fonts in <build>/bin.
void BM_FreshStartupBuiltFonts(benchmark::State& state) {
    const QString bin =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")) +
        QLatin1Char('/');
    if (QDir(bin + QStringLiteral("Fonts")).entryList({QStringLiteral("*.ttf")}).isEmpty()) {
        state.SkipWithError("the build has no Fonts folder");
        return;
    }
    startFreshProcess(state, bin);
}

// The manual asked for again: the library is loaded and the window made, but the file is
// checked, opened and the page shown anew.
void BM_OpenManualAgain(benchmark::State& state) {
    TForm1 form;
    form.AppDir = withSeparator(*manualFolder);
    form.N8Click();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.N8Click();
        QCoreApplication::processEvents();
    }
    if (!form.help().window() || !form.help().window()->hasFile())
        state.SkipWithError("the manual did not open");
}

void BM_ShowAboutBox(benchmark::State& state) {
    TForm1 form;
    form.createDialogs();
    for (auto _ : state) {
        form.Form5->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        form.Form5->hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_StartupEmptyFonts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupFiftyFonts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshStartupEmptyFonts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FreshStartupFiftyFonts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FreshStartupBuiltFonts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenManualFirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenManualAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowAboutBox)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--child-startup") == 0)
        return runStartupChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    selfPath = FreshProcess::selfPath(argv[0]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareFolders();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What the history costs: undo and redo of a stamp on the largest canvas beside one memcpy of
// the stamped rectangle, the bytes a history of fifty stamps holds, and opening each example's
// work file beside running its script.
#include "CircleGeometry.h"
#include "CompositionState.h"
#include "RecoveryJournal.h"
#include "Script.h"
#include "Step.h"
#include "Unit1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int canvasSide = 4000;

struct WaitingCircle final : PlacedElement {
    DrawingSurface picture = renderCirclePicture(CircleSettingsRecord{});
    bool armed = false;
    bool pending() const override { return armed; }
    void disarm() override { armed = false; }
    Element element() const override {
        Element element;
        element.kind = ekCircle;
        element.rendered = std::make_shared<RenderedElement>(RenderedElement{picture, {}, {}});
        return element;
    }
};

struct LargeComposition {
    LargeComposition() {
        TSetStruct settings;
        settings.Width = canvasSide;
        settings.Height = canvasSide;
        settings.UseColor = true;
        state.newCanvas(settings, QImage());
        state.attach(ekCircle, &circle);
    }
    void stamp(QPoint at) {
        circle.armed = true;
        state.stampPendingAt(at);
    }
    CompositionState state;
    WaitingCircle circle;
};

// One copy of the 100 x 100 circle's 32-bit pixels.
void BM_MemcpyStampedRectangle(benchmark::State& state) {
    const size_t bytes = 100 * 100 * 4;
    std::vector<char> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyStampedRectangle)->Unit(benchmark::kMicrosecond);

// One undo and one redo of the stamp per iteration.
void BM_UndoRedoStamp(benchmark::State& state) {
    LargeComposition composition;
    composition.stamp(QPoint(1000, 1000));
    for (auto _ : state) {
        composition.state.undo();
        composition.state.redo();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_UndoRedoStamp)->Unit(benchmark::kMicrosecond);

// Fifty stamps: the history's own bytes beside the canvas's.
void BM_HistoryOfFiftyStamps(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        LargeComposition composition;
        for (int i = 0; i < 50; ++i)
            composition.stamp(QPoint(37 * i, 53 * i));
        bytes = composition.state.steps().bytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["history_MB"] = double(bytes) / (1 << 20);
    state.counters["canvas_MB"] = double(canvasSide) * canvasSide * 4 / (1 << 20);
}
BENCHMARK(BM_HistoryOfFiftyStamps)->Unit(benchmark::kMillisecond)->Iterations(3);

// One stamp's line of the recovery journal written and flushed to the disk (the folder beside
// the benchmark, on the disk the user's folder is on), the stamp itself left out.
void BM_JournalStep(benchmark::State& state) {
    LargeComposition composition;
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/journal");
    RecoveryJournal journal(folder);
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        composition.stamp(QPoint((i * 37) % 3900, (i * 53) % 3900));
        ++i;
        state.ResumeTiming();
        journal.follow(composition.state);
    }
    state.counters["journal_KB"] = double(journal.size()) / 1024;
}
BENCHMARK(BM_JournalStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each example once as its script, once as the work file saved from it.
struct ExampleWork {
    QString script;
    QString work;
};
std::vector<ExampleWork>& exampleWorks() {
    static QTemporaryDir folder;
    static std::vector<ExampleWork> works = [] {
        std::vector<ExampleWork> made;
        const QDir examples(QStringLiteral(TARVEL_SOURCE_DIR "/examples"));
        for (const QString& name : examples.entryList({QStringLiteral("*.json")}, QDir::Files)) {
            QFile source(examples.filePath(name));
            source.open(QIODevice::ReadOnly);
            // Without its save steps, so that both runs compose and nothing more.
            QJsonObject root = QJsonDocument::fromJson(source.readAll()).object();
            QJsonArray steps;
            for (const QJsonValue& step : root.value(QStringLiteral("steps")).toArray())
                if (step.toObject().value(QStringLiteral("do")) != QLatin1String("save"))
                    steps.append(step);
            root.insert(QStringLiteral("steps"), steps);
            const QByteArray script = QJsonDocument(root).toJson();
            const QString copy = folder.filePath(name);
            QFile out(copy);
            out.open(QIODevice::WriteOnly);
            out.write(script);
            out.close();
            TForm1 form;
            form.createDialogs();
            FILE* sink = std::tmpfile();
            runScript(form, copy, sink, sink);
            std::fclose(sink);
            const QString work = folder.filePath(name + QStringLiteral(".tarvel"));
            form.saveWork(work);
            made.push_back({copy, work});
        }
        return made;
    }();
    return works;
}

void BM_RunExampleScript(benchmark::State& state) {
    const ExampleWork& example = exampleWorks()[size_t(state.range(0))];
    for (auto _ : state) {
        TForm1 form;
        form.createDialogs();
        FILE* sink = std::tmpfile();
        runScript(form, example.script, sink, sink);
        std::fclose(sink);
    }
}

void BM_OpenExampleWork(benchmark::State& state) {
    const ExampleWork& example = exampleWorks()[size_t(state.range(0))];
    for (auto _ : state) {
        TForm1 form;
        form.createDialogs();
        form.openWork(example.work);
    }
}

// The examples, numbered in name order: brush-faces, couplet, fan-inscription, poem-vertical.
BENCHMARK(BM_RunExampleScript)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenExampleWork)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

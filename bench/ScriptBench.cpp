// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A whole composition run headless against the program's bare start-up and shutdown: one of
// each element on an 800 x 600 canvas, saved as JPEG, against an empty script.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace {

std::string programPath() {
    static const std::string path = QDir(QCoreApplication::applicationDirPath())
                                        .filePath(QStringLiteral("../bin/tarvel"))
                                        .toStdString();
    return path;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

std::string writeScript(const char* name, const char* json) {
    const QString path = folder().filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(json);
    return path.toStdString();
}

void runScript(benchmark::State& state, const std::string& script) {
    const std::string command = programPath() + " --script " + script + " >/dev/null 2>&1";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("the script failed");
}

void BM_EmptyScript(benchmark::State& state) {
    runScript(state, writeScript("empty.json", R"({"steps": []})"));
}

void BM_OneOfEachElement(benchmark::State& state) {
    runScript(state, writeScript("each.json", R"({"steps": [
      {"do": "canvas", "width": 800, "height": 600, "color": "#F3E9D2"},
      {"do": "text", "plain": "床前明月光\n疑是地上霜", "face": "AR PL KaitiM GB", "size": 36,
       "arrangement": 3},
      {"do": "rotated", "text": "丁酉春", "size": "24", "face": "AR PL KaitiM GB"},
      {"do": "click", "at": [60, 300]},
      {"do": "seal", "text": "墨趣", "width": 60, "height": 60, "angle": 10},
      {"do": "click", "at": [60, 480]},
      {"do": "circle", "radius": 30},
      {"do": "click", "at": [700, 40]},
      {"do": "fan", "radius": 100},
      {"do": "click", "at": [300, 350]},
      {"do": "effect", "kind": "soft"},
      {"do": "save", "file": "each.jpg"}
    ]})"));
}

} // namespace

BENCHMARK(BM_EmptyScript)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OneOfEachElement)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

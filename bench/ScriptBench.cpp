// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Whole composition runs headless against the program's bare start-up and shutdown: one of
// each element on an 800 x 600 canvas and the poem example, saved as JPEG, against an empty
// script; and opening a long work against opening the PNG of the same picture.
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

// The poem example as it is shipped, saved as JPEG.
void BM_PoemExample(benchmark::State& state) {
    const QString copy = folder().filePath(QStringLiteral("poem-vertical.json"));
    QFile::remove(copy);
    QFile::copy(QStringLiteral(TARVEL_SOURCE_DIR "/examples/poem-vertical.json"), copy);
    runScript(state, copy.toStdString());
}

// A work of n small stamps on 3000 x 3000, saved as a work and as a PNG of the same picture
// by the program itself, once.
std::string composeWork(int stamps) {
    const QString name = QStringLiteral("work-%1").arg(stamps);
    if (!QFile::exists(folder().filePath(name + QStringLiteral(".tarvel")))) {
        QString steps = QStringLiteral(R"({"do": "canvas", "width": 3000, "height": 3000,
            "color": "#F0E8D8"}, {"do": "circle", "radius": 6, "fillColor": "#B00000"})");
        for (int i = 0; i < stamps; ++i)
            steps += QStringLiteral(R"(, {"do": "circle"}, {"do": "click", "at": [%1, %2]})")
                         .arg((i * 37) % 2980)
                         .arg((i * 53) % 2980);
        steps += QStringLiteral(R"(, {"do": "save", "file": "%1.png"},
            {"do": "saveWork", "file": "%1.tarvel"})")
                     .arg(name);
        const std::string script =
            writeScript("compose.json", ("{\"steps\": [" + steps + "]}").toUtf8().constData());
        const std::string command = programPath() + " --script " + script + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return std::string();
    }
    return name.toStdString();
}

// Opening the work against opening its PNG as a background, whole processes both.
void BM_OpenWork(benchmark::State& state) {
    const std::string name = composeWork(int(state.range(0)));
    const std::string json = R"({"steps": [{"do": "openWork", "file": ")" + name + R"(.tarvel"}]})";
    runScript(state, writeScript("open-work.json", json.c_str()));
}

void BM_OpenPng(benchmark::State& state) {
    const std::string name = composeWork(int(state.range(0)));
    const std::string json = R"({"steps": [{"do": "canvas", "width": 3000, "height": 3000,
        "picture": ")" + name +
                             R"(.png", "layout": "center"}]})";
    runScript(state, writeScript("open-png.json", json.c_str()));
}

} // namespace

BENCHMARK(BM_EmptyScript)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OneOfEachElement)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PoemExample)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenWork)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenPng)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

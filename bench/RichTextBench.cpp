// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rich text store: RTF reading and writing of a 1 MB document beside Qt's own HTML
// import and export of the same document, and the byte-position walk of the text layout at
// two text lengths (the cost must grow linearly); simplified to traditional conversion of
// 10,000 characters, as a string and in the rich text with its formats kept.
#include "ChineseConversion.h"
#include "Gbk.h"
#include "RichText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

// A calligraphy text of mixed Chinese and ASCII with a change of face, size, colour or
// style every few characters, about a megabyte as RTF.
RichTextModel sampleModel() {
    const QString words[] = {QStringLiteral("春眠不觉晓"), QStringLiteral("处处闻啼鸟"),
                             QStringLiteral("Tarvel "),    QStringLiteral("夜来风雨声"),
                             QStringLiteral("花落知多少"), QStringLiteral("12345 ")};
    const char* faces[] = {"楷体", "黑体", "宋体", "Arial"};
    RichTextModel model;
    int counter = 0;
    while (Rtf::write(model).size() < 1000 * 1000) {
        for (int p = 0; p < 200; ++p) {
            RichTextParagraph paragraph;
            paragraph.alignment = RichTextAlignment(p % 3);
            for (int r = 0; r < 6; ++r, ++counter) {
                RichTextAttributes a;
                a.Name = QString::fromUtf8(faces[counter % 4]);
                a.Charset = counter % 4 == 3 ? 0 : 134;
                a.Size = 10 + (counter % 5) * 4;
                a.Color = counter % 3 == 0 ? clWindowText : TColor(0x000000FF * (counter % 7));
                a.Bold = counter % 2;
                a.Italic = counter % 5 == 1;
                a.Underline = counter % 7 == 2;
                paragraph.runs.push_back({words[counter % 6], a});
            }
            model.paragraphs.push_back(paragraph);
        }
    }
    model.normalize();
    return model;
}

const RichTextModel& model() {
    static const RichTextModel m = sampleModel();
    return m;
}

const QByteArray& rtf() {
    static const QByteArray bytes = Rtf::write(model());
    return bytes;
}

const QString& html() {
    static const QString text = [] {
        RichText rich;
        rich.setModel(model());
        return rich.document()->toHtml();
    }();
    return text;
}

void RtfRead(benchmark::State& state) {
    for (auto _ : state) {
        RichText rich;
        rich.setModel(*Rtf::read(rtf()));
        benchmark::DoNotOptimize(rich.document()->characterCount());
    }
    state.counters["bytes"] = double(rtf().size());
}

void HtmlSet(benchmark::State& state) {
    for (auto _ : state) {
        QTextDocument document;
        document.documentLayout(); // as RichText's document has one
        document.setHtml(html());
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.counters["bytes"] = double(html().size());
}

void RtfWrite(benchmark::State& state) {
    RichText rich;
    rich.setModel(model());
    for (auto _ : state)
        benchmark::DoNotOptimize(Rtf::write(rich.toModel()));
}

void HtmlGet(benchmark::State& state) {
    RichText rich;
    rich.setModel(model());
    for (auto _ : state)
        benchmark::DoNotOptimize(rich.document()->toHtml());
}

// The layout's walk: every character selected by byte position, its bytes and attributes
// read.
void Walk(benchmark::State& state) {
    const int characters = int(state.range(0));
    QString text;
    const QString sample = QStringLiteral("永和九年岁在癸丑 abc\n");
    while (text.size() < characters)
        text += sample;
    text.truncate(characters);
    RichText rich;
    rich.setText(text);
    rich.selectAll();
    rich.setSelSize(24);
    for (auto _ : state) {
        int sum = 0;
        const int lines = rich.lineCount();
        for (int line = 0; line < lines; ++line) {
            const QByteArray bytes = rich.lineText(line);
            const int start = rich.lineStart(line);
            for (int i = 0; i < bytes.size();) {
                const int length = Gbk::charLength(uchar(bytes[i]));
                rich.setSelStart(start + i);
                rich.setSelLength(length);
                sum += rich.selAttributes().Size + rich.selText().size();
                i += length;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

// 10,000 characters of a simplified poem text with its marks, in lines of 100.
QString simplifiedText() {
    const QString poem = QStringLiteral("白日依山尽，黄河入海流。欲穷千里目，更上一层楼。"
                                        "头发后天发展皇后面条云彩干净里面");
    QString text;
    while (text.size() < 10000) {
        if (text.size() % 101 == 100)
            text += QLatin1Char('\n');
        else
            text += poem[text.size() % poem.size()];
    }
    return text;
}

void ConvertString(benchmark::State& state) {
    const ChineseConverter& converter =
        ChineseConverter::shared(ChineseConversion::SimplifiedToTraditional);
    const QString text = simplifiedText();
    for (auto _ : state)
        benchmark::DoNotOptimize(converter.convert(text));
}

// The dialog's command: the whole rich text, one format per run of five characters.
void ConvertRichText(benchmark::State& state) {
    const ChineseConverter& converter =
        ChineseConverter::shared(ChineseConversion::SimplifiedToTraditional);
    const QStringList lines = simplifiedText().split(QLatin1Char('\n'));
    RichTextModel model;
    for (const QString& line : lines) {
        RichTextParagraph paragraph;
        for (qsizetype i = 0; i < line.size(); i += 5) {
            RichTextAttributes a;
            a.Name = QStringLiteral("楷体");
            a.Size = 12 + int(i % 4) * 4;
            paragraph.runs.push_back({line.mid(i, 5), a});
        }
        model.paragraphs.push_back(paragraph);
    }
    RichText rich;
    for (auto _ : state) {
        state.PauseTiming();
        rich.setModel(model);
        state.ResumeTiming();
        rich.convertText(converter);
    }
}

} // namespace

BENCHMARK(ConvertString)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertRichText)->Unit(benchmark::kMillisecond);
BENCHMARK(RtfRead)->Unit(benchmark::kMillisecond);
BENCHMARK(HtmlSet)->Unit(benchmark::kMillisecond);
BENCHMARK(RtfWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(HtmlGet)->Unit(benchmark::kMillisecond);
BENCHMARK(Walk)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text layout against Qt's own document drawing, on blocks of mixed faces and sizes.
//   BM_DrawTextBlock/N/R   DrawTextBlock of N characters, the editor walk included
//   BM_DrawTextBlockWithChain/N/R  the same with the fallback chain over the three faces, as
//                          the program has it over its Fonts folder
//   BM_QtDrawContents/N/R  QTextDocument::drawContents of the same document
//   BM_DrawColumns/M      DrawTextBlock of 5,000 characters (common, one in eight a mark) in
//                          right-to-left columns under punctuation convention M: 0 原样,
//                          1 竖排 (marks placed by their ink and turned)
//   BM_FirstDrawInFreshProcess/R  runs this program again as a fresh process that times its
//                          first DrawTextBlock and a later one in processor time (counters
//                          first_ms, later_ms, ratio)
// R is the repertoire: 0 the 3,755 common characters of GB 2312 (what a calligrapher writes,
// all of them in the three faces), 1 the 5,000 code points from U+4E00 on, about two thirds of
// which the two AR PL faces lack, so that Qt looks each of those up in fallback fonts at every
// size.
#include "FontFallback.h"
#include "TextLayout.h"
#include "TextMeasure.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QStringDecoder>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

constexpr int charactersPerLine = 100;

const QStringList faces = {QStringLiteral("宋体"), QStringLiteral("楷体"),
                           QStringLiteral("LXGW WenKai")};

enum Repertoire { Common = 0, Wide = 1 };

// The i-th ideograph of the repertoire, spread over it.
QChar ideograph(int i, Repertoire repertoire) {
    if (repertoire == Wide)
        return QChar(char16_t(0x4E00 + (i * 37) % 5000));
    // Level one of GB 2312: rows 0xB0 to 0xD7 of 94 cells, the last row five short.
    static const QString common = [] {
        QByteArray bytes;
        for (int row = 0xB0; row <= 0xD7; ++row)
            for (int cell = 0xA1; cell <= (row == 0xD7 ? 0xF9 : 0xFE); ++cell)
                bytes.append(char(row)).append(char(cell));
        QStringDecoder gbk("GBK");
        return QString(gbk.decode(bytes));
    }();
    return common.at((i * 37) % common.size());
}

// count characters of ideographs and some Latin letters, in three faces and the 41 sizes from
// 8 to 48 points, one run per character; built inside one edit block.
void buildBlock(RichText& text, int count, Repertoire repertoire) {
    QTextDocument* document = text.document();
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i % charactersPerLine == 0)
            cursor.insertBlock();
        RichText::Attributes attributes;
        attributes.Name = faces[i % faces.size()];
        attributes.Size = 8 + (i * 7) % 41;
        attributes.Color = (i % 5 == 0) ? clRed : clBlack;
        const QChar ch = (i % 9 == 0) ? QChar(char16_t(u'a' + i % 26)) : ideograph(i, repertoire);
        cursor.insertText(QString(ch), RichText::charFormat(attributes));
    }
    cursor.endEditBlock();
}

struct Block {
    RichText text;
    TextSettings settings;
    DrawingSurface surface;
    Block(int count, Repertoire repertoire) {
        buildBlock(text, count, repertoire);
        resetTextSettings(settings);
        MeasureTextBlock(text, settings);
        // Every cell on the canvas, so that nothing is skipped as clipped.
        const int lines = (count + charactersPerLine - 1) / charactersPerLine;
        surface = DrawingSurface(charactersPerLine * 66 + 100,
                                 (settings.RowPitch + settings.LineSpacing) * lines + 100);
        surface.brush.style = DrawingSurface::BrushStyle::Clear;
    }
    void draw() { DrawTextBlock(surface, text, settings, arHorzLeftToRight, surface.width()); }
};

void BM_DrawTextBlock(benchmark::State& state) {
    Block block(int(state.range(0)), Repertoire(state.range(1)));
    block.draw(); // fonts resolved once before timing
    for (auto _ : state) {
        block.draw();
        benchmark::DoNotOptimize(block.surface.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DrawTextBlock)
    ->Args({5000, Common})
    ->Args({10000, Common})
    ->Args({5000, Wide})
    ->Unit(benchmark::kMillisecond);

void BM_DrawTextBlockWithChain(benchmark::State& state) {
    FontFallback::setFaces({QStringLiteral("AR PL SungtiL GB"), QStringLiteral("AR PL KaitiM GB"),
                            QStringLiteral("LXGW WenKai")});
    BM_DrawTextBlock(state);
    FontFallback::setFaces({});
}
BENCHMARK(BM_DrawTextBlockWithChain)
    ->Args({5000, Common})
    ->Args({5000, Wide})
    ->Unit(benchmark::kMillisecond);

void BM_QtDrawContents(benchmark::State& state) {
    Block block(int(state.range(0)), Repertoire(state.range(1)));
    QImage image(block.surface.width(), block.surface.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        block.text.document()->drawContents(&painter); // layout done once before timing
    }
    for (auto _ : state) {
        QPainter painter(&image);
        block.text.document()->drawContents(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_QtDrawContents)
    ->Args({5000, Common})
    ->Args({5000, Wide})
    ->Unit(benchmark::kMillisecond);

// The block above in columns, with a mark in place of every eighth character.
void BM_DrawColumns(benchmark::State& state) {
    const QString marks = QStringLiteral("，。、：？《》（）—…！；「」");
    RichText text;
    buildBlock(text, 5000, Common);
    QTextCursor cursor(text.document());
    for (int i = 7, n = 0; i < 5000; i += 8, ++n) {
        cursor.setPosition(i + i / charactersPerLine); // one position per paragraph break
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        cursor.insertText(QString(marks[n % marks.size()]), cursor.charFormat());
    }
    TextSettings settings;
    resetTextSettings(settings);
    settings.Arrangement = arVertRightToLeft;
    settings.Punctuation = VerticalPunctuation(state.range(0));
    MeasureTextBlock(text, settings);
    const int lines = (5000 + charactersPerLine - 1) / charactersPerLine;
    DrawingSurface surface((settings.RowPitch + settings.LineSpacing) * lines + 100,
                           settings.ExtentHeight + 100);
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    const auto draw = [&] {
        DrawTextBlock(surface, text, settings, arVertRightToLeft, surface.width());
    };
    draw(); // fonts resolved once before timing
    for (auto _ : state) {
        draw();
        benchmark::DoNotOptimize(surface.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_DrawColumns)->Arg(vpOriginal)->Arg(vpVertical)->Unit(benchmark::kMillisecond);

const char* programPath = nullptr;

void BM_FirstDrawInFreshProcess(benchmark::State& state) {
    double first = 0, later = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QString::fromLocal8Bit(programPath),
                    {QStringLiteral("--first-draw"), QString::number(state.range(0))});
        child.waitForFinished(-1);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 2) {
            state.SkipWithError("the fresh process printed no timings");
            return;
        }
        first = fields[0].toDouble();
        later = fields[1].toDouble();
        state.SetIterationTime(first / 1000.0);
    }
    state.counters["first_ms"] = first;
    state.counters["later_ms"] = later;
    state.counters["ratio"] = later > 0 ? first / later : 0;
}
BENCHMARK(BM_FirstDrawInFreshProcess)
    ->Arg(Common)
    ->Arg(Wide)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The fresh process: builds the 5,000-character block (which resolves nothing for drawing),
// times the first draw and then the third one, and prints both in milliseconds. With
// --fonts-resolved it first resolves the font of every character (a walk that measures
// heights, drawing nothing) and prints that time third, so that the first draw is left with
// only what glyphs cost the first time:
//   bench_TextLayoutBench --first-draw 0 --fonts-resolved
// Processor time of this process in milliseconds: the machine may be busy with other work.
double processorMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

int firstDraw(Repertoire repertoire, bool resolveFonts) {
    Block block(5000, repertoire);
    double start = processorMs();
    if (resolveFonts) {
        TextWalk::walk(
            block.text,
            [&](int, int, const RichText::Character& c) {
                setFontFromSelection(block.surface.font, c.attributes, c.pixelHeight);
                (void)block.surface.textHeight(c.string);
            },
            [](int) {});
    }
    const double resolving = processorMs() - start;
    start = processorMs();
    block.draw();
    const double first = processorMs() - start;
    block.draw();
    start = processorMs();
    block.draw();
    const double later = processorMs() - start;
    if (resolveFonts)
        std::printf("%.3f %.3f %.3f\n", first, later, resolving);
    else
        std::printf("%.3f %.3f\n", first, later);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    programPath = argv[0];
    if (argc > 1 && std::strcmp(argv[1], "--first-draw") == 0)
        return firstDraw(argc > 2 && std::strcmp(argv[2], "1") == 0 ? Wide : Common,
                         argc > 3 && std::strcmp(argv[3], "--fonts-resolved") == 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

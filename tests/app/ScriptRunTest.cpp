// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Composition scripts run end to end against the real window: each command is checked on the
// pixels of the picture the script saves, and failures on their exit status and message.
#include "CompositionState.h"
#include "FanRing.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "RichEditWidget.h"
#include "RichText.h"
#include "Script.h"
#include "SpinEdit.h"
#include "TarvelError.h"
#include "TemplateDialog.h"
#include "TextLayout.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit8.h"
#include "WorkTemplate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

void application() {
    ASSERT_NE(qApp, nullptr);
}

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

class ScriptRun : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        form = std::make_unique<TForm1>();
        form->createDialogs();
        ASSERT_TRUE(folder.isValid());
    }

    QString file(const QString& name) const { return folder.filePath(name); }

    Outcome run(const QByteArray& json) {
        const QString script = file(QStringLiteral("script.json"));
        QFile f(script);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
        f.close();
        FILE* out = std::tmpfile();
        FILE* err = std::tmpfile();
        Outcome outcome;
        outcome.status = runScript(*form, script, out, err);
        outcome.out = readAll(out);
        outcome.err = readAll(err);
        std::fclose(out);
        std::fclose(err);
        return outcome;
    }

    static QString readAll(FILE* stream) {
        std::fflush(stream);
        std::rewind(stream);
        QByteArray bytes;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
            bytes.append(buffer, qsizetype(n));
        return QString::fromUtf8(bytes);
    }

    QImage saved(const QString& name) const { return QImage(file(name)); }

    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};

QRgb rgb(int r, int g, int b) {
    return qRgb(r, g, b);
}

} // namespace

TEST_F(ScriptRun, ColourCanvasCircleClickNudgeUndoAndSave) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 300, "height": 200, "color": "#102030"},
      {"do": "circle", "radius": 20, "lineWidth": 2, "lineColor": "#FF0000", "fillColor": "#00FF00"},
      {"do": "click", "at": [100, 50], "button": "right"},
      {"do": "save", "file": "stamped.bmp"},
      {"do": "nudge", "direction": "right", "times": 3},
      {"do": "nudge", "direction": "down"},
      {"do": "save", "file": "nudged.bmp"},
      {"do": "undo"},
      {"do": "save", "file": "undone.bmp"},
      {"do": "clear"},
      {"do": "click", "at": [0, 0]},
      {"do": "circle", "close": "confirm"},
      {"do": "click", "at": [0, 0]},
      {"do": "save", "file": "cleared.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();

    const QImage stamped = saved("stamped.bmp");
    ASSERT_EQ(stamped.size(), QSize(300, 200));
    EXPECT_EQ(stamped.pixel(5, 5), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(stamped.pixel(120, 70), rgb(0, 255, 0));        // the centre of the disc
    EXPECT_EQ(stamped.pixel(100, 70), rgb(255, 0, 0));        // its leftmost outline pixel
    EXPECT_EQ(stamped.pixel(100, 50), rgb(0x10, 0x20, 0x30)); // keyed corner left out

    const QImage nudged = saved("nudged.bmp");
    EXPECT_EQ(nudged.pixel(150, 80), rgb(0, 255, 0));        // centre moved by (30, 10)
    EXPECT_EQ(nudged.pixel(120, 70), rgb(0x10, 0x20, 0x30)); // drawn on the snapshot

    // Undo goes back to the picture before the stamp.
    const QImage undone = saved("undone.bmp");
    EXPECT_EQ(undone.pixel(120, 70), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(undone.pixel(150, 80), rgb(0x10, 0x20, 0x30));

    // A cleared canvas has no picture: a press that stamps nothing leaves it so. The next
    // stamp creates a white picture of the canvas size.
    const QImage cleared = saved("cleared.bmp");
    EXPECT_EQ(cleared.size(), QSize(300, 200));
    EXPECT_EQ(cleared.pixel(150, 80), rgb(255, 255, 255));

    // Saving a canvas without a picture is a failure, never a success that wrote nothing.
    const Outcome empty =
        run(R"({"steps": [{"do": "clear"}, {"do": "save", "file": "nothing.bmp"}]})");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(
        empty.err.trimmed(),
        QStringLiteral("step 2: 无法保存图片“%1”：画布上还没有图片。").arg(file("nothing.bmp")));
    EXPECT_FALSE(QFile::exists(file("nothing.bmp")));
}

TEST_F(ScriptRun, ExportPdfWritesAFileAndIsNoStepOfTheWork) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 300, "height": 150, "color": "#102030", "resolution": 150},
      {"do": "circle", "radius": 20},
      {"do": "click", "at": [100, 50]},
      {"do": "exportPdf", "file": "own"},
      {"do": "exportPdf", "file": "fitted.pdf", "fit": "A4"},
      {"do": "exportPdf", "file": "sharp.pdf", "dpi": 450}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    for (const char* name : {"own.pdf", "fitted.pdf", "sharp.pdf"}) {
        QFile pdf(file(QLatin1String(name)));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << name;
    }
    // Without dpi the canvas's pixels; with it the work drawn again three times as fine, on
    // a page of the same size.
    const auto poppler = [&](const char* tool, const QStringList& arguments) {
        QProcess process;
        process.start(QLatin1String(tool), arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << tool;
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const auto pageSize = [&](const char* name) {
        return poppler("pdfinfo", {file(QLatin1String(name))})
            .section(QStringLiteral("Page size:"), 1)
            .section(QLatin1Char('\n'), 0, 0);
    };
    EXPECT_TRUE(poppler("pdfimages", {"-list", file("own.pdf")})
                    .contains(QRegularExpression("\\s300\\s+150\\s+rgb")));
    EXPECT_TRUE(poppler("pdfimages", {"-list", file("sharp.pdf")})
                    .contains(QRegularExpression("\\s900\\s+450\\s+rgb")));
    EXPECT_FALSE(pageSize("own.pdf").isEmpty());
    EXPECT_EQ(pageSize("sharp.pdf"), pageSize("own.pdf"));
    // The work is the canvas and the circle; the PDF is not one of its steps.
    const QJsonArray steps = form->workScript().value(QStringLiteral("steps")).toArray();
    ASSERT_EQ(steps.size(), 3);
    for (const QJsonValue& step : steps)
        EXPECT_NE(step.toObject().value(QStringLiteral("do")).toString(),
                  QStringLiteral("exportPdf"));
    // A paper the program does not know is refused before anything runs.
    const Outcome unknown =
        run(R"({"steps": [{"do": "exportPdf", "file": "x.pdf", "fit": "A9"}]})");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_FALSE(QFile::exists(file("x.pdf")));
}

TEST_F(ScriptRun, ExitStatusAndMessages) {
    Outcome outcome = run(R"({"steps": [{"do": "undo"}, {"do": "sing"}]})");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, QStringLiteral("无法运行脚本“%1”：第 1 行，第 2 步：没有命令“sing”。\n")
                               .arg(file("script.json")));

    outcome = run("{\"steps\": [\n{\"do\": \"canvas\", \"width\": 10, \"colour\": \"#000000\"}]}");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(
        outcome.err.contains(QStringLiteral("第 2 行，第 1 步：命令“canvas”没有键“colour”")));

    // A control character in a text is refused with its place, before anything is drawn; a
    // tab and a line break are text.
    outcome = run(R"({"steps": [{"do": "seal", "text": "发\t财\n后"},
      {"do": "text", "runs": [{"text": "𠀀发\u0000财"}]}]})");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral(
        "第 2 步：键“text”的第 3 个字符是控制字符（U+0000）：文字里只能有换行和制表符")))
        << outcome.err.toStdString();

    // A step that fails in the window stops the run with the window's message.
    outcome = run(R"({"steps": [
      {"do": "canvas", "width": 40, "height": 30, "picture": "missing.png"},
      {"do": "save", "file": "never.bmp"}
    ]})");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.err.startsWith(QStringLiteral("step 1: "))) << outcome.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("never.bmp")));

    EXPECT_EQ(runScript(*form, file("no-such-script.json"), stdout, stderr), 2);

    // Characters a face lacks (AR PL faces hold GB 2312 only, not 堃 and 喆) are drawn in a
    // fallback face: one warning for each step that draws some, and the run goes on.
    outcome = run(R"({"steps": [
      {"do": "canvas", "width": 300, "height": 200, "color": "#FFFFFF"},
      {"do": "text", "runs": [{"text": "王堃书", "face": "AR PL KaitiM GB", "size": 20},
                              {"text": "喆堃", "face": "AR PL KaitiM GB", "size": 30},
                              {"text": "堃 a", "face": "LXGW WenKai", "size": 20}]},
      {"do": "text", "plain": "喆", "face": "AR PL KaitiM GB", "size": 20, "close": "cancel"},
      {"do": "text", "plain": "一 二", "face": "No\u0000Face", "size": 20},
      {"do": "rotated", "text": "堃 一堃𠀀", "size": "20", "face": "宋体"},
      {"do": "click", "at": [10, 150]},
      {"do": "seal", "text": "福\n︐𠀀", "face": "AR PL KaitiM GB"},
      {"do": "seal", "text": "福", "face": "AR PL KaitiM GB"},
      {"do": "save", "file": "fallback.bmp"}
    ]})");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err,
              QStringLiteral("step 2: 警告：字体“AR PL KaitiM GB”中没有“堃喆”，改用后备字体画出。\n"
                             "step 4: 警告：字体“No") +
                  QChar(0) +
                  QStringLiteral(
                      "Face”中没有“一二”，改用后备字体画出。\n"
                      "step 5: 警告：字体“宋体”中没有“堃𠀀”，改用后备字体画出。\n"
                      "step 7: 警告：字体“AR PL KaitiM GB”中没有“︐𠀀”，改用后备字体画出。\n"));
    EXPECT_TRUE(QFile::exists(file("fallback.bmp")));
}

// Standard error of a script run holds the program's own lines, not the toolkit's notes about
// the offscreen platform or the runtime folder; --debug lets those through too.
TEST_F(ScriptRun, StandardErrorCarriesOnlyTheProgramsOwnLines) {
    QFile script(file(QStringLiteral("noisy.json")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(R"({"steps": [
      {"do": "canvas", "width": 20, "height": 20, "color": "#FFFFFF"},
      {"do": "text", "plain": "一", "size": 20, "close": "cancel"},
      {"do": "save", "file": "/nonexistent-folder/x.bmp"}
    ]})");
    script.close();
    const auto run = [&](const QStringList& extra) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR")); // Qt has something to say
        environment.remove(QStringLiteral("TARVEL_DEBUG"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TARVEL_PROGRAM),
                      QStringList{QStringLiteral("--script"), script.fileName()} + extra);
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 1);
        return QString::fromUtf8(program.readAllStandardError());
    };
    const QString own =
        QStringLiteral("step 3: 无法保存图片“/nonexistent-folder/x.bmp”：文件夹不存在。\n");
    EXPECT_EQ(run({}), own);
    const QString debug = run({QStringLiteral("--debug")});
    EXPECT_TRUE(debug.contains(QStringLiteral("XDG_RUNTIME_DIR"))) << debug.toStdString();
    EXPECT_TRUE(debug.endsWith(own)) << debug.toStdString();
}

TEST_F(ScriptRun, SaveNamesFollowTheSaveDialog) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 16, "height": 16, "color": "#FFFFFF"},
      {"do": "save", "file": "plain"},
      {"do": "save", "file": "upper.BMP"},
      {"do": "save", "file": "g."}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    QFile jpeg(file("plain.jpg"));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpeg.read(3).startsWith("\xFF\xD8\xFF"));
    QFile upper(file("upper.BMP"));
    ASSERT_TRUE(upper.open(QIODevice::ReadOnly));
    EXPECT_TRUE(upper.read(3).startsWith("BM"));
    EXPECT_TRUE(QFile::exists(file("g.jpg")));
}

namespace {

bool hasInk(const QImage& image, const QRect& area, QRgb background) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

} // namespace

TEST_F(ScriptRun, TextRotatedTextSealFanAndEffectLandWhereTheyShould) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 400, "height": 300, "color": "#FFFFFF"},
      {"do": "text", "plain": "一", "face": "AR PL SungtiL GB", "size": 20, "color": "#000000",
       "leftMargin": 50, "topMargin": 50, "arrangement": 0, "check": true},
      {"do": "save", "file": "text.bmp"},
      {"do": "rotated", "text": "口口", "size": "20", "charSpacing": 2, "face": "AR PL SungtiL GB",
       "placement": "horizontal", "angle": 0, "color": "#0000FF"},
      {"do": "click", "at": [200, 40]},
      {"do": "save", "file": "rotated.bmp"},
      {"do": "seal", "text": "印", "width": 50, "height": 50, "style": "relief", "corner": "square",
       "angle": 0},
      {"do": "click", "at": [300, 200]},
      {"do": "save", "file": "seal.bmp"},
      {"do": "effect", "kind": "hollow"},
      {"do": "save", "file": "hollow.bmp"},
      {"do": "effect", "kind": "restore"},
      {"do": "save", "file": "restored.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.out.trimmed(), QStringLiteral("文本尺寸为:131*137。"));

    const QRgb white = qRgb(255, 255, 255);
    const QImage text = saved("text.bmp");
    // One 20-point character at the margins: its cell starts at (50, 52).
    EXPECT_TRUE(hasInk(text, QRect(50, 52, 27, 27), white));
    EXPECT_FALSE(hasInk(text, QRect(0, 0, 400, 50), white));
    EXPECT_FALSE(hasInk(text, QRect(80, 0, 320, 300), white));

    // Two characters 22 pixels apart from the click, drawn in blue.
    const QImage rotated = saved("rotated.bmp");
    EXPECT_TRUE(hasInk(rotated, QRect(200, 40, 20, 24), white));
    EXPECT_TRUE(hasInk(rotated, QRect(222, 40, 20, 24), white));
    EXPECT_FALSE(hasInk(rotated, QRect(246, 0, 150, 100), white));

    // The relief seal: red outline on its outermost pixels, light grey inside, and the key
    // colour of the turned square left out.
    const QImage seal = saved("seal.bmp");
    EXPECT_EQ(seal.pixel(300, 200), qRgb(255, 0, 0));
    EXPECT_EQ(seal.pixel(349, 249), qRgb(255, 0, 0));
    EXPECT_EQ(seal.pixel(302, 202), qRgb(210, 210, 210));
    EXPECT_EQ(seal.pixel(360, 260), white);

    // "空心" turns a uniform area black; restore brings the picture back.
    const QImage hollow = saved("hollow.bmp");
    EXPECT_EQ(hollow.pixel(10, 290), qRgb(0, 0, 0));
    EXPECT_EQ(saved("restored.bmp"), seal.convertToFormat(saved("restored.bmp").format()));
}

// What was stamped is in the steps the composition keeps: the converted text, the conventions.
TEST_F(ScriptRun, ConventionKeysSetTheTextDialogAndConvertPressesItsButtons) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 200, "height": 100, "color": "#FFFFFF"},
      {"do": "text", "plain": "头发", "convert": "s2t", "punctuation": "centered",
       "chineseDigits": true, "close": "apply"},
      {"do": "rotated", "text": "后天", "convert": "s2t"},
      {"do": "seal", "text": "發展\n皇后", "convert": "t2s"},
      {"do": "click", "at": [5, 5]}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const auto recipe = form->composition().steps().recipe();
    ASSERT_EQ(recipe.size(), 3u);
    EXPECT_EQ(recipe[1]->runs->plainText(), QStringLiteral("頭髮"));
    EXPECT_EQ(recipe[1]->text.Punctuation, vpCentered);
    EXPECT_TRUE(recipe[1]->text.ChineseDigits);
    ASSERT_EQ(recipe[2]->elements.size(), 2u);
    EXPECT_EQ(recipe[2]->elements[0].rotated.Characters, QStringLiteral("後天"));
    EXPECT_EQ(recipe[2]->elements[1].sealLines, QStringList({"发展", "皇后"}));
}

// The paste, the frame and the wear come from the seal step's keys; a seed wears the same
// pixels at every stamp.
TEST_F(ScriptRun, SealPasteFrameAndWear) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 100, "height": 100, "color": "#FFFFFF"},
      {"do": "seal", "text": "印", "width": 50, "height": 50, "style": "relief",
       "ink": "cinnabar", "frameWidth": 3},
      {"do": "click", "at": [0, 0]},
      {"do": "seal", "wear": 30, "seed": 4},
      {"do": "click", "at": [50, 0]},
      {"do": "seal", "wear": 30, "seed": 4},
      {"do": "click", "at": [0, 50]},
      {"do": "seal", "wear": 0, "smooth": true},
      {"do": "click", "at": [50, 50]},
      {"do": "save", "file": "seals.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const QImage seals = saved("seals.bmp");
    const QRgb cinnabar = qRgb(196, 48, 28);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(seals.pixel(x, 25), cinnabar) << x;
    EXPECT_EQ(seals.pixel(3, 25), qRgb(210, 210, 210));
    EXPECT_EQ(seals.copy(0, 50, 50, 50), seals.copy(50, 0, 50, 50));
    EXPECT_NE(seals.copy(0, 0, 50, 50), seals.copy(50, 0, 50, 50));
    // Smooth edges over the white canvas: blends of cinnabar, grey and white only (green never
    // below blue, as it would be with the key colour mixed in), some of them partial.
    int blended = 0;
    for (int y = 50; y < 100; ++y)
        for (int x = 50; x < 100; ++x) {
            const QRgb p = seals.pixel(x, y);
            ASSERT_GE(qGreen(p), qBlue(p)) << x << "," << y;
            blended += p != cinnabar && p != qRgb(210, 210, 210) && p != qRgb(255, 255, 255);
        }
    EXPECT_GT(blended, 20);
}

// 透底 on a paper-coloured canvas: where the plain seal has its white strokes (intaglio) or its
// grey ground (relief), the seal with paper shows the canvas; every other pixel is the same.
TEST_F(ScriptRun, SealPaperShowsTheCanvas) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 240, "height": 60, "color": "#EFE2C2"},
      {"do": "seal", "text": "印", "width": 60, "height": 60, "style": "intaglio"},
      {"do": "click", "at": [0, 0]}, {"do": "seal", "paper": true}, {"do": "click", "at": [60, 0]},
      {"do": "seal", "style": "relief", "paper": false}, {"do": "click", "at": [120, 0]},
      {"do": "seal", "paper": true}, {"do": "click", "at": [180, 0]},
      {"do": "save", "file": "paper.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const QImage seals = saved("paper.bmp");
    for (const auto& [left, leftOut] :
         {std::pair{0, qRgb(255, 255, 255)}, {120, qRgb(210, 210, 210)}}) {
        int shown = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = left; x < left + 60; ++x) {
                const QRgb plain = seals.pixel(x, y);
                shown += plain == leftOut;
                ASSERT_EQ(seals.pixel(x + 60, y), plain == leftOut ? qRgb(0xEF, 0xE2, 0xC2) : plain)
                    << x << "," << y;
            }
        EXPECT_GT(shown, 100) << left;
    }
}

TEST_F(ScriptRun, FanOnAColourCanvasKeepsItsWhiteFill) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 500, "height": 300, "color": "#336699"},
      {"do": "fan"},
      {"do": "click", "at": [0, 0]},
      {"do": "save", "file": "fan.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const QImage fan = saved("fan.bmp");
    EXPECT_EQ(fan.pixel(206, 100), qRgb(255, 255, 255));   // the seed's region is filled
    EXPECT_EQ(fan.pixel(2, 197), qRgb(0x33, 0x66, 0x99));  // outside the leaf: left out
    EXPECT_EQ(fan.pixel(450, 10), qRgb(0x33, 0x66, 0x99)); // beyond the picture
}

TEST_F(ScriptRun, ExamplesComposeTheirPictures) {
    const QDir examples(QStringLiteral(TARVEL_SOURCE_DIR "/examples"));
    const QStringList scripts = examples.entryList({QStringLiteral("*.json")}, QDir::Files);
    ASSERT_GE(scripts.size(), 3);
    for (const QString& name : scripts) {
        form = std::make_unique<TForm1>();
        form->createDialogs();
        const QString copy = file(name);
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(examples.filePath(name), copy));
        FILE* sink = std::tmpfile();
        EXPECT_EQ(runScript(*form, copy, sink, stderr), 0) << name.toStdString();
        std::fclose(sink);
        const QString picture = file(QFileInfo(name).completeBaseName() + QStringLiteral(".jpg"));
        const QImage image(picture);
        EXPECT_FALSE(image.isNull()) << picture.toStdString();
        // Its work file rebuilds the same picture, byte for byte, with the history behind it.
        const QString work = file(QFileInfo(name).completeBaseName() + QStringLiteral(".tarvel"));
        form->saveWork(work);
        EXPECT_FALSE(form->isWindowModified());
        TForm1 reopened;
        reopened.createDialogs();
        reopened.openWork(work);
        EXPECT_EQ(reopened.Image1->picture().image(), form->Image1->picture().image())
            << name.toStdString();
        EXPECT_EQ(reopened.composition().steps().size(), form->composition().steps().size());
        EXPECT_TRUE(reopened.windowTitle().startsWith(QFileInfo(work).fileName()));
        EXPECT_FALSE(reopened.isWindowModified());
    }
}

TEST_F(ScriptRun, ATemplateIsOneStepThatOneUndoTakesAway) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "template", "format": "square", "text": "宁静致远", "lower": "丙午",
       "nameSeal": "印", "dpi": 20}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    // 69 x 69 cm at 20 dpi; the canvas, the text, the inscription and the seal in one step.
    EXPECT_EQ(form->Image1->size(), QSize(543, 543));
    EXPECT_EQ(form->composition().canvas().dotsPerInch(), 20); // it prints at 69 x 69 cm
    EXPECT_EQ(form->composition().steps().size(), 1u);
    EXPECT_EQ(form->composition().undoName(), QStringLiteral("作品模板"));
    const QImage composed = form->Image1->picture().image();
    form->ToolButton22Click();
    EXPECT_EQ(form->composition().canvas().size(), QSize(1273, 649)); // the canvas before it
    EXPECT_FALSE(form->composition().canUndo());
    form->RedoClick();
    EXPECT_EQ(form->Image1->picture().image(), composed);
}

TEST_F(ScriptRun, AFanTemplateStampsItsSealWhereTheLayoutPutsIt) {
    const QJsonObject keys{{"format", "fan"},
                           {"text", "白日依山尽黄河入海流"},
                           {"lower", "丙午夏日"},
                           {"nameSeal", "印"},
                           {"dpi", 30}};
    QJsonObject step = keys;
    step.insert("do", "template");
    const Outcome outcome = run(QJsonDocument(QJsonObject{{"steps", QJsonArray{step}}}).toJson());
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    // The canvas, the ring, the 扇面 block and the turned seal, one step; the ring stays the
    // one a 扇面 block follows.
    EXPECT_EQ(form->composition().steps().size(), 1u);
    EXPECT_TRUE(form->composition().lastFanRing());
    const TemplateLayout layout = layoutTemplate(workTemplateFromKeys(keys));
    ASSERT_EQ(layout.seals.size(), 1u);
    const TemplateLayout::Seal& seal = layout.seals[0];
    ASSERT_NE(seal.angle, 0);
    const QPointF centre = QPointF(seal.at) + turnedSealCentre(seal.size, seal.angle);
    // The seal's red lands centred where the layout put it.
    const QImage image = form->Image1->picture().image();
    QRect red;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 150 && qGreen(pixel) < 100 && qBlue(pixel) < 100)
                red |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(red.isEmpty());
    EXPECT_NEAR(QRectF(red).center().x(), centre.x(), 2);
    EXPECT_NEAR(QRectF(red).center().y(), centre.y(), 2);
}

TEST_F(ScriptRun, TheTemplateDialogOffersTheFanAsTheScriptStepDoes) {
    TemplateDialog dialog({QStringLiteral("AR PL UKai CN")});
    dialog.ComboBoxFormat->setCurrentText(QStringLiteral("扇面"));
    EXPECT_EQ(dialog.ComboBoxPaper->currentText(), QStringLiteral("扇面 66 × 33 cm"));
    EXPECT_FALSE(dialog.EditLeadingSeal->isEnabled());
    EXPECT_TRUE(dialog.SpinEditSpan->isEnabled());
    dialog.TextMain->setPlainText(QStringLiteral("白日依山尽黄河入海流"));
    dialog.EditLower->setText(QStringLiteral("丙午"));
    dialog.EditNameSeal->setText(QStringLiteral("印"));
    dialog.EditLeadingSeal->setText(QStringLiteral("吉祥")); // typed before, not on a fan
    dialog.SpinEditSpan->setValue(120);
    dialog.CheckBoxLongShort->setChecked(false);
    dialog.ComboBoxPunctuation->setCurrentText(QStringLiteral("句读"));
    const QJsonObject keys{{"format", "fan"},
                           {"text", "白日依山尽黄河入海流"},
                           {"lower", "丙午"},
                           {"nameSeal", "印"},
                           {"span", 120},
                           {"fanColumns", "long"},
                           {"punctuation", "classical"},
                           {"mounted", true}};
    EXPECT_EQ(templateSteps(dialog.workTemplate()), templateSteps(workTemplateFromKeys(keys)));
}

// Templates follow the conventions by default: punctuation set as in vertical typesetting, and
// a date in the inscription in Chinese numerals; both can be turned off.
TEST_F(ScriptRun, TemplatesWriteTheirTextByTheConventions) {
    QJsonObject keys{
        {"format", "scroll"}, {"text", "白日依山尽，黄河入海流。"}, {"lower", "2026年书"}};
    const QJsonArray steps = templateSteps(workTemplateFromKeys(keys));
    ASSERT_EQ(steps.size(), 4); // the canvas, the text, the inscription and its click
    EXPECT_EQ(steps[1].toObject().value("punctuation"), "vertical");
    EXPECT_EQ(steps[1].toObject().value("chineseDigits"), true);
    EXPECT_EQ(steps[2].toObject().value("text"), "二〇二六年书");
    keys.insert("punctuation", "none");
    keys.insert("chineseDigits", false);
    const QJsonArray plain = templateSteps(workTemplateFromKeys(keys));
    EXPECT_EQ(plain[1].toObject().value("punctuation"), "none");
    EXPECT_EQ(plain[2].toObject().value("text"), "2026年书");
}

TEST_F(ScriptRun, WorkFilesThatCannotBeOpenedLeaveTheWorkAsItWas) {
    ASSERT_EQ(run(R"({"steps": [
      {"do": "canvas", "width": 120, "height": 90, "color": "#102030"},
      {"do": "circle", "radius": 20},
      {"do": "click", "at": [10, 10]}
    ]})")
                  .status,
              0);
    form->saveWork(file(QStringLiteral("good.tarvel")));
    const QImage before = form->Image1->picture().image();
    const auto write = [this](const char* name, const QByteArray& data) {
        QFile f(file(QLatin1String(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    };
    QFile good(file(QStringLiteral("good.tarvel")));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray work = good.readAll();
    const std::pair<QString, const char*> cases[] = {
        {write("newer.tarvel", R"({"format": "tarvel-work", "version": 2, "steps": []})"),
         "作品文件的格式版本是 2，来自更新的 Tarvel"},
        {write("cut.tarvel", work.left(work.size() / 2)), "作品文件不完整，可能没有保存完。"},
        {write("empty.tarvel", ""), "这个文件不是 Tarvel 作品文件。"},
        {write("picture.tarvel", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
         "这个文件不是 Tarvel 作品文件。"},
        {write("type.tarvel", R"({"steps": [{"do": "circle", "radius": "big"}]})"),
         "键“radius”必须是整数"},
        // A number out of range is named as the dialog names it, with its unit if it has one.
        {write("wide.tarvel", R"({"steps": [{"do": "canvas", "width": 5000, "height": 50}]})"),
         "：第 1 步：画布宽度必须在 1 到 4000 像素之间。"},
        {write("worn.tarvel", R"({"steps": [{"do": "canvas", "width": 50, "height": 50},
           {"do": "seal", "text": "印", "wear": 101}]})"),
         "：第 2 步：印章的残破程度必须在 0 到 100 之间。"},
        {write("save.tarvel", R"({"steps": [{"do": "save", "file": "/tmp/x.bmp"}]})"),
         "第 1 步（第 1 行）：作品文件里不能有“save”"},
        {write("outside.tarvel", R"({"steps": [{"do": "canvas", "picture": "/etc/passwd"}]})"),
         "背景图片“/etc/passwd”不在作品文件里"},
        {write("base64.tarvel", R"({"files": {"a.png": "@@"}, "steps": []})"),
         "文件“a.png”不是有效的 base64 数据"},
        {write("fails.tarvel", R"({"files": {"a.png": "AAAA"}, "steps": [
           {"do": "canvas", "width": 50, "height": 50, "color": "#FFFFFF"},
           {"do": "canvas", "picture": "a.png"}]})"),
         "第 2 步：无法读取图片"},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.toStdString());
        try {
            form->openWork(path);
            ADD_FAILURE() << "opened";
        } catch (const TarvelError& error) {
            EXPECT_TRUE(error.text().startsWith(QStringLiteral("无法打开作品“%1”：").arg(path)));
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(expected)))
                << error.text().toStdString();
        }
        EXPECT_EQ(form->Image1->picture().image(), before);
        EXPECT_EQ(form->composition().steps().size(), 2u);
        EXPECT_EQ(form->workFile(), file(QStringLiteral("good.tarvel")));
    }
}

TEST_F(ScriptRun, AScriptAndTheSameActionsInTheWindowGiveTheSamePicture) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 200, "height": 150, "color": "#445566"},
      {"do": "circle", "radius": 30, "lineWidth": 3, "lineColor": "#AA0000", "fillColor": "#00AA00"},
      {"do": "click", "at": [20, 30]},
      {"do": "save", "file": "scripted.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();

    // The same, by hand: each dialog is worked while it is open, its colour dialogs answered
    // in turn.
    TForm1 window;
    window.createDialogs();
    std::vector<TColor> answers = {0x665544, 0x0000AA, 0x00AA00};
    const auto previous =
        PlatformDialogs::setColorChooser([&answers](QWidget*, TColor) -> std::optional<TColor> {
            const TColor next = answers.front();
            answers.erase(answers.begin());
            return next;
        });
    auto whileOpen = [](const std::function<void(QDialog&)>& act) {
        QTimer::singleShot(0, [act] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                act(*dialog);
        });
    };
    auto child = [](QDialog& dialog, const char* name) {
        return dialog.findChild<QWidget*>(QLatin1String(name));
    };
    whileOpen([&](QDialog& dialog) {
        static_cast<SpinEdit*>(child(dialog, "SpinEdit1"))->setText(QStringLiteral("200"));
        static_cast<SpinEdit*>(child(dialog, "SpinEdit2"))->setText(QStringLiteral("150"));
        static_cast<QAbstractButton*>(child(dialog, "RadioButton5"))->click();
        static_cast<QAbstractButton*>(child(dialog, "Button1"))->click();
        static_cast<QAbstractButton*>(child(dialog, "Button3"))->click();
    });
    window.ToolButton40->click();
    whileOpen([&](QDialog& dialog) {
        static_cast<SpinEdit*>(child(dialog, "SpinEdit1"))->setText(QStringLiteral("3"));
        static_cast<SpinEdit*>(child(dialog, "SpinEdit2"))->setText(QStringLiteral("30"));
        static_cast<QAbstractButton*>(child(dialog, "SpeedButton1"))->click();
        static_cast<QAbstractButton*>(child(dialog, "SpeedButton2"))->click();
        static_cast<QAbstractButton*>(child(dialog, "Button1"))->click();
    });
    window.ToolButton21->click();
    window.Image1MouseDown(QPoint(20, 30), Qt::LeftButton);
    PlatformDialogs::setColorChooser(previous);

    const QImage scripted = saved("scripted.bmp").convertToFormat(QImage::Format_RGB32);
    const QImage byHand = window.Image1->picture().image().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(answers.empty());
    ASSERT_EQ(scripted.size(), byHand.size());
    EXPECT_EQ(scripted, byHand);
}

// A script's runs are set in one go, as typing them run after run would leave them: the same
// characters, attributes and empty lines, so the same picture.
TEST_F(ScriptRun, TextRunsGiveThePictureTypingThemGives) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 300, "height": 260, "color": "#FFFFFF"},
      {"do": "text", "runs": [
          {"text": "书法", "face": "AR PL UKai CN", "size": 24, "color": "#AA0000"},
          {"text": "ab\n\n", "size": 30, "bold": true},
          {"text": "墨\r\n香", "face": "LXGW WenKai", "italic": true, "underline": true},
          {"text": "", "strikeout": true}],
       "leftMargin": 5, "topMargin": 5, "lineSpacing": 4, "arrangement": 0}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();

    RichText typed;
    typed.clear();
    typed.setSelName(QStringLiteral("AR PL UKai CN"));
    typed.setSelSize(24);
    typed.setSelColor(0x000000AA);
    typed.setSelStyle(false, false, false, false);
    typed.insertText(QStringLiteral("书法"));
    typed.setSelSize(30);
    typed.setSelStyle(true, false, false, false);
    typed.insertText(QStringLiteral("ab\n\n"));
    typed.setSelName(QStringLiteral("LXGW WenKai"));
    typed.setSelStyle(false, true, true, false);
    typed.insertText(QStringLiteral("墨\r\n香"));
    const Step& drawn = *form->composition().steps().recipe().back();
    EXPECT_EQ(*drawn.runs, typed.toModel());

    DrawingSurface byHand(300, 260);
    byHand.brush.color = clWhite;
    byHand.fillRect(0, 0, 300, 260);
    byHand.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawTextBlock(byHand, typed, drawn.text, arHorzLeftToRight, 300);
    EXPECT_TRUE(form->Image1->picture().image().convertToFormat(QImage::Format_RGB32) ==
                byHand.image().convertToFormat(QImage::Format_RGB32));
}

// A folding-fan ring, its 扇面 text, a nudge and undo, the work file and the print resolution,
// all through the script steps the window records.
TEST_F(ScriptRun, FanRingWithItsTextIsOneStepOfTheWorkAndReopens) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 500, "height": 300, "color": "#FFFFFF", "resolution": 300},
      {"do": "fan", "shape": "ring", "radius": 240, "innerRadius": 108, "span": 140,
       "lineWidth": 2, "lineColor": "#6B4423", "fillColor": "#FBF3DF"},
      {"do": "click", "at": [20, 20]},
      {"do": "text", "runs": [{"text": "春眠不觉晓处处闻啼鸟\n\n孟浩然", "face": "宋体",
                               "size": 20, "color": "#000000"}],
       "fan": true, "fanColumns": "longShort"},
      {"do": "nudge", "direction": "right"},
      {"do": "saveWork", "file": "fan.tarvel"},
      {"do": "save", "file": "fan.bmp"},
      {"do": "save", "file": "fan.jpg"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    CompositionState& state = form->composition();
    // The ring's centre: the press plus the centre's place in the ring's picture.
    EXPECT_EQ(state.lastFanRing(), (FanRing{QPoint(249, 263), 240, 108, 140}));
    EXPECT_EQ(state.lastKind(), ekText);
    EXPECT_EQ(state.steps().recipe().back()->text.FanShiftX, 10);
    const QImage composed = state.canvas().picture().image();
    const auto dark = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qRed(image.pixel(x, y)) < 60;
        return count;
    };
    EXPECT_GT(dark(composed), 200);
    ASSERT_TRUE(state.undo());
    EXPECT_EQ(dark(state.canvas().picture().image()), 0);
    ASSERT_TRUE(state.redo());
    EXPECT_EQ(state.canvas().picture().image(), composed);

    QFile work(file(QStringLiteral("fan.tarvel")));
    ASSERT_TRUE(work.open(QIODevice::ReadOnly));
    const QByteArray text = work.readAll();
    EXPECT_TRUE(text.contains("\"shape\": \"ring\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("\"fanColumns\": \"longShort\""));
    TForm1 reopened;
    reopened.createDialogs();
    reopened.openWork(work.fileName());
    EXPECT_EQ(reopened.composition().canvas().picture().image(), composed);

    // The files carry 300 dots per inch: 11811 pixels per metre, a JFIF density of 300.
    QFile bmp(file(QStringLiteral("fan.bmp")));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(46);
    EXPECT_EQ(qFromLittleEndian<quint32>(header.constData() + 38), 11811u);
    QFile jpeg(file(QStringLiteral("fan.jpg")));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    const QByteArray jfif = jpeg.read(20);
    EXPECT_EQ(jfif.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(uchar(jfif[13]), 1);
    EXPECT_EQ(qFromBigEndian<quint16>(jfif.constData() + 14), 300);

    // What does not fit is said, and nothing is drawn.
    const Outcome tooLong = run(R"({"steps": [
      {"do": "text", "plain": "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十",
       "face": "宋体", "size": 20, "fan": true}
    ]})");
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_TRUE(tooLong.err.contains(QStringLiteral("扇面放不下这段文字：每列最多")))
        << tooLong.err.toStdString();
    EXPECT_EQ(state.canvas().picture().image(), composed);
    // A ring nudged takes its centre along.
    ASSERT_EQ(run(R"({"steps": [
      {"do": "fan", "shape": "ring", "radius": 240, "innerRadius": 108, "span": 140,
       "lineWidth": 2},
      {"do": "click", "at": [20, 20]},
      {"do": "nudge", "direction": "down"}
    ]})")
                  .status,
              0);
    EXPECT_EQ(state.lastFanRing(), (FanRing{QPoint(249, 273), 240, 108, 140}));
    const Outcome badRing = run(R"({"steps": [
      {"do": "fan", "shape": "ring", "radius": 100, "innerRadius": 100}
    ]})");
    EXPECT_EQ(badRing.status, 1);
    EXPECT_TRUE(badRing.err.contains(
        QStringLiteral("折扇的内半径（100）必须不小于 0 且小于外半径（100）。")))
        << badRing.err.toStdString();
}

// Composition scripts run end to end against the real window: each command is checked on the
// pixels of the picture the script saves, and failures on their exit status and message.
#include "ScriptDrivers.h"
#include "Unit1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "tarvel-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
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
        while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) bytes.append(buffer, qsizetype(n));
        return QString::fromUtf8(bytes);
    }

    QImage saved(const QString& name) const { return QImage(file(name)); }

    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};

QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }

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
      {"do": "save", "file": "cleared.bmp"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();

    const QImage stamped = saved("stamped.bmp");
    ASSERT_EQ(stamped.size(), QSize(300, 200));
    EXPECT_EQ(stamped.pixel(5, 5), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(stamped.pixel(120, 70), rgb(0, 255, 0));  // the centre of the disc
    EXPECT_EQ(stamped.pixel(100, 70), rgb(255, 0, 0));  // its leftmost outline pixel
    EXPECT_EQ(stamped.pixel(100, 50), rgb(0x10, 0x20, 0x30)); // keyed corner left out

    const QImage nudged = saved("nudged.bmp");
    EXPECT_EQ(nudged.pixel(150, 80), rgb(0, 255, 0));  // centre moved by (30, 10)
    EXPECT_EQ(nudged.pixel(120, 70), rgb(0x10, 0x20, 0x30)); // drawn on the snapshot

    // Undo goes back to the picture before the stamp.
    const QImage undone = saved("undone.bmp");
    EXPECT_EQ(undone.pixel(120, 70), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(undone.pixel(150, 80), rgb(0x10, 0x20, 0x30));

    // After clear the next press creates a white picture of the canvas size.
    const QImage cleared = saved("cleared.bmp");
    EXPECT_EQ(cleared.size(), QSize(300, 200));
    EXPECT_EQ(cleared.pixel(150, 80), rgb(255, 255, 255));
}

TEST_F(ScriptRun, ExitStatusAndMessages) {
    Outcome outcome = run(R"({"steps": [{"do": "undo"}, {"do": "sing"}]})");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("line 1: step 2: unknown command \"sing\"")))
        << outcome.err.toStdString();

    outcome = run("{\"steps\": [\n{\"do\": \"canvas\", \"width\": 10, \"colour\": \"#000000\"}]}");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("line 2: step 1: unknown key \"colour\"")));

    // A step that fails in the window stops the run with the window's message.
    outcome = run(R"({"steps": [
      {"do": "canvas", "width": 40, "height": 30, "picture": "missing.png"},
      {"do": "save", "file": "never.bmp"}
    ]})");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.err.startsWith(QStringLiteral("step 1: "))) << outcome.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("never.bmp")));

    EXPECT_EQ(runScript(*form, file("no-such-script.json"), stdout, stderr), 2);
}

TEST_F(ScriptRun, SaveNamesFollowTheSaveDialog) {
    const Outcome outcome = run(R"({"steps": [
      {"do": "canvas", "width": 16, "height": 16, "color": "#FFFFFF"},
      {"do": "save", "file": "plain"},
      {"do": "save", "file": "upper.BMP"}
    ]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    QFile jpeg(file("plain.jpg"));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpeg.read(3).startsWith("\xFF\xD8\xFF"));
    QFile upper(file("upper.BMP"));
    ASSERT_TRUE(upper.open(QIODevice::ReadOnly));
    EXPECT_TRUE(upper.read(3).startsWith("\xFF\xD8\xFF"));
}

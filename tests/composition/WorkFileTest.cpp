// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Works on the composition alone: every step kind written at the edges of its keys and read
// back, and a long work on a large canvas that saves, reopens pixel for pixel and undoes.
#include "WorkFile.h"
#include "StepSession.h"
#include "TarvelError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <climits>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

void run(StepSession& session, const QJsonObject& keys) {
    ScriptStep step;
    step.keys = keys;
    step.command = step.keys.take(QStringLiteral("do")).toString();
    session.run(step);
}

struct Works : ::testing::Test {
    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }
    // Saves the composition, opens the file over another composition and checks that the
    // picture and the file written again are the same.
    void expectSameWhenReopened(CompositionState& composed) {
        saveWorkFile(composed, path("work.tarvel"));
        CompositionState reopened;
        reopened.newCanvas(TSetStruct{}, QImage());
        openWorkFile(reopened, path("work.tarvel"));
        EXPECT_TRUE(reopened.canvas().picture().image() == composed.canvas().picture().image());
        EXPECT_EQ(reopened.canvas().dotsPerInch(), composed.canvas().dotsPerInch());
        EXPECT_EQ(workDocument(reopened), workDocument(composed));
    }
    QTemporaryDir folder;
};

// What a step holds is written with values the reader takes back, at the ends of every range
// the dialogs' boxes allow.
TEST_F(Works, EveryStepKindAtTheEdgesOfItsKeysComesBack) {
    CompositionState composed;
    StepSession session(composed, {}, QDir(folder.path()));
    const QJsonObject steps[] = {
        {{"do", "canvas"},
         {"width", 400},
         {"height", 300},
         {"resolution", 2400},
         {"color", "#FF0000"}},
        {{"do", "text"},
         {"runs", QJsonArray{QJsonObject{{"text", "永"}, {"color", "auto"}},
                             QJsonObject{{"text", "和"}, {"size", 1638}, {"color", "#123456"}}}},
         {"leftMargin", INT_MIN},
         {"topMargin", INT_MAX},
         {"charSpacing", INT_MIN},
         {"lineSpacing", INT_MAX},
         {"matchFallbackWeight", true}},
        {{"do", "rotated"},
         {"text", "落款"},
         {"angle", -180},
         {"charSpacing", INT_MAX},
         {"matchFallbackWeight", true}},
        {{"do", "seal"},
         {"text", "印\n\n"}, // a last empty line is a line of the seal
         {"width", 40},
         {"seed", INT_MIN},
         {"wear", 100},
         {"frameWidth", 200},
         {"wearStyle", "pressed"},
         {"paper", true},
         {"keepProportions", true},
         {"matchFallbackWeight", true},
         {"strokeWeight", 1000},
         {"angle", 60}},
        {{"do", "circle"}, {"radius", -1}, {"lineWidth", INT_MAX}},
        {{"do", "fan"},
         {"shape", "ring"},
         {"radius", 1000},
         {"innerRadius", 999},
         {"span", 180},
         {"lineWidth", 10}},
        {{"do", "click"}, {"at", QJsonArray{-1000000000, 1000000000}}},
        {{"do", "nudge"}, {"dx", INT_MIN / 2}, {"dy", 7}},
        {{"do", "canvas"}, {"width", 2}, {"height", 1}, {"blank", true}, {"resolution", 1}},
        {{"do", "canvas"}, {"width", 3}, {"height", 2}, {"color", "#FFFFFF"}},
        {{"do", "effect"}, {"kind", "blur"}},
        {{"do", "effect"}, {"kind", "restore"}},
        {{"do", "clear"}},
    };
    for (const QJsonObject& step : steps)
        run(session, step);
    ASSERT_EQ(composed.steps().recipe().size(), 8u); // the nudge is part of the stamp
    expectSameWhenReopened(composed);
    // The text's and the seal's keys are written as they were given.
    const QJsonArray written = workDocument(composed).value(QStringLiteral("steps")).toArray();
    for (const char* kind : {"text", "seal"}) {
        const auto given = std::find_if(std::begin(steps), std::end(steps), [&](const auto& step) {
            return step.value(QStringLiteral("do")).toString() == QLatin1String(kind);
        });
        const auto stored = std::find_if(written.begin(), written.end(), [&](const auto& step) {
            return step.toObject().value(QStringLiteral("do")).toString() == QLatin1String(kind);
        });
        ASSERT_NE(stored, written.end()) << kind;
        for (const QString& key : given->keys())
            if (key != QLatin1String("runs") && key != QLatin1String("text"))
                EXPECT_EQ(stored->toObject().value(key), given->value(key))
                    << kind << " " << key.toStdString();
    }
}

// 250 stamps, an effect and restore on 3000 x 3000 at 300 dpi: far past the pixels the
// history keeps, the work still holds every step, reopens the same, and undoes as far as
// the pixels reach.
TEST_F(Works, ALongWorkOnALargeCanvasReopensTheSameAndUndoes) {
    CompositionState composed;
    StepSession session(composed, {}, QDir(folder.path()));
    run(session, {{"do", "canvas"},
                  {"width", 3000},
                  {"height", 3000},
                  {"color", "#F0E8D8"},
                  {"resolution", 300}});
    run(session, {{"do", "circle"}, {"radius", 8}, {"fillColor", "#C00000"}});
    for (int i = 0; i < 250; ++i) {
        run(session, {{"do", "circle"}});
        run(session, {{"do", "click"}, {"at", QJsonArray{(i * 37) % 2980, (i * 53) % 2980}}});
    }
    run(session, {{"do", "effect"}, {"kind", "blur"}});
    run(session, {{"do", "effect"}, {"kind", "restore"}});
    ASSERT_EQ(composed.steps().recipe().size(), 253u);
    expectSameWhenReopened(composed);

    CompositionState reopened;
    openWorkFile(reopened, path("work.tarvel"));
    int undone = 0;
    while (reopened.undo()) {
        ASSERT_TRUE(composed.undo());
        ++undone;
    }
    EXPECT_EQ(undone, int(History::stepLimit));
    EXPECT_FALSE(composed.canUndo());
    EXPECT_TRUE(reopened.canvas().picture().image() == composed.canvas().picture().image());
}

// A 扇面 block follows a ring only while the ring is on the canvas shown: a new canvas or a
// clear leaves it nothing to follow.
TEST_F(Works, TextFollowsARingOnlyOnTheCanvasItWasStampedOn) {
    CompositionState composed;
    StepSession session(composed, {}, QDir(folder.path()));
    const QJsonObject canvas{
        {"do", "canvas"}, {"width", 500}, {"height", 300}, {"color", "#FFFFFF"}};
    const QJsonObject fanText{{"do", "text"}, {"plain", "春眠"}, {"fan", true}};
    for (const QJsonObject& gone : {canvas, QJsonObject{{"do", "clear"}}}) {
        run(session, canvas);
        run(session, {{"do", "fan"}, {"shape", "ring"}, {"radius", 240}, {"innerRadius", 108}});
        run(session, {{"do", "click"}, {"at", QJsonArray{20, 20}}});
        ASSERT_TRUE(composed.lastFanRing());
        run(session, fanText);
        run(session, gone);
        EXPECT_FALSE(composed.lastFanRing());
        const std::size_t steps = composed.steps().size();
        EXPECT_THROW(run(session, fanText), TarvelError);
        EXPECT_EQ(composed.steps().size(), steps);
    }
}

} // namespace

// A work that cannot be written says why in Chinese, as a picture does, and leaves the file
// that was there.
TEST_F(Works, AFailedSaveSaysWhyInChinese) {
    CompositionState composed;
    composed.newCanvas(TSetStruct{}, QImage());
    const QString tooLong = path("x") + QString(300, QLatin1Char('x')) + QStringLiteral(".tarvel");
    try {
        saveWorkFile(composed, tooLong);
        ADD_FAILURE() << "saved";
    } catch (const TarvelError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("文件名太长")))
            << error.text().toStdString();
    }
    // Past the file-size limit (ulimit -f), the write fails instead of killing the program.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    try {
        saveWorkFile(composed, path("limited.tarvel"));
        ADD_FAILURE() << "saved";
    } catch (const TarvelError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("无法保存“%1”：磁盘空间不足或超出文件大小限制。")
                                    .arg(path("limited.tarvel")));
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(QFile::exists(path("limited.tarvel")));
}

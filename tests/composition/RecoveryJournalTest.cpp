// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The recovery journal: the state after every action comes back from the journal as it stood
// then, a torn last line is dropped, a broken journal is set aside, another window's journal
// and a changed base are never used, and the journal stays within the work's size.
#include "RecoveryJournal.h"
#include "StepSession.h"
#include "TarvelError.h"
#include "WorkFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Journals : ::testing::Test {
    QString path(const QString& name) const { return folder.filePath(name); }
    QString left() const { return folder.filePath(QStringLiteral("left")); }
    void run(const QJsonObject& keys) {
        ScriptStep step;
        step.keys = keys;
        step.command = step.keys.take(QStringLiteral("do")).toString();
        if (step.command == QLatin1String("undo"))
            composed.undo();
        else if (step.command == QLatin1String("redo"))
            composed.redo();
        else
            session.run(step);
        journal.follow(composed);
    }
    // The journal as a program killed now leaves it, alone in a folder of its own.
    LeftJournal leave(const QByteArray& append = QByteArray()) {
        QDir(left()).removeRecursively();
        QDir().mkpath(left());
        QFile::copy(journal.path(), left() + QStringLiteral("/1-1.journal"));
        QFile file(left() + QStringLiteral("/1-1.journal"));
        EXPECT_TRUE(file.open(QIODevice::Append));
        file.write(append);
        file.close();
        std::vector<LeftJournal> found = leftJournals(left());
        EXPECT_EQ(found.size(), 1u);
        return found.empty() ? LeftJournal{} : found.front();
    }
    static QImage picture(const CompositionState& state) {
        return state.canvas().picture().image();
    }

    QTemporaryDir folder;
    CompositionState composed;
    StepSession session{composed, {}, QDir(folder.path())};
    RecoveryJournal journal{folder.filePath(QStringLiteral("own"))};
};

// Every kind of action: after each, the journal left then brings back the same picture and
// the same history (the work it would save, and what undo can still take back).
TEST_F(Journals, EveryActionComesBackAsItStood) {
    const QJsonObject actions[] = {
        {{"do", "canvas"}, {"width", 240}, {"height", 160}, {"color", "#F0E8D8"}},
        {{"do", "circle"}, {"radius", 12}, {"fillColor", "#C00000"}},
        {{"do", "click"}, {"at", QJsonArray{40, 40}}},
        {{"do", "text"}, {"plain", "永和"}, {"leftMargin", 100}, {"topMargin", 20}},
        {{"do", "nudge"}, {"dx", 3}, {"dy", -2}},
        {{"do", "undo"}},
        {{"do", "nudge"}, {"dx", -5}, {"dy", 0}}, // the block just undone, drawn moved
        {{"do", "undo"}},
        {{"do", "undo"}},
        {{"do", "redo"}},
        {{"do", "seal"}, {"text", "印"}, {"width", 30}},
        {{"do", "click"}, {"at", QJsonArray{180, 100}}}, // drops the undone block
        {{"do", "effect"}, {"kind", "blur"}},
        {{"do", "undo"}},
    };
    EXPECT_FALSE(QFile::exists(journal.path())); // nothing unsaved yet
    for (const QJsonObject& action : actions) {
        SCOPED_TRACE(QJsonDocument(action).toJson(QJsonDocument::Compact).toStdString());
        run(action);
        CompositionState recovered;
        const JournalBase base = recoverJournal(recovered, leave());
        EXPECT_TRUE(base.workFile.isEmpty());
        EXPECT_EQ(picture(recovered), picture(composed));
        EXPECT_EQ(workDocument(recovered), workDocument(composed));
        EXPECT_EQ(recovered.steps().size(), composed.steps().size());
        EXPECT_EQ(recovered.canUndo(), composed.canUndo());
        EXPECT_EQ(recovered.undoName(), composed.undoName());
        EXPECT_EQ(recovered.canRedo(), composed.canRedo());
        EXPECT_EQ(recovered.redoName(), composed.redoName());
        EXPECT_EQ(recovered.isModified(), composed.isModified());
    }
    // Every action that changed the history counted (setting a dialog up changes nothing),
    // those written afresh included.
    EXPECT_EQ(leave().steps, int(std::size(actions)) - 2);
}

// A line cut short by the crash, or one whose bytes never reached the disk, is dropped; a
// journal broken before its end is set aside under a name never offered again.
TEST_F(Journals, ATornLastLineIsDroppedABrokenJournalIsSetAside) {
    run({{"do", "canvas"}, {"width", 120}, {"height", 80}, {"color", "#FFFFFF"}});
    run({{"do", "circle"}, {"radius", 9}});
    run({{"do", "click"}, {"at", QJsonArray{30, 30}}});
    const QImage shown = picture(composed);
    for (const QByteArray& torn : {QByteArray("{\"steps\":[{\"do\":\"cl"), QByteArray(9, '\0'),
                                   QByteArray(9, '\0') + '\n'}) {
        CompositionState recovered;
        recoverJournal(recovered, leave(torn));
        EXPECT_EQ(picture(recovered), shown);
    }
    const LeftJournal broken = leave("{\"steps\":[{\"do\":\"clear\"}]}\nnot json\n{}\n");
    CompositionState recovered;
    try {
        recoverJournal(recovered, broken);
        ADD_FAILURE() << "a broken journal was replayed";
    } catch (const TarvelError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("1-1.journal")))
            << error.text().toStdString();
    }
    EXPECT_FALSE(recovered.canvas().hasPicture()); // nothing changed
    const QString aside = setJournalAside(broken);
    EXPECT_TRUE(QFile::exists(aside));
    EXPECT_FALSE(QFile::exists(broken.path));
    EXPECT_TRUE(leftJournals(left()).empty());
}

// A window still running holds its journal: no other window offers it, nor its own.
TEST_F(Journals, ARunningWindowsJournalIsNeverOffered) {
    RecoveryJournal other(left());
    CompositionState elsewhere;
    elsewhere.newCanvas(TSetStruct{}, QImage());
    other.follow(elsewhere);
    run({{"do", "canvas"}, {"width", 50}, {"height", 50}, {"color", "#FFFFFF"}});
    ASSERT_TRUE(QFile::exists(other.path()));
    EXPECT_TRUE(leftJournals(left()).empty());
    EXPECT_TRUE(leftJournals(folder.filePath(QStringLiteral("own"))).empty());
}

// A journal of a saved work starts from the file: it holds only the steps since, and is
// refused once the file changed under it. Saving removes the journal.
TEST_F(Journals, AJournalStartsFromTheSavedWorkAndOnlyFromItUnchanged) {
    run({{"do", "canvas"}, {"width", 300}, {"height", 200}, {"color", "#FFFFFF"}});
    for (int i = 0; i < 30; ++i) {
        run({{"do", "circle"}, {"radius", 6}});
        run({{"do", "click"}, {"at", QJsonArray{i * 9, i * 6}}});
    }
    const QString work = path(QStringLiteral("work.tarvel"));
    journal.restart({work, saveWorkFile(composed, work), composed.steps().recipe()});
    journal.follow(composed);
    EXPECT_FALSE(QFile::exists(journal.path()));
    run({{"do", "undo"}});
    run({{"do", "clear"}});
    const qint64 small = QFileInfo(journal.path()).size();
    EXPECT_LT(small, 400) << "the saved steps are not journaled again";
    CompositionState recovered;
    const JournalBase base = recoverJournal(recovered, leave());
    EXPECT_EQ(base.workFile, work);
    EXPECT_EQ(workDocument(recovered), workDocument(composed));
    ASSERT_TRUE(recovered.undo());
    ASSERT_TRUE(composed.undo());
    EXPECT_EQ(picture(recovered), picture(composed));

    CompositionState changed;
    changed.newCanvas(TSetStruct{}, QImage());
    saveWorkFile(changed, work);
    CompositionState refused;
    EXPECT_THROW(recoverJournal(refused, leave()), TarvelError);
}

// Nudges and undo rewrite the last step again and again; the journal is written afresh from
// its live steps before it grows past what the work file holds.
TEST_F(Journals, ManyNudgesKeepTheJournalWithinTheWorksSize) {
    run({{"do", "canvas"}, {"width", 400}, {"height", 300}, {"color", "#FFFFFF"}});
    run({{"do", "text"}, {"plain", "春眠不觉晓处处闻啼鸟"}, {"leftMargin", 20}});
    for (int i = 0; i < 400; ++i)
        run({{"do", "nudge"}, {"dx", 1}, {"dy", i % 2}});
    const QString work = path(QStringLiteral("work.tarvel"));
    saveWorkFile(composed, work);
    EXPECT_LE(journal.size(), QFileInfo(work).size());
    EXPECT_EQ(journal.size(), QFileInfo(journal.path()).size());
    CompositionState recovered;
    recoverJournal(recovered, leave());
    EXPECT_EQ(picture(recovered), picture(composed));
}

} // namespace

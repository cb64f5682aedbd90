// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Killed at any moment, the window loses nothing it showed: a 300-step composition is killed
// (SIGKILL) at random points, the next start recovers the journal, and the picture is the
// one after the last step shown as done. The composing and the recovering windows run as
// children of this test, in this same program.
#include "PlatformDialogs.h"
#include "StepSession.h"
#include "Unit1.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {

// Circles, text, seals, nudges, undo and redo, an effect now and then, on a small canvas.
std::vector<QJsonObject> composition() {
    std::vector<QJsonObject> steps{
        {{"do", "canvas"}, {"width", 200}, {"height", 150}, {"color", "#F0E8D8"}}};
    for (int i = 0; steps.size() < 300; ++i) {
        const QJsonArray at{(i * 37) % 190, (i * 53) % 140};
        switch (i % 9) {
        case 0:
        case 8:
            steps.push_back({{"do", "circle"}, {"radius", 4 + i % 7}});
            steps.push_back({{"do", "click"}, {"at", at}});
            break;
        case 1:
            steps.push_back(
                {{"do", "text"}, {"plain", "永"}, {"leftMargin", at[0]}, {"topMargin", at[1]}});
            break;
        case 2:
            steps.push_back({{"do", "nudge"}, {"dx", 2}, {"dy", -1}});
            break;
        case 3:
        case 6:
            steps.push_back({{"do", "undo"}});
            break;
        case 4:
            steps.push_back({{"do", "redo"}});
            break;
        case 5:
            steps.push_back({{"do", "seal"}, {"text", "印"}, {"width", 14}});
            steps.push_back({{"do", "click"}, {"at", at}});
            break;
        case 7:
            steps.push_back({{"do", "effect"}, {"kind", i % 4 == 3 ? "blur" : "restore"}});
            break;
        }
    }
    steps.resize(300);
    return steps;
}

void apply(StepSession& session, QJsonObject keys) {
    ScriptStep step;
    step.command = keys.take(QStringLiteral("do")).toString();
    step.keys = keys;
    session.run(step);
}

QByteArray pictureHash(const CompositionState& state) {
    const QImage image = state.canvas().picture().image();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()));
    if (!image.isNull())
        hash.addData(QByteArrayView(image.constBits(), image.sizeInBytes()));
    return hash.result().toHex();
}

const char* child() {
    return std::getenv("TARVEL_RECOVERY_CHILD");
}

QString folderOf() {
    return QString::fromLocal8Bit(qgetenv("TARVEL_RECOVERY_FOLDER"));
}

void say(const QByteArray& line) {
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

// The composing window: "begin N" before step N, "done N" once the window has it.
TEST(RecoveryChild, Compose) {
    if (!child())
        GTEST_SKIP() << "run by RecoveryKill";
    TForm1 form;
    form.createDialogs();
    form.startRecovery(folderOf());
    StepSession session(form.composition(), {}, QDir(folderOf()));
    const std::vector<QJsonObject> steps = composition();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        say("begin " + QByteArray::number(qulonglong(i)));
        apply(session, steps[i]);
        say("done " + QByteArray::number(qulonglong(i)));
    }
    std::this_thread::sleep_for(std::chrono::seconds(60)); // killed before the end
}

// The next start: the journal left is recovered, and the picture shown said.
TEST(RecoveryChild, Recover) {
    if (!child())
        GTEST_SKIP() << "run by RecoveryKill";
    PlatformDialogs::setRecoverQuestion(
        [](QWidget*, const QString&) { return PlatformDialogs::RecoverAnswer::Recover; });
    TForm1 form;
    form.createDialogs();
    form.startRecovery(folderOf());
    form.offerRecovery();
    say("picture " + pictureHash(form.composition()));
    say(QFile::exists(form.journal()->path()) ? "journaled" : "not journaled");
}

QProcess* startChild(QTemporaryDir& home, const QString& folder, const char* test) {
    auto* process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARVEL_RECOVERY_CHILD"), QStringLiteral("1"));
    environment.insert(QStringLiteral("TARVEL_RECOVERY_FOLDER"), folder);
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=RecoveryChild.") + QLatin1String(test)});
    return process;
}

TEST(RecoveryKill, EveryKillRecoversThePictureLastShown) {
    if (child())
        GTEST_SKIP();
    // The picture before any step, and after each.
    std::vector<QByteArray> expected;
    {
        CompositionState state;
        StepSession session(state, {}, QDir());
        expected.push_back(pictureHash(state));
        for (const QJsonObject& step : composition()) {
            apply(session, step);
            expected.push_back(pictureHash(state));
        }
    }
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int run = 0; run < 20; ++run) {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("recovery"));
        const int target = int(random() % 300);
        const auto pause = std::chrono::microseconds(random() % 3000);
        std::unique_ptr<QProcess> composing(startChild(home, folder, "Compose"));
        ASSERT_TRUE(composing->waitForStarted());
        QByteArray last;
        QByteArray pending;
        bool killed = false;
        while (!killed && composing->waitForReadyRead(30000)) {
            pending += composing->readAllStandardOutput();
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(end);
                pending.remove(0, end + 1);
                if (line.startsWith("begin ") || line.startsWith("done "))
                    last = line;
                if (line == "done " + QByteArray::number(target)) {
                    std::this_thread::sleep_for(pause);
                    ::kill(pid_t(composing->processId()), SIGKILL);
                    killed = true;
                }
            }
        }
        ASSERT_TRUE(killed) << "the composition stopped before step " << target;
        composing->waitForFinished();
        pending += composing->readAllStandardOutput();
        for (const QByteArray& line : pending.split('\n'))
            if (line.startsWith("begin ") || line.startsWith("done "))
                last = line;
        const bool between = last.startsWith("done ");
        const int step = last.mid(last.indexOf(' ') + 1).toInt();

        std::unique_ptr<QProcess> recovering(startChild(home, folder, "Recover"));
        ASSERT_TRUE(recovering->waitForFinished(120000));
        QByteArray picture;
        bool journaled = false;
        for (const QByteArray& line : recovering->readAllStandardOutput().split('\n')) {
            if (line.startsWith("picture "))
                picture = line.mid(8);
            journaled = journaled || line == "journaled";
        }
        SCOPED_TRACE("killed " + std::string(between ? "after step " : "during step ") +
                     std::to_string(step));
        // Between steps, exactly the last one done; during one, the one before or, once it
        // reached the disk, the one being done.
        if (between)
            EXPECT_EQ(picture, expected[std::size_t(step) + 1]);
        else
            EXPECT_TRUE(picture == expected[std::size_t(step)] ||
                        picture == expected[std::size_t(step) + 1]);
        // A work recovered is journaled again at once by the window that recovered it.
        EXPECT_TRUE(picture == expected[0] || journaled);
        // The journal recovered is gone, and nothing was set aside.
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty())
            << QDir(folder).entryList(QDir::Files).join(' ').toStdString();
    }
}

} // namespace

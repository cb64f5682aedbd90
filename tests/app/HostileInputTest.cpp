// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The third round's hostile inputs, made by tests/data/make-hostile.sh, each run through the
// program on its own: it ends with the exit status and message it should, within the memory
// one input may take, and leaves settings that are no settings as they were.
#include "History.h"
#include "Unit1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// AddressSanitizer's shadow memory and quarantine count in the peak; its builds check the
// outcomes only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool peakMeasured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool peakMeasured = false;
#else
constexpr bool peakMeasured = true;
#endif
#else
constexpr bool peakMeasured = true;
#endif

// What one input may take on its own, whatever it is.
constexpr long inputBudgetMegabytes = 600;

struct Outcome {
    int status = -1;
    long peakMegabytes = 0;
    QString err;
};

class HostileInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        ASSERT_TRUE(folder->isValid());
        QDir().mkpath(folder->filePath(QStringLiteral("home")));
        const int made = QProcess::execute(QStringLiteral("bash"),
                                           {QStringLiteral(TARVEL_TEST_DATA "/make-hostile.sh"),
                                            QStringLiteral("--third-round"), folder->path()});
        ASSERT_EQ(made, 0);
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }

    static QString path(const QString& name) { return folder->filePath(name); }

    // Runs the program on one input in the folder, HOME and TMPDIR inside it; the peak is the
    // child's largest resident size.
    static Outcome run(const QString& input,
                       const QString& config = QStringLiteral("home/.config")) {
        const QByteArray program = TARVEL_PROGRAM;
        const QByteArray script = QFile::encodeName(path(input));
        const QByteArray errors = QFile::encodeName(path(QStringLiteral("stderr.txt")));
        std::vector<QByteArray> environment{
            "QT_QPA_PLATFORM=offscreen", "LC_ALL=C.UTF-8",
            "HOME=" + QFile::encodeName(path(QStringLiteral("home"))),
            "TMPDIR=" + QFile::encodeName(path(QStringLiteral("home"))),
            "XDG_CONFIG_HOME=" + QFile::encodeName(path(config))};
        if (const char* asan = std::getenv("ASAN_OPTIONS"))
            environment.push_back(QByteArray("ASAN_OPTIONS=") + asan);
        std::vector<char*> envp;
        for (QByteArray& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>("--script"),
                        const_cast<char*>(script.constData()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t child = 0;
        Outcome result;
        const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0);
        if (spawned != 0)
            return result;
        int status = 0;
        rusage usage{};
        EXPECT_EQ(::wait4(child, &status, 0, &usage), child);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.peakMegabytes = usage.ru_maxrss / 1024;
        QFile err(QString::fromLocal8Bit(errors));
        if (err.open(QIODevice::ReadOnly))
            result.err = QString::fromUtf8(err.readAll());
        return result;
    }

    static QTemporaryDir* folder;
};

QTemporaryDir* HostileInput::folder = nullptr;

struct HostileCase {
    const char* input;
    // Whether the history keeps large pictures: then the input may take what the history is
    // bounded to beyond its own 600 MB.
    bool keepsHistory;
    int status;
    const char* message; // the start of standard error, {input} its path; empty: nothing said
};

// A large picture carried by a work, many canvases and effects, stamps between effects, works
// of hundreds of thousands of files, and a NUL in a text.
const HostileCase cases[] = {
    {"big-png.tarvel", false, 0, ""},
    {"big-png-center.tarvel", false, 0, ""},
    {"three-canvases.tarvel", true, 0, ""},
    {"canvases300.json", false, 0, ""},
    {"effects-stamps.tarvel", true, 0, "step 4: 警告："},
    {"files200k.tarvel", false, 2,
     "无法运行脚本“{input}”：第 1 行：文件太多：最多 10000 个，这里有 200000 个。"},
    {"files1m.tarvel", false, 2,
     "无法运行脚本“{input}”：第 1 行：文件太多：最多 10000 个，这里有 1000000 个。"},
    {"nul.json", false, 2,
     "无法运行脚本“{input}”：第 1 行，第 2 步：键“plain”的第 2 "
     "个字符是控制字符（U+0000）：文字里只能有换行和制表符。"},
};

TEST_F(HostileInput, EachInputEndsAsItShouldWithinTheBudget) {
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome outcome = run(QString::fromUtf8(c.input));
        EXPECT_EQ(outcome.status, c.status) << outcome.err.toStdString();
        // The message names the input as it was given, its whole path.
        const QString message = QString::fromUtf8(c.message).replace(
            QStringLiteral("{input}"), path(QString::fromUtf8(c.input)));
        if (message.isEmpty())
            EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
        else
            EXPECT_TRUE(outcome.err.startsWith(message)) << outcome.err.toStdString();
        if (peakMeasured)
            EXPECT_LT(outcome.peakMegabytes,
                      inputBudgetMegabytes + (c.keepsHistory ? History::byteLimit >> 20 : 0));
    }
}

// Script runs never read nor write the user's settings: a named pipe does not hang them, a link
// is not written through, and the pipe, the link and its target stay as they were.
TEST_F(HostileInput, ScriptRunsLeaveSettingsThatAreNoneAlone) {
    for (const char* config : {"config-fifo", "config-link", "config-huge"}) {
        SCOPED_TRACE(config);
        const QString settings = path(QString::fromUtf8(config) + "/Tarvel/Tarvel2008.conf");
        struct stat before {};
        ASSERT_EQ(::lstat(QFile::encodeName(settings).constData(), &before), 0);
        const Outcome outcome = run(QStringLiteral("big-png.tarvel"), QString::fromUtf8(config));
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        struct stat after {};
        ASSERT_EQ(::lstat(QFile::encodeName(settings).constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
    }
    QFile kept(path(QStringLiteral("config-link/kept")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep\n"));
}

// The window meets the settings file of 29 MB and the one of 10,000 recent works: each is set
// aside unread, and the menu of recent works is empty.
TEST_F(HostileInput, TheWindowSetsAsideSettingsFilesPastTheirSize) {
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    TForm1 form;
    for (const char* config : {"config-huge", "config-recent"}) {
        SCOPED_TRACE(config);
        const QString folder = path(QString::fromUtf8(config));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
        EXPECT_TRUE(form.recentWorks().isEmpty());
        const QStringList left = QDir(folder + QStringLiteral("/Tarvel")).entryList(QDir::Files);
        ASSERT_EQ(left.size(), 1);
        EXPECT_TRUE(left[0].startsWith(QStringLiteral("Tarvel2008.conf.aside-")))
            << left[0].toStdString();
    }
    qputenv("XDG_CONFIG_HOME", previous);
}

} // namespace

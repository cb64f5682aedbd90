// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What the start-up benchmarks share: running this benchmark program again as a fresh child
// process, and ending such a child at the first paint of a window.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace FreshProcess {

// Quits the event loop once a window has painted for the first time.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }
};

// The path of this program, for starting it again.
inline std::string selfPath(const char* argv0) {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string(argv0);
}

// Starts the program with the arguments and waits for it; false (with the benchmark's error
// set) when it could not start or did not exit cleanly.
inline bool runChild(benchmark::State& state, const std::string& program,
                     std::vector<std::string> arguments) {
    std::string path = program;
    std::vector<char*> argv{path.data()};
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        state.SkipWithError("could not start the child");
        return false;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        state.SkipWithError("the child failed");
        return false;
    }
    return true;
}

} // namespace FreshProcess

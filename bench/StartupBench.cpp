// Start-up to the first paint of the main window, beside a bare QApplication + QMainWindow to
// its first paint, on the offscreen platform. Each iteration starts this program again as a
// child process that builds one of the two windows, waits for its first paint and exits, so
// the time includes everything a real start does (toolkit, fonts, all eight windows).
// bench-libs: app_lib
#include "Unit1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <benchmark/benchmark.h>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Quits the event loop once the watched window has painted for the first time.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }
};

int runChild(int argc, char** argv, bool full) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FirstPaint watcher;
    app.installEventFilter(&watcher);
    if (full) {
        TForm1 form;
        form.createDialogs();
        form.show();
        return app.exec();
    }
    QMainWindow window;
    window.show();
    return app.exec();
}

std::string selfPath;

void startChild(benchmark::State& state, const char* mode) {
    for (auto _ : state) {
        char* args[] = {selfPath.data(), const_cast<char*>(mode), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, selfPath.c_str(), nullptr, nullptr, args, environ) != 0) {
            state.SkipWithError("could not start the child");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child failed");
            return;
        }
    }
}

void BM_BareMainWindowFirstPaint(benchmark::State& state) {
    startChild(state, "--child-bare");
}
BENCHMARK(BM_BareMainWindowFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TarvelFirstPaint(benchmark::State& state) {
    startChild(state, "--child-full");
}
BENCHMARK(BM_TarvelFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child-bare") == 0)
        return runChild(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "--child-full") == 0)
        return runChild(argc, argv, true);
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    selfPath = n > 0 ? std::string(buffer, size_t(n)) : std::string(argv[0]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Opens arbitrary bytes as a work file in the real window: each input either rebuilds a work
// or is refused with a message, never a crash or a hang, and a refused one leaves the work
// that was shown before.
#include "TarvelError.h"
#include "Unit1.h"

#include <QApplication>
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_work";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    static TForm1* form = [] {
        auto* window = new TForm1;
        window->createDialogs();
        return window;
    }();
    (void)application;
    QTemporaryFile file(QStringLiteral("XXXXXX.tarvel"));
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    const int stepsBefore = int(form->composition().steps().size());
    const QSize sizeBefore = form->composition().canvas().size();
    try {
        form->openWork(file.fileName());
    } catch (const TarvelError&) {
        if (int(form->composition().steps().size()) != stepsBefore ||
            form->composition().canvas().size() != sizeBefore)
            __builtin_trap(); // a refused work changed the one shown
    }
    return 0;
}

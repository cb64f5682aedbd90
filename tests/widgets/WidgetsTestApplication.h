// The application the widget tests need before any control is made.
#pragma once

#include <QApplication>

inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "widgets-tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// A base, so the application exists before a fixture's controls are made.
struct WithApplication {
    WithApplication() { ensureApplication(); }
};

// The application object a test executable needs before it makes fonts, pictures or controls:
// made on first use, kept until the program exits.
#pragma once

#include <QApplication>

inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "tarvel-test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

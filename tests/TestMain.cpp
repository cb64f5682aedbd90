// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main of the test programs: one application object for all the tests of a program, made
// before the first test and destroyed after the last, inside main rather than among the
// static destructors at exit (where the input devices QTest creates would outlive what they
// need).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}

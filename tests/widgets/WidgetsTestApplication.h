// The application the widget tests need before any control is made.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

// The application lives in a test environment, so it is destroyed when the tests end, inside
// main, rather than among the static destructors at exit (where the input devices QTest
// creates would outlive what they need). GoogleTest owns the environment.
class ApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { application = std::make_unique<QApplication>(argc, argv); }
    void TearDown() override { application.reset(); }

private:
    int argc = 1;
    char name[16] = "tarvel-tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> application;
};

inline ::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// A base that checks the application exists before a fixture's controls are made.
struct WithApplication {
    WithApplication() { EXPECT_NE(qApp, nullptr); }
};

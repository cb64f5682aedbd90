// One QApplication for a GoogleTest executable, made before the first test and destroyed
// after the last, before the program's own statics go.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

class TestApplication final : public ::testing::Environment {
public:
    void SetUp() override { app = std::make_unique<QApplication>(argc, argv); }
    void TearDown() override { app.reset(); }

private:
    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

// Registered once per executable (GoogleTest owns the environment).
inline ::testing::Environment* const testApplication =
    ::testing::AddGlobalTestEnvironment(new TestApplication);

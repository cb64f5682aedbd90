// The application the text tests need: it lives in a test environment, so it exists before
// the first fixture (whose rich text needs it) and is gone before the static destructors run.
#pragma once

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

class GuiApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { application = std::make_unique<QGuiApplication>(argc, argv); }
    void TearDown() override { application.reset(); }

private:
    int argc = 1;
    char name[8] = "tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;
};

inline ::testing::Environment* const guiApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

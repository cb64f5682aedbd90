// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The colour button: runs the colour dialog from its last colour and keeps a confirmed choice.
#include "ColorButton.h"
#include "PlatformDialogs.h"

#include <gtest/gtest.h>

namespace {

struct ColorButtonTest : ::testing::Test {
    ~ColorButtonTest() override { PlatformDialogs::setColorChooser({}); }
    ColorButton button{clGray};
};

TEST_F(ColorButtonTest, AConfirmedColourIsKeptAndAnnounced) {
    std::vector<TColor> offered;
    PlatformDialogs::setColorChooser([&](QWidget*, TColor initial) -> std::optional<TColor> {
        offered.push_back(initial);
        return clRed;
    });
    std::vector<TColor> announced;
    QObject::connect(&button, &ColorButton::colorChosen,
                     [&](TColor colour) { announced.push_back(colour); });
    EXPECT_TRUE(button.choose());
    EXPECT_EQ(button.color(), clRed);
    EXPECT_TRUE(button.choose()); // the dialog now starts from red
    EXPECT_EQ(offered, (std::vector<TColor>{clGray, clRed}));
    EXPECT_EQ(announced, (std::vector<TColor>{clRed, clRed}));
}

TEST_F(ColorButtonTest, ACancelledDialogChangesNothing) {
    PlatformDialogs::setColorChooser(
        [](QWidget*, TColor) -> std::optional<TColor> { return std::nullopt; });
    bool announced = false;
    QObject::connect(&button, &ColorButton::colorChosen, [&](TColor) { announced = true; });
    EXPECT_FALSE(button.choose());
    EXPECT_EQ(button.color(), clGray);
    EXPECT_FALSE(announced);
}

TEST_F(ColorButtonTest, TheSwatchShowsTheColour) {
    button.setColor(clBlue);
    const QImage swatch = button.icon().pixmap(16, 16).toImage();
    EXPECT_EQ(swatch.pixelColor(8, 8), toQColor(clBlue));
    EXPECT_EQ(swatch.pixelColor(0, 0), QColor(Qt::black)); // the frame
}

} // namespace

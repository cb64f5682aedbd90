// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The numeric box: whole numbers only, the minimum for anything else, bounds applied when
// reading and when the box loses focus, and steps.
#include "SpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

struct SpinEditTest : ::testing::Test {
    SpinEdit box;
};

TEST_F(SpinEditTest, TextThatIsNotAWholeNumberReadsAsTheMinimum) {
    const std::vector<std::pair<QString, int>> unbounded = {{"42", 42},
                                                            {" -7 ", -7},
                                                            {"", 0},
                                                            {"abc", 0},
                                                            {"1.5", 0},
                                                            {"12x", 0},
                                                            {"99999999999", 0},
                                                            {"-2147483648", INT_MIN},
                                                            {"2147483647", INT_MAX}};
    for (const auto& [text, value] : unbounded) {
        box.setText(text);
        EXPECT_EQ(box.value(), value) << text.toStdString();
    }
    box.setRange(10, 1000);
    for (const auto& [text, value] : std::vector<std::pair<QString, int>>{
             {"abc", 10}, {"", 10}, {"5", 10}, {"5000", 1000}, {"250", 250}}) {
        box.setText(text);
        EXPECT_EQ(box.value(), value) << text.toStdString();
    }
}

TEST_F(SpinEditTest, ZeroAndZeroMeanNoBounds) {
    EXPECT_FALSE(box.bounded());
    box.setValue(-500);
    EXPECT_EQ(box.value(), -500);
    box.setRange(1, 10);
    EXPECT_TRUE(box.bounded());
    box.setValue(-500);
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(box.text(), QStringLiteral("1"));
}

TEST_F(SpinEditTest, ABoundedBoxBringsItsTextIntoRangeWhenItLosesFocus) {
    box.setRange(1, 10);
    box.setText("25");
    EXPECT_EQ(box.text(), QStringLiteral("25")); // typing is free
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &focusOut);
    EXPECT_EQ(box.text(), QStringLiteral("10"));
    box.setText("junk");
    QApplication::sendEvent(&box, &focusOut);
    EXPECT_EQ(box.text(), QStringLiteral("junk")); // not a number: left, reads as 1
    EXPECT_EQ(box.value(), 1);
}

TEST_F(SpinEditTest, StepsMoveByTheIncrementWithinTheBounds) {
    box.setRange(10, 1000);
    box.setIncrement(5);
    box.setValue(100);
    box.stepBy(1);
    EXPECT_EQ(box.value(), 105);
    box.stepBy(-3);
    EXPECT_EQ(box.value(), 90);
    box.setValue(998);
    box.stepBy(1);
    EXPECT_EQ(box.value(), 1000);
    SpinEdit free;
    free.setValue(INT_MAX - 1);
    free.setIncrement(5);
    free.stepBy(1);
    EXPECT_EQ(free.value(), INT_MAX);
}

} // namespace

// A box placed by a layout takes its size hint: the widest value of its range must show whole
// in the text field beside the arrows.
TEST_F(SpinEditTest, ItsSizeHintLeavesRoomForTheWidestValueOfItsRange) {
    const std::vector<std::tuple<int, int, QString>> ranges = {{0, 0, QStringLiteral("-99999")},
                                                               {-180, 180, QStringLiteral("-180")},
                                                               {0, 4000, QStringLiteral("4000")},
                                                               {400, 1000, QStringLiteral("1000")}};
    for (const auto& [min, max, widest] : ranges) {
        SpinEdit placed;
        placed.setRange(min, max);
        placed.setText(widest);
        placed.resize(placed.minimumSizeHint());
        placed.show();
        const QLineEdit* field = placed.findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        EXPECT_GE(field->width(), placed.fontMetrics().horizontalAdvance(widest))
            << widest.toStdString();
        EXPECT_EQ(placed.sizeHint(), placed.minimumSizeHint());
    }
}

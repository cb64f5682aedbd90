// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The work drawn again from its steps for print: the lengths the key table names are the ones
// scaled, the drawing brought back to the canvas's size matches the canvas on the ink, and the
// memory budget lowers the resolution and says so.
#include "ScaledRendering.h"

#include "CompositionState.h"
#include "Messages.h"
#include "ScriptReader.h"
#include "StepSession.h"
#include "TarvelError.h"
#include "WorkSteps.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QScopeGuard>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

void run(StepSession& session, QJsonObject keys) {
    ScriptStep step;
    step.command = keys.take(QStringLiteral("do")).toString();
    step.keys = keys;
    session.run(step);
}

void compose(CompositionState& composed, std::initializer_list<QJsonObject> steps) {
    StepSession session(composed, {}, QDir::current());
    for (const QJsonObject& step : steps)
        run(session, step);
}

// A script value multiplied by 3, as a length of the table is.
QJsonValue tripled(const QJsonValue& value, KeyType type) {
    switch (type) {
    case KeyType::Point:
        return QJsonArray{value[0].toInt() * 3, value[1].toInt() * 3};
    case KeyType::Text:
        return QString::number(value.toString().toInt() * 3);
    case KeyType::Runs: {
        QJsonArray runs = value.toArray();
        for (QJsonValueRef run : runs) {
            QJsonObject entry = run.toObject();
            entry.insert(QStringLiteral("size"), entry.value(QStringLiteral("size")).toInt() * 3);
            run = entry;
        }
        return runs;
    }
    default:
        return value.toInt() * 3;
    }
}

// Every key a work writes, with values none of which is 0: the scaled step writes the keys the
// table marks as lengths three times as large and every other key as it was.
TEST(ScaledSteps, TheLengthsOfTheKeyTableAreTheOnesScaled) {
    CompositionState composed;
    compose(composed, {{{"do", "canvas"}, {"width", 400}, {"height", 300}, {"resolution", 72}},
                       {{"do", "text"},
                        {"runs", QJsonArray{QJsonObject{{"text", "永和"}, {"size", 11}}}},
                        {"leftMargin", 7},
                        {"topMargin", 9},
                        {"charSpacing", 3},
                        {"lineSpacing", 5},
                        {"wrapWidth", 123},
                        {"rowPitch", 31},
                        {"extentWidth", 41},
                        {"extentHeight", 43}},
                       {{"do", "rotated"}, {"text", "落款"}, {"size", "17"}, {"charSpacing", 4}},
                       {{"do", "seal"},
                        {"text", "印"},
                        {"width", 45},
                        {"height", 35},
                        {"charSpacing", 2},
                        {"edgeWidth", 3},
                        {"frameWidth", 4},
                        {"angle", 10}},
                       {{"do", "circle"}, {"radius", 21}, {"lineWidth", 3}},
                       {{"do", "fan"}, {"shape", "ring"}, {"radius", 60}, {"innerRadius", 25}},
                       {{"do", "click"}, {"at", QJsonArray{33, 44}}},
                       {{"do", "nudge"}, {"dx", 5}, {"dy", -6}},
                       {{"do", "effect"}, {"kind", "blur"}}});
    int lengthsSeen = 0;
    for (const std::shared_ptr<const Step>& step : composed.steps().recipe()) {
        QJsonObject files;
        const QJsonArray given = workSteps({step}, files);
        const QJsonArray scaled = workSteps({std::make_shared<Step>(scaledStep(*step, 3))}, files);
        ASSERT_EQ(given.size(), scaled.size());
        for (qsizetype i = 0; i < given.size(); ++i) {
            const QJsonObject before = given[i].toObject();
            const QJsonObject after = scaled[i].toObject();
            const QString command = before.value(QStringLiteral("do")).toString();
            const KeyTable& keys = scriptCommandTable().at(command);
            ASSERT_EQ(before.keys(), after.keys()) << command.toStdString();
            for (const QString& key : before.keys()) {
                if (key == QLatin1String("do"))
                    continue;
                const KeyRule& rule = keys.at(key);
                lengthsSeen += rule.length;
                EXPECT_EQ(after.value(key),
                          rule.length ? tripled(before.value(key), rule.type) : before.value(key))
                    << command.toStdString() << " " << key.toStdString();
            }
        }
    }
    EXPECT_EQ(lengthsSeen, 27);
}

// Text, a seal, a circle and an effect on paper at 100 dpi.
class ScaledWork : public ::testing::Test {
protected:
    void SetUp() override {
        compose(composed, {{{"do", "canvas"},
                            {"width", 360},
                            {"height", 240},
                            {"color", "#E0EEF4"},
                            {"resolution", 100}},
                           {{"do", "text"},
                            {"runs", QJsonArray{QJsonObject{{"text", "永和九年"}, {"size", 24}}}},
                            {"leftMargin", 20},
                            {"topMargin", 20},
                            {"charSpacing", 4}},
                           {{"do", "seal"},
                            {"text", "印"},
                            {"width", 60},
                            {"height", 60},
                            {"style", "intaglio"},
                            {"frameWidth", 3}},
                           {{"do", "click"}, {"at", QJsonArray{280, 20}}},
                           {{"do", "circle"},
                            {"radius", 40},
                            {"lineWidth", 3},
                            {"lineColor", "#803020"},
                            {"fillColor", "#F0D0C0"}},
                           {{"do", "click"}, {"at", QJsonArray{180, 130}}},
                           {{"do", "effect"}, {"kind", "blur"}}});
    }
    // The bounds of the pixels unlike the paper within a part of the picture.
    static QRect inkWithin(const QImage& picture, const QRect& part) {
        QRect ink;
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x) {
                const QRgb p = picture.pixel(x, y);
                if (std::abs(qRed(p) - 0xE0) + std::abs(qGreen(p) - 0xEE) +
                        std::abs(qBlue(p) - 0xF4) >
                    96)
                    ink |= QRect(x, y, 1, 1);
            }
        return ink;
    }
    CompositionState composed;
};

TEST_F(ScaledWork, DrawnAtThreeTimesAndBroughtBackItMatchesTheCanvasOnTheInk) {
    const ScaledRendering drawn = renderForPrint(composed, 300);
    EXPECT_FALSE(drawn.reduced);
    EXPECT_EQ(drawn.dotsPerInch, 300);
    const QImage canvas = composed.canvas().picture().image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.picture.size(), canvas.size() * 3);
    const QImage back = drawn.picture.convertToFormat(QImage::Format_RGB32)
                            .scaled(canvas.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 difference = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb a = canvas.pixel(x, y), b = back.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(double(difference) / (3.0 * canvas.width() * canvas.height()), 3.0);
    // The text, the seal and the circle each where the canvas has them, to a pixel or two.
    for (const QRect part :
         {QRect(0, 0, 180, 110), QRect(270, 0, 90, 110), QRect(170, 120, 110, 120)}) {
        const QRect want = inkWithin(canvas, part), got = inkWithin(back, part);
        ASSERT_FALSE(want.isEmpty());
        EXPECT_LE(std::abs(got.left() - want.left()), 2) << want.x() << "," << want.y();
        EXPECT_LE(std::abs(got.top() - want.top()), 2) << want.x() << "," << want.y();
        EXPECT_LE(std::abs(got.right() - want.right()), 2) << want.x() << "," << want.y();
        EXPECT_LE(std::abs(got.bottom() - want.bottom()), 2) << want.x() << "," << want.y();
    }
}

TEST_F(ScaledWork, TheBudgetLowersTheResolutionAndSaysSo) {
    const QImage canvas = composed.canvas().picture().image();
    const qint64 pixels = qint64(canvas.width()) * canvas.height();
    // Room for twice the canvas's resolution and a little more: 200 dpi of the 300 asked.
    ScaledRendering drawn = renderForPrint(composed, 300, pixels * scaledBytesPerPixel * 5);
    EXPECT_TRUE(drawn.reduced);
    EXPECT_EQ(drawn.dotsPerInch, 223);
    EXPECT_EQ(drawn.picture.size(), QSize(803, 535));
    EXPECT_EQ(reducedResolutionText(drawn, 300),
              QStringLiteral("按 223 dpi 输出：300 dpi 的图片超出了可用的内存。"));
    // No room above the canvas: its own pixels.
    drawn = renderForPrint(composed, 300, pixels);
    EXPECT_TRUE(drawn.reduced);
    EXPECT_EQ(drawn.dotsPerInch, 100);
    EXPECT_TRUE(drawn.picture == canvas);
    // Asked for no more than the canvas has: its own pixels, nothing reduced.
    drawn = renderForPrint(composed, 100);
    EXPECT_FALSE(drawn.reduced);
    EXPECT_TRUE(drawn.picture == canvas);
}

// A circle of radius 1200 drawn again twice as large is 4800 pixels across, more than the
// largest canvas the window makes: its outline lands on all four sides, twice as far from the
// centre as on the canvas.
TEST(ScaledShapes, ACircleBeyondTheLargestCanvasIsDrawnWhole) {
    CompositionState composed;
    compose(composed, {{{"do", "canvas"}, {"width", 2420}, {"height", 2420}, {"resolution", 100}},
                       {{"do", "circle"}, {"radius", 1200}, {"lineColor", "#000080"}},
                       {{"do", "click"}, {"at", QJsonArray{10, 10}}}});
    const ScaledRendering drawn = renderForPrint(composed, 200);
    ASSERT_EQ(drawn.picture.size(), QSize(4840, 4840));
    for (const auto& [picture, middle, first, last] :
         {std::tuple(composed.canvas().picture().image(), 1210, 10, 2409),
          std::tuple(drawn.picture, 2420, 20, 4819)}) {
        // The first and last ink across the middle row and down the middle column.
        std::vector<int> across, down;
        for (int i = 0; i < picture.width(); ++i) {
            if ((picture.pixel(i, middle) & 0xFFFFFF) != 0xFFFFFF)
                across.push_back(i);
            if ((picture.pixel(middle, i) & 0xFFFFFF) != 0xFFFFFF)
                down.push_back(i);
        }
        ASSERT_FALSE(across.empty() || down.empty());
        EXPECT_EQ(std::vector<int>({across.front(), across.back(), down.front(), down.back()}),
                  std::vector<int>({first, last, first, last}));
    }
}

// Runs draw with at most headroom bytes of address space beyond what is mapped now: every
// allocation past that fails as it does when the machine runs out of memory.
template <class Draw> void withAddressSpace(qint64 headroom, Draw draw) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &previous), 0);
    rlimit tight = previous;
    tight.rlim_cur = rlim_t(qint64(pages) * sysconf(_SC_PAGESIZE) + headroom);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_AS, &previous); });
    draw();
}

// The work drawn at 12 times its resolution with less and less memory: each allocation of the
// replay (the canvas, the copy a text block is compared with, the smooth seal, the circle, the
// fan, the effect's base and result) fails in turn. The print is refused with the memory
// message, never drawn in part, and the composition stays as it was.
TEST_F(ScaledWork, RunningOutOfMemoryRefusesThePrintAndLeavesTheWork) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer maps more address space than any limit leaves";
#endif
    compose(composed, {{{"do", "seal"}, {"text", "永寿"}, {"smooth", true}, {"angle", 15}},
                       {{"do", "click"}, {"at", QJsonArray{20, 150}}},
                       {{"do", "fan"}, {"radius", 30}},
                       {{"do", "click"}, {"at", QJsonArray{100, 170}}},
                       {{"do", "effect"}, {"kind", "sharpen"}}});
    const QImage before = composed.canvas().picture().image().copy();
    const std::size_t steps = composed.steps().recipe().size();
    int refused = 0, drawn = 0;
    for (qint64 headroom = 0; headroom <= qint64(360) << 20; headroom += qint64(12) << 20) {
        SCOPED_TRACE(headroom >> 20);
        withAddressSpace(headroom, [&] {
            try {
                EXPECT_EQ(renderForPrint(composed, 1200).picture.size(), before.size() * 12);
                ++drawn;
            } catch (const TarvelError& error) {
                EXPECT_EQ(error.text(), Messages::outOfMemory());
                ++refused;
            }
        });
        EXPECT_TRUE(composed.canvas().picture().image() == before);
        EXPECT_EQ(composed.steps().recipe().size(), steps);
    }
    EXPECT_GT(refused, 3);
    EXPECT_GT(drawn, 0);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Templates laid out to be mounted, measured on the ink of the composed picture: the division
// of the text, its margins, the inscription's size and columns, and the seals.
#include "CompositionState.h"
#include "MountedLayout.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

bool isRed(QRgb p) {
    return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
}

bool isInk(QRgb p) {
    return qRed(p) + qGreen(p) + qBlue(p) < 300 && !isRed(p);
}

struct Composed {
    TemplateLayout layout;
    QImage image;

    // The bounding box of the pixels that pass, inside an area.
    QRect box(bool (*passes)(QRgb), QRect area = QRect()) const {
        if (area.isNull())
            area = image.rect();
        QRect found;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (passes(image.pixel(x, y)))
                    found |= QRect(x, y, 1, 1);
        return found;
    }
    // Runs of columns (or rows) that hold ink, inside an area; runs closer than a quarter of
    // the main characters are one character's strokes.
    std::vector<std::pair<int, int>> runs(QRect area, bool across) const {
        const int within = layout.blocks.front().em / 4;
        std::vector<std::pair<int, int>> found;
        const int from = across ? area.left() : area.top();
        const int to = across ? area.right() : area.bottom();
        for (int i = from; i <= to; ++i) {
            const QRect line = across ? QRect(i, area.top(), 1, area.height())
                                      : QRect(area.left(), i, area.width(), 1);
            if (box(isInk, line).isNull())
                continue;
            if (!found.empty() && found.back().second >= i - within)
                found.back().second = i;
            else
                found.emplace_back(i, i);
        }
        return found;
    }
    // The main text's box as its text step lays it out.
    QRect mainArea() const {
        const auto& block = layout.blocks.front();
        return QRect(image.width() - block.leftMargin - block.extent.width(), block.topMargin,
                     block.extent.width(), block.extent.height()) &
               image.rect();
    }
};

Composed compose(WorkFormat format, const QString& text, const QString& lower,
                 const QString& nameSeal = QStringLiteral("静斋"), int dpi = 20) {
    WorkTemplate work;
    work.format = format;
    const PaperSize& paper = standardPapers[defaultPaperOf(format)];
    work.longCm = paper.longCm;
    work.shortCm = paper.shortCm;
    work.dpi = dpi;
    work.mounted = true;
    work.ground = workTemplateFromKeys({{"format", workFormatKeys[int(format)]}}).ground;
    work.text = text;
    work.lower = lower;
    work.nameSeal = nameSeal;
    CompositionState state;
    state.applyTemplate(work);
    return {layoutTemplate(work), state.canvas().picture().image()};
}

TEST(MountedTemplate, TheTextIsDividedByThePaper) {
    const struct {
        WorkFormat format;
        const char* text;
        std::size_t columns, rows;
    } cases[] = {{WorkFormat::Square, "宁静致远", 2, 2},
                 {WorkFormat::CentralScroll, "上善若水厚德载物", 2, 4},
                 {WorkFormat::Square, "白日依山尽\n黄河入海流\n欲穷千里目\n更上一层楼", 4, 5},
                 {WorkFormat::Horizontal, "海纳百川", 4, 1}};
    for (const auto& c : cases) {
        const Composed work = compose(c.format, QString::fromUtf8(c.text), QStringLiteral("丙午"));
        const QRect main = work.mainArea();
        EXPECT_EQ(work.runs(main, true).size(), c.columns) << c.text;
        EXPECT_EQ(work.runs(main, false).size(), c.rows) << c.text;
    }
}

TEST(MountedTemplate, TheTextFillsThePaperWithBalancedMargins) {
    const struct {
        WorkFormat format;
        const char* text;
        double longSide, shortSide; // the least share of the paper's sides the text covers
    } cases[] = {{WorkFormat::CentralScroll, "上善若水厚德载物", 0.7, 0},
                 {WorkFormat::HangingScroll, "白日依山尽黄河入海流欲穷千里目更上一层楼", 0.7, 0},
                 {WorkFormat::Square, "宁静致远", 0.55, 0.52}};
    for (const auto& c : cases) {
        const Composed work =
            compose(c.format, QString::fromUtf8(c.text), QStringLiteral("丙午秋日 静斋书"));
        const QRect main = work.box(isInk, work.mainArea());
        const QSize paper = work.image.size();
        EXPECT_GE(main.height(), c.longSide * paper.height()) << c.text;
        EXPECT_GE(main.width(), c.shortSide * paper.width()) << c.text;
        const double top = main.top(), bottom = paper.height() - 1 - main.bottom();
        EXPECT_GE(bottom / top, 1.0) << c.text;
        EXPECT_LE(bottom / top, 1.5) << c.text;
        // Left and right of everything, the inscription and its seal counted.
        const QRect all = work.box(isInk) | work.box(isRed);
        EXPECT_NEAR(all.left(), paper.width() - 1 - all.right(), 0.03 * paper.width()) << c.text;
    }
}

TEST(MountedTemplate, TheInscriptionAndSealKeepTheirProportions) {
    const Composed work = compose(WorkFormat::CentralScroll, QStringLiteral("上善若水厚德载物"),
                                  QStringLiteral("丙午秋日 静斋书"));
    const QRect main = work.mainArea();
    const QRect mainInk = work.box(isInk, main);
    const auto columns = work.runs(main, true);
    const auto rows = work.runs(main, false);
    const QRect leftOfMain(0, 0, main.left(), work.image.height());
    const QRect inscription = work.box(isInk, leftOfMain);
    const QRect seal = work.box(isRed, leftOfMain);
    ASSERT_FALSE(inscription.isNull());
    ASSERT_FALSE(seal.isNull());
    // The 款's characters 0.3 to 0.5 of the main ones, across.
    const double mainWidth = columns.front().second - columns.front().first + 1;
    const double share = inscription.width() / mainWidth;
    EXPECT_GE(share, 0.3);
    EXPECT_LE(share, 0.5);
    // From level with the second character to a character above the last one's foot.
    EXPECT_NEAR(inscription.top(), rows[1].first, 0.15 * mainWidth);
    EXPECT_LE(inscription.bottom(), mainInk.bottom() - inscription.width());
    // The typed space stays a gap: the column's ink has a break wider than its spacing.
    const auto runs =
        work.runs(QRect(inscription.left(), 0, inscription.width(), work.image.height()), false);
    int widest = 0;
    for (std::size_t i = 1; i < runs.size(); ++i)
        widest = std::max(widest, runs[i].first - runs[i - 1].second);
    EXPECT_GT(widest, inscription.width() * 0.6);
    // The name seal about as wide as the 款's characters, about one of them below the last.
    EXPECT_GE(seal.width(), 0.8 * inscription.width());
    EXPECT_LE(seal.width(), 1.05 * inscription.width());
    EXPECT_NEAR(seal.top() - inscription.bottom(), inscription.width(), 0.35 * inscription.width());
    // Pressed in cinnabar with the paper showing through the cut, and no white.
    bool paper = false, white = false;
    for (int y = seal.top(); y <= seal.bottom(); ++y)
        for (int x = seal.left(); x <= seal.right(); ++x) {
            const QRgb p = work.image.pixel(x, y);
            paper |= p == work.image.pixel(2, 2);
            white |= p == qRgb(255, 255, 255);
        }
    EXPECT_TRUE(paper);
    EXPECT_FALSE(white);
}

// A couplet prints as three strips of red paper with white wall between them; its seal shows
// on the red by the white of its cut.
TEST(MountedTemplate, ACoupletIsThreeStripsAndItsSealShows) {
    const Composed work =
        compose(WorkFormat::Couplet, QStringLiteral("春回大地千山秀\n日照神州万木荣"),
                QStringLiteral("丙午春"), QStringLiteral("福"));
    const QImage& image = work.image;
    const QRgb red = qRgb(0xC8, 0x10, 0x2E), white = qRgb(255, 255, 255);
    const QRect lower = work.mainArea();
    const int y = lower.bottom() + 2;  // below the 上联's text, beside the 下联's
    EXPECT_EQ(image.pixel(2, y), red); // the 下联's strip
    EXPECT_EQ(image.pixel(image.width() / 2, y), white); // wall between the lines
    EXPECT_EQ(image.pixel(image.width() - 3, y), red);   // the 上联's strip
    EXPECT_EQ(image.pixel(image.width() / 2, 1), red);   // the 横批's strip
    EXPECT_EQ(image.pixel(2, 1), white);                 // wall beside it
    ASSERT_EQ(work.layout.seals.size(), 1u);
    const QRect seal(work.layout.seals[0].at, work.layout.seals[0].size);
    int whiteInSeal = 0;
    for (int yy = seal.top(); yy <= seal.bottom(); ++yy)
        for (int x = seal.left(); x <= seal.right(); ++x)
            whiteInSeal += image.pixel(x, yy) == white;
    EXPECT_GT(whiteInSeal, seal.width() * seal.height() / 20);
    // The 下联 spreads down its strip, a little above the middle; its 款 a third of its
    // characters, half a 款 character or more inside the strip's edge.
    int stripTop = 0;
    while (image.pixel(2, stripTop) != red)
        ++stripTop;
    const auto& second = work.layout.blocks[1];
    const int columnLeft = image.width() - second.leftMargin - second.extent.width();
    const QRect column = work.box(
        isInk, QRect(columnLeft, stripTop, second.extent.width(), image.height()) & image.rect());
    const double stripHeight = image.height() - stripTop;
    EXPECT_GE(column.height() / stripHeight, 0.7);
    const double above = column.top() - stripTop, below = image.height() - 1 - column.bottom();
    EXPECT_GE(below / above, 1.0);
    EXPECT_LE(below / above, 1.5);
    const QRect inscription =
        work.box(isInk, QRect(0, stripTop, columnLeft, image.height()) & image.rect());
    ASSERT_FALSE(inscription.isNull());
    EXPECT_GE(inscription.width(), 0.3 * column.width());
    EXPECT_LE(inscription.width(), 0.5 * column.width());
    EXPECT_GE(inscription.left(), inscription.width() / 2);
    EXPECT_GE(seal.left(), inscription.width() / 2);
}

// A fan's long and short columns start at one radius (齐头), measured on each column's ink.
TEST(MountedTemplate, AFansColumnsStartLevel) {
    const Composed work =
        compose(WorkFormat::Fan, QStringLiteral("白日依山尽黄河入海流欲穷千里目更上一层楼"),
                QStringLiteral("丙午夏日 王之涣诗"), QStringLiteral("静斋"), 30);
    ASSERT_TRUE(work.layout.fan);
    const TemplateLayout::Fan& fan = *work.layout.fan;
    const int em = work.layout.blocks.front().em;
    std::vector<double> tops;
    for (int column = 0; column < fan.plan.mainColumns; ++column) {
        const auto cell = std::find_if(fan.plan.cells.begin(), fan.plan.cells.end(),
                                       [&](const FanCell& c) { return c.column == column; });
        const double angle = cell->angle / 10.0 * M_PI / 180.0;
        double top = 0;
        for (int y = 0; y < work.image.height(); ++y)
            for (int x = 0; x < work.image.width(); ++x) {
                const double dx = x - fan.ring.centre.x(), dy = y - fan.ring.centre.y();
                const double radius = std::hypot(dx, dy);
                if (radius < fan.ring.outer - 3 && isInk(work.image.pixel(x, y)) &&
                    std::abs(std::atan2(dx, -dy) - angle) * radius < 0.35 * em)
                    top = std::max(top, radius);
            }
        tops.push_back(top);
    }
    ASSERT_GE(tops.size(), 4u);
    const auto [low, high] = std::minmax_element(tops.begin(), tops.end());
    EXPECT_LT(*high - *low, 0.25 * em);
    // The seal inside the ring by half a 款 character or more (the 款 is 0.3 to 0.5 em).
    const QRect seal = work.box(isRed);
    ASSERT_FALSE(seal.isNull());
    for (int y = seal.top(); y <= seal.bottom(); ++y)
        for (int x = seal.left(); x <= seal.right(); ++x)
            if (isRed(work.image.pixel(x, y))) {
                const double r = std::hypot(x - fan.ring.centre.x(), y - fan.ring.centre.y());
                ASSERT_GT(r, fan.ring.inner + 0.15 * em) << x << "," << y;
                ASSERT_LT(r, fan.ring.outer - 0.15 * em) << x << "," << y;
            }
}

TEST(MountedTemplate, AnInscriptionIsCutWhereItReads) {
    const struct {
        const char* text;
        int capacity;
        QStringList columns;
    } cases[] = {
        {"丙午秋日静斋书", 4, {"丙午秋日", "静斋书"}},
        {"丙午秋日书", 4, {"丙午", "秋日书"}},              // no character alone
        {"岁次丙午秋书", 4, {"岁次", "丙午秋书"}},          // the year kept whole
        {"乙巳年秋 王静斋书", 5, {"乙巳年秋", "王静斋书"}}, // at the typed space
        {"丙午 秋", 8, {"丙午 秋"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inscriptionColumns(QString::fromUtf8(c.text), c.capacity), c.columns) << c.text;
}

} // namespace

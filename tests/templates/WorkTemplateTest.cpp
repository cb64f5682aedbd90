// Works laid out by the conventions: where the main text, the inscription and the seals land,
// computed, and what does not fit refused with a message.
#include "WorkTemplate.h"

#include "TarvelError.h"

#include <gtest/gtest.h>

namespace {

WorkTemplate scroll() {
    WorkTemplate work;
    work.text = QStringLiteral("白日依山尽黄河入海流欲穷千里目更上一层楼");
    work.lower = QStringLiteral("丙午年王之涣诗");
    work.nameSeal = QStringLiteral("王印");
    work.leadingSeal = QStringLiteral("吉祥");
    return work;
}

TEST(WorkTemplate, AScrollRaisesItsTextAndInscribesAfterTheLastColumn) {
    const TemplateLayout layout = layoutTemplate(scroll());
    // 四尺对开 at the largest resolution that fits 4000 pixels: 73 dpi.
    EXPECT_EQ(layout.dpi, 73);
    EXPECT_EQ(layout.canvas, QSize(977, 3966));
    ASSERT_EQ(layout.blocks.size(), 1u);
    const TemplateLayout::Block& main = layout.blocks[0];
    EXPECT_EQ(main.arrangement, 3); // columns from right to left
    // Raised: the free height above the text is 35 % of the free height, not 50 %.
    const int free = layout.canvas.height() - main.extent.height();
    EXPECT_NEAR(main.topMargin, free * 0.35, 1);
    const int left = layout.canvas.width() - main.leftMargin - main.extent.width();
    ASSERT_EQ(layout.inscriptions.size(), 1u);
    const TemplateLayout::Line& lower = layout.inscriptions[0];
    // Smaller, after the last column, level with the main text's second character.
    EXPECT_LT(lower.size, main.em / 2);
    EXPECT_LT(lower.at.x() + lower.size, left);
    EXPECT_EQ(lower.at.y(), main.topMargin + main.em + main.charSpacing);
    ASSERT_EQ(layout.seals.size(), 2u);
    // The name seal below the inscription, the leading seal before the first column's top.
    const TemplateLayout::Seal& name = layout.seals[0];
    EXPECT_EQ(name.text, QStringLiteral("王印"));
    EXPECT_GT(name.at.y(), lower.at.y() + 7 * lower.size);
    EXPECT_TRUE(name.intaglio);
    const TemplateLayout::Seal& leading = layout.seals[1];
    EXPECT_GT(leading.at.x(), layout.canvas.width() - main.leftMargin);
    EXPECT_EQ(leading.at.y(), main.topMargin);
    EXPECT_FALSE(leading.intaglio);
}

TEST(WorkTemplate, ACoupletPutsTheFirstLineOnTheRightUnderItsBanner) {
    WorkTemplate work;
    work.format = WorkFormat::Couplet;
    work.longCm = 180;
    work.shortCm = 30;
    work.text = QStringLiteral("春回大地千山秀\n日照神州万木荣");
    work.banner = QStringLiteral("万象更新");
    const TemplateLayout layout = layoutTemplate(work);
    EXPECT_EQ(layout.canvas, QSize(1701, 3969)); // 90 x 210 cm at 48 dpi
    ASSERT_EQ(layout.blocks.size(), 3u);
    const auto& first = layout.blocks[0];
    const auto& second = layout.blocks[1];
    const auto& banner = layout.blocks[2];
    EXPECT_EQ(first.text, QStringLiteral("春回大地千山秀"));
    EXPECT_LT(first.leftMargin, second.leftMargin); // measured from the right: 上联 on the right
    EXPECT_EQ(first.topMargin, second.topMargin);
    EXPECT_EQ(banner.arrangement, 1); // one row read from right to left
    EXPECT_LT(banner.topMargin + banner.extent.height(), first.topMargin);
    EXPECT_NEAR(banner.leftMargin * 2 + banner.extent.width(), layout.canvas.width(), 1);
}

TEST(WorkTemplate, WhatDoesNotFitIsSaid) {
    const auto refusal = [](WorkTemplate work) {
        try {
            layoutTemplate(work);
        } catch (const TarvelError& error) {
            return error.text();
        }
        return QString();
    };
    WorkTemplate crowded = scroll();
    crowded.dpi = 20;
    crowded.text = QString(5000, QChar(0x6C34));
    EXPECT_TRUE(refusal(crowded).startsWith(QStringLiteral("正文有 5000 个字")));
    WorkTemplate couplet;
    couplet.format = WorkFormat::Couplet;
    couplet.text = QStringLiteral("只有一行");
    EXPECT_EQ(refusal(couplet), QStringLiteral("对联要写两行：第一行上联，第二行下联。"));
    WorkTemplate sharp = scroll();
    sharp.dpi = 300;
    EXPECT_TRUE(refusal(sharp).contains(QStringLiteral("超过了画布最大的 4000 × 4000 像素")));
    WorkTemplate longInscription = scroll();
    longInscription.lower = QString(400, QChar(0x6C34));
    EXPECT_TRUE(refusal(longInscription).startsWith(QStringLiteral("下款放不下")));
    WorkTemplate empty = scroll();
    empty.text = QStringLiteral("  \n");
    EXPECT_EQ(refusal(empty), QStringLiteral("正文是空的：请写下要写的字。"));
}

} // namespace

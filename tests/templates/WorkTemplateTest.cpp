// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Works laid out by the conventions: where the main text, the inscription and the seals land,
// computed, and what does not fit refused with a message.
#include "WorkTemplate.h"

#include "TarvelError.h"

#include <cmath>
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

WorkTemplate fan() {
    WorkTemplate work = scroll();
    work.format = WorkFormat::Fan;
    work.longCm = 66;
    work.shortCm = 33;
    work.leadingSeal.clear();
    return work;
}

double radiusOf(QPointF point) {
    return std::hypot(point.x(), point.y());
}

TEST(WorkTemplate, AFanFollowsItsRingAndSealsAfterTheInscription) {
    const TemplateLayout layout = layoutTemplate(fan());
    // 66 x 33 cm; the ring's outer radius inside the margin (8 % of 33 cm) is 32.31 cm, the
    // width of a 140 degree ring deciding, and 1000 pixels at most: 78 dpi.
    EXPECT_EQ(layout.dpi, 78);
    EXPECT_EQ(layout.canvas, QSize(2027, 1013));
    ASSERT_TRUE(layout.fan);
    const FanRing& ring = layout.fan->ring;
    EXPECT_EQ(ring.outer, 992); // (2027 - 2 x 81) / (2 sin 70°)
    EXPECT_EQ(ring.inner, 446); // 0.45 of the outer radius
    EXPECT_EQ(ring.span, 140);
    // Centred across the canvas and, from its top to the ends of its inner arc, in its height.
    EXPECT_EQ(ring.centre, QPoint(1013, 1079));
    ASSERT_EQ(layout.blocks.size(), 1u);
    EXPECT_TRUE(layout.blocks[0].fan);
    EXPECT_EQ(layout.blocks[0].text,
              QStringLiteral("白日依山尽黄河入海流欲穷千里目更上一层楼\n\n丙午年王之涣诗"));
    EXPECT_TRUE(layout.inscriptions.empty()); // the inscription is part of the 扇面 block
    // The inscription after the last column of the text, starting lower.
    const std::vector<FanCell>& cells = layout.fan->plan.cells;
    ASSERT_EQ(cells.size(), 27u);
    const FanCell& lastMain = cells[19];
    const FanCell& firstNote = cells[20];
    const FanCell& lastNote = cells.back();
    EXPECT_GT(firstNote.column, lastMain.column);
    EXPECT_LT(firstNote.angle, lastMain.angle);
    EXPECT_LT(radiusOf(firstNote.centre), radiusOf(cells[0].centre));
    // The name seal after the inscription's last character, turned with its column as far as a
    // seal turns, inside the ring.
    ASSERT_EQ(layout.seals.size(), 1u);
    const TemplateLayout::Seal& seal = layout.seals[0];
    EXPECT_EQ(seal.text, QStringLiteral("王印"));
    EXPECT_EQ(seal.angle, std::clamp(-int(std::lround(lastNote.angle / 10.0)), -60, 60));
    EXPECT_EQ(seal.size.width(), std::lround(1.25 * layout.blocks[0].em * 3 / 5));
    const QPointF centre =
        QPointF(seal.at) + turnedSealCentre(seal.size, seal.angle) - QPointF(ring.centre);
    const double along = std::atan2(centre.x(), -centre.y()) * 1800 / 3.14159265358979;
    EXPECT_NEAR(along, lastNote.angle, 10); // within a degree of the column
    EXPECT_LT(radiusOf(centre), radiusOf(lastNote.centre));
    EXPECT_GT(radiusOf(centre) - seal.size.width() / 2.0, ring.inner);
    // All long columns hold the same text in fewer columns.
    WorkTemplate allLong = fan();
    allLong.fanColumns = fcLong;
    EXPECT_LT(layoutTemplate(allLong).fan->plan.mainColumns, layout.fan->plan.mainColumns);
    // Four large characters leave the inscription a column of its own, not one per character.
    WorkTemplate brief = fan();
    brief.text = QStringLiteral("清风徐来");
    brief.lower = QStringLiteral("丙午夏");
    const TemplateLayout spread = layoutTemplate(brief);
    EXPECT_EQ(spread.fan->plan.inscriptionColumns, 1);
    // Its columns spread over the fan: the inscription well left of the middle (in tenths).
    EXPECT_LT(spread.fan->plan.cells.back().angle, -175);
}

TEST(WorkTemplate, TheUpperInscriptionStartsBelowTheLeadingSeal) {
    for (const WorkFormat format :
         {WorkFormat::HangingScroll, WorkFormat::CentralScroll, WorkFormat::Square,
          WorkFormat::Horizontal, WorkFormat::Couplet}) {
        WorkTemplate work = scroll();
        work.format = format;
        work.longCm = 138;
        work.shortCm = format == WorkFormat::Couplet ? 30 : 69;
        if (format == WorkFormat::Couplet)
            work.text = QStringLiteral("春回大地千山秀\n日照神州万木荣");
        work.upper = QStringLiteral("子墨先生雅正");
        const TemplateLayout layout = layoutTemplate(work);
        ASSERT_EQ(layout.inscriptions.size(), 2u);
        const TemplateLayout::Line& upper = layout.inscriptions[1];
        EXPECT_EQ(upper.text, work.upper);
        const TemplateLayout::Seal& leading = layout.seals.back();
        const QRect line(
            upper.at, QSize(upper.size, int(upper.text.size()) * (upper.size + upper.charSpacing)));
        EXPECT_FALSE(line.intersects(QRect(leading.at, leading.size))) << int(format);
        EXPECT_GT(upper.at.y(), leading.at.y());
    }
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
    WorkTemplate longFan = fan();
    longFan.text = QString(8000, QChar(0x6C34));
    EXPECT_TRUE(refusal(longFan).startsWith(QStringLiteral("扇面放不下这段文字：每列最多")))
        << refusal(longFan).toStdString();
    WorkTemplate sealedFan = fan();
    sealedFan.leadingSeal = QStringLiteral("吉祥");
    EXPECT_EQ(refusal(sealedFan), QStringLiteral("扇面上不盖引首章：请去掉引首章。"));
    WorkTemplate sharpFan = fan();
    sharpFan.dpi = 100;
    EXPECT_TRUE(refusal(sharpFan).startsWith(QStringLiteral("扇面在 100 dpi 下外半径是 1271 像素")))
        << refusal(sharpFan).toStdString();
}

} // namespace

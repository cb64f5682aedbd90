// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fallback chain over the faces of the built Fonts folder: the kinds, the order, and the
// face that draws each character a brush face lacks.
#include "FontFallback.h"

#include <QFontDatabase>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace FontFallback;

TEST(FontFallback, KindsFromTheFamilyNames) {
    EXPECT_EQ(kindOf(QStringLiteral("Ma Shan Zheng")), Kind::Brush);
    EXPECT_EQ(kindOf(QStringLiteral("Long Cang")), Kind::Brush);
    EXPECT_EQ(kindOf(QStringLiteral("LXGW WenKai")), Kind::Kai);
    EXPECT_EQ(kindOf(QStringLiteral("AR PL KaitiM GB")), Kind::Kai);
    EXPECT_EQ(kindOf(QStringLiteral("AR PL SungtiL GB")), Kind::Song);
    EXPECT_EQ(kindOf(QStringLiteral("AR PL UMing CN")), Kind::Song);
    EXPECT_EQ(kindOf(QStringLiteral("DejaVu Sans")), Kind::Other);
}

// Every brush face holds GB 2312 only: 盡 and 黃 of a traditional poem come from the Kai face
// that has them (LXGW WenKai; AR PL KaitiM GB has GB 2312 only), for a Song face too; 永
// stays in the chosen face, and 𠀀, which no face of the folder has, is left to the system.
TEST(FontFallback, CharactersMissingFromEachBrushFace) {
    const QStringList brushes = {QStringLiteral("Ma Shan Zheng"), QStringLiteral("Zhi Mang Xing"),
                                 QStringLiteral("Liu Jian Mao Cao"), QStringLiteral("Long Cang")};
    const char* files[] = {"MaShanZheng.ttf", "ZhiMangXing.ttf", "LiuJianMaoCao.ttf",
                           "LongCang.ttf"};
    QStringList folder;
    for (int i = 0; i < 4; ++i)
        if (QFontDatabase::addApplicationFont(QStringLiteral(TARVEL_FONTS_FOLDER "/") +
                                              QLatin1String(files[i])) >= 0)
            folder << brushes[i];
    const bool allBrushes = folder.size() == 4;
    folder << QStringLiteral("AR PL SungtiL GB") << QStringLiteral("AR PL KaitiM GB")
           << QStringLiteral("LXGW WenKai");
    setFaces(folder);

    // Brush faces first, heavier before lighter, then the Kai faces, then Song.
    const QStringList chain = chainFor(Kind::Brush, faces());
    const qsizetype brushCount = folder.size() - 3;
    for (qsizetype i = 0; i + 1 < brushCount; ++i)
        EXPECT_GE(inkOf(chain[i]), inkOf(chain[i + 1])) << chain[i].toStdString();
    EXPECT_EQ(kindOf(chain[brushCount]), Kind::Kai);
    EXPECT_GE(inkOf(chain[brushCount]), inkOf(chain[brushCount + 1]));
    EXPECT_EQ(chain.last(), QStringLiteral("AR PL SungtiL GB"));
    // A Song face looks to the Kai faces before the brush faces.
    EXPECT_EQ(kindOf(chainFor(Kind::Song, faces()).value(1)), Kind::Kai);

    DrawingSurface::Font request;
    request.height = -40;
    const QStringList chosen = folder.mid(0, brushCount) << QStringLiteral("AR PL SungtiL GB");
    for (const QString& face : chosen) {
        request.name = face;
        EXPECT_EQ(faceFor(request, U'盡'), QStringLiteral("LXGW WenKai")) << face.toStdString();
        EXPECT_EQ(faceFor(request, U'黃'), QStringLiteral("LXGW WenKai")) << face.toStdString();
        EXPECT_EQ(faceFor(request, U'永'), face);
        EXPECT_EQ(faceFor(request, U'\U00020000'), face);
    }
    // Without the folder's faces the system chooses, as before.
    setFaces({});
    request.name = QStringLiteral("AR PL SungtiL GB");
    EXPECT_EQ(faceFor(request, U'盡'), request.name);
    if (!allBrushes)
        GTEST_SKIP() << "the build left out some brush faces (see the configure message)";
}

namespace {

// Stem width on the ink of a picture: the median length of the runs of dark pixels across a
// rectangle, along its rows and its columns (most runs cross a stroke).
double inkStem(const DrawingSurface& surface, QRect area) {
    const auto dark = [&](int x, int y) { return qGray(toRgb(surface.pixel(x, y))) < 128; };
    std::vector<int> runs;
    for (const bool rows : {true, false}) {
        const int lines = rows ? area.height() : area.width();
        const int length = rows ? area.width() : area.height();
        for (int i = 0; i < lines; ++i) {
            int run = 0;
            for (int j = 0; j <= length; ++j) {
                const bool ink = j < length && (rows ? dark(area.left() + j, area.top() + i)
                                                     : dark(area.left() + i, area.top() + j));
                if (ink) {
                    ++run;
                } else if (run > 0) {
                    runs.push_back(run);
                    run = 0;
                }
            }
        }
    }
    if (runs.empty())
        return 0;
    std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
    return runs[runs.size() / 2];
}

} // namespace

// A character the brush face lacks, drawn from the Kai face with matchedFont, has stems
// 0.8 to 1.25 times those of the brush face's characters beside it, bold too; drawn from the
// chain as it is, a regular one is far thinner.
TEST(FontFallback, MatchedFallbackHasTheStemsOfItsFace) {
    if (QFontDatabase::addApplicationFont(QStringLiteral(TARVEL_FONTS_FOLDER "/MaShanZheng.ttf")) <
        0)
        GTEST_SKIP() << "the build left out Ma Shan Zheng (see the configure message)";
    setFaces({QStringLiteral("Ma Shan Zheng"), QStringLiteral("LXGW WenKai")});
    for (const int weight : {400, 700}) {
        SCOPED_TRACE(weight);
        DrawingSurface::Font request;
        request.name = QStringLiteral("Ma Shan Zheng");
        request.height = -133;
        request.weight = weight;
        request.color = clBlack;
        const auto stems = [&](bool matched) {
            DrawingSurface surface(600, 200);
            int x = 10;
            for (const QString& c : {QStringLiteral("永"), QStringLiteral("盡"),
                                     QStringLiteral("和"), QStringLiteral("黃")}) {
                DrawingSurface::Font font = matchedFont(request, c);
                if (!matched)
                    font.thickening = 0;
                surface.textOutWithFont(x, 20, c, font);
                x += 140;
            }
            const double own = (inkStem(surface, QRect(0, 0, 145, 200)) +
                                inkStem(surface, QRect(290, 0, 140, 200))) /
                               2;
            const double standIn = (inkStem(surface, QRect(145, 0, 140, 200)) +
                                    inkStem(surface, QRect(430, 0, 170, 200))) /
                                   2;
            return standIn / own;
        };
        EXPECT_EQ(matchedFont(request, QStringLiteral("盡")).name, QStringLiteral("LXGW WenKai"));
        EXPECT_EQ(matchedFont(request, QStringLiteral("永")).thickening, 0);
        const double matched = stems(true);
        EXPECT_GE(matched, 0.8);
        EXPECT_LE(matched, 1.25);
        // Bold Kai is about as heavy as bold brush already; regular Kai is far thinner.
        if (weight == 400)
            EXPECT_LT(stems(false), 0.8);
    }
    setFaces({});
}

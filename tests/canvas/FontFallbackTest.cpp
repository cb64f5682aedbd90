// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fallback chain over the faces of the built Fonts folder: the kinds, the order, and the
// face that draws each character a brush face lacks.
#include "FontFallback.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

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

// The face lists offer the faces that draw Chinese first, each part in the order it came.
TEST(FontFallback, FacesThatDrawChineseComeFirst) {
    const QStringList given = {QStringLiteral("DejaVu Sans"), QStringLiteral("LXGW WenKai"),
                               QStringLiteral("Default"), QStringLiteral("AR PL SungtiL GB"),
                               QStringLiteral("DejaVu Serif")};
    EXPECT_EQ(chineseFacesFirst(given),
              QStringList({QStringLiteral("LXGW WenKai"), QStringLiteral("AR PL SungtiL GB"),
                           QStringLiteral("DejaVu Sans"), QStringLiteral("Default"),
                           QStringLiteral("DejaVu Serif")}));
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

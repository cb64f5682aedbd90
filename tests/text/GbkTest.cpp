// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The GBK byte view: the one byte-walk test, conversion, and characters without a GBK code.
#include "Gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, ByteWalkTestTreats127AsLeadByte) {
    EXPECT_EQ(Gbk::charLength(0x00), 1);
    EXPECT_EQ(Gbk::charLength('A'), 1);
    EXPECT_EQ(Gbk::charLength(126), 1);
    EXPECT_EQ(Gbk::charLength(127), 2);
    EXPECT_EQ(Gbk::charLength(0x81), 2);
    EXPECT_EQ(Gbk::charLength(0xFF), 2);
}

TEST(Gbk, EncodesMixedTextAndDecodesItBack) {
    const QString text = QStringLiteral("a中b文");
    const QByteArray bytes = Gbk::encode(text);
    EXPECT_EQ(bytes, QByteArray("a\xD6\xD0"
                                "b\xCE\xC4"));
    EXPECT_EQ(Gbk::decode(bytes), text);
}

TEST(Gbk, TrailByte5CStaysPartOfItsCharacter) {
    // U+4E57 has the GBK code 81 5C: its trail byte is a backslash.
    const QByteArray bytes = Gbk::encode(QString(QChar(0x4E57)));
    EXPECT_EQ(bytes, QByteArray("\x81\x5C"));
    EXPECT_EQ(Gbk::decode(bytes), QString(QChar(0x4E57)));
}

TEST(Gbk, CharacterWithoutGbkCodeIsOneTwoByteCharacter) {
    const QString text = QStringLiteral("a") + QString::fromUcs4(U"\U0001F600") +
                         QStringLiteral("b") + QString(QChar(0x20AC)) + QString(QChar(0x7F));
    const QByteArray bytes = Gbk::encode(text);
    // emoji, euro sign (a single byte 0x80 in GBK) and DEL each take the placeholder, so a
    // walk with charLength meets exactly one character for each.
    EXPECT_EQ(bytes, QByteArray("a\x81\xFF"
                                "b\x81\xFF\x81\xFF"));
    int characters = 0;
    for (int i = 0; i < bytes.size(); i += Gbk::charLength(uchar(bytes[i])))
        ++characters;
    EXPECT_EQ(characters, 5);
    EXPECT_FALSE(bytes.contains('?'));
}

TEST(Gbk, LoneLeadByteDecodesToReplacementCharacter) {
    EXPECT_EQ(Gbk::decode(QByteArray("a\xD6")), QStringLiteral("a") + QChar(0xFFFD));
}

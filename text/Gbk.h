// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// GBK byte strings: the program handles every text as GBK bytes and walks them with one test,
// a byte below 127 is a character of its own, a byte of 127 or more starts a two-byte one.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace Gbk {

// Stands for a character that has no two-byte GBK code (an emoji, a rare ideograph, the euro
// sign and DEL, whose single bytes the walk would pair with their neighbour). 0xFF is never a
// GBK trail byte, so no real character encodes to it; callers that must draw the character
// read it from the document, not from the bytes.
inline constexpr char placeholder[2] = {'\x81', '\xFF'};

// 1 below 127, 2 for 127 or more.
constexpr int charLength(uchar leadByte) {
    return leadByte < 127 ? 1 : 2;
}

// Bytes one character (a code point) takes in the byte view: 1 or 2.
constexpr int codePointLength(char32_t codePoint) {
    return codePoint < 127 ? 1 : 2;
}

// GBK through the platform's converter. A character without a two-byte code becomes the
// placeholder, so that the byte view keeps one two-byte character per real character.
QByteArray encode(const QString& text);

// The two-byte GBK code of one character (a code point as one or two UTF-16 units), or an
// empty array when it has none.
QByteArray twoByteCode(QStringView character);

// GBK to text; a lone lead byte at the end or an invalid pair decodes to U+FFFD.
QString decode(const QByteArray& bytes);

// What to draw for each character of a byte walk (one entry per character, in order): the
// characters of text when the walk is text's encoding, so that a character without a GBK code
// is drawn as itself; otherwise each entry decoded by itself, U+FFFD when it decodes to
// nothing.
QStringList drawnCharacters(const QList<QByteArray>& walk, const QString& text);

} // namespace Gbk

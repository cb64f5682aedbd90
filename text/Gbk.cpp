// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// GBK conversion through Qt's ICU-backed converters, keeping one byte-view character per
// real character.
#include "Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Gbk {

namespace {

qsizetype expectedLength(const QString& text) {
    qsizetype length = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            ++i; // a pair is one character
        length += codePointLength(c.unicode());
    }
    return length;
}

QStringEncoder& encoder() {
    thread_local QStringEncoder gbk("GBK", QStringConverter::Flag::Stateless);
    return gbk;
}

QStringDecoder& decoder() {
    thread_local QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    return gbk;
}

} // namespace

QByteArray twoByteCode(QStringView character) {
    // The converter's error flag cannot be reset once set, so a code is proved by decoding
    // it back: a substituted "?" or a single byte fails that test.
    const QByteArray code = encoder().encode(character);
    if (code.size() != 2 || uchar(code.at(0)) < 0x81)
        return {};
    const QString back = decoder().decode(code);
    return back == character ? code : QByteArray();
}

QByteArray encode(const QString& text) {
    QStringEncoder whole("GBK", QStringConverter::Flag::Stateless);
    QByteArray bytes = whole.encode(text);
    if (!whole.hasError() && bytes.size() == expectedLength(text))
        return bytes;

    // Some character has no GBK code or a single byte of 127 or more: go character by
    // character and put the placeholder in its place.
    bytes.clear();
    bytes.reserve(text.size() * 2);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        qsizetype units = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            units = 2;
        const QStringView character = QStringView(text).mid(i, units);
        i += units;
        if (units == 1 && character.at(0).unicode() < 127) {
            bytes.append(char(character.at(0).unicode()));
            continue;
        }
        const QByteArray code = twoByteCode(character);
        bytes.append(code.isEmpty() ? QByteArray(placeholder, 2) : code);
    }
    return bytes;
}

QString decode(const QByteArray& bytes) {
    // The converter drops a lead byte left at the end; a line feed after it makes it an
    // invalid pair, reported as U+FFFD, and is taken off again.
    QStringDecoder converter("GBK", QStringConverter::Flag::Stateless);
    QString text = converter.decode(bytes + '\n');
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

QStringList drawnCharacters(const QList<QByteArray>& walk, const QString& text) {
    QStringList drawn;
    drawn.reserve(walk.size());
    if (!text.isEmpty() && encode(text) == walk.join()) {
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size;) {
            const qsizetype units =
                (text.at(i).isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
                    ? 2
                    : 1;
            drawn.append(text.mid(i, units));
            i += units;
        }
        if (drawn.size() == walk.size())
            return drawn;
        drawn.clear();
    }
    for (const QByteArray& bytes : walk) {
        const QString character = decode(bytes);
        drawn.append(character.isEmpty() ? QString(QChar::ReplacementCharacter) : character);
    }
    return drawn;
}

} // namespace Gbk

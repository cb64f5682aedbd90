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

} // namespace

QByteArray encode(const QString& text) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError() && whole.size() == expectedLength(text))
        return whole;

    // Some character has no GBK code or a single byte of 127 or more: go character by
    // character and put the placeholder in its place.
    QByteArray bytes;
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
        encoder.resetState();
        const QByteArray code = encoder.encode(character);
        if (!encoder.hasError() && code.size() == 2 && uchar(code.at(0)) >= 127)
            bytes.append(code);
        else
            bytes.append(placeholder, 2);
    }
    return bytes;
}

QString decode(const QByteArray& bytes) {
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace Gbk

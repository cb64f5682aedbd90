// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The RTF writer: a font table (Chinese faces with \fcharset134), a colour table, and every
// character outside printable ASCII written as \uN followed by its GBK bytes as \'hh for
// readers without Unicode, so neither kind of reader can misread a GBK trail byte such as
// 0x5C as a backslash.
//
// A run's face and size are written for Latin text (\f, \fs) and, when the run holds Chinese
// characters, again for Asian text (\dbch\af, \afs, \ab, \ai): word processors take the face
// of Chinese text only from the Asian set, while readers that know only \f and \fs use those.
#include "RtfWriter.h"
#include "Limits.h"

#include "RtfReader.h"

#include "Gbk.h"

#include <QHash>
#include <QStringEncoder>
#include <algorithm>
#include <vector>

namespace Rtf {

namespace {

struct FontKey {
    QString name;
    int charset = 1;
    RichTextPitch pitch = RichTextPitch::Default;
    bool operator==(const FontKey&) const = default;
};

size_t qHash(const FontKey& key, size_t seed = 0) {
    return ::qHash(key.name, seed) ^ (size_t(key.charset) * 31 + size_t(key.pitch));
}

// Bytes after which the writer starts a new line at the next character.
constexpr int lineLength = 200;

class Writer {
public:
    QByteArray run(const RichTextModel& model);

private:
    int fontIndex(const RichTextAttributes& attributes);
    int colorIndex(TColor color);
    void writeCharacters(const QString& text, bool inFontTable);
    void writeAttributes(const RichTextAttributes& attributes, bool asian);
    void breakLongLine();

    QByteArray out;
    qsizetype lineStart = 0;
    QHash<FontKey, int> fontNumbers;
    std::vector<FontKey> fonts;
    QHash<TColor, int> colorNumbers;
    std::vector<TColor> colors;
};

int Writer::fontIndex(const RichTextAttributes& attributes) {
    // The character set is kept as the text has it: faces chosen in this program carry 134
    // when they are Chinese (RichText::setSelName).
    const FontKey key{attributes.Name, std::clamp(attributes.Charset, 0, 255), attributes.pitch};
    const auto found = fontNumbers.constFind(key);
    if (found != fontNumbers.constEnd())
        return found.value();
    const int number = int(fonts.size());
    fonts.push_back(key);
    fontNumbers.insert(key, number);
    return number;
}

int Writer::colorIndex(TColor color) {
    if (color == clWindowText)
        return 0; // the empty first entry: the automatic colour
    if (isSystemColor(color))
        color = fromQColor(toQColor(color));
    color &= 0x00FFFFFF;
    const auto found = colorNumbers.constFind(color);
    if (found != colorNumbers.constEnd())
        return found.value();
    colors.push_back(color);
    const int number = int(colors.size());
    colorNumbers.insert(color, number);
    return number;
}

void Writer::breakLongLine() {
    if (out.size() - lineStart > lineLength) {
        out += "\r\n";
        lineStart = out.size();
    }
}

void Writer::writeCharacters(const QString& text, bool inFontTable) {
    static const char hex[] = "0123456789abcdef";
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        breakLongLine();
        const char16_t c = text.at(i).unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == u';' && inFontTable) {
            out += "\\'3b";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            // control characters have no place in the text
        } else {
            out += "\\u";
            out += QByteArray::number(c > 0x7FFF ? int(c) - 0x10000 : int(c));
            // The fallback for readers without Unicode: two bytes, as \uc2 announces.
            const QByteArray fallback = QChar::isSurrogate(c)
                                            ? QByteArray()
                                            : Gbk::twoByteCode(QStringView(text).mid(i, 1));
            if (fallback.isEmpty()) {
                out += "??";
            } else {
                for (const char byte : fallback) {
                    out += "\\'";
                    out += hex[uchar(byte) >> 4];
                    out += hex[uchar(byte) & 0xF];
                }
            }
        }
    }
}

bool hasAsianCharacter(const QString& text) {
    for (const char32_t c : text.toUcs4())
        if (isAsianCharacter(c))
            return true;
    return false;
}

void Writer::writeAttributes(const RichTextAttributes& attributes, bool asian) {
    const QByteArray font = QByteArray::number(fontIndex(attributes));
    const QByteArray halfPoints =
        QByteArray::number(2 * std::clamp(attributes.Size, 1, limits::textPoints));
    out += "\\plain\\f";
    out += font;
    out += "\\fs";
    out += halfPoints;
    const int color = colorIndex(attributes.Color);
    if (color != 0) {
        out += "\\cf";
        out += QByteArray::number(color);
    }
    if (attributes.Bold)
        out += "\\b";
    if (attributes.Italic)
        out += "\\i";
    if (attributes.Underline)
        out += "\\ul";
    if (attributes.StrikeOut)
        out += "\\strike";
    if (asian) {
        out += "\\dbch\\af";
        out += font;
        out += "\\afs";
        out += halfPoints;
        if (attributes.Bold)
            out += "\\ab";
        if (attributes.Italic)
            out += "\\ai";
    }
    out += ' ';
}

QByteArray Writer::run(const RichTextModel& model) {
    // The body first, so that the tables list exactly the fonts and colours it uses.
    const RichTextAttributes* written = nullptr;
    bool writtenAsian = false; // whether the Asian set of *written was written
    for (std::size_t p = 0; p < model.paragraphs.size(); ++p) {
        const RichTextParagraph& paragraph = model.paragraphs[p];
        out += "\\pard";
        if (paragraph.alignment == RichTextAlignment::Center)
            out += "\\qc";
        else if (paragraph.alignment == RichTextAlignment::Right)
            out += "\\qr";
        out += ' ';
        for (const RichTextRun& run : paragraph.runs) {
            const bool asian = hasAsianCharacter(run.text);
            if (!written || !(*written == run.attributes) || (asian && !writtenAsian)) {
                writeAttributes(run.attributes, asian);
                writtenAsian = asian;
            }
            written = &run.attributes;
            writeCharacters(run.text, false);
        }
        if (p + 1 < model.paragraphs.size())
            out += "\\par";
        out += "\r\n";
        lineStart = out.size();
    }
    const QByteArray body = out;

    out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc2\r\n{\\fonttbl";
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        out += "{\\f";
        out += QByteArray::number(qulonglong(f));
        out += "\\fnil\\fcharset";
        out += QByteArray::number(fonts[f].charset);
        if (fonts[f].pitch != RichTextPitch::Default) {
            out += "\\fprq";
            out += QByteArray::number(int(fonts[f].pitch));
        }
        out += ' ';
        lineStart = out.size();
        writeCharacters(fonts[f].name, true);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const TColor color : colors) {
        out += "\\red" + QByteArray::number(color & 0xFF);
        out += "\\green" + QByteArray::number((color >> 8) & 0xFF);
        out += "\\blue" + QByteArray::number((color >> 16) & 0xFF);
        out += ';';
    }
    out += "}\r\n{\\*\\generator Tarvel;}\\viewkind4\r\n";
    out += body;
    out += "}\r\n";
    return out;
}

} // namespace

QByteArray write(const RichTextModel& model) {
    Writer writer;
    return writer.run(model);
}

} // namespace Rtf

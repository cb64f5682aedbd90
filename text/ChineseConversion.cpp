// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Simplified ↔ traditional conversion through OpenCC: its segmentation cuts the text into the
// phrases of its dictionaries, and its conversion chain turns each phrase as a whole.
#include "ChineseConversion.h"

#include "TarvelError.h"

#include <QCoreApplication>
#include <opencc/Config.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/Exception.hpp>
#include <opencc/Segmentation.hpp>
#include <opencc/Segments.hpp>

#include <QDir>
#include <QFileInfo>
#include <array>

struct ChineseConverter::Engine {
    opencc::ConverterPtr converter;
};

namespace {

QString unreadableData(const QString& file) {
    return QCoreApplication::translate(
               "Text", "无法读取繁简转换数据文件 %1。请安装 OpenCC 的数据（Debian 软件包 "
                       "libopencc-data）。")
        .arg(QDir::toNativeSeparators(file));
}

// Code points of a UTF-16 text.
qsizetype characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

// The UTF-16 offset of the character numbered index.
qsizetype offsetOfCharacter(QStringView text, qsizetype index) {
    qsizetype offset = 0;
    for (qsizetype n = 0; n < index && offset < text.size(); ++n)
        offset += text[offset].isHighSurrogate() && offset + 1 < text.size() &&
                          text[offset + 1].isLowSurrogate()
                      ? 2
                      : 1;
    return offset;
}

} // namespace

ChineseConverter::ChineseConverter(ChineseConversion direction, const QString& dataDirectory)
    : engine(std::make_unique<Engine>()) {
    const QString file = QDir(dataDirectory).filePath(configurationFile(direction));
    // OpenCC names the dictionaries relative to the configuration's folder; a missing
    // dictionary fails the load just as a missing configuration does.
    if (!QFileInfo(file).isFile())
        throw TarvelError(unreadableData(file));
    try {
        opencc::Config config;
        engine->converter = config.NewFromFile(QFile::encodeName(file).toStdString());
    } catch (const opencc::Exception&) {
        throw TarvelError(unreadableData(file));
    }
    if (!engine->converter)
        throw TarvelError(unreadableData(file));
}

ChineseConverter::~ChineseConverter() = default;

QString ChineseConverter::defaultDataDirectory() {
    return QStringLiteral("/usr/share/opencc");
}

QString ChineseConverter::configurationFile(ChineseConversion direction) {
    return direction == ChineseConversion::SimplifiedToTraditional ? QStringLiteral("s2t.json")
                                                                   : QStringLiteral("t2s.json");
}

const ChineseConverter& ChineseConverter::shared(ChineseConversion direction) {
    static std::array<std::unique_ptr<ChineseConverter>, 2> loaded;
    std::unique_ptr<ChineseConverter>& slot = loaded[std::size_t(direction)];
    if (!slot)
        slot = std::make_unique<ChineseConverter>(direction);
    return *slot;
}

std::vector<ConvertedStretch> ChineseConverter::changes(const QString& text) const {
    std::vector<ConvertedStretch> result;
    if (text.isEmpty())
        return result;
    opencc::SegmentsPtr source;
    opencc::SegmentsPtr converted;
    try {
        source = engine->converter->GetSegmentation()->Segment(text.toUtf8().toStdString());
        converted = engine->converter->GetConversionChain()->Convert(source);
    } catch (const opencc::Exception& error) {
        throw TarvelError(QCoreApplication::translate("Text", "繁简转换失败：%1")
                              .arg(QString::fromUtf8(error.what())));
    }
    // The chain turns each segment into exactly one segment; the source offsets follow the
    // segments' UTF-16 lengths (the UTF-8 round trip keeps every unit's length).
    qsizetype position = 0;
    const std::size_t segments = std::min(source->Length(), converted->Length());
    for (std::size_t i = 0; i < segments; ++i) {
        const QString from = QString::fromUtf8(source->At(i));
        const QString to = QString::fromUtf8(converted->At(i));
        if (from != to) {
            if (characterCount(from) == characterCount(to)) {
                // One for one: only the characters that differ, each on its own.
                qsizetype a = 0, b = 0;
                while (a < from.size() && b < to.size()) {
                    const qsizetype na = offsetOfCharacter(QStringView(from).mid(a), 1);
                    const qsizetype nb = offsetOfCharacter(QStringView(to).mid(b), 1);
                    if (QStringView(from).mid(a, na) != QStringView(to).mid(b, nb))
                        result.push_back({position + a, na, to.mid(b, nb)});
                    a += na;
                    b += nb;
                }
            } else {
                result.push_back({position, from.size(), to});
            }
        }
        position += from.size();
    }
    return result;
}

QString ChineseConverter::convert(const QString& text) const {
    return applyConvertedStretches(text, changes(text));
}

QString applyConvertedStretches(const QString& text, const std::vector<ConvertedStretch>& changes) {
    QString result;
    result.reserve(text.size());
    qsizetype at = 0;
    for (const ConvertedStretch& change : changes) {
        result += QStringView(text).mid(at, change.start - at);
        result += change.replacement;
        at = change.start + change.length;
    }
    result += QStringView(text).mid(at);
    return result;
}

qsizetype formatSourceOffset(QStringView source, QStringView replacement,
                             qsizetype replacementOffset) {
    const qsizetype sourceCount = characterCount(source);
    const qsizetype replacementCount = characterCount(replacement);
    if (sourceCount == 0 || replacementCount == 0)
        return 0;
    const qsizetype index = characterCount(replacement.left(replacementOffset));
    return offsetOfCharacter(source, index * sourceCount / replacementCount);
}

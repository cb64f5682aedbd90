// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Simplified ↔ traditional Chinese, through OpenCC's standard configurations, which convert
// whole phrases (头发 → 頭髮, 皇后 stays 皇后), not single characters. The dialogs convert their
// text with it, the rich text keeping each character's format.
#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

enum class ChineseConversion {
    SimplifiedToTraditional, // OpenCC's s2t.json
    TraditionalToSimplified, // OpenCC's t2s.json
};

// One stretch of the source that the conversion changes: start and length in UTF-16 units of
// the source, and the text that takes its place. A phrase may convert to a different number
// of characters; a stretch of characters converted one for one is cut into single characters,
// so that each replacement can keep the format of the character it replaces.
struct ConvertedStretch {
    qsizetype start = 0;
    qsizetype length = 0;
    QString replacement;

    bool operator==(const ConvertedStretch&) const = default;
};

class ChineseConverter final {
public:
    // Loads the configuration file of the direction from dataDirectory. Throws TarvelError with
    // a message that names the missing file when OpenCC's data cannot be read.
    explicit ChineseConverter(ChineseConversion direction,
                              const QString& dataDirectory = defaultDataDirectory());
    ~ChineseConverter();
    ChineseConverter(const ChineseConverter&) = delete;
    ChineseConverter& operator=(const ChineseConverter&) = delete;

    QString convert(const QString& text) const;
    // The changes in source order, none overlapping; the characters between them stay.
    std::vector<ConvertedStretch> changes(const QString& text) const;

    // Where Debian's libopencc-data puts the configurations.
    static QString defaultDataDirectory();
    // The configuration file of a direction: "s2t.json" or "t2s.json".
    static QString configurationFile(ChineseConversion direction);

    // One converter per direction from the default directory, loaded at first use and kept.
    // A load that fails is tried again next time (the data may have been installed since).
    static const ChineseConverter& shared(ChineseConversion direction);

private:
    struct Engine;
    std::unique_ptr<Engine> engine;
};

// Applies changes to a text: what convert() returns when given changes() of the same text.
QString applyConvertedStretches(const QString& text, const std::vector<ConvertedStretch>& changes);

// The character of source (a UTF-16 offset into it) whose format the character of replacement
// that starts at replacementOffset takes: the one at the same place in proportion, counted in
// characters, so that a phrase that grows or shrinks spreads its formats over the new
// characters in order. Characters converted one for one keep their own.
qsizetype formatSourceOffset(QStringView source, QStringView replacement,
                             qsizetype replacementOffset);

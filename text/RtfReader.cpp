// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The RTF reader: one pass over the bytes with an explicit group stack, building paragraphs
// of runs. Every quantity the input controls is bounded: group depth, control word length,
// numbers, table sizes, skip counts and binary data lengths.
//
// Word processors keep separate character properties for Latin, Asian (double-byte) and
// complex (right-to-left) text: \f and \fs hold the Latin face and size, and \loch, \hich,
// \dbch and \rtlch/\ltrch say which set the associated properties \af, \afs, \ab and \ai
// that follow them belong to. Each character takes the face, size, bold and italic of the set
// that applies to it: a Chinese character the Asian set's, an ASCII letter the Latin set's,
// spaces and punctuation the set the last of those words named. \fs, \b and \i hold for Latin
// and Asian text alike; a set that names no face takes the Latin one, so files that only
// use \f and \fs read as they always did. The style named by \s N and the document's
// defaults (\defchp for \plain, \deff, \stshfdbch and kin for faces) fill in what the text
// leaves unset.
#include "RtfReader.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace Rtf {

namespace {

constexpr int maximumDepth = 1000;
constexpr int maximumWordLength = 32;
constexpr int maximumFonts = 4096;
constexpr int maximumColors = 4096;
constexpr int maximumFaceLength = 255;
constexpr int defaultHalfPoints = 24; // RTF's default size: 12 points
constexpr int maximumHalfPoints = 3276;

constexpr int maximumStyles = 4096;
constexpr int maximumStyleChain = 16; // \sbasedon links followed from one style

// StyleSheet: between the entries of \stylesheet; StyleEntry: inside one entry;
// DefaultCharacters: \defchp, the document's default character properties.
enum class Destination {
    Text,
    FontTable,
    ColorTable,
    StyleSheet,
    StyleEntry,
    DefaultCharacters,
    Skip
};

// The property sets, also the kinds of character they apply to. The high-ANSI set (letters
// beyond ASCII that are neither Asian nor right-to-left) has only a face of its own.
enum class Script : quint8 { Latin, High, Asian, Complex };
constexpr int scriptCount = 4;

constexpr int notGiven = -1; // a property the file has not set: it comes from elsewhere

struct PropertySet {
    int font = notGiven;
    int halfPoints = notGiven;
    int bold = notGiven, italic = notGiven;

    bool operator==(const PropertySet&) const = default;
};

// The character properties in force, or what a style sets (its unset fields leave the
// properties it is applied to alone).
struct CharacterState {
    std::array<PropertySet, scriptCount> sets; // by Script
    int color = notGiven;                      // no colour given: the automatic colour
    int underline = notGiven, strikeOut = notGiven;
    Script hint = Script::Latin; // the set \loch, \hich, \dbch or \rtlch last named

    PropertySet& set(Script script) { return sets[std::size_t(script)]; }
    const PropertySet& set(Script script) const { return sets[std::size_t(script)]; }
    bool operator==(const CharacterState&) const = default;
};

void overlay(int& value, int given) {
    if (given != notGiven)
        value = given;
}

// Applies what a style sets on top of the properties in force.
void overlay(CharacterState& state, const CharacterState& style) {
    for (std::size_t s = 0; s < state.sets.size(); ++s) {
        overlay(state.sets[s].font, style.sets[s].font);
        overlay(state.sets[s].halfPoints, style.sets[s].halfPoints);
        overlay(state.sets[s].bold, style.sets[s].bold);
        overlay(state.sets[s].italic, style.sets[s].italic);
    }
    overlay(state.color, style.color);
    overlay(state.underline, style.underline);
    overlay(state.strikeOut, style.strikeOut);
}

struct StyleEntry {
    CharacterState characters;
    int basedOn = notGiven;
};

bool isRightToLeftCharacter(char32_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFE);
}

bool isAsciiLetterOrDigit(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Which set's properties a character takes, given the set the file last named.
Script scriptOf(char32_t c, Script hint) {
    if (c < 0x80)
        return isAsciiLetterOrDigit(c) ? Script::Latin : hint;
    if (isAsianCharacter(c))
        return Script::Asian;
    if (isRightToLeftCharacter(c))
        return Script::Complex;
    return hint == Script::Latin ? Script::High : hint;
}

struct GroupState {
    Destination destination = Destination::Text;
    bool styleEntryRoot = false; // the group that opened a style sheet entry
    int styleNumber = 0;         // in a style sheet entry: the style it defines
    int styleBasedOn = notGiven;
    CharacterState characters;
    RichTextAlignment alignment = RichTextAlignment::Left;
    int unicodeSkip = 1; // bytes of fallback after \uN
};

struct FontEntry {
    QString name;
    int charset = 1;
    int codePage = 0; // 0: from the charset
    RichTextPitch pitch = RichTextPitch::Default;
};

struct ColorEntry {
    TColor color = clWindowText;
};

// The control word split from the input: letters, and an optional number already clamped.
struct ControlWord {
    QByteArray word; // empty when it had too many letters
    bool hasParameter = false;
    qint64 parameter = 0;
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int clampInt(qint64 value, int low, int high) {
    return int(std::clamp<qint64>(value, low, high));
}

int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: bytes kept as they are
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0; // the document's code page
    }
}

const char* decoderName(int codePage) {
    switch (codePage) {
    case 936:
        return "GBK";
    case 54936:
        return "GB18030";
    case 950:
        return "Big5";
    case 932:
        return "Shift_JIS";
    case 949:
        return "windows-949";
    case 1361:
        return "johab";
    case 874:
        return "windows-874";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-1252";
    }
}

// Code pages whose characters take a lead byte and a trail byte.
bool isDoubleByteCodePage(int codePage) {
    return codePage == 936 || codePage == 950 || codePage == 949 || codePage == 932 ||
           codePage == 54936;
}

bool isLeadByte(int codePage, uchar byte) {
    if (!isDoubleByteCodePage(codePage))
        return false;
    if (codePage == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(uchar byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Characters the document model never holds: control characters other than the tab, and
// characters the text store gives a meaning of its own.
bool isKeptCharacter(char16_t c) {
    if (c < 0x20)
        return c == u'\t';
    return !(c >= 0x7F && c <= 0x9F) && c != 0x2028 && c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 &&
           c != 0xFFFC && c != 0xFEFF;
}

QString replaceLoneSurrogates(QString text) {
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

// The control words this reader acts on, looked up once per word.
enum class Keyword {
    Unknown,
    Skipped,
    FontTable,
    ColorTable,
    Bin,
    Unicode,
    UnicodeSkip,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    AssociatedDefaultFont,
    DefaultAsianFont,
    DefaultHighFont,
    DefaultComplexFont,
    StyleSheet,
    DefaultCharacters,
    Style,
    StyleBasedOn,
    OtherStyle,
    LowAnsi,
    HighAnsi,
    DoubleByte,
    RightToLeft,
    LeftToRight,
    AssociatedFont,
    AssociatedFontSize,
    AssociatedBold,
    AssociatedItalic,
    Font,
    FontCharset,
    FontCodePage,
    FontPitch,
    Red,
    Green,
    Blue,
    Paragraph,
    Tab,
    FontSize,
    Color,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    StrikeOut,
    Plain,
    ParagraphDefault,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Character
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    char16_t character = 0; // for Keyword::Character
};

const QHash<QByteArray, KeywordInfo>& keywords() {
    static const QHash<QByteArray, KeywordInfo> table = [] {
        QHash<QByteArray, KeywordInfo> t;
        // Destinations whose content is not part of the visible text.
        for (const char* name : {"info",
                                 "pict",
                                 "object",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "fldinst",
                                 "listtable",
                                 "listoverridetable",
                                 "rsidtbl",
                                 "revtbl",
                                 "filetbl",
                                 "pntext",
                                 "pntxta",
                                 "pntxtb",
                                 "xmlnstbl",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "generator",
                                 "template",
                                 "nonshppict",
                                 "shppict",
                                 "shp",
                                 "shpinst",
                                 "bkmkstart",
                                 "bkmkend",
                                 "txe",
                                 "xe",
                                 "tc",
                                 "objdata",
                                 "atnid",
                                 "atnauthor",
                                 "atrfstart",
                                 "atrfend",
                                 "comment",
                                 "doccomm",
                                 "author",
                                 "title",
                                 "subject",
                                 "keywords",
                                 "operator",
                                 "company",
                                 "pgdsctbl",
                                 "mmathPr",
                                 "wgrffmtfilter",
                                 "listtext",
                                 "background",
                                 "defpap",
                                 "userprops",
                                 "fchars",
                                 "lchars",
                                 "docvar",
                                 "ftnsep",
                                 "ftnsepc",
                                 "ftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "aftncn",
                                 "do",
                                 "sp",
                                 "blipuid",
                                 "passwordhash",
                                 "protusertbl",
                                 "xform",
                                 "formfield",
                                 "private",
                                 "falt",
                                 "panose",
                                 "fname",
                                 "fontemb",
                                 "fontfile"})
            t.insert(name, {Keyword::Skipped});
        const std::pair<const char*, Keyword> words[] = {{"fonttbl", Keyword::FontTable},
                                                         {"colortbl", Keyword::ColorTable},
                                                         {"bin", Keyword::Bin},
                                                         {"u", Keyword::Unicode},
                                                         {"uc", Keyword::UnicodeSkip},
                                                         {"ansicpg", Keyword::AnsiCodePage},
                                                         {"mac", Keyword::Mac},
                                                         {"pc", Keyword::Pc},
                                                         {"pca", Keyword::Pca},
                                                         {"deff", Keyword::DefaultFont},
                                                         {"adeff", Keyword::AssociatedDefaultFont},
                                                         {"stshfdbch", Keyword::DefaultAsianFont},
                                                         {"stshfhich", Keyword::DefaultHighFont},
                                                         {"stshfbi", Keyword::DefaultComplexFont},
                                                         {"stylesheet", Keyword::StyleSheet},
                                                         {"defchp", Keyword::DefaultCharacters},
                                                         {"s", Keyword::Style},
                                                         {"sbasedon", Keyword::StyleBasedOn},
                                                         {"ds", Keyword::OtherStyle},
                                                         {"ts", Keyword::OtherStyle},
                                                         {"tsrowd", Keyword::OtherStyle},
                                                         {"loch", Keyword::LowAnsi},
                                                         {"hich", Keyword::HighAnsi},
                                                         {"dbch", Keyword::DoubleByte},
                                                         {"rtlch", Keyword::RightToLeft},
                                                         {"ltrch", Keyword::LeftToRight},
                                                         {"af", Keyword::AssociatedFont},
                                                         {"afs", Keyword::AssociatedFontSize},
                                                         {"ab", Keyword::AssociatedBold},
                                                         {"ai", Keyword::AssociatedItalic},
                                                         {"f", Keyword::Font},
                                                         {"fcharset", Keyword::FontCharset},
                                                         {"cpg", Keyword::FontCodePage},
                                                         {"fprq", Keyword::FontPitch},
                                                         {"red", Keyword::Red},
                                                         {"green", Keyword::Green},
                                                         {"blue", Keyword::Blue},
                                                         {"par", Keyword::Paragraph},
                                                         {"line", Keyword::Paragraph},
                                                         {"sect", Keyword::Paragraph},
                                                         {"page", Keyword::Paragraph},
                                                         {"row", Keyword::Paragraph},
                                                         {"tab", Keyword::Tab},
                                                         {"cell", Keyword::Tab},
                                                         {"fs", Keyword::FontSize},
                                                         {"cf", Keyword::Color},
                                                         {"b", Keyword::Bold},
                                                         {"i", Keyword::Italic},
                                                         {"ul", Keyword::Underline},
                                                         {"uld", Keyword::Underline},
                                                         {"uldb", Keyword::Underline},
                                                         {"ulw", Keyword::Underline},
                                                         {"uldash", Keyword::Underline},
                                                         {"uldashd", Keyword::Underline},
                                                         {"ulth", Keyword::Underline},
                                                         {"ulwave", Keyword::Underline},
                                                         {"ulnone", Keyword::UnderlineNone},
                                                         {"strike", Keyword::StrikeOut},
                                                         {"striked", Keyword::StrikeOut},
                                                         {"plain", Keyword::Plain},
                                                         {"pard", Keyword::ParagraphDefault},
                                                         {"ql", Keyword::AlignLeft},
                                                         {"qj", Keyword::AlignLeft},
                                                         {"qd", Keyword::AlignLeft},
                                                         {"qc", Keyword::AlignCenter},
                                                         {"qr", Keyword::AlignRight}};
        for (const auto& [name, keyword] : words)
            t.insert(name, {keyword});
        const std::pair<const char*, char16_t> characters[] = {
            {"emdash", 0x2014},    {"endash", 0x2013},   {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005},   {"bullet", 0x2022},   {"lquote", 0x2018},  {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}};
        for (const auto& [name, character] : characters)
            t.insert(name, {Keyword::Character, character});
        return t;
    }();
    return table;
}

class Reader {
public:
    explicit Reader(const QByteArray& data) : input(data) {}

    RichTextModel run();

private:
    GroupState& state() { return groups.back(); }
    std::size_t runCount = 0; // runs begun, over all paragraphs

    void openGroup();
    bool closeGroup(); // false when the document's group closed
    void controlAt();
    ControlWord readWord();
    void handleWord(const ControlWord& control);
    bool characterWord(const KeywordInfo& info, const ControlWord& control,
                       CharacterState& characters);
    void applyStyle(int number, CharacterState& characters) const;
    void setAlignment(RichTextAlignment alignment);
    void textByte(uchar byte);
    void appendText(const QString& text);
    void appendCharacter(char16_t c);
    void flushBytes();
    void endParagraph();
    void finishFontEntry();
    void finishColorEntry();
    int currentCodePage() const;
    const FontEntry& fontFor(int number) const;
    const FontEntry& fontOf(const CharacterState& characters, Script script) const;
    const RichTextAttributes& attributesFor(Script script);
    QStringDecoder& decoderFor(int codePage);
    void skipBinary(qint64 length);

    const QByteArray& input;
    qsizetype position = 0;
    std::vector<GroupState> groups;
    int excessDepth = 0; // groups opened beyond the depth cap, not given a state of their own
    int documentCodePage = 1252;
    int defaultFont = 0;
    // Fonts for the sets other than Latin where the set names none (\stshfdbch and kin).
    std::array<int, scriptCount> setDefaultFont{notGiven, notGiven, notGiven, notGiven};
    int associatedDefaultFont = notGiven;
    int unicodeSkipLeft = 0;
    bool nextGroupIgnorable = false;

    QByteArray pendingBytes;
    int pendingCodePage = 1252;
    bool pendingLeadOpen = false; // the last pending byte is a lead byte waiting for its trail

    std::map<int, FontEntry> fonts;
    FontEntry missingFont;
    int fontNumber = -1;
    FontEntry fontEntry;
    QString fontName;
    bool fontEntryOpen = false;

    std::vector<ColorEntry> colors;
    int red = 0, green = 0, blue = 0;
    bool colorHasComponents = false;

    std::map<int, StyleEntry> styles;
    CharacterState plainCharacters; // what \plain sets: \defchp's properties

    RichTextModel model;
    // The attributes of each set for the character state last asked about.
    CharacterState attributesState;
    std::array<RichTextAttributes, scriptCount> attributes;
    std::array<bool, scriptCount> attributesKnown{};
    bool attributesValid = false;
};

QStringDecoder& Reader::decoderFor(int codePage) {
    // Opening a converter is costly; stateless converters can be shared by every read on
    // this thread.
    // Keyed by converter name, a small fixed set, not by the code page number the input
    // names (which could be any of 65536).
    thread_local std::map<const char*, QStringDecoder> decoders;
    const char* name = decoderName(codePage);
    auto found = decoders.find(name);
    if (found != decoders.end())
        return found->second;
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
    return decoders.emplace(name, std::move(decoder)).first->second;
}

const FontEntry& Reader::fontFor(int number) const {
    auto found = fonts.find(number < 0 ? defaultFont : number);
    if (found == fonts.end() && number >= 0)
        found = fonts.find(defaultFont);
    return found == fonts.end() ? missingFont : found->second;
}

// A set's own face, else the document's default for that set, else the Latin face; a font
// number the table lacks gives way to the next of these.
const FontEntry& Reader::fontOf(const CharacterState& characters, Script script) const {
    if (script != Script::Latin) {
        const int complexDefault = setDefaultFont[std::size_t(Script::Complex)] != notGiven
                                       ? setDefaultFont[std::size_t(Script::Complex)]
                                       : associatedDefaultFont;
        for (const int number :
             {characters.set(script).font,
              script == Script::Complex ? complexDefault : setDefaultFont[std::size_t(script)]}) {
            if (number == notGiven)
                continue;
            const auto found = fonts.find(number);
            if (found != fonts.end())
                return found->second;
        }
    }
    return fontFor(characters.set(Script::Latin).font);
}

int Reader::currentCodePage() const {
    const GroupState& group = groups.back();
    if (group.destination == Destination::FontTable && fontEntryOpen) {
        const int page =
            fontEntry.codePage ? fontEntry.codePage : codePageOfCharset(fontEntry.charset);
        return page ? page : documentCodePage;
    }
    const FontEntry& font = fontOf(group.characters, group.characters.hint);
    const int page = font.codePage ? font.codePage : codePageOfCharset(font.charset);
    return page ? page : documentCodePage;
}

const RichTextAttributes& Reader::attributesFor(Script script) {
    const CharacterState& characters = state().characters;
    if (!attributesValid || !(characters == attributesState)) {
        attributesKnown.fill(false);
        attributesState = characters;
        attributesValid = true;
    }
    RichTextAttributes& result = attributes[std::size_t(script)];
    if (attributesKnown[std::size_t(script)])
        return result;
    const PropertySet& latin = characters.set(Script::Latin);
    // The high-ANSI set has a face of its own and nothing else.
    const PropertySet& own = characters.set(script == Script::High ? Script::Latin : script);
    const auto pick = [](int value, int fallback, int otherwise) {
        return value != notGiven ? value : fallback != notGiven ? fallback : otherwise;
    };
    const FontEntry& font = fontOf(characters, script);
    result.Name = font.name;
    result.Charset = font.charset;
    result.pitch = font.pitch;
    result.Size = std::max(1, pick(own.halfPoints, latin.halfPoints, defaultHalfPoints) / 2);
    result.Color = characters.color >= 0 && characters.color < int(colors.size())
                       ? colors[std::size_t(characters.color)].color
                       : clWindowText;
    result.Bold = pick(own.bold, latin.bold, 0) != 0;
    result.Italic = pick(own.italic, latin.italic, 0) != 0;
    result.Underline = characters.underline > 0;
    result.StrikeOut = characters.strikeOut > 0;
    attributesKnown[std::size_t(script)] = true;
    return result;
}

void Reader::flushBytes() {
    if (pendingBytes.isEmpty())
        return;
    const QString text = decoderFor(pendingCodePage).decode(pendingBytes);
    pendingBytes.clear();
    pendingLeadOpen = false;
    appendText(text);
}

void Reader::appendText(const QString& text) {
    switch (state().destination) {
    case Destination::Text: {
        RichTextParagraph& paragraph = model.paragraphs.back();
        const Script hint = state().characters.hint;
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            const QChar c = text.at(i);
            if (!isKeptCharacter(c.unicode()))
                continue;
            // A surrogate pair is one character and goes into one run.
            const bool pair =
                c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate();
            const char32_t code =
                pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : char32_t(c.unicode());
            const RichTextAttributes& current = attributesFor(scriptOf(code, hint));
            if (paragraph.runs.empty() || !(paragraph.runs.back().attributes == current)) {
                paragraph.runs.push_back(RichTextRun{QString(), current});
                ++runCount;
            }
            paragraph.runs.back().text += c;
            if (pair)
                paragraph.runs.back().text += text.at(++i);
            if (runCount > largestRunCount)
                return; // one run past the count, which the editor refuses
        }
        paragraph.alignment = state().alignment;
        break;
    }
    case Destination::FontTable:
        if (fontEntryOpen)
            for (const QChar c : text)
                if (c.unicode() >= 0x20 && c.unicode() != 0x7F &&
                    fontName.size() < maximumFaceLength * 2)
                    fontName += c;
        break;
    case Destination::ColorTable:
    case Destination::StyleSheet:
    case Destination::StyleEntry: // the style's name
    case Destination::DefaultCharacters:
    case Destination::Skip:
        break;
    }
}

void Reader::appendCharacter(char16_t c) {
    flushBytes();
    appendText(QString(QChar(c)));
}

void Reader::textByte(uchar byte) {
    // Every change of font or destination comes with a control word or a brace, and those
    // flush: the code page is looked up once per stretch of bytes.
    if (pendingBytes.isEmpty())
        pendingCodePage = currentCodePage();
    pendingBytes.append(char(byte));
    pendingLeadOpen = !pendingLeadOpen && isLeadByte(pendingCodePage, byte);
}

void Reader::endParagraph() {
    flushBytes();
    if (state().destination != Destination::Text)
        return;
    model.paragraphs.back().alignment = state().alignment;
    model.paragraphs.push_back(RichTextParagraph{state().alignment, {}});
}

void Reader::finishFontEntry() {
    if (!fontEntryOpen)
        return;
    flushBytes();
    fontEntry.name = replaceLoneSurrogates(fontName.trimmed()).left(maximumFaceLength).trimmed();
    if (fontNumber >= 0 && (fonts.size() < std::size_t(maximumFonts) || fonts.count(fontNumber)))
        fonts[fontNumber] = fontEntry;
    fontEntryOpen = false;
    fontName.clear();
    attributesValid = false;
}

void Reader::finishColorEntry() {
    if (colors.size() < std::size_t(maximumColors))
        colors.push_back(ColorEntry{colorHasComponents ? TColor(red | (green << 8) | (blue << 16))
                                                       : clWindowText});
    red = green = blue = 0;
    colorHasComponents = false;
    attributesValid = false;
}

void Reader::openGroup() {
    flushBytes();
    unicodeSkipLeft = 0;
    if (groups.size() >= std::size_t(maximumDepth)) {
        ++excessDepth;
        return;
    }
    groups.push_back(groups.back());
    nextGroupIgnorable = false;
    GroupState& group = groups.back();
    group.styleEntryRoot = false;
    if (group.destination == Destination::StyleSheet) {
        // Each entry of the style sheet starts from nothing set.
        group.destination = Destination::StyleEntry;
        group.styleEntryRoot = true;
        group.styleNumber = 0;
        group.styleBasedOn = notGiven;
        group.characters = CharacterState();
    }
}

bool Reader::closeGroup() {
    flushBytes();
    unicodeSkipLeft = 0;
    if (excessDepth > 0) {
        --excessDepth;
        return true;
    }
    nextGroupIgnorable = false;
    const Destination closing = state().destination;
    if (closing == Destination::FontTable)
        finishFontEntry(); // an entry may end with its group instead of a semicolon
    if (closing == Destination::StyleEntry && state().styleEntryRoot &&
        (styles.size() < std::size_t(maximumStyles) || styles.count(state().styleNumber))) {
        StyleEntry& style = styles[state().styleNumber];
        style.characters = state().characters;
        style.characters.hint = Script::Latin; // which set was named last is no property
        style.basedOn = state().styleBasedOn;
    }
    const bool closingDefaults = closing == Destination::DefaultCharacters;
    if (closingDefaults) {
        plainCharacters = state().characters;
        plainCharacters.hint = Script::Latin;
    }
    if (groups.size() <= 2) { // the bottom entry is a sentinel; the next is the document
        if (closing == Destination::Text)
            model.paragraphs.back().alignment = state().alignment;
        return false;
    }
    groups.pop_back();
    if (closingDefaults) { // they hold from here on where nothing else was set
        CharacterState merged = plainCharacters;
        overlay(merged, state().characters);
        merged.hint = state().characters.hint;
        state().characters = merged;
    }
    attributesValid = false;
    return true;
}

void Reader::skipBinary(qint64 length) {
    // \binN data is skipped where it lies; N never sizes an allocation.
    const qint64 left = input.size() - position;
    position += qsizetype(std::clamp<qint64>(length, 0, left));
}

ControlWord Reader::readWord() {
    ControlWord control;
    const qsizetype start = position;
    while (position < input.size() && isLetter(input[position]))
        ++position;
    if (position - start <= maximumWordLength)
        control.word = input.mid(start, position - start);
    if (position < input.size() && (input[position] == '-' || isDigit(input[position]))) {
        bool negative = false;
        if (input[position] == '-') {
            negative = true;
            ++position;
        }
        qint64 value = 0;
        while (position < input.size() && isDigit(input[position])) {
            if (value < 100000000000LL) // beyond any useful value: clamp, keep consuming
                value = value * 10 + (input[position] - '0');
            ++position;
            control.hasParameter = true;
        }
        control.parameter = negative ? -value : value;
    }
    if (position < input.size() && input[position] == ' ')
        ++position;
    return control;
}

void Reader::controlAt() {
    // position is at the backslash
    ++position;
    if (position >= input.size())
        return;
    const char c = input[position];
    if (isLetter(c)) {
        const ControlWord control = readWord();
        if (unicodeSkipLeft > 0 && control.word != "u") {
            --unicodeSkipLeft;
            if (control.word == "bin")
                skipBinary(control.parameter);
            return;
        }
        handleWord(control);
        return;
    }
    ++position;
    if (c == '\'') {
        // Exactly two hex digits; anything else leaves the escape out.
        if (position + 1 < input.size() && hexValue(input[position]) >= 0 &&
            hexValue(input[position + 1]) >= 0) {
            const uchar byte =
                uchar(hexValue(input[position]) * 16 + hexValue(input[position + 1]));
            position += 2;
            if (unicodeSkipLeft > 0) {
                --unicodeSkipLeft;
                return;
            }
            if (state().destination == Destination::Skip)
                return;
            textByte(byte);
        }
        return;
    }
    if (unicodeSkipLeft > 0) {
        --unicodeSkipLeft;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        if (state().destination == Destination::FontTable ||
            state().destination == Destination::Text)
            textByte(uchar(c));
        break;
    case '*':
        nextGroupIgnorable = true;
        break;
    case '~':
        appendCharacter(0x00A0);
        break;
    case '_':
        appendCharacter(0x2011);
        break;
    case '\r':
    case '\n':
        endParagraph();
        break;
    default:
        break; // \- \: \| and unknown symbols
    }
}

void Reader::handleWord(const ControlWord& control) {
    if (control.word.isEmpty()) { // too long to be any word this reader knows
        nextGroupIgnorable = false;
        return;
    }
    const KeywordInfo info = keywords().value(control.word);
    if (info.keyword == Keyword::Bin) {
        flushBytes();
        skipBinary(control.parameter);
        return;
    }
    GroupState& group = state();
    if (group.destination == Destination::Skip)
        return;
    flushBytes();

    const qint64 p = control.parameter;

    if (nextGroupIgnorable) {
        // "\*\word": a destination this reader may not know; skip it unless it is a table.
        nextGroupIgnorable = false;
        if (info.keyword != Keyword::FontTable && info.keyword != Keyword::ColorTable &&
            info.keyword != Keyword::DefaultCharacters) {
            group.destination = Destination::Skip;
            return;
        }
    }

    // Words that mean the same in every destination.
    switch (info.keyword) {
    case Keyword::Skipped:
        group.destination = Destination::Skip;
        return;
    case Keyword::FontTable:
        group.destination = Destination::FontTable;
        return;
    case Keyword::ColorTable:
        group.destination = Destination::ColorTable;
        return;
    case Keyword::Unicode: {
        unicodeSkipLeft = 0;
        qint64 value = std::clamp<qint64>(p, -32768, 65535);
        if (value < 0)
            value += 65536;
        appendCharacter(char16_t(value));
        unicodeSkipLeft = group.unicodeSkip;
        return;
    }
    case Keyword::UnicodeSkip:
        group.unicodeSkip = clampInt(p, 0, 65535);
        return;
    case Keyword::AnsiCodePage:
        documentCodePage = clampInt(p, 0, 65535);
        attributesValid = false;
        return;
    case Keyword::Mac:
        documentCodePage = 10000;
        return;
    case Keyword::Pc:
        documentCodePage = 437;
        return;
    case Keyword::Pca:
        documentCodePage = 850;
        return;
    case Keyword::DefaultFont:
        defaultFont = clampInt(p, 0, 1 << 30);
        attributesValid = false;
        return;
    case Keyword::AssociatedDefaultFont:
        associatedDefaultFont = clampInt(p, 0, 1 << 30);
        attributesValid = false;
        return;
    case Keyword::DefaultAsianFont:
    case Keyword::DefaultHighFont:
    case Keyword::DefaultComplexFont: {
        const Script script = info.keyword == Keyword::DefaultAsianFont  ? Script::Asian
                              : info.keyword == Keyword::DefaultHighFont ? Script::High
                                                                         : Script::Complex;
        setDefaultFont[std::size_t(script)] = clampInt(p, 0, 1 << 30);
        attributesValid = false;
        return;
    }
    case Keyword::StyleSheet:
        group.destination = Destination::StyleSheet;
        return;
    case Keyword::DefaultCharacters:
        group.destination = Destination::DefaultCharacters;
        group.characters = CharacterState();
        return;
    default:
        break;
    }

    if (group.destination == Destination::FontTable) {
        switch (info.keyword) {
        case Keyword::Font:
            finishFontEntry();
            fontNumber = clampInt(p, 0, 1 << 30);
            fontEntry = FontEntry();
            fontEntryOpen = true;
            break;
        case Keyword::FontCharset:
            fontEntry.charset = clampInt(p, 0, 255);
            break;
        case Keyword::FontCodePage:
            fontEntry.codePage = clampInt(p, 0, 65535);
            break;
        case Keyword::FontPitch:
            fontEntry.pitch = p == 1   ? RichTextPitch::Fixed
                              : p == 2 ? RichTextPitch::Variable
                                       : RichTextPitch::Default;
            break;
        default:
            break;
        }
        return;
    }
    if (group.destination == Destination::ColorTable) {
        switch (info.keyword) {
        case Keyword::Red:
            red = clampInt(p, 0, 255);
            break;
        case Keyword::Green:
            green = clampInt(p, 0, 255);
            break;
        case Keyword::Blue:
            blue = clampInt(p, 0, 255);
            break;
        default:
            return;
        }
        colorHasComponents = true;
        return;
    }

    if (group.destination == Destination::StyleSheet)
        return;
    if (group.destination == Destination::StyleEntry ||
        group.destination == Destination::DefaultCharacters) {
        switch (info.keyword) {
        case Keyword::Style:
            group.styleNumber = clampInt(p, 0, 1 << 30);
            break;
        case Keyword::StyleBasedOn:
            group.styleBasedOn = clampInt(p, 0, 1 << 30);
            break;
        case Keyword::OtherStyle: // section and table styles hold nothing for characters
            group.destination = Destination::Skip;
            break;
        default:
            characterWord(info, control, group.characters);
            break;
        }
        return;
    }

    CharacterState& characters = group.characters;
    if (characterWord(info, control, characters))
        return;
    switch (info.keyword) {
    case Keyword::Style:
        applyStyle(clampInt(p, 0, 1 << 30), characters);
        break;
    case Keyword::Paragraph:
        endParagraph();
        break;
    case Keyword::Tab:
        appendCharacter(u'\t');
        break;
    case Keyword::Character:
        appendCharacter(info.character);
        break;
    case Keyword::ParagraphDefault:
    case Keyword::AlignLeft:
        setAlignment(RichTextAlignment::Left);
        break;
    case Keyword::AlignCenter:
        setAlignment(RichTextAlignment::Center);
        break;
    case Keyword::AlignRight:
        setAlignment(RichTextAlignment::Right);
        break;
    default:
        break; // words this program has no use for
    }
}

// The words that set character properties, in the text and in style sheet entries.
bool Reader::characterWord(const KeywordInfo& info, const ControlWord& control,
                           CharacterState& characters) {
    const qint64 p = control.parameter;
    const int on = !control.hasParameter || p != 0 ? 1 : 0;
    const int halfPoints =
        control.hasParameter ? clampInt(p, 2, maximumHalfPoints) : defaultHalfPoints;
    // The set the associated properties go to; the high-ANSI set has only its face.
    const Script hinted = characters.hint == Script::High ? Script::Latin : characters.hint;
    switch (info.keyword) {
    case Keyword::Font:
    case Keyword::AssociatedFont:
        characters.set(characters.hint).font = clampInt(p, 0, 1 << 30);
        return true;
    // \fs, \b and \i are for Latin and Asian text alike, as word processors read them;
    // \dbch\afs, \ab and \ai after them change the Asian set alone.
    case Keyword::FontSize:
        characters.set(Script::Latin).halfPoints = halfPoints;
        characters.set(Script::Asian).halfPoints = halfPoints;
        return true;
    case Keyword::AssociatedFontSize:
        characters.set(hinted).halfPoints = halfPoints;
        return true;
    case Keyword::Bold:
        characters.set(Script::Latin).bold = on;
        characters.set(Script::Asian).bold = on;
        return true;
    case Keyword::AssociatedBold:
        characters.set(hinted).bold = on;
        return true;
    case Keyword::Italic:
        characters.set(Script::Latin).italic = on;
        characters.set(Script::Asian).italic = on;
        return true;
    case Keyword::AssociatedItalic:
        characters.set(hinted).italic = on;
        return true;
    case Keyword::LowAnsi:
    case Keyword::LeftToRight:
        characters.hint = Script::Latin;
        return true;
    case Keyword::HighAnsi:
        characters.hint = Script::High;
        return true;
    case Keyword::DoubleByte:
        characters.hint = Script::Asian;
        return true;
    case Keyword::RightToLeft:
        characters.hint = Script::Complex;
        return true;
    case Keyword::Color:
        characters.color = clampInt(p, 0, maximumColors);
        return true;
    case Keyword::Underline:
        characters.underline = on;
        return true;
    case Keyword::UnderlineNone:
        characters.underline = 0;
        return true;
    case Keyword::StrikeOut:
        characters.strikeOut = on;
        return true;
    case Keyword::Plain:
        characters = plainCharacters;
        return true;
    default:
        return false;
    }
}

// \s N in the text: the style's properties, and those of the styles it is based on.
void Reader::applyStyle(int number, CharacterState& characters) const {
    std::array<const StyleEntry*, maximumStyleChain> chain{};
    std::size_t length = 0;
    for (int current = number; current != notGiven && length < chain.size();) {
        const auto found = styles.find(current);
        if (found == styles.end())
            break;
        chain[length++] = &found->second;
        current = found->second.basedOn;
    }
    while (length > 0)
        overlay(characters, chain[--length]->characters);
}

void Reader::setAlignment(RichTextAlignment alignment) {
    state().alignment = alignment;
    model.paragraphs.back().alignment = alignment;
}

RichTextModel Reader::run() {
    model.paragraphs.emplace_back();
    groups.push_back(GroupState()); // sentinel below the document's group
    while (position < input.size() && input[position] != '{')
        ++position;
    ++position;
    groups.push_back(GroupState());

    while (position < input.size() && runCount <= largestRunCount) {
        const char c = input[position];
        if (c == '{') {
            ++position;
            openGroup();
            continue;
        }
        if (c == '}') {
            ++position;
            if (!closeGroup())
                break;
            continue;
        }
        if (c == '\\') {
            controlAt();
            continue;
        }
        ++position;
        if (c == '\r' || c == '\n')
            continue;
        const uchar byte = uchar(c);
        const Destination destination = state().destination;
        if (destination == Destination::Skip)
            continue;
        // A raw lead byte takes its trail byte with it, even a backslash or a brace.
        int length = 1;
        if (byte >= 0x81 && !pendingLeadOpen && position < input.size() &&
            isLeadByte(pendingBytes.isEmpty() ? currentCodePage() : pendingCodePage, byte) &&
            isTrailByte(uchar(input[position])))
            length = 2;
        if (unicodeSkipLeft > 0) {
            unicodeSkipLeft = std::max(0, unicodeSkipLeft - length);
            position += length - 1;
            continue;
        }
        if (destination == Destination::FontTable && c == ';') {
            finishFontEntry();
            continue;
        }
        if (destination == Destination::ColorTable) {
            if (c == ';')
                finishColorEntry();
            continue;
        }
        textByte(byte);
        if (length == 2)
            textByte(uchar(input[position++]));
    }
    flushBytes();
    finishFontEntry();

    model.normalize();
    for (RichTextParagraph& paragraph : model.paragraphs)
        for (RichTextRun& run : paragraph.runs)
            run.text = replaceLoneSurrogates(run.text);
    return model;
}

} // namespace

bool isAsianCharacter(char32_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x2FDF) ||
           (c >= 0x2FF0 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xA960 && c <= 0xA97F) || (c >= 0xAC00 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE10 && c <= 0xFE1F) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool looksLikeRtf(const QByteArray& data) {
    qsizetype i = 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

std::optional<RichTextModel> read(const QByteArray& data) {
    // A byte-order mark, which some editors put before any text they save, is no markup.
    const QByteArray body = data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
    if (!looksLikeRtf(body))
        return std::nullopt;
    Reader reader(body);
    return reader.run();
}

} // namespace Rtf

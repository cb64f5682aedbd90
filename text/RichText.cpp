// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rich text store: byte positions over a QTextDocument, character attributes, one-level
// undo, loading and saving.
#include "RichText.h"
#include "Limits.h"

#include "ChineseConversion.h"
#include "DrawingSurface.h"
#include "FileAccess.h"
#include "Gbk.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "TarvelError.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cerrno>
#include <cmath>

namespace {

constexpr int minimumPoints = 1;
constexpr int maximumPoints = limits::textPoints;
// A calligraphy text is tens or hundreds of lines. Far larger documents are refused before
// they reach the editor: Qt's document layout never finishes once a document is some
// millions of lines tall, and the RTF reader holds a few dozen bytes per byte it reads.
constexpr qint64 largestFile = 4 * 1024 * 1024;
constexpr int largestLineCount = 10000;
// Qt's document layout spins for minutes once a document is some eight million pixels tall
// (4,000 lines at 1638 points); the sum of each line's largest size is kept to a quarter of that.
constexpr qint64 largestTotalPoints = 2000000;
// Every run of its own attributes becomes a fragment of the document, at a cost of several
// hundred bytes and a format lookup each: a few megabytes of alternating runs would take a
// gigabyte and most of a minute. The RTF reader stops one run past the same count.
constexpr std::size_t largestRunCount = Rtf::largestRunCount;
// Qt lays a paragraph out whole; a line of millions of characters takes seconds and hundreds of
// megabytes before anything is shown.
constexpr qint64 largestCharacterCount = 500000;
constexpr char16_t paragraphSeparator = 0x2029;
constexpr char16_t lineSeparator = 0x2028;

QString normalizeBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

RichText::Alignment alignmentOf(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return RichText::Alignment::Center;
    if (horizontal & Qt::AlignRight)
        return RichText::Alignment::Right;
    return RichText::Alignment::Left;
}

Qt::Alignment qtAlignment(RichText::Alignment alignment) {
    switch (alignment) {
    case RichText::Alignment::Center:
        return Qt::AlignHCenter;
    case RichText::Alignment::Right:
        return Qt::AlignRight;
    case RichText::Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// The editor's own first line, then what went wrong with which file.
[[noreturn]] void failTooTall(qint64 totalPoints) {
    throw TarvelError(QCoreApplication::translate(
                          "Text", "文本太高：各行最大字号之和最多 %1 磅，这段文本有 %2 磅。")
                          .arg(largestTotalPoints)
                          .arg(totalPoints));
}

[[noreturn]] void failTooManyLines(qint64 lineCount) {
    throw TarvelError(
        QCoreApplication::translate("Text", "文本太长：最多 %1 行，这段文本有 %2 行。")
            .arg(largestLineCount)
            .arg(lineCount));
}

[[noreturn]] void failTooManyCharacters(qint64 characterCount) {
    throw TarvelError(
        QCoreApplication::translate("Text", "文本太长：最多 %1 个字符，这段文本有 %2 个。")
            .arg(largestCharacterCount)
            .arg(characterCount));
}

// Refuses a size change that could make the document too tall to lay out: every line in
// [from, to] is counted at the new size where that is larger than its own tallest character.
// New lines, when given, are counted at the new size too.
void checkHeightWithSize(const QTextDocument& doc, int from, int to, int points,
                         qint64 newLines = 0) {
    const double fallback = doc.defaultFont().pointSizeF();
    qint64 totalPoints = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        double tallest = block.charFormat().fontPointSize();
        for (auto it = block.begin(); !it.atEnd(); ++it)
            tallest = std::max(tallest, it.fragment().charFormat().fontPointSize());
        if (tallest <= 0)
            tallest = fallback;
        if (block.position() <= to && block.position() + block.length() > from)
            tallest = std::max(tallest, double(points));
        totalPoints += qint64(std::ceil(tallest));
    }
    totalPoints += newLines * points;
    if (totalPoints > largestTotalPoints)
        failTooTall(totalPoints);
}

[[noreturn]] void failLoad(const QString& path, const QString& reason) {
    throw TarvelError(
        QCoreApplication::translate("Text", "Failed to Load Stream\n无法打开文本%1：%2。")
            .arg(files::quoted(path), reason));
}
[[noreturn]] void failSave(const QString& path, int error) {
    throw TarvelError(
        QCoreApplication::translate("Text", "Failed to Save Stream\n无法保存文本%1：%2。")
            .arg(files::quoted(path), files::saveProblem(path, error)));
}

// A file that is not RTF: UTF-8 when it is valid UTF-8, otherwise GBK; bytes that are
// neither (or a NUL, which no text file holds) fail.
QString plainTextOf(const QByteArray& data, const QString& path) {
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        failLoad(path, QCoreApplication::translate(
                           "Text", "这是 UTF-16 编码的文本，只能读取 UTF-8 或 GBK 编码的文本"));
    if (data.contains('\0'))
        failLoad(path,
                 QCoreApplication::translate("Text", "文件中有空字符（U+0000），不是文本文件"));
    QByteArrayView bytes(data);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    text = gbk.decode(bytes);
    if (gbk.hasError())
        failLoad(path, QCoreApplication::translate("Text", "文本既不是 UTF-8 也不是 GBK 编码"));
    return text;
}

} // namespace

RichText::RichText(QObject* parent) : QObject(parent), selection(&doc) {
    QFont font = doc.defaultFont();
    font.setPointSize(10);
    doc.setDefaultFont(font);
    doc.setUndoRedoEnabled(true);
    // The document reports where its characters changed only once it has a layout.
    doc.documentLayout();
    connect(&doc, &QTextDocument::contentsChange, this, &RichText::contentsChange);
    connect(&doc, &QTextDocument::contentsChanged, this, &RichText::changed);
}

RichText::~RichText() = default;

QTextDocument* RichText::document() {
    return &doc;
}
const QTextDocument* RichText::document() const {
    return &doc;
}

bool RichText::isChineseFace(const QString& face) {
    for (const QChar c : face)
        if (c.unicode() >= 0x2E80)
            return true;
    static const QStringList knownFaces = {QStringLiteral("SimSun"),
                                           QStringLiteral("NSimSun"),
                                           QStringLiteral("SimHei"),
                                           QStringLiteral("KaiTi"),
                                           QStringLiteral("KaiTi_GB2312"),
                                           QStringLiteral("FangSong"),
                                           QStringLiteral("FangSong_GB2312"),
                                           QStringLiteral("Microsoft YaHei"),
                                           QStringLiteral("DengXian"),
                                           QStringLiteral("STSong"),
                                           QStringLiteral("STKaiti"),
                                           QStringLiteral("STHeiti"),
                                           QStringLiteral("STFangsong"),
                                           QStringLiteral("LiSu"),
                                           QStringLiteral("YouYuan"),
                                           QStringLiteral("AR PL UMing CN"),
                                           QStringLiteral("AR PL UKai CN"),
                                           QStringLiteral("WenQuanYi Zen Hei"),
                                           QStringLiteral("WenQuanYi Micro Hei"),
                                           QStringLiteral("Noto Sans CJK SC"),
                                           QStringLiteral("Noto Serif CJK SC")};
    return knownFaces.contains(face, Qt::CaseInsensitive);
}

QTextCharFormat RichText::charFormat(const Attributes& attributes) {
    QTextCharFormat format;
    if (!attributes.Name.isEmpty()) {
        format.setFontFamilies(QStringList{attributes.Name});
    }
    format.setFontPointSize(std::clamp(attributes.Size, minimumPoints, maximumPoints));
    if (attributes.Color == clWindowText)
        format.setForeground(QBrush()); // the automatic colour
    else
        format.setForeground(toQColor(attributes.Color));
    format.setProperty(CharsetProperty, std::clamp(attributes.Charset, 0, 255));
    format.setProperty(PitchProperty, int(attributes.pitch));
    format.setFontWeight(attributes.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(attributes.Italic);
    format.setFontUnderline(attributes.Underline);
    format.setFontStrikeOut(attributes.StrikeOut);
    return format;
}

RichText::Attributes RichText::attributesOf(const QTextCharFormat& format) const {
    const QFont base = doc.defaultFont();
    Attributes attributes;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty())
        attributes.Name = families.first();
    else if (format.hasProperty(QTextFormat::FontFamily))
        attributes.Name = format.stringProperty(QTextFormat::FontFamily);
    else
        attributes.Name = base.family();
    const double points =
        format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : base.pointSizeF();
    // Sizes are kept in twentieths of a point and read back in whole points, truncated.
    attributes.Size = int(std::lround(points * 20.0) / 20);
    const QBrush foreground = format.foreground();
    attributes.Color =
        format.hasProperty(QTextFormat::ForegroundBrush) && foreground.style() != Qt::NoBrush
            ? fromQColor(foreground.color())
            : clWindowText;
    attributes.Charset = format.hasProperty(CharsetProperty) ? format.intProperty(CharsetProperty)
                         : isChineseFace(attributes.Name)    ? 134
                                                             : 1;
    attributes.pitch = Pitch(std::clamp(format.intProperty(PitchProperty), 0, 2));
    attributes.Bold = format.hasProperty(QTextFormat::FontWeight)
                          ? format.fontWeight() >= QFont::DemiBold
                          : base.bold();
    attributes.Italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    attributes.Underline = format.hasProperty(QTextFormat::TextUnderlineStyle) ||
                                   format.hasProperty(QTextFormat::FontUnderline)
                               ? format.fontUnderline()
                               : base.underline();
    attributes.StrikeOut =
        format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut() : base.strikeOut();
    return attributes;
}

// ---- the byte view ----

void RichText::contentsChange(int position, int removed, int added) {
    linesValid = false;
    if (!undoing)
        lastEditWasUndo = false;
    if (!mapValid)
        return;
    // A format change reports the same number removed and added: the byte map survives
    // unless the characters themselves differ.
    if (removed != added || position < 0 || position + added > rawText.size()) {
        mapValid = false;
        return;
    }
    for (int i = position; i < position + added; ++i) {
        if (doc.characterAt(i) != rawText.at(i)) {
            mapValid = false;
            return;
        }
    }
}

void RichText::ensureMapped() const {
    if (mapValid)
        return;
    rawText = doc.toRawText();
    const int characters = doc.characterCount() - 1; // without the final block's end
    if (rawText.size() > characters)
        rawText.truncate(characters);
    const qsizetype size = rawText.size();
    byteAtPosition.assign(std::size_t(size) + 1, 0);
    int bytes = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = rawText.at(i);
        byteAtPosition[std::size_t(i)] = bytes;
        if (c.unicode() == paragraphSeparator) {
            bytes += 2; // CR LF
        } else if (c.isHighSurrogate() && i + 1 < size && rawText.at(i + 1).isLowSurrogate()) {
            byteAtPosition[std::size_t(i) + 1] = bytes; // the pair is one two-byte character
            bytes += 2;
            ++i;
        } else {
            bytes += Gbk::codePointLength(c.unicode());
        }
    }
    byteAtPosition[std::size_t(size)] = bytes;
    mapValid = true;
}

void RichText::ensureLines() const {
    ensureMapped();
    if (linesValid)
        return;
    lines.clear();
    if (wrap)
        doc.documentLayout()->documentSize(); // lays the whole document out
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = wrap ? block.layout() : nullptr;
        if (layout && layout->lineCount() > 1) {
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                lines.push_back(Line{block.position() + line.textStart(), line.textLength(),
                                     i + 1 == layout->lineCount()});
            }
        } else {
            lines.push_back(Line{block.position(), block.length() - 1, true});
        }
    }
    linesValid = true;
}

int RichText::bytePosition(int position) const {
    ensureMapped();
    position = std::clamp(position, 0, int(rawText.size()));
    return byteAtPosition[std::size_t(position)];
}

int RichText::documentPosition(int bytePosition) const {
    ensureMapped();
    bytePosition = std::clamp(bytePosition, 0, byteAtPosition.back());
    const auto after = std::upper_bound(byteAtPosition.begin(), byteAtPosition.end(), bytePosition);
    int position = int(after - byteAtPosition.begin()) - 1;
    if (position > 0 && rawText.size() > position && rawText.at(position).isLowSurrogate() &&
        rawText.at(position - 1).isHighSurrogate())
        --position;
    return position;
}

int RichText::textLength() const {
    ensureMapped();
    return byteAtPosition.back();
}

int RichText::lineCount() const {
    ensureLines();
    int count = int(lines.size());
    if (count > 0 && lines.back().documentLength == 0)
        --count;
    return count;
}

QByteArray RichText::lineText(int line) const {
    ensureLines();
    if (line < 0 || line >= int(lines.size()))
        return {};
    const Line& l = lines[std::size_t(line)];
    return Gbk::encode(rawText.mid(l.documentStart, l.documentLength));
}

QString RichText::lineString(int line) const {
    ensureLines();
    if (line < 0 || line >= int(lines.size()))
        return {};
    const Line& l = lines[std::size_t(line)];
    return rawText.mid(l.documentStart, l.documentLength);
}

int RichText::lineStart(int line) const {
    ensureLines();
    if (line < 0)
        return 0;
    if (line >= int(lines.size()))
        return textLength();
    return bytePosition(lines[std::size_t(line)].documentStart);
}

// ---- selection ----

void RichText::setCursor(const QTextCursor& cursor) {
    if (cursor.document() != &doc)
        return;
    selection = cursor;
}

void RichText::setSelStart(int position) {
    selection.setPosition(documentPosition(position));
    emit selectionChanged();
}

int RichText::selStart() const {
    return bytePosition(selection.selectionStart());
}

void RichText::setSelLength(int length) {
    const int start = selection.selectionStart();
    const qint64 end = qint64(bytePosition(start)) + std::max(length, 0);
    const int endPosition =
        std::max(start, documentPosition(int(std::min<qint64>(end, textLength()))));
    selection.setPosition(start);
    selection.setPosition(endPosition, QTextCursor::KeepAnchor);
    emit selectionChanged();
}

int RichText::selLength() const {
    return bytePosition(selection.selectionEnd()) - bytePosition(selection.selectionStart());
}

QString RichText::selString() const {
    ensureMapped();
    const int start = std::clamp(selection.selectionStart(), 0, int(rawText.size()));
    const int end = std::clamp(selection.selectionEnd(), start, int(rawText.size()));
    QString text = rawText.mid(start, end - start);
    text.replace(QChar(paragraphSeparator), QStringLiteral("\r\n"));
    return text;
}

QByteArray RichText::selText() const {
    return Gbk::encode(selString());
}

QTextCharFormat RichText::formatAtCharacter(int position) const {
    const QTextBlock block = doc.findBlock(position);
    if (!block.isValid() || block.length() <= 1)
        return block.isValid() ? block.charFormat() : QTextCharFormat();
    QTextCursor reader(const_cast<QTextDocument*>(&doc));
    const bool isBreak = position >= block.position() + block.length() - 1;
    // A cursor reports the format of the character before it (at a block's start, of the
    // character after it).
    reader.setPosition(isBreak ? position : position + 1);
    return reader.charFormat();
}

RichText::Attributes RichText::selAttributes() const {
    if (!selection.hasSelection())
        return attributesOf(selection.charFormat());
    return attributesOf(formatAtCharacter(selection.selectionStart()));
}

RichText::SharedFont RichText::selSharedFont() const {
    const Attributes first = selAttributes();
    SharedFont shared{first.Name, first.Size};
    if (!selection.hasSelection())
        return shared;
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    for (QTextBlock block = doc.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.position() + fragment.length() <= start ||
                fragment.position() >= end)
                continue;
            const Attributes attributes = attributesOf(fragment.charFormat());
            if (attributes.Name != shared.Name)
                shared.Name.clear();
            if (attributes.Size != shared.Size)
                shared.Size = 0;
            if (shared.Name.isEmpty() && shared.Size == 0)
                return shared;
        }
    }
    return shared;
}

int RichText::selPixelHeight() const {
    return pixelHeightOf(selAttributes().Size);
}

int RichText::pixelHeightOf(int points) {
    return int(std::lround(double(points) * screenPixelsPerInch() / 72.0));
}

// ---- reading without selecting ----

RichText::Reader::Reader(const RichText& text) : text(text), pixelsPerInch(screenPixelsPerInch()) {
    text.ensureMapped();
    for (QTextBlock block = text.doc.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int format = fragment.charFormatIndex();
            fragmentStart.push_back(fragment.position());
            fragmentFormat.push_back(format);
            if (!attributesOfFormat.count(format))
                attributesOfFormat.emplace(format, text.attributesOf(fragment.charFormat()));
        }
    }
}

// The attributes formatAtCharacter gives for a character: its fragment's format, or for a line
// break that of the character before it; an empty line has its block's format.
const RichText::Attributes& RichText::Reader::attributesAt(int position) {
    const QTextBlock block = text.doc.findBlock(position);
    const bool isBreak = block.isValid() && position >= block.position() + block.length() - 1;
    const int character = isBreak ? position - 1 : position;
    const auto after = std::upper_bound(fragmentStart.begin(), fragmentStart.end(), character);
    if (!block.isValid() || block.length() <= 1 || after == fragmentStart.begin()) {
        scratch = text.attributesOf(text.formatAtCharacter(position));
        return scratch;
    }
    const int format = fragmentFormat[std::size_t(after - fragmentStart.begin()) - 1];
    return attributesOfFormat.at(format);
}

RichText::Character RichText::Reader::select(int bytePosition, int length) {
    // The positions setSelStart and setSelLength would give the selection.
    const int start = text.documentPosition(bytePosition);
    const qint64 end = qint64(text.bytePosition(start)) + std::max(length, 0);
    const int endPosition =
        std::max(start, text.documentPosition(int(std::min<qint64>(end, text.textLength()))));

    Character c;
    c.length = text.bytePosition(endPosition) - text.bytePosition(start);
    c.string = text.rawText.mid(start, endPosition - start);
    c.string.replace(QChar(paragraphSeparator), QStringLiteral("\r\n"));
    if (endPosition > start) {
        c.attributes = attributesAt(start);
    } else {
        // An empty selection reads the format a cursor standing there would type with.
        QTextCursor cursor(const_cast<QTextDocument*>(&text.doc));
        cursor.setPosition(start);
        c.attributes = text.attributesOf(cursor.charFormat());
    }
    c.pixelHeight = int(std::lround(double(c.attributes.Size) * pixelsPerInch / 72.0));
    return c;
}

RichText::Alignment RichText::paragraphAlignment() const {
    return alignmentOf(doc.findBlock(selection.selectionStart()).blockFormat().alignment());
}

void RichText::mergeSelection(const QTextCharFormat& format) {
    selection.mergeCharFormat(format); // an empty selection keeps it for the text typed next
    if (!selection.hasSelection())
        emit selectionChanged();
}

void RichText::setSelName(const QString& face) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{face});
    format.setProperty(CharsetProperty, isChineseFace(face) ? 134 : 1);
    mergeSelection(format);
}

void RichText::setSelSize(int points) {
    checkHeightWithSize(doc, selection.selectionStart(), selection.selectionEnd(),
                        std::clamp(points, minimumPoints, maximumPoints));
    QTextCharFormat format;
    format.setFontPointSize(std::clamp(points, minimumPoints, maximumPoints));
    mergeSelection(format);
}

void RichText::setSelColor(TColor color) {
    QTextCharFormat format;
    if (color == clWindowText)
        format.setForeground(QBrush());
    else
        format.setForeground(toQColor(color));
    mergeSelection(format);
}

void RichText::setSelStyle(bool bold, bool italic, bool underline, bool strikeOut) {
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    format.setFontStrikeOut(strikeOut);
    mergeSelection(format);
}

void RichText::setSelAttributes(const Attributes& attributes) {
    checkHeightWithSize(doc, selection.selectionStart(), selection.selectionEnd(),
                        std::clamp(attributes.Size, minimumPoints, maximumPoints));
    mergeSelection(charFormat(attributes));
}

void RichText::setParagraphAlignment(Alignment alignment) {
    QTextBlockFormat format;
    format.setAlignment(qtAlignment(alignment));
    selection.mergeBlockFormat(format);
}

// ---- editing ----

void RichText::undo() {
    // One level, as the user knows it: the second undo takes the first back.
    undoing = true;
    if (lastEditWasUndo) {
        if (doc.isRedoAvailable())
            doc.redo(&selection);
        lastEditWasUndo = false;
    } else {
        if (doc.isUndoAvailable())
            doc.undo(&selection);
        lastEditWasUndo = true;
    }
    undoing = false;
    emit selectionChanged();
}

void RichText::clear() {
    selection.select(QTextCursor::Document);
    selection.removeSelectedText();
    emit selectionChanged();
}

void RichText::selectAll() {
    selection.select(QTextCursor::Document);
    emit selectionChanged();
}

void RichText::checkInsertion(const QString& inserted) const {
    const QString text = normalizeBreaks(inserted);
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    const qint64 addedLines = text.count(QLatin1Char('\n')) +
                              text.count(QChar(paragraphSeparator)) +
                              text.count(QChar(lineSeparator));
    const qint64 removedLines = doc.findBlock(to).blockNumber() - doc.findBlock(from).blockNumber();
    const qint64 lines = doc.blockCount() - removedLines + addedLines;
    if (addedLines > 0 && lines > largestLineCount)
        failTooManyLines(lines);
    // Characters without the line breaks between them, as a file's text is counted.
    const qint64 characters = qint64(doc.characterCount()) - doc.blockCount() -
                              (to - from - removedLines) + text.size() - addedLines;
    if (!text.isEmpty() && characters > largestCharacterCount)
        failTooManyCharacters(characters);
    if (addedLines > 0) {
        const int typing =
            std::clamp(attributesOf(selection.charFormat()).Size, minimumPoints, maximumPoints);
        checkHeightWithSize(doc, from, to, typing, addedLines);
    }
}

void RichText::insertText(const QString& text) {
    checkInsertion(text);
    selection.beginEditBlock();
    selection.insertText(normalizeBreaks(text));
    selection.endEditBlock();
    emit selectionChanged();
}

void RichText::insertHtml(const QString& html) {
    QTextDocument pasted;
    pasted.setHtml(html);
    checkInsertion(pasted.toPlainText());
    const Attributes typing = attributesOf(selection.charFormat());
    const auto attributesOfPasted = [&](const QTextCharFormat& format) {
        Attributes a = typing;
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty()) {
            a.Name = families.first();
            a.Charset = isChineseFace(a.Name) ? 134 : 1;
        }
        if (format.hasProperty(QTextFormat::FontPointSize))
            a.Size = int(std::lround(format.fontPointSize()));
        else if (format.hasProperty(QTextFormat::FontPixelSize))
            a.Size = int(std::lround(format.intProperty(QTextFormat::FontPixelSize) * 72.0 /
                                     screenPixelsPerInch()));
        if (format.hasProperty(QTextFormat::ForegroundBrush) &&
            format.foreground().style() != Qt::NoBrush)
            a.Color = fromQColor(format.foreground().color());
        if (format.hasProperty(QTextFormat::FontWeight))
            a.Bold = format.fontWeight() >= QFont::DemiBold;
        if (format.hasProperty(QTextFormat::FontItalic))
            a.Italic = format.fontItalic();
        if (format.hasProperty(QTextFormat::FontUnderline) ||
            format.hasProperty(QTextFormat::TextUnderlineStyle))
            a.Underline = format.fontUnderline();
        if (format.hasProperty(QTextFormat::FontStrikeOut))
            a.StrikeOut = format.fontStrikeOut();
        return a;
    };
    selection.beginEditBlock();
    selection.removeSelectedText();
    for (QTextBlock block = pasted.begin(); block.isValid(); block = block.next()) {
        if (block != pasted.begin())
            selection.insertBlock(QTextBlockFormat(),
                                  charFormat(attributesOfPasted(block.charFormat())));
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            // A line break inside a paragraph (<br>) becomes a paragraph break, the only line
            // break the layout knows.
            const QTextCharFormat format = charFormat(attributesOfPasted(fragment.charFormat()));
            const QStringList parts = fragment.text().split(QChar(lineSeparator));
            for (qsizetype i = 0; i < parts.size(); ++i) {
                if (i > 0)
                    selection.insertBlock(QTextBlockFormat(), format);
                selection.insertText(parts[i], format);
            }
        }
    }
    selection.endEditBlock();
    emit selectionChanged();
}

QString RichText::text() const {
    ensureMapped();
    QString text = rawText;
    text.replace(QChar(paragraphSeparator), QLatin1Char('\n'));
    return text;
}

void RichText::setText(const QString& plain) {
    RichTextModel model;
    const QStringList paragraphs = normalizeBreaks(plain).split(QLatin1Char('\n'));
    const Attributes attributes = defaultAttributes();
    for (const QString& paragraph : paragraphs)
        model.paragraphs.push_back(RichTextParagraph{Alignment::Left, {{paragraph, attributes}}});
    replaceContent(model);
}

void RichText::convertText(const ChineseConverter& converter) {
    // Every paragraph is converted before anything changes, so that a failure changes nothing.
    // A paragraph with changes is then written again from its first change to its last in runs
    // of one format, read from its fragments in one pass: a cursor per character would lay
    // its line out again for every character read and split a fragment for every one written.
    struct Run {
        QString text;
        QTextCharFormat format;
    };
    struct Edit {
        int position = 0; // of the first character replaced
        int length = 0;   // of the stretch replaced
        std::vector<Run> runs;
    };
    std::vector<Edit> edits;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QString paragraph = block.text();
        const std::vector<ConvertedStretch> stretches = converter.changes(paragraph);
        if (stretches.empty())
            continue;
        // The fragment of every UTF-16 unit of the paragraph.
        std::vector<QTextCharFormat> fragmentFormats;
        std::vector<int> fragmentOf(std::size_t(paragraph.size()), 0);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int from = fragment.position() - block.position();
            std::fill(fragmentOf.begin() + std::clamp(from, 0, int(paragraph.size())),
                      fragmentOf.begin() +
                          std::clamp(from + fragment.length(), 0, int(paragraph.size())),
                      int(fragmentFormats.size()));
            fragmentFormats.push_back(fragment.charFormat());
        }
        if (fragmentFormats.empty())
            continue;
        // The stretches are written again in groups: an object between two of them (a pasted
        // picture) is left where it is.
        for (std::size_t g = 0; g < stretches.size();) {
            std::size_t h = g + 1;
            while (h < stretches.size() &&
                   !QStringView(paragraph)
                        .mid(stretches[h - 1].start + stretches[h - 1].length,
                             stretches[h].start - stretches[h - 1].start - stretches[h - 1].length)
                        .contains(QChar::ObjectReplacementCharacter))
                ++h;
            const qsizetype first = stretches[g].start;
            const qsizetype last = stretches[h - 1].start + stretches[h - 1].length;
            // The new units from the first change to the last, each with its fragment.
            QString text;
            std::vector<int> formatOf;
            qsizetype at = first;
            for (std::size_t k = g; k < h; ++k) {
                const ConvertedStretch& stretch = stretches[k];
                for (; at < stretch.start; ++at) {
                    text += paragraph[at];
                    formatOf.push_back(fragmentOf[std::size_t(at)]);
                }
                const QStringView from = QStringView(paragraph).mid(stretch.start, stretch.length);
                const QString& to = stretch.replacement;
                // One format per UTF-16 unit; both units of a pair take the same.
                for (qsizetype r = 0; r < to.size(); ++r)
                    formatOf.push_back(to[r].isLowSurrogate() && r > 0
                                           ? formatOf.back()
                                           : fragmentOf[std::size_t(
                                                 stretch.start + formatSourceOffset(from, to, r))]);
                text += to;
                at = stretch.start + stretch.length;
            }
            Edit edit{block.position() + int(first), int(last - first), {}};
            for (qsizetype u = 0; u < text.size();) {
                qsizetype end = u + 1;
                while (end < text.size() && formatOf[std::size_t(end)] == formatOf[std::size_t(u)])
                    ++end;
                edit.runs.push_back(
                    {text.mid(u, end - u), fragmentFormats[std::size_t(formatOf[std::size_t(u)])]});
                u = end;
            }
            edits.push_back(std::move(edit));
            g = h;
        }
    }
    if (edits.empty())
        return;
    QTextCursor editor(&doc);
    editor.beginEditBlock();
    // From the end, which keeps the earlier positions valid.
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
        editor.setPosition(it->position);
        editor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        editor.removeSelectedText();
        for (const Run& run : it->runs)
            editor.insertText(run.text, run.format);
    }
    editor.endEditBlock();
    emit selectionChanged();
}

// ---- whole-control settings ----

void RichText::setWordWrap(bool on, int widthPixels) {
    wrap = on;
    wrapWidthPixels = std::max(1, widthPixels);
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(on ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    doc.setDefaultTextOption(option);
    doc.setTextWidth(on ? wrapWidthPixels : -1);
    linesValid = false;
    emit appearanceChanged();
}

void RichText::setBackgroundColor(TColor color) {
    background = color;
    emit appearanceChanged();
}

RichText::Attributes RichText::defaultAttributes() const {
    Attributes attributes = attributesOf(QTextCharFormat());
    attributes.Color = defaultColor;
    return attributes;
}

void RichText::setDefaultFont(const QString& face, TColor color, int points) {
    checkHeightWithSize(doc, 0, doc.characterCount(),
                        std::clamp(points, minimumPoints, maximumPoints));
    QFont font = doc.defaultFont();
    font.setFamilies(QStringList{face});
    font.setPointSize(std::clamp(points, minimumPoints, maximumPoints));
    doc.setDefaultFont(font);
    defaultColor = color;

    QTextCharFormat format;
    format.setFontFamilies(QStringList{face});
    format.setFontPointSize(font.pointSize());
    format.setProperty(CharsetProperty, isChineseFace(face) ? 134 : 1);
    if (color == clWindowText)
        format.setForeground(QBrush());
    else
        format.setForeground(toQColor(color));
    QTextCursor all(&doc);
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    all.mergeBlockCharFormat(format);
    all.endEditBlock();
    selection.mergeCharFormat(format);
    linesValid = false;
    emit appearanceChanged();
}

// ---- the document model, files ----

std::vector<RichText::Run> RichText::runs() const {
    std::vector<Run> found;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                found.push_back(
                    {fragment.position(), fragment.text(), attributesOf(fragment.charFormat())});
        }
    return found;
}

RichTextModel RichText::toModel() const {
    RichTextModel model;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        model.paragraphs.push_back(
            RichTextParagraph{alignmentOf(block.blockFormat().alignment()), {}});
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const Attributes attributes = attributesOf(fragment.charFormat());
            const QString text = fragment.text();
            // A line separator (from pasted HTML) ends a paragraph in this program's model;
            // embedded objects have no text to keep.
            qsizetype from = 0;
            for (qsizetype i = 0; i <= text.size(); ++i) {
                if (i < text.size() && text.at(i).unicode() != lineSeparator)
                    continue;
                QString piece = text.mid(from, i - from);
                piece.remove(QChar::ObjectReplacementCharacter);
                model.paragraphs.back().runs.push_back(RichTextRun{piece, attributes});
                if (i < text.size())
                    model.paragraphs.push_back(
                        RichTextParagraph{model.paragraphs.back().alignment, {}});
                from = i + 1;
            }
        }
    }
    model.normalize();
    return model;
}

void RichText::replaceContent(const RichTextModel& model) {
    // A final line break ends the last line; it does not start one.
    std::size_t lineCount = model.paragraphs.size();
    if (lineCount > 1 &&
        std::all_of(model.paragraphs.back().runs.begin(), model.paragraphs.back().runs.end(),
                    [](const RichTextRun& run) { return run.text.isEmpty(); }))
        --lineCount;
    if (lineCount > std::size_t(largestLineCount))
        failTooManyLines(qint64(lineCount));
    std::size_t runCount = 0;
    qint64 characterCount = 0;
    for (const RichTextParagraph& paragraph : model.paragraphs) {
        runCount += paragraph.runs.size();
        for (const RichTextRun& run : paragraph.runs)
            characterCount += run.text.size();
    }
    if (characterCount > largestCharacterCount)
        failTooManyCharacters(characterCount);
    if (runCount > largestRunCount)
        throw TarvelError(
            QCoreApplication::translate("Text", "文本格式太碎：最多 %1 段不同格式的文字。")
                .arg(largestRunCount));
    const int defaultSize = defaultAttributes().Size;
    qint64 totalPoints = 0;
    for (const RichTextParagraph& paragraph : model.paragraphs) {
        int tallest = paragraph.runs.empty() ? defaultSize : 1;
        for (const RichTextRun& run : paragraph.runs)
            tallest = std::max(tallest, run.attributes.Size);
        totalPoints += tallest;
    }
    if (totalPoints > largestTotalPoints)
        failTooTall(totalPoints);
    doc.setUndoRedoEnabled(false);
    QTextCursor writer(&doc);
    writer.beginEditBlock();
    writer.select(QTextCursor::Document);
    writer.removeSelectedText();
    const QTextCharFormat defaults = charFormat(defaultAttributes());
    writer.setBlockCharFormat(defaults);
    bool first = true;
    for (const RichTextParagraph& paragraph : model.paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignment(paragraph.alignment));
        if (first)
            writer.setBlockFormat(blockFormat);
        else
            writer.insertBlock(blockFormat, paragraph.runs.empty()
                                                ? defaults
                                                : charFormat(paragraph.runs.front().attributes));
        first = false;
        for (const RichTextRun& run : paragraph.runs)
            writer.insertText(run.text, charFormat(run.attributes));
    }
    writer.endEditBlock();
    doc.setUndoRedoEnabled(true);
    lastEditWasUndo = false;
    mapValid = false;
    linesValid = false;
    selection = QTextCursor(&doc);
    emit selectionChanged();
}

void RichText::setModel(const RichTextModel& model) {
    replaceContent(model);
}

void RichText::loadFromFile(const QString& path) {
    const files::ReadResult file = files::readRegularFile(path, largestFile);
    if (file.problem == files::ReadProblem::NotRegular ||
        file.problem == files::ReadProblem::TooLarge)
        throw TarvelError(QCoreApplication::translate("Text", "无法打开文本%1：%2。")
                              .arg(files::quoted(path), files::problemText(file, largestFile)));
    if (file.problem != files::ReadProblem::None)
        failLoad(path, files::problemText(file, largestFile));
    const QByteArray& data = file.data;
    std::optional<RichTextModel> model = Rtf::read(data);
    if (!model) {
        RichTextModel plain;
        const QStringList paragraphs =
            normalizeBreaks(plainTextOf(data, path)).split(QLatin1Char('\n'));
        const Attributes attributes = defaultAttributes();
        for (const QString& paragraph : paragraphs)
            plain.paragraphs.push_back(
                RichTextParagraph{Alignment::Left, {{paragraph, attributes}}});
        plain.normalize();
        model = std::move(plain);
    }
    replaceContent(*model);
}

void RichText::saveToFile(const QString& path) {
    const QByteArray data = Rtf::write(toModel());
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        failSave(path, errno);
    files::keepPermissions(path, file.handle());
    if (file.write(data) != data.size()) {
        const int error = errno;
        file.cancelWriting();
        failSave(path, error);
    }
    if (!file.commit())
        failSave(path, errno);
}

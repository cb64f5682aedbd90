// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The rich text store behind the text dialog's editor and the seal's text box: a
// QTextDocument seen as lines of GBK bytes, with selections counted in byte positions (a
// two-byte character takes two positions, every line break two) and per-character face,
// size, colour, character set, pitch and style. No widget: RichEdit shows the same document.
#pragma once

#include "Colors.h"
#include "RichTextModel.h"

#include <QObject>
#include <QTextCursor>
#include <QTextDocument>
#include <unordered_map>
#include <vector>

class ChineseConverter;

class RichText : public QObject {
    Q_OBJECT
public:
    using Alignment = RichTextAlignment;
    using Pitch = RichTextPitch;
    using Attributes = RichTextAttributes;

    // Character format properties that Qt has no place for.
    static constexpr int CharsetProperty = QTextFormat::UserProperty + 1;
    static constexpr int PitchProperty = QTextFormat::UserProperty + 2;

    explicit RichText(QObject* parent = nullptr);
    ~RichText() override;

    QTextDocument* document();
    const QTextDocument* document() const;

    int lineCount() const;               // an empty last line is not counted; empty editor 0
    QByteArray lineText(int line) const; // GBK bytes without the line break
    QString lineString(int line) const;  // the real characters of those bytes (draw these)
    int lineStart(int line) const;       // byte position of the line's first character
    int textLength() const;              // byte positions in the whole text

    void setSelStart(int bytePosition); // empty selection at p (CR LF counts 2 positions)
    int selStart() const;
    void setSelLength(int length);    // fewer at the end of the text
    int selLength() const;            // what is really selected
    QByteArray selText() const;       // GBK bytes
    QString selString() const;        // the real characters (draw these)
    Attributes selAttributes() const; // of the selection's first character
    // The face and size every character of the selection has: an empty name, or a size of 0,
    // where the characters differ. An empty selection gives those of the text typed next.
    struct SharedFont {
        QString Name;
        int Size = 0;
    };
    SharedFont selSharedFont() const;
    int selPixelHeight() const;           // round(Size * screenPixelsPerInch() / 72)
    static int pixelHeightOf(int points); // the same for a size in points
    Alignment paragraphAlignment() const; // of the selection's first paragraph

    void setSelName(const QString& face); // empty selection: for the text typed next
    void setSelSize(int points);
    void setSelColor(TColor color);
    void setSelStyle(bool bold, bool italic, bool underline, bool strikeOut);
    void setSelAttributes(const Attributes& attributes);
    void setParagraphAlignment(Alignment alignment);

    void undo(); // one level: a second undo takes the first back
    void clear();
    void selectAll();
    void setText(const QString& plain); // replaces the content (scripts and tests)
    // Refuses (with the message a file past the same limit gets) text that would take the
    // document past the lines, characters or height the layout can take.
    void checkInsertion(const QString& text) const;
    void insertText(const QString& text); // at the selection, with the pending attributes
    // Pasted HTML at the selection, keeping only what a character's attributes can say: face,
    // size (pixel sizes turned into points), colour, bold, italic, underline, strike-out;
    // what the HTML leaves open comes from the pending attributes.
    void insertHtml(const QString& html);
    QString text() const; // paragraphs joined with '\n'
    // Simplified ↔ traditional over the whole text, paragraph by paragraph, as one step of
    // undo. Each character keeps its format; a phrase that converts to a different number of
    // characters spreads its characters' formats over the new ones in order.
    void convertText(const ChineseConverter& converter);

    void setWordWrap(bool on, int wrapWidthPixels); // when on, lines are display lines
    bool wordWrap() const { return wrap; }
    int wrapWidth() const { return wrapWidthPixels; }
    void setBackgroundColor(TColor color);
    TColor backgroundColor() const { return background; }
    void setDefaultFont(const QString& face, TColor color, int points);
    Attributes defaultAttributes() const;

    // RTF, else plain text (UTF-8 if valid, else GBK); throws TarvelError("Failed to Load
    // Stream") and keeps the content on failure.
    void loadFromFile(const QString& path);
    // Always RTF, through a temporary file renamed into place; throws
    // TarvelError("Failed to Save Stream") and leaves an existing file untouched on failure.
    void saveToFile(const QString& path);

    RichTextModel toModel() const;
    // The document's characters in runs of one format, in order: the document position of a
    // run's first character, its characters (no paragraph break) and their attributes.
    struct Run {
        int position = 0;
        QString text;
        Attributes attributes;
    };
    std::vector<Run> runs() const;
    void setModel(const RichTextModel& model); // replaces the content; clears the undo step

    // The selection as a cursor, for the widget that shows this document.
    QTextCursor cursor() const { return selection; }
    void setCursor(const QTextCursor& cursor);

    // What selecting some byte positions would select, read without moving the selection.
    struct Character {
        int length = 0;        // byte positions really selected, as selLength()
        QString string;        // as selString()
        Attributes attributes; // as selAttributes()
        int pixelHeight = 0;   // as selPixelHeight()
    };
    class Reader;

    static bool isChineseFace(const QString& face);
    static QTextCharFormat charFormat(const Attributes& attributes);

signals:
    void changed();           // after every change of the content
    void selectionChanged();  // the selection was set through this object
    void appearanceChanged(); // word wrap, background or default font

private:
    struct Line {
        int documentStart = 0;  // QTextDocument position of the first character
        int documentLength = 0; // characters without the break
        bool endsParagraph = true;
    };

    void contentsChange(int position, int removed, int added);
    void ensureMapped() const;
    void ensureLines() const;
    int bytePosition(int documentPosition) const;
    int documentPosition(int bytePosition) const; // a position inside a unit maps to its start
    Attributes attributesOf(const QTextCharFormat& format) const;
    QTextCharFormat formatAtCharacter(int documentPosition) const;
    void mergeSelection(const QTextCharFormat& format);
    void replaceContent(const RichTextModel& model);

    friend class Reader;

    QTextDocument doc;
    QTextCursor selection;
    bool wrap = false;
    int wrapWidthPixels = 0;
    TColor background = 0xFF000005; // the system window colour
    TColor defaultColor = clWindowText;
    bool lastEditWasUndo = false;
    bool undoing = false;

    // Byte view caches, rebuilt only when the characters change (not their formats).
    mutable bool mapValid = false;
    mutable bool linesValid = false;
    mutable QString rawText;                 // the document's characters, U+2029 between blocks
    mutable std::vector<int> byteAtPosition; // byte position of each document position, +1
    mutable std::vector<Line> lines;
};

// Reads the characters of a RichText one selection at a time, exactly as setSelStart and
// setSelLength followed by the selection's reads would, without moving the selection. Walks over
// the whole text use it: moving the cursor lays out the character's line every time, and an
// editor showing the document would follow every move. The reader takes the characters'
// formats when it is made; it is valid until the document next changes.
class RichText::Reader final {
public:
    explicit Reader(const RichText& text);

    Character select(int bytePosition, int length);

private:
    const Attributes& attributesAt(int documentPosition);

    const RichText& text;
    int pixelsPerInch = 96;
    // The document's fragments in order: where each starts and its character format index.
    std::vector<int> fragmentStart;
    std::vector<int> fragmentFormat;
    // The attributes of each character format index met, read once.
    std::unordered_map<int, Attributes> attributesOfFormat;
    Attributes scratch;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Measuring the text block of the text dialog: the walk over the editor's characters that the
// measuring and the layout share, the block's extent and the size check against the canvas.
#pragma once

#include "CanvasSettings.h"
#include "Gbk.h"
#include "RichText.h"
#include "TextSettings.h"

#include <QString>

namespace TextWalk {

// Puts one character of the editor into the selection, starting at position p: one position
// for a byte below 127, two (this byte and the next) for 127 or more. Returns the length asked
// for; the editor may select fewer at the end of the text.
int selectCharacter(RichText& text, int position, uchar firstByte);

// The position where line i + 1 starts, given the position just after the characters of line
// i. A line ended by a line break (CR LF) adds two. With word wrap on, a display line that the
// editor wrapped has no break after it: the next line starts at its true position, so every
// character is still read at its own position.
int nextLinePosition(const RichText& text, int line, int positionAfterLine);

// Walks every character of every line, in order: visitCharacter(line, requestedLength,
// character) sees what selecting the character in the editor selects, and endLine(line) runs
// after each line, also an empty one. The position advances by the length really selected, so
// a byte of 127 or more at a line's end takes the first position of the line break with it and
// every later line is read one position further on, exactly as the editor's positions fall.
// The characters are read without moving the editor's selection; at the end the selection is
// put on the last character, as selecting them one by one would leave it.
template <class VisitCharacter, class EndLine>
void walk(RichText& text, VisitCharacter&& visitCharacter, EndLine&& endLine) {
    RichText::Reader reader(text);
    const int lines = text.lineCount();
    int position = 0;
    int lastPosition = -1;
    uchar lastFirstByte = 0;
    for (int line = 0; line < lines; ++line) {
        const QByteArray bytes = text.lineText(line);
        for (qsizetype k = 0; k < bytes.size(); ++k) {
            const uchar firstByte = uchar(bytes[k]);
            const int requested = Gbk::charLength(firstByte);
            k += requested - 1;
            const RichText::Character character = reader.select(position, requested);
            visitCharacter(line, requested, character);
            lastPosition = position;
            lastFirstByte = firstByte;
            position += character.length;
        }
        position = nextLinePosition(text, line, position);
        endLine(line);
    }
    if (lastPosition >= 0)
        selectCharacter(text, lastPosition, lastFirstByte);
}

} // namespace TextWalk

// The advance the measuring counts for a character of pixel height H: half the height rounded
// up for a one-byte character, the full height for a two-byte one.
constexpr int estimatedAdvance(int pixelHeight, int requestedLength) {
    return requestedLength == 1 ? (pixelHeight + 1) / 2 : pixelHeight;
}

// The block's length along its lines and its depth across them, margins included, stored as
// the extent: exchanged for the vertical arrangements (after the margins were added).
void storeExtent(TextSettings& settings, int blockLength, int blockDepth);

// Estimates the block from the editor's content and the spacings, and sets RowPitch and the
// extent. Leaves the editor's selection on the last character measured.
void MeasureTextBlock(RichText& text, TextSettings& settings);

// The label of the size check: "文本尺寸为:W*H。", with the warning appended when the canvas is
// smaller than the extent in either direction (a block exactly as large fits), or the extent
// is negative.
QString textSizeReport(const TextSettings& settings, const TSetStruct& canvas);

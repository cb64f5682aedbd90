// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// How a character is set in a vertical column under the punctuation conventions of vertical
// typesetting: which marks move, turn, shrink or drop, and how half-width characters stand.
// The layout draws what this decides and the measuring adds up its advances, so the measured
// block is the block that is drawn.
#pragma once

#include "DrawingSurface.h"
#include "TextSettings.h"

#include <QString>
#include <QStringView>
#include <optional>

// The classes of marks the conventions treat differently.
enum class MarkClass {
    NotAMark, // a character, or a half-width mark (set as a half-width character)
    Corner,   // 。，、． : the top-right quarter of the cell in mainland columns
    Upright,  // ：；！？ : upright and centred
    Turned,   // brackets, quotes, the dash and the ellipsis: a quarter turn clockwise
    Other,    // any other full-width mark: set as a character
};

MarkClass markClassOf(QStringView character);

// True for every punctuation mark, full-width or half-width: the marks 无标点 drops.
bool isPunctuationMark(QStringView character);

// The character drawn for one of the editor: with Chinese digits, 0-9 become 〇一二三四五六七八九;
// anything else is drawn as it is.
QString shownCharacter(const QString& character, bool chineseDigits);

// One character set in a column. Coordinates are relative to the column: x from the left edge
// of its slot (RowPitch wide), y from the column's top. Wide enough for any spin box value.
struct ColumnCell {
    enum class Kind {
        Dropped, // not drawn, takes no room
        Plain,   // text out with the character's font
        Turned,  // drawn turned a quarter clockwise about the origin
        Small,   // a classical mark in a smaller font, taking no room
    };
    Kind kind = Kind::Plain;
    QString text; // what is drawn: the character, its vertical stand-in, or nothing (a blank)
    qint64 x = 0; // where text out puts the top-left of the cell (the turning point if turned)
    qint64 y = 0;
    int smallHeight = 0; // Small: the cell height of the smaller font
    qint64 advance = 0;  // along the column, CharSpacing included
    // The room the character takes in the column, for a classical mark that follows it.
    qint64 boxTop = 0;
    qint64 boxHeight = 0;

    bool operator==(const ColumnCell&) const = default;
};

// What precedes a character in its column: the last character drawn there, if any.
struct ColumnContext {
    qint64 rowPitch = 0; // the column's width
    qint64 along = 0;    // where the character's room starts
    qint64 charSpacing = 0;
    std::optional<ColumnCell> previous; // the last character that took room in this column
};

// Sets the character shown (after shownCharacter) in the mode given, the surface's font being
// the character's font, requested by the cell height pixelHeight. twoByte tells a full-width
// character (two bytes in the editor, or a digit written in Chinese) from a half-width one.
// vpOriginal is not handled here: the layout keeps its own walk for it.
ColumnCell setInColumn(DrawingSurface& surface, const QString& shown, bool twoByte, int pixelHeight,
                       VerticalPunctuation mode, const ColumnContext& context);

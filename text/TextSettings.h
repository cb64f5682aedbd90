// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text dialog's settings record: where and how the text block is laid on the canvas, with
// the measurements the last apply took. The editor itself holds the text and its fonts.
#pragma once

#include "Arrangement.h"

#include <QtGlobal>

// How punctuation is set in the two vertical arrangements; the horizontal ones draw every mark
// as it was typed. Any choice but the first also centres half-width characters across their
// column.
enum VerticalPunctuation : qint32 {
    vpOriginal = 0,  // 原样: every character as in a row
    vpVertical = 1,  // 竖排: 。，、． in the top-right quarter, brackets and dashes turned
    vpCentered = 2,  // 居中: the same, but 。，、 centred in their cell
    vpClassical = 3, // 句读: only 。，、, small at the right of the character before them
    vpNone = 4,      // 无标点: every mark dropped
    // 竖排 with brackets against the text they enclose: an opening bracket in the lower half of
    // its cell, a closing one in the upper half.
    vpVerticalSnug = 5,
};

// The modes' names in scripts, in the order of the enumeration.
inline constexpr const char* punctuationScriptNames[] = {"original",  "vertical", "centered",
                                                         "classical", "none",     "verticalSnug"};

// The modes' captions in the dialogs, in the same order.
inline constexpr const char* punctuationCaptions[] = {
    QT_TRANSLATE_NOOP("Punctuation", "原样"),   QT_TRANSLATE_NOOP("Punctuation", "竖排"),
    QT_TRANSLATE_NOOP("Punctuation", "居中"),   QT_TRANSLATE_NOOP("Punctuation", "句读"),
    QT_TRANSLATE_NOOP("Punctuation", "无标点"), QT_TRANSLATE_NOOP("Punctuation", "竖排，括号靠字")};

constexpr bool isVerticalPunctuation(qint32 value) {
    return value >= vpOriginal && value <= vpVerticalSnug;
}

// The columns of the arrangement 扇面: all long, or long and short in turn, the short ones
// centred on the long ones' length or starting level with their tops (齐头).
enum FanColumns : qint32 {
    fcLong = 0,
    fcLongShort = 1,
    fcLongShortLevel = 2,
};

// The column styles' names in scripts.
constexpr const char* fanColumnsScriptName(FanColumns columns) {
    return columns == fcLongShortLevel ? "longShortLevel"
           : columns == fcLongShort    ? "longShort"
                                       : "long";
}

struct TextSettings {
    // At program start every field is 0; the dialog resets the record when it is created.
    qint32 LeftMargin = 0; // from the left edge, or the right edge in right-to-left layouts
    qint32 TopMargin = 0;
    qint32 CharSpacing = 0; // extra space after every character along a line or column
    qint32 LineSpacing = 0; // extra space between lines or columns
    ::Arrangement Arrangement = arHorzLeftToRight;
    qint32 RowPitch = 0;    // tallest character height plus LineSpacing, taken by measuring
    qint32 ExtentWidth = 0; // the measured block on the canvas
    qint32 ExtentHeight = 0;
    bool Confirmed = false; // the user committed the settings (confirm, apply, size check)
    VerticalPunctuation Punctuation = vpOriginal;
    bool ChineseDigits = false; // 0-9 drawn as 〇一二三四五六七八九
    // A character drawn from a fallback face is thickened to the stems of its own face.
    bool MatchFallbackWeight = false;
    // The arrangement 扇面 (inside the last folding-fan ring stamped) instead of Arrangement,
    // its columns, and how far nudges have moved the block from its ring.
    bool FanLayout = false;
    FanColumns FanColumnStyle = fcLong;
    qint32 FanShiftX = 0;
    qint32 FanShiftY = 0;

    bool operator==(const TextSettings&) const = default;
};

// The defaults the cancel button goes back to. Only the record changes, never the controls.
inline void resetTextSettings(TextSettings& settings) {
    settings.LeftMargin = 50;
    settings.TopMargin = 50;
    settings.CharSpacing = 2;
    settings.LineSpacing = 5;
    settings.Arrangement = arHorzLeftToRight;
    settings.RowPitch = 0;
    settings.ExtentWidth = 0;
    settings.ExtentHeight = 0;
    settings.Confirmed = false;
    settings.Punctuation = vpOriginal;
    settings.ChineseDigits = false;
    settings.MatchFallbackWeight = false;
    settings.FanLayout = false;
    settings.FanColumnStyle = fcLong;
    settings.FanShiftX = 0;
    settings.FanShiftY = 0;
}

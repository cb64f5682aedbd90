// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The document model shared by the rich text store and the RTF reader and writer: paragraphs
// of runs, every run with its full character attributes.
#pragma once

#include "Colors.h"

#include <QString>
#include <vector>

enum class RichTextAlignment { Left, Center, Right };
enum class RichTextPitch { Default = 0, Fixed = 1, Variable = 2 };

struct RichTextAttributes {
    QString Name;
    int Size = 10;               // whole points
    TColor Color = clWindowText; // clWindowText: the automatic colour
    int Charset = 1;             // 1 DEFAULT_CHARSET, 134 GB2312
    RichTextPitch pitch = RichTextPitch::Default;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;

    bool operator==(const RichTextAttributes&) const = default;
};

struct RichTextRun {
    QString text; // no paragraph breaks; tabs allowed
    RichTextAttributes attributes;

    bool operator==(const RichTextRun&) const = default;
};

struct RichTextParagraph {
    RichTextAlignment alignment = RichTextAlignment::Left;
    std::vector<RichTextRun> runs;

    bool operator==(const RichTextParagraph&) const = default;
};

struct RichTextModel {
    std::vector<RichTextParagraph> paragraphs; // a document has at least one, maybe empty

    bool operator==(const RichTextModel&) const = default;

    // Drops empty runs and joins neighbours with equal attributes, so that two models of
    // the same text compare equal however their runs were cut.
    void normalize();
    QString plainText() const; // paragraphs joined with '\n'
};

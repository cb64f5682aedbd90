// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Reads RTF as common word processors write it into the rich text document model. Pure code:
// bytes in, model out, hardened against hostile input (no recursion, bounded tables and
// skips, every number clamped).
#pragma once

#include "RichTextModel.h"

#include <QByteArray>
#include <cstddef>
#include <optional>

namespace Rtf {

// True when the bytes start like an RTF document ("{\rtf", after optional white space).
bool looksLikeRtf(const QByteArray& data);

// True for the characters whose face and size come from a file's Asian (double-byte)
// character properties: CJK ideographs and punctuation, kana, hangul, full-width forms.
bool isAsianCharacter(char32_t c);

// Runs of their own attributes the reader makes at most: it stops one past, for the editor to
// refuse, rather than hold a few hundred bytes for every character of an alternating text.
constexpr std::size_t largestRunCount = 100000;

// The document, or nothing when the bytes are not RTF. Damaged RTF loads what it can.
std::optional<RichTextModel> read(const QByteArray& data);

} // namespace Rtf

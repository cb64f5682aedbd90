// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Which characters a face cannot draw: Qt draws them from a fallback face without a word, and
// a calligrapher who chose a brush face wants to know which characters came out in another.
#pragma once

#include "DrawingSurface.h"
#include "RichText.h"
#include "RotatedText.h"

#include <QList>
#include <QString>
#include <vector>

// The characters of one face that are drawn in a fallback face: the face as asked for, and
// the characters, each once, in the order they first occur.
struct FaceGap {
    QString face;
    QString characters;
    bool operator==(const FaceGap&) const = default;
};

// The characters of the text that the face of the request cannot draw. A face that is not
// installed (under its name or a substitute's) draws none of them. Spaces and control
// characters are never counted.
QString charactersMissingFrom(const DrawingSurface::Font& request, const QString& text);

// The gaps of every face of the editor's text block, in the order the faces first lack a
// character; empty when every character is drawn in its own face. Leaves the editor's
// selection on the last character, as the layout does.
QList<FaceGap> textBlockGaps(RichText& text);

// A stretch of the editor's document: a position and a length in the document's characters.
struct DocumentSpan {
    int position = 0;
    int length = 0;
    bool operator==(const DocumentSpan&) const = default;
};

// Where the editor's text has characters that their faces lack, neighbours joined in one
// stretch; read without moving the selection, for marking them while the text is edited.
std::vector<DocumentSpan> fallbackSpans(const RichText& text);

// The gap of a rotated line's face, or nothing.
QList<FaceGap> rotatedTextGaps(const TSetSector& settings);

// The warning a script run prints for a step: "警告：字体“F”中没有“C”，…，改用后备字体画出。"
QString fallbackWarning(const QList<FaceGap>& gaps);

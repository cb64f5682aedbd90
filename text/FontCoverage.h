// Which characters a face cannot draw: Qt draws them from a fallback face without a word, and
// a calligrapher who chose a brush face wants to know which characters came out in another.
#pragma once

#include "DrawingSurface.h"
#include "RichText.h"
#include "RotatedText.h"

#include <QList>
#include <QString>

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

// The gap of a rotated line's face, or nothing.
QList<FaceGap> rotatedTextGaps(const TSetSector& settings);

// The warning a script run prints for a step: "警告：字体“F”中没有“C”，…，改用后备字体画出。"
QString fallbackWarning(const QList<FaceGap>& gaps);

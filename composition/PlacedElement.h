// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// What a dialog hands the composition to be stamped at the next press on the canvas.
#pragma once

#include <QtGlobal>

class RichText;
struct TextSettings;

// The kind of the element that a nudge acts on.
enum ElementKind : qint32 {
    ekNone = 0,
    ekText = 1,
    ekRotatedText = 2,
    ekSeal = 3,
    ekCircle = 4,
    ekFan = 5,
};

struct Element;

// An element confirmed in its dialog and waiting for a press on the canvas: the rotated text,
// the seal, the circle or the fan. The dialog renders what it stamps before it arms, so a
// render that fails leaves nothing pending.
class PlacedElement {
public:
    virtual bool pending() const = 0;
    virtual void disarm() = 0;
    // What a press stamps now: the record the dialog last drew (or, for a line of turned
    // characters, the one it holds), as a value the step keeps.
    virtual Element element() const = 0;

protected:
    ~PlacedElement() = default;
};

// The text block: drawn at once when its dialog is confirmed, moved by its margins.
class TextBlock {
public:
    virtual RichText& richText() = 0;
    virtual TextSettings& textSettings() = 0;

protected:
    ~TextBlock() = default;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A step of a composition as a value: what a command stamps and where, with the settings
// records the dialogs fill. The composition applies steps, the history keeps them as the
// recipe of the work, and the work file writes and reads them; nothing here sees a widget.
#pragma once

#include "CanvasSettings.h"
#include "CircleGeometry.h"
#include "DrawingSurface.h"
#include "EffectKind.h"
#include "FanGeometry.h"
#include "FanRing.h"
#include "PlacedElement.h"
#include "RichTextModel.h"
#include "RotatedText.h"
#include "SealRenderer.h"
#include "TextSettings.h"
#include "WorkTemplate.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// What a placed element puts on the canvas: a keyed picture (or, for a smooth seal, a
// picture with an alpha channel in its place), and for a folding-fan ring where its centre
// lies from the picture's top-left corner.
struct RenderedElement {
    DrawingSurface picture;
    QImage smooth;
    std::optional<FanRing> ring;
};

// One element stamped at a press: its kind, the record it is drawn from, and where it lands.
// Only the record of its kind counts.
struct Element {
    ElementKind kind = ekNone;
    TSetSector rotated;
    TSetStamper seal;
    QStringList sealLines; // the seal's characters, one string per line
    CircleSettingsRecord circle;
    FanSettingsRecord fan;
    bool fanOnColor = false; // a leaf is keyed magenta on a colour canvas, else white
    // The dialog's picture was cleared after it was armed: the press lands nothing.
    bool blank = false;
    QPoint at;
    // The picture the dialog already drew from this record, so that a press need not draw it
    // again; empty for a line of turned characters and for steps read from a file.
    std::shared_ptr<const RenderedElement> rendered;

    // The record and the landing point, not the picture kept beside them.
    bool sameAs(const Element& other) const;
};

// The picture of an element (not of a line of turned characters, which is drawn straight
// onto the canvas). A seal is drawn, framed and turned exactly as its dialog previews it. A
// circle or fan is cut to what can land on a canvas whose larger side is canvasSide (never
// less than the largest canvas the window makes).
RenderedElement renderElement(const Element& element, int canvasSide = limits::canvasSide);
// The turned seal the seal dialog previews and a press stamps; the smooth one beside it when
// the seal has smooth edges.
RenderedElement renderSealStamp(const TSetStamper& settings, const QStringList& lines);

struct Step {
    enum class Kind { Canvas, Text, Stamp, Clear, Effect, Restore, Template };
    Kind kind = Kind::Clear;

    // Canvas: the settings and the background file's bytes when it uses one. A template
    // keeps the settings of the canvas it made here too.
    TSetStruct canvas;
    QByteArray picture;
    // Text: the block's settings and its text with every run's attributes.
    TextSettings text;
    std::shared_ptr<const RichTextModel> runs;
    // The editor's width its lines were wrapped at (自动换行), or none.
    std::optional<int> wrapWidth;
    // Stamp: every element stamped at one press, in the order they were stamped; a nudge
    // moves the last one.
    std::vector<Element> elements;
    // Effect.
    EffectKind effect = efNone;
    // Template: the work as its dialog or script step described it (its background picture's
    // bytes in picture).
    WorkTemplate work;

    // The step's name, as the undo button's tooltip shows it ("印章", "文本" …).
    QString name() const;
    // What the step holds, counted into the history's bound.
    qint64 bytes() const;
};

// How far from the canvas an element may be moved, in pixels either way: as far as a work file
// writes a point.
inline constexpr qint64 largestPoint = 1000000000;

// The element kinds a press stamps, in the order it stamps them, with their script commands.
struct ElementKindEntry {
    ElementKind kind;
    const char* command;
    const char* caption;
};
inline constexpr ElementKindEntry placedKinds[] = {
    {ekRotatedText, "rotated", QT_TRANSLATE_NOOP("Composition", "旋转字")},
    {ekSeal, "seal", QT_TRANSLATE_NOOP("Composition", "印章")},
    {ekCircle, "circle", QT_TRANSLATE_NOOP("Composition", "圆形")},
    {ekFan, "fan", QT_TRANSLATE_NOOP("Composition", "扇形")}};

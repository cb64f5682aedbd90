// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The steps of a composition, for undo and redo: each keeps what it changed, a rectangle of
// pixels before and after where a rectangle will do, the whole canvas where it will not. The
// history is bounded in steps and in bytes; the oldest steps are forgotten first.
#pragma once

#include "DrawingSurface.h"
#include "EffectKind.h"
#include "FanRing.h"
#include "Picture.h"
#include "PlacedElement.h"
#include "Step.h"

#include <QPoint>
#include <QRect>
#include <cstddef>
#include <optional>
#include <vector>

// The effect state: the picture every effect filters, whether it is taken, the effect shown.
struct EffectState {
    DrawingSurface base;
    bool taken = false;
    EffectKind current = efNone;
};

// What one side of a step brings back: the pixels of the step's rectangle, or the whole
// canvas (its size, whether it has a picture, and the effect state).
// A canvas that shows the effect base filtered by one effect (or the base itself, restored)
// is not kept at all: it is filtered again when the step is undone or redone.
struct HistoryFrame {
    QImage pixels;
    Picture picture;
    EffectState effects;
    bool filtered = false; // the canvas is effects.base filtered by effects.current
    // When not null, the canvas's bitmap is not kept in the picture: it is this 24-bit base
    // turned back into 32 bits, which gives every defined bit of it (32-bit pixels have no
    // alpha), at the resolution its bitmap had.
    QImage convertedBase;
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;
    // When set, the canvas's bitmap is not kept either: it is a bitmap of plainSize filled
    // with this colour, as a new canvas of that colour makes it, at the resolution above.
    std::optional<TColor> plainColor;
    QSize plainSize;
};

struct HistoryStep {
    enum class Kind { Stamp, Text, Clear, NewCanvas, Effect, Restore, Template };
    Kind kind = Kind::Stamp;
    // Whole-canvas steps keep the canvas on both sides; the others the rectangle they changed.
    bool whole = false;
    QRect area;
    HistoryFrame before;
    HistoryFrame after;
    // The element a nudge moves when this step is the last: the last one stamped at the press,
    // or the text block, and where it stands.
    ElementKind placed = ekNone;
    QPoint position;
    // A folding-fan ring this step stamped, or the ring a 扇面 text block follows, on the
    // canvas.
    std::optional<FanRing> ring;
    // The step as a value: what the work file writes and opening a work applies again.
    std::shared_ptr<Step> recipe;
    // The pixels of both sides were let go to keep the history within its bounds; the recipe
    // stays, so the work still saves whole, but undo stops before this step.
    bool pixelsForgotten = false;

    bool isPlacement() const { return placed != ekNone; }
    // Everything the step holds: its pixels and its recipe.
    qint64 bytes() const;
};

class History {
public:
    // The pixels of at most this many steps, holding at most this many bytes, are kept; the
    // recipe of every step since the canvas was made is kept up to recipeLimit steps.
    static constexpr std::size_t stepLimit = 200;
    static constexpr qint64 byteLimit = qint64(1) << 30;
    static constexpr std::size_t recipeLimit = 100000;

    bool canUndo() const { return done > 0 && !steps[done - 1].pixelsForgotten; }
    // No room for another step: the command must be refused before it changes anything.
    bool full() const { return done >= recipeLimit; }
    bool canRedo() const { return done < steps.size(); }
    std::size_t size() const { return steps.size(); }
    std::size_t doneCount() const { return done; }
    qint64 bytes() const;
    const HistoryStep& at(std::size_t index) const { return steps[index]; }

    // A new step after the done ones: the undone steps are dropped, then the pixels of the
    // oldest steps past the bounds.
    void push(HistoryStep step);
    // The last done step, which a nudge may replace.
    HistoryStep* last() { return done > 0 ? &steps[done - 1] : nullptr; }
    // The first undone step, which a nudge right after undo draws again.
    HistoryStep* next() { return canRedo() ? &steps[done] : nullptr; }
    // Moves over one step and returns it; nullptr when there is none.
    const HistoryStep* stepBack();
    const HistoryStep* stepForward();
    // Takes the step a nudge replaces out of the history, with every step after it: the last
    // done step, or the first undone one when the nudge target is that one. wasDone tells which.
    std::optional<HistoryStep> takeNudgeTarget(bool& wasDone);

    bool isClean() const { return clean && *clean == done; }
    void markClean() { clean = done; }
    void clear();
    // Lets go of the pixels of every step, keeping their recipes: a composition that is only
    // drawn, never undone (a work drawn again for print).
    void forgetPixels();
    // The recipe of the steps done, in order: what the work file holds.
    std::vector<std::shared_ptr<const Step>> recipe() const;

    // The element a nudge acts on: the step that placed it, or none.
    std::optional<std::size_t> nudgeTarget;

private:
    void dropAfterDone();
    void forgetOldest();
    static qint64 recipeBytesOf(const HistoryStep& step);
    std::vector<HistoryStep> steps;
    std::size_t done = 0;
    // The first step whose pixels are still kept.
    std::size_t firstKept = 0;
    // What the recipes of all the steps hold, kept as steps come and go.
    qint64 recipeBytes = 0;
    // The number of done steps when the work was saved; none when that state is gone.
    std::optional<std::size_t> clean = std::size_t(0);
};

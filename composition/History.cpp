// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "History.h"

#include <algorithm>

namespace {

qint64 frameBytes(const HistoryFrame& frame) {
    return frame.pixels.sizeInBytes() + frame.picture.picture().image().sizeInBytes() +
           frame.effects.base.image().sizeInBytes() + frame.convertedBase.sizeInBytes();
}

} // namespace

qint64 HistoryStep::bytes() const {
    return frameBytes(before) + frameBytes(after) + (recipe ? recipe->bytes() : 0);
}

qint64 History::bytes() const {
    qint64 total = 0;
    for (const HistoryStep& step : steps)
        total += step.bytes();
    return total;
}

qint64 History::recipeBytesOf(const HistoryStep& step) {
    return step.recipe ? step.recipe->bytes() : 0;
}

void History::dropAfterDone() {
    if (clean && *clean > done)
        clean.reset();
    if (nudgeTarget && *nudgeTarget >= done)
        nudgeTarget.reset();
    for (std::size_t i = done; i < steps.size(); ++i)
        recipeBytes -= recipeBytesOf(steps[i]);
    steps.erase(steps.begin() + std::ptrdiff_t(done), steps.end());
    firstKept = std::min(firstKept, steps.size());
}

void History::forgetOldest() {
    // Only the steps that keep pixels are walked: the recipes are a running total.
    qint64 total = recipeBytes;
    for (std::size_t i = firstKept; i < steps.size(); ++i)
        total += frameBytes(steps[i].before) + frameBytes(steps[i].after);
    // The newest step keeps its pixels whatever they hold: without them the canvas could not
    // go back at all.
    while (steps.size() - firstKept > 1 &&
           (steps.size() - firstKept > stepLimit || total > byteLimit)) {
        HistoryStep& oldest = steps[firstKept++];
        total -= frameBytes(oldest.before) + frameBytes(oldest.after);
        oldest.before = HistoryFrame();
        oldest.after = HistoryFrame();
        oldest.pixelsForgotten = true;
        if (nudgeTarget && *nudgeTarget < firstKept)
            nudgeTarget.reset();
    }
}

void History::push(HistoryStep step) {
    dropAfterDone();
    recipeBytes += recipeBytesOf(step);
    steps.push_back(std::move(step));
    ++done;
    forgetOldest();
}

const HistoryStep* History::stepBack() {
    if (!canUndo())
        return nullptr;
    return &steps[--done];
}

const HistoryStep* History::stepForward() {
    if (!canRedo())
        return nullptr;
    return &steps[done++];
}

std::optional<HistoryStep> History::takeNudgeTarget(bool& wasDone) {
    if (!nudgeTarget || *nudgeTarget + 1 < done || *nudgeTarget > done)
        return std::nullopt;
    wasDone = *nudgeTarget < done;
    if (wasDone)
        --done;
    recipeBytes -= recipeBytesOf(steps[done]);
    HistoryStep step = std::move(steps[done]);
    dropAfterDone();
    return step;
}

void History::clear() {
    steps.clear();
    done = 0;
    clean = 0;
    firstKept = 0;
    recipeBytes = 0;
    nudgeTarget.reset();
}

void History::forgetPixels() {
    for (HistoryStep& step : steps) {
        step.before = HistoryFrame{};
        step.after = HistoryFrame{};
        step.pixelsForgotten = true;
    }
    firstKept = steps.size();
    nudgeTarget.reset();
}

std::vector<std::shared_ptr<const Step>> History::recipe() const {
    std::vector<std::shared_ptr<const Step>> done_;
    done_.reserve(done);
    for (std::size_t i = 0; i < done; ++i)
        if (steps[i].recipe)
            done_.push_back(steps[i].recipe);
    return done_;
}

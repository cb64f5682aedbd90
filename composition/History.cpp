#include "History.h"

namespace {

qint64 frameBytes(const HistoryFrame& frame) {
    return frame.pixels.sizeInBytes() + frame.picture.picture().image().sizeInBytes() +
           frame.effects.base.image().sizeInBytes() + frame.convertedBase.sizeInBytes();
}

} // namespace

qint64 HistoryStep::bytes() const {
    qint64 total = frameBytes(before) + frameBytes(after);
    for (const QByteArray& file : files)
        total += file.size();
    return total;
}

qint64 History::bytes() const {
    qint64 total = 0;
    for (const HistoryStep& step : steps)
        total += step.bytes();
    return total;
}

void History::dropAfterDone() {
    if (clean && *clean > done)
        clean.reset();
    if (nudgeTarget && *nudgeTarget >= done)
        nudgeTarget.reset();
    steps.erase(steps.begin() + std::ptrdiff_t(done), steps.end());
}

void History::dropOldest() {
    qint64 total = bytes();
    // The newest step stays whatever it holds: without it the canvas could not go back at all.
    while (steps.size() > 1 && (steps.size() > stepLimit || total > byteLimit)) {
        total -= steps.front().bytes();
        steps.erase(steps.begin());
        forgotten = true;
        --done;
        if (clean)
            clean = *clean > 0 ? std::optional<std::size_t>(*clean - 1) : std::nullopt;
        if (nudgeTarget)
            nudgeTarget =
                *nudgeTarget > 0 ? std::optional<std::size_t>(*nudgeTarget - 1) : std::nullopt;
    }
}

void History::push(HistoryStep step) {
    dropAfterDone();
    steps.push_back(std::move(step));
    ++done;
    dropOldest();
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
    HistoryStep step = std::move(steps[done]);
    dropAfterDone();
    return step;
}

void History::clear() {
    steps.clear();
    done = 0;
    clean = 0;
    forgotten = false;
    nudgeTarget.reset();
}

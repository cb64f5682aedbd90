#include "CompositionState.h"

#include <QPainter>

#include "BackgroundPainters.h"
#include "FanTextLayout.h"
#include "Filter3x3.h"
#include "RotatedText.h"
#include "TarvelError.h"
#include "TextLayout.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr int firstPlaced = ekRotatedText;

// A margin moved by a nudge stays a 32-bit value however far the user pushes it.
qint32 movedMargin(qint32 margin, int step) {
    return qint32(std::clamp<qint64>(qint64(margin) + step, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

// The smallest rectangle holding every pixel that differs between two pictures of one size
// and format (empty when none does).
QRect changedArea(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || before.format() != after.format())
        return after.rect();
    const int depth = after.depth() / 8;
    const std::size_t rowBytes = std::size_t(after.width()) * std::size_t(depth);
    int top = -1, bottom = -1, left = after.width(), right = -1;
    for (int y = 0; y < after.height(); ++y) {
        const uchar* a = before.constScanLine(y);
        const uchar* b = after.constScanLine(y);
        if (std::memcmp(a, b, rowBytes) == 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        int x = 0;
        while (x < left && std::memcmp(a + x * depth, b + x * depth, std::size_t(depth)) == 0)
            ++x;
        left = std::min(left, x);
        int r = after.width() - 1;
        while (r > right && std::memcmp(a + r * depth, b + r * depth, std::size_t(depth)) == 0)
            --r;
        right = std::max(right, r);
    }
    if (top < 0)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Puts pixels taken from a picture of the same format back at their place.
void pasteArea(QImage& target, const QImage& pixels, QPoint at) {
    if (pixels.isNull())
        return;
    if (pixels.format() != target.format() || !target.rect().contains(QRect(at, pixels.size())))
        return; // the canvas was replaced outside the history; nothing of it to bring back
    const std::size_t rowBytes = std::size_t(pixels.width()) * std::size_t(pixels.depth() / 8);
    const std::size_t offset = std::size_t(at.x()) * std::size_t(pixels.depth() / 8);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(target.scanLine(at.y() + y) + offset, pixels.constScanLine(y), rowBytes);
}

} // namespace

CompositionState::CompositionState() : canvasPicture(QSize(1273, 649)) {}

void CompositionState::attach(ElementKind kind, PlacedElement* element) {
    if (kind >= ekRotatedText && kind <= ekFan)
        elements[std::size_t(kind - firstPlaced)] = element;
}

void CompositionState::attachText(TextBlock* block) {
    text = block;
}

PlacedElement* CompositionState::element(ElementKind kind) const {
    if (kind < ekRotatedText || kind > ekFan)
        return nullptr;
    return elements[std::size_t(kind - firstPlaced)];
}

ElementKind CompositionState::lastKind() const {
    const std::optional<std::size_t> target = history.nudgeTarget;
    return target ? history.at(*target).placed : ekNone;
}

QPoint CompositionState::position(ElementKind kind) const {
    if (kind < ekRotatedText || kind > ekFan)
        return QPoint();
    return positions[std::size_t(kind - firstPlaced)];
}

std::optional<FanRing> CompositionState::lastFanRing() const {
    for (std::size_t i = history.doneCount(); i-- > 0;) {
        const HistoryStep& step = history.at(i);
        // A fan stamped at a press is the last element of its step.
        if (step.kind == HistoryStep::Kind::Stamp && step.placed == ekFan)
            return step.ring;
    }
    return std::nullopt;
}

HistoryFrame CompositionState::frameOfWholeCanvas() const {
    HistoryFrame frame;
    frame.picture = canvasPicture;
    frame.effects = effects;
    return frame;
}

void CompositionState::afterStep(QRect area) {
    lastStampedArea = area;
    emit changed(area);
    emit historyChanged();
    updateClean();
}

void CompositionState::updateClean() {
    if (wasClean != history.isClean()) {
        wasClean = history.isClean();
        emit cleanChanged(wasClean);
    }
}

void CompositionState::recordWhole(HistoryStep::Kind kind, const std::function<void()>& change) {
    HistoryStep step;
    step.kind = kind;
    step.whole = true;
    step.before = frameOfWholeCanvas();
    change();
    step.after = frameOfWholeCanvas();
    history.push(std::move(step));
    history.nudgeTarget.reset();
}

void CompositionState::recordDrawing(HistoryStep::Kind kind, const QRect& area,
                                     const std::function<void()>& draw,
                                     const Placement& placement) {
    if (!canvasPicture.holdsBitmap()) {
        // The first drawing on a canvas without a bitmap creates the whole picture.
        recordWhole(kind, draw);
    } else {
        HistoryStep step;
        step.kind = kind;
        const QRect whole(QPoint(0, 0), canvasPicture.picture().size());
        if (!area.isNull()) {
            step.area = area.intersected(whole);
            step.before.pixels = canvasPicture.picture().image().copy(step.area);
            draw();
        } else {
            // Where a line of turned characters or a text block lands is known only once it is
            // drawn: the pictures before and after are compared.
            const QImage before = canvasPicture.picture().image();
            draw();
            step.area = changedArea(before, canvasPicture.picture().image());
            step.before.pixels = before.copy(step.area);
        }
        step.after.pixels = canvasPicture.picture().image().copy(step.area);
        history.push(std::move(step));
    }
    HistoryStep* pushed = history.last();
    pushed->placed = placement.kind;
    pushed->position = placement.point;
    history.nudgeTarget = history.doneCount() - 1;
}

void CompositionState::showFrame(const HistoryStep& step, const HistoryFrame& frame) {
    if (step.whole && frame.filtered) {
        effects = frame.effects;
        showFilteredBase();
    } else if (step.whole) {
        canvasPicture = frame.picture;
        effects = frame.effects;
        if (!frame.convertedBase.isNull()) {
            QImage& pixels = canvasPicture.canvas().image();
            pixels = frame.convertedBase.convertToFormat(QImage::Format_RGB32);
            if (pixels.isNull())
                throw std::bad_alloc();
            pixels.setDotsPerMeterX(frame.dotsPerMeterX);
            pixels.setDotsPerMeterY(frame.dotsPerMeterY);
        }
    } else if (canvasPicture.holdsBitmap()) {
        pasteArea(canvasPicture.canvas().image(), frame.pixels, step.area.topLeft());
    }
}

QRect CompositionState::drawStamp(const Stamp& stamp, QPoint point) {
    DrawingSurface& surface = canvasPicture.canvas();
    if (stamp.rotatedText) {
        DrawRotatedText(surface, point.x(), point.y(), *stamp.rotatedText);
        return QRect();
    }
    if (stamp.smoothPicture && !stamp.smoothPicture->isNull()) {
        QPainter painter(&surface.image());
        painter.drawImage(point, *stamp.smoothPicture);
        return QRect(point, stamp.smoothPicture->size());
    }
    if (!stamp.picture)
        return QRect(point, QSize(0, 0));
    surface.draw(point.x(), point.y(), *stamp.picture);
    return QRect(point, stamp.picture->image().size());
}

namespace {

// Where a stamp may draw (null: anywhere).
QRect stampArea(const Stamp& stamp, QPoint point) {
    if (stamp.rotatedText)
        return QRect();
    if (stamp.smoothPicture && !stamp.smoothPicture->isNull())
        return QRect(point, stamp.smoothPicture->size());
    return QRect(point, stamp.picture ? stamp.picture->image().size() : QSize(1, 1));
}

} // namespace

bool CompositionState::stampPendingAt(QPoint point) {
    std::vector<ElementKind> pending;
    QRect area;
    bool anywhere = false;
    for (int kind = ekRotatedText; kind <= ekFan; ++kind) {
        PlacedElement* placed = elements[std::size_t(kind - firstPlaced)];
        if (!placed || !placed->pending())
            continue;
        pending.push_back(ElementKind(kind));
        const QRect may = stampArea(placed->stamp(), point);
        anywhere = anywhere || may.isNull();
        area |= may;
    }
    if (pending.empty())
        return false;
    std::optional<FanRing> ring;
    if (pending.back() == ekFan) {
        const Stamp fan = element(ekFan)->stamp();
        if (fan.ring && fan.picture && !fan.picture->isEmpty()) {
            ring = *fan.ring;
            ring->centre += point;
        }
    }
    const bool hadPicture = canvasPicture.hasPicture();
    recordDrawing(HistoryStep::Kind::Stamp, anywhere ? QRect() : area,
                  [&] {
                      for (ElementKind kind : pending) {
                          PlacedElement* placed = element(kind);
                          drawStamp(placed->stamp(), point);
                          placed->disarm();
                          positions[std::size_t(kind - firstPlaced)] = point;
                      }
                  },
                  {pending.back(), point});
    history.last()->ring = ring;
    const QRect whole(QPoint(0, 0), canvasPicture.size());
    afterStep(anywhere || !hadPicture ? whole : area.intersected(whole));
    return true;
}

void CompositionState::drawText(const TextSettings& settings, qint32 arrangement) {
    DrawingSurface& surface = canvasPicture.canvas();
    // A clear brush, so that the picture shows through around the glyphs.
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawTextBlock(surface, text->richText(), settings, Arrangement(arrangement),
                  canvasPicture.width());
}

void CompositionState::drawFanText(const TextSettings& settings, const FanRing& ring,
                                   const FanTextPlan& plan) {
    DrawFanTextBlock(canvasPicture.canvas(), text->richText(), settings, ring, plan);
}

void CompositionState::drawTextBlock() {
    if (!text)
        return;
    if (text->textSettings().FanLayout) {
        const std::optional<FanRing> ring = lastFanRing();
        if (!ring)
            throw TarvelError(
                QStringLiteral("扇面排列要跟随一把折扇：请先盖上一把折扇，再排文字。"));
        // The plan is made before anything is drawn, so text that does not fit changes nothing.
        const FanTextPlan plan = planFanTextBlock(text->richText(), text->textSettings(), *ring);
        recordDrawing(HistoryStep::Kind::Text, QRect(),
                      [&] { drawFanText(text->textSettings(), *ring, plan); }, {ekText, QPoint()});
        history.last()->ring = ring;
        afterStep(QRect());
        return;
    }
    const qint32 chosen = text->textSettings().Arrangement;
    recordDrawing(
        HistoryStep::Kind::Text, QRect(),
        [&] { drawText(text->textSettings(), isArrangement(chosen) ? chosen : arHorzLeftToRight); },
        {ekText, QPoint()});
    afterStep(QRect());
}

void CompositionState::nudgeTextMargins(int dx, int dy) {
    TextSettings& settings = text->textSettings();
    if (settings.FanLayout) {
        // A 扇面 block keeps its place from its ring and moves by a shift of its own.
        settings.FanShiftX = movedMargin(settings.FanShiftX, dx);
        settings.FanShiftY = movedMargin(settings.FanShiftY, dy);
        return;
    }
    // The right-to-left layouts measure LeftMargin from the right edge, so the block moves
    // in the direction of the arrow when the margin changes the other way round.
    const bool fromRight =
        isArrangement(settings.Arrangement) && ::isRightToLeft(settings.Arrangement);
    settings.LeftMargin = movedMargin(settings.LeftMargin, fromRight ? -dx : dx);
    settings.TopMargin = movedMargin(settings.TopMargin, dy);
}

bool CompositionState::nudge(int dx, int dy) {
    // Nothing is taken out of the history unless the element can be drawn again.
    const ElementKind movable = lastKind();
    if (movable == ekNone || (movable == ekText ? !text : !element(movable)))
        return false;
    // A 扇面 block is laid out again before its step is taken out: moving does not change what
    // fits, but text edited since may no longer fit, and then nothing changes.
    FanTextPlan fanPlan;
    if (history.nudgeTarget && text && text->textSettings().FanLayout) {
        const HistoryStep& target = history.at(*history.nudgeTarget);
        if (target.placed == ekText && target.ring)
            fanPlan = planFanTextBlock(text->richText(), text->textSettings(), *target.ring);
    }
    bool wasDone = false;
    std::optional<HistoryStep> old = history.takeNudgeTarget(wasDone);
    if (!old)
        return false;
    if (wasDone)
        showFrame(*old, old->before);
    const QRect oldArea = old->whole ? QRect() : old->area;
    Placement moved{old->placed, old->position + QPoint(dx, dy)};
    QRect area;
    std::function<void()> draw;
    if (moved.kind == ekText) {
        if (!text)
            return false;
        nudgeTextMargins(dx, dy);
        moved.point = QPoint();
        if (text->textSettings().FanLayout && old->ring) {
            draw = [&] { drawFanText(text->textSettings(), *old->ring, fanPlan); };
        } else {
            draw = [&] { drawText(text->textSettings(), text->textSettings().Arrangement); };
        }
    } else if (PlacedElement* placed = element(moved.kind)) {
        const Stamp stamp = placed->stamp();
        area = stampArea(stamp, moved.point);
        positions[std::size_t(moved.kind - firstPlaced)] = moved.point;
        // The element by value: the lambda runs after this branch's scope has ended.
        draw = [this, placed, &moved] { drawStamp(placed->stamp(), moved.point); };
    } else {
        return false;
    }
    recordDrawing(old->kind, area, draw, moved);
    history.last()->script = old->script;
    history.last()->files = old->files;
    history.last()->ring = old->ring;
    if (moved.kind == ekFan && old->ring)
        history.last()->ring->centre += QPoint(dx, dy);
    const HistoryStep& now = *history.last();
    afterStep(oldArea.isNull() || now.whole ? QRect() : oldArea | now.area);
    return true;
}

bool CompositionState::undo() {
    const std::size_t index = history.doneCount() - 1;
    const HistoryStep* step = history.stepBack();
    if (!step)
        return false;
    showFrame(*step, step->before);
    // An element just undone is what a nudge draws again; otherwise the last one still done.
    if (step->isPlacement())
        history.nudgeTarget = index;
    else if (history.last() && history.last()->isPlacement())
        history.nudgeTarget = index - 1;
    else
        history.nudgeTarget.reset();
    afterStep(step->whole ? QRect() : step->area);
    return true;
}

bool CompositionState::redo() {
    const std::size_t index = history.doneCount();
    const HistoryStep* step = history.stepForward();
    if (!step)
        return false;
    showFrame(*step, step->after);
    if (step->isPlacement())
        history.nudgeTarget = index;
    else
        history.nudgeTarget.reset();
    afterStep(step->whole ? QRect() : step->area);
    return true;
}

void CompositionState::clear() {
    if (!canvasPicture.hasPicture())
        return;
    recordWhole(HistoryStep::Kind::Clear, [&] { canvasPicture.clearPicture(); });
    afterStep(QRect());
}

void CompositionState::newCanvas(const TSetStruct& settings, const QImage& background) {
    recordWhole(HistoryStep::Kind::NewCanvas, [&] {
        canvasPicture.clearPicture();
        canvasPicture.setSize(settings.Width, settings.Height);
        canvasPicture.setDotsPerInch(settings.Resolution);
        if (settings.UsePicture) {
            // Decoded pictures are drawn as the graphic they are: 24- and 32-bit pixels stay
            // as they are, every other format becomes 32 bits.
            const DrawingSurface graphic(background);
            paintBackground(canvasPicture.canvas(), graphic.image(), settings.Layout);
        }
        if (settings.UseColor) {
            DrawingSurface& surface = canvasPicture.canvas();
            surface.brush.color = settings.BackgroundColor;
            surface.fillRect(0, 0, settings.Width, settings.Height);
        }
        effects.taken = false;
    });
    afterStep(QRect());
}

// Puts a copy of this picture on the canvas; the canvas keeps its pen, brush and font.
// Pixels of the canvas's own of the same size and format are overwritten rather than given up,
// so the next effect can write its result there without mapping a new bitmap; otherwise the
// canvas shares the picture's pixels until either side draws.
void CompositionState::showOnCanvas(const DrawingSurface& picture) {
    if (canvasPicture.holdsBitmap()) {
        QImage& own = canvasPicture.canvas().image();
        const QImage& shown = picture.image();
        if (own.isDetached() && own.format() == shown.format() && own.size() == shown.size() &&
            own.bytesPerLine() == shown.bytesPerLine()) {
            std::memcpy(own.bits(), shown.constBits(), std::size_t(own.sizeInBytes()));
            return;
        }
    }
    DrawingSurface copy = canvasPicture.picture();
    copy.image() = picture.image();
    canvasPicture.setPicture(std::move(copy));
}

bool CompositionState::hasEffectPicture() const {
    if (effects.taken)
        return !effects.base.isEmpty();
    return canvasPicture.hasPicture() && !canvasPicture.picture().isEmpty();
}

// The canvas shows the effect base filtered by the current effect, or the base itself after
// restore, and remembers that it does until anything else writes to it.
void CompositionState::showFilteredBase() {
    if (effects.current == efNone) {
        showOnCanvas(effects.base);
    } else {
        if (!canvasPicture.holdsBitmap() || canvasPicture.picture().size() != effects.base.size())
            showOnCanvas(effects.base);
        filterIntoCanvas();
    }
    filteredCanvasKey = canvasPicture.picture().image().cacheKey();
}

bool CompositionState::canvasShowsFilteredBase() const {
    return effects.taken && canvasPicture.holdsBitmap() &&
           canvasPicture.picture().image().cacheKey() == filteredCanvasKey;
}

// An effect or restore as one step. The canvas before it is kept only when something was drawn
// since the last effect: otherwise it is the base filtered again, and the canvas's own bitmap
// is written in place. The canvas after it is always the base filtered again.
void CompositionState::recordEffect(HistoryStep::Kind kind,
                                    const std::function<void(HistoryFrame&)>& change) {
    HistoryStep step;
    step.kind = kind;
    step.whole = true;
    step.before.effects = effects;
    step.before.filtered = canvasShowsFilteredBase();
    if (!step.before.filtered)
        step.before.picture = canvasPicture;
    change(step.before);
    step.after.effects = effects;
    step.after.filtered = true;
    history.push(std::move(step));
    history.nudgeTarget.reset();
    afterStep(QRect());
}

bool CompositionState::applyEffect(EffectKind kind) {
    if (!hasEffectPicture())
        return false;
    recordEffect(HistoryStep::Kind::Effect, [&](HistoryFrame& before) {
        if (!effects.taken && canvasPicture.holdsBitmap()) {
            takeBaseAndFilter(kind, before);
            return;
        }
        // Once the base is taken, putting it back on the canvas first would be wasted: the
        // filter reads the base and writes every pixel of the canvas.
        if (!effects.taken)
            prepareEffectBase();
        effects.current = kind;
        filterIntoCanvas();
    });
    return true;
}

// The first effect takes the base and filters it in one walk down the picture: each row is
// converted to 24 bits into the base just before the filter reads it. A 32-bit canvas that
// nothing else shares is then written over in place, and the history keeps the base instead
// of the picture before, which is that base in 32 bits again. Any other canvas stays with the
// history as it is, and the result goes to a bitmap of its own.
void CompositionState::takeBaseAndFilter(EffectKind kind, HistoryFrame& before) {
    DrawingSurface& canvas = canvasPicture.canvas();
    before.picture.canvas().image() = QImage();
    if (canvas.image().format() == QImage::Format_RGB32 && canvas.image().isDetached()) {
        before.dotsPerMeterX = canvas.image().dotsPerMeterX();
        before.dotsPerMeterY = canvas.image().dotsPerMeterY();
        CopyTo24BitAndFilter(EffectWeights(kind), canvas, effects.base, canvas);
        before.convertedBase = effects.base.image();
    } else {
        before.picture = canvasPicture;
        const DrawingSurface original = canvasPicture.picture();
        canvas.image() = QImage(original.size(), original.image().format());
        CopyTo24BitAndFilter(EffectWeights(kind), original, effects.base, canvas);
    }
    effects.current = kind;
    effects.taken = true;
    filteredCanvasKey = canvas.image().cacheKey();
}

void CompositionState::prepareEffectBase() {
    if (!effects.taken)
        CopyTo24Bit(effects.base, canvasPicture.picture());
    else
        showOnCanvas(effects.base);
}

void CompositionState::filterIntoCanvas() {
    // The filter reads the base and writes the canvas's bitmap, which serves as the working
    // bitmap: the base itself is never written, and no copy of the base is made only to be
    // overwritten.
    if (!canvasPicture.holdsBitmap())
        showOnCanvas(effects.base);
    // Pixels the history shares are left to it: the filter writes every pixel, so a bitmap of
    // the canvas's own needs no copy of them first.
    QImage& pixels = canvasPicture.canvas().image();
    if (!pixels.isDetached())
        pixels = QImage(pixels.size(), pixels.format());
    Filter3x3Into(EffectWeights(effects.current), effects.base, canvasPicture.canvas());
    effects.taken = true;
    filteredCanvasKey = canvasPicture.picture().image().cacheKey();
}

void CompositionState::restore() {
    if (!effects.taken) {
        effects.current = efNone;
        return;
    }
    recordEffect(HistoryStep::Kind::Restore, [&](HistoryFrame&) {
        effects.current = efNone;
        showFilteredBase();
    });
}

bool CompositionState::isModified() const {
    if (history.isClean() || !canvasPicture.hasPicture())
        return false;
    // A canvas just made, with nothing drawn on it since, holds no work to lose.
    for (std::size_t i = history.doneCount(); i-- > 0;) {
        const HistoryStep::Kind kind = history.at(i).kind;
        if (kind == HistoryStep::Kind::NewCanvas)
            return false;
        if (kind != HistoryStep::Kind::Clear)
            return true;
    }
    return true;
}

void CompositionState::markSaved() {
    history.markClean();
    updateClean();
}

CompositionState::Work CompositionState::takeWork() {
    Work work{std::move(canvasPicture), std::move(effects), positions, std::move(history)};
    canvasPicture = Picture(QSize(1273, 649));
    effects = EffectState{};
    positions = {};
    history = History{};
    afterStep(QRect());
    return work;
}

void CompositionState::putWork(Work&& work) {
    canvasPicture = std::move(work.canvas);
    effects = std::move(work.effects);
    positions = work.positions;
    history = std::move(work.history);
    afterStep(QRect());
}

Picture CompositionState::pictureBeforeHistory() const {
    Picture picture = canvasPicture;
    for (std::size_t i = history.doneCount(); i-- > 0;) {
        const HistoryStep& step = history.at(i);
        if (step.whole && step.before.filtered) {
            const EffectState& state = step.before.effects;
            DrawingSurface shown = state.base;
            if (state.current != efNone)
                Filter3x3(EffectWeights(state.current), shown);
            picture.setPicture(shown);
        } else if (step.whole)
            picture = step.before.picture;
        else if (picture.holdsBitmap())
            pasteArea(picture.canvas().image(), step.before.pixels, step.area.topLeft());
    }
    return picture;
}

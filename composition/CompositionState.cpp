// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "CompositionState.h"

#include <QCoreApplication>
#include <QPainter>

#include "BackgroundPainters.h"
#include "FanTextLayout.h"
#include "Filter3x3.h"
#include "Messages.h"
#include "RichText.h"
#include "RotatedText.h"
#include "StepSession.h"
#include "TarvelError.h"
#include "TextLayout.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
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
        // A fan stamped at a press is the last element of its step; a template's ring is the
        // last one it stamped, on the canvas it made.
        if ((step.kind == HistoryStep::Kind::Stamp && step.placed == ekFan) ||
            step.kind == HistoryStep::Kind::Template)
            return step.ring;
        // A ring stamped before a new or cleared canvas is no longer on it.
        if (step.kind == HistoryStep::Kind::NewCanvas || step.kind == HistoryStep::Kind::Clear)
            return std::nullopt;
    }
    return std::nullopt;
}

TSetStruct CompositionState::canvasSettings() const {
    for (std::size_t i = history.doneCount(); i-- > 0;) {
        const HistoryStep& step = history.at(i);
        if (step.recipe &&
            (step.recipe->kind == Step::Kind::Canvas || step.recipe->kind == Step::Kind::Template))
            return step.recipe->canvas;
    }
    return TSetStruct{};
}

QString CompositionState::undoName() const {
    if (!history.canUndo())
        return QString();
    const HistoryStep& step = history.at(history.doneCount() - 1);
    return step.recipe ? step.recipe->name() : QString();
}

QString CompositionState::redoName() const {
    if (!history.canRedo())
        return QString();
    const HistoryStep& step = history.at(history.doneCount());
    return step.recipe ? step.recipe->name() : QString();
}

void CompositionState::checkRoom() const {
    if (history.full())
        throw TarvelError(QCoreApplication::translate(
                              "Composition", "作品的步骤太多（最多 %1 步），不能再加新的步骤。")
                              .arg(History::recipeLimit));
}

HistoryFrame CompositionState::frameOfWholeCanvas() const {
    HistoryFrame frame;
    frame.picture = canvasPicture;
    frame.effects = effects;
    if (canvasPicture.holdsBitmap() &&
        canvasPicture.picture().image().cacheKey() == plainCanvasKey) {
        // A canvas of one colour is filled again when it is shown: a history of many large
        // new canvases holds none of their pixels.
        const QImage& pixels = canvasPicture.picture().image();
        frame.plainColor = plainCanvasColor;
        frame.plainSize = pixels.size();
        frame.dotsPerMeterX = pixels.dotsPerMeterX();
        frame.dotsPerMeterY = pixels.dotsPerMeterY();
        frame.picture.canvas().image() = QImage();
    }
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

void CompositionState::recordWhole(HistoryStep::Kind kind, const std::function<void()>& change,
                                   std::shared_ptr<Step> recipe) {
    HistoryStep step;
    step.kind = kind;
    step.recipe = std::move(recipe);
    step.whole = true;
    step.before = frameOfWholeCanvas();
    change();
    step.after = frameOfWholeCanvas();
    history.push(std::move(step));
    history.nudgeTarget.reset();
}

void CompositionState::recordDrawing(HistoryStep::Kind kind, const QRect& area,
                                     const std::function<void()>& draw, const Placement& placement,
                                     std::shared_ptr<Step> recipe) {
    if (!canvasPicture.holdsBitmap()) {
        // The first drawing on a canvas without a bitmap creates the whole picture.
        recordWhole(kind, draw, std::move(recipe));
    } else {
        HistoryStep step;
        step.kind = kind;
        step.recipe = std::move(recipe);
        const QRect whole(QPoint(0, 0), canvasPicture.picture().size());
        // Every copy is made before the canvas is written or checked after: a step that runs
        // out of memory leaves the canvas as it was, instead of drawing on pixels Qt could not
        // copy for it, or keeping a change its undo cannot take back.
        const auto kept = [](const QImage& image, const QRect& part) {
            return allocated(image.copy(part), part.size());
        };
        QImage& pixels = canvasPicture.canvas().image();
        if (!area.isNull()) {
            step.area = area.intersected(whole);
            step.before.pixels = kept(pixels, step.area);
            if (!pixels.isDetached())
                pixels = kept(pixels, whole);
            try {
                draw();
                step.after.pixels = kept(pixels, step.area);
            } catch (...) {
                pasteArea(pixels, step.before.pixels, step.area.topLeft());
                throw;
            }
        } else {
            // Where a line of turned characters or a text block lands is known only once it is
            // drawn: the pictures before and after are compared.
            const QImage before = pixels;
            pixels = kept(before, whole);
            try {
                draw();
                step.area = changedArea(before, pixels);
                step.before.pixels = kept(before, step.area);
                step.after.pixels = kept(pixels, step.area);
            } catch (...) {
                pixels = before;
                throw;
            }
        }
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
        if (frame.plainColor) {
            DrawingSurface& surface = canvasPicture.canvas();
            surface.image() = QImage(frame.plainSize, QImage::Format_RGB32);
            if (surface.image().isNull() && !frame.plainSize.isEmpty())
                throw std::bad_alloc();
            surface.image().setDotsPerMeterX(frame.dotsPerMeterX);
            surface.image().setDotsPerMeterY(frame.dotsPerMeterY);
            const DrawingSurface::Brush brush = surface.brush;
            surface.brush.color = *frame.plainColor;
            surface.brush.style = DrawingSurface::BrushStyle::Solid;
            surface.fillRect(0, 0, frame.plainSize.width(), frame.plainSize.height());
            surface.brush = brush;
            plainCanvasKey = surface.image().cacheKey();
            plainCanvasColor = *frame.plainColor;
        }
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

std::function<void()> CompositionState::drawElements(const std::vector<Element>& placed,
                                                     QRect& area, bool& anywhere,
                                                     std::optional<FanRing>& ring) {
    // Every picture is drawn before the canvas is touched.
    std::vector<RenderedElement> pictures;
    pictures.reserve(placed.size());
    area = QRect();
    anywhere = false;
    const int canvasSide = std::max(canvasPicture.width(), canvasPicture.height());
    for (const Element& element : placed) {
        pictures.push_back(element.kind == ekRotatedText ? RenderedElement{}
                                                         : renderElement(element, canvasSide));
        const RenderedElement& picture = pictures.back();
        if (element.kind == ekRotatedText && !element.blank)
            anywhere = true;
        else if (!picture.smooth.isNull())
            area |= QRect(element.at, picture.smooth.size());
        else if (picture.picture.isEmpty())
            anywhere = true; // an empty rectangle: found by comparing the pictures
        else
            area |= QRect(element.at, picture.picture.image().size());
    }
    ring.reset();
    const RenderedElement& last = pictures.back();
    if (placed.back().kind == ekFan && last.ring && !last.picture.isEmpty()) {
        ring = *last.ring;
        ring->centre += placed.back().at;
    }
    auto kept = std::make_shared<const std::vector<RenderedElement>>(std::move(pictures));
    return [this, &placed, kept] {
        DrawingSurface& surface = canvasPicture.canvas();
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const Element& element = placed[i];
            const RenderedElement& picture = (*kept)[i];
            if (element.kind == ekRotatedText) {
                if (!element.blank)
                    DrawRotatedText(surface, element.at.x(), element.at.y(), element.rotated);
            } else if (!picture.smooth.isNull()) {
                QPainter painter(&surface.image());
                painter.drawImage(element.at, picture.smooth);
            } else if (!picture.picture.isEmpty()) {
                surface.draw(element.at.x(), element.at.y(), picture.picture);
            }
            positions[std::size_t(element.kind - firstPlaced)] = element.at;
        }
    };
}

bool CompositionState::stampPendingAt(QPoint point) {
    std::vector<Element> pending;
    for (const ElementKindEntry& entry : placedKinds) {
        PlacedElement* placed = element(entry.kind);
        if (placed && placed->pending())
            pending.push_back(placed->element());
    }
    if (pending.empty())
        return false;
    stamp(std::move(pending), point);
    for (const ElementKindEntry& entry : placedKinds)
        if (PlacedElement* placed = element(entry.kind))
            placed->disarm();
    return true;
}

void CompositionState::stamp(std::vector<Element> placed, QPoint point) {
    if (placed.empty())
        return;
    checkRoom();
    for (Element& element : placed)
        element.at = point;
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Stamp;
    recipe->elements = std::move(placed);
    recordStamp(recipe, std::nullopt);
}

void CompositionState::recordStamp(const std::shared_ptr<Step>& recipe,
                                   std::optional<QRect> nudgedFrom) {
    QRect area;
    bool anywhere = false;
    std::optional<FanRing> ring;
    const std::function<void()> draw = drawElements(recipe->elements, area, anywhere, ring);
    // The step keeps the records, not the pictures drawn from them: a nudge draws them again.
    for (Element& element : recipe->elements)
        element.rendered.reset();
    const bool hadPicture = canvasPicture.hasPicture();
    const Element& last = recipe->elements.back();
    recordDrawing(HistoryStep::Kind::Stamp, anywhere ? QRect() : area, draw, {last.kind, last.at},
                  recipe);
    history.last()->ring = ring;
    const QRect whole(QPoint(0, 0), canvasPicture.size());
    const HistoryStep& now = *history.last();
    if (!nudgedFrom)
        afterStep(anywhere || !hadPicture ? whole : area.intersected(whole));
    else
        afterStep(nudgedFrom->isNull() || now.whole ? QRect() : *nudgedFrom | now.area);
}

void CompositionState::drawText(const RichText& text, const TextSettings& settings,
                                qint32 arrangement) {
    DrawingSurface& surface = canvasPicture.canvas();
    // A clear brush, so that the picture shows through around the glyphs.
    surface.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawTextBlock(surface, const_cast<RichText&>(text), settings, Arrangement(arrangement),
                  canvasPicture.width());
}

void CompositionState::drawTextBlock() {
    if (!text)
        return;
    const RichText& typed = text->richText();
    auto model = std::make_shared<RichTextModel>(typed.toModel());
    drawTextBlock(text->textSettings(), std::move(model),
                  typed.wordWrap() ? std::optional<int>(typed.wrapWidth()) : std::nullopt);
}

void CompositionState::drawTextBlock(const TextSettings& settings,
                                     std::shared_ptr<const RichTextModel> runs,
                                     std::optional<int> wrapWidth) {
    checkRoom();
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Text;
    recipe->text = settings;
    recipe->runs = std::move(runs);
    recipe->wrapWidth = wrapWidth;
    recordText(recipe, false);
}

void CompositionState::recordText(const std::shared_ptr<Step>& recipe, bool nudged) {
    RichText block;
    block.setModel(*recipe->runs);
    if (recipe->wrapWidth)
        block.setWordWrap(true, *recipe->wrapWidth);
    const TextSettings& settings = recipe->text;
    if (settings.FanLayout) {
        const std::optional<FanRing> ring = lastFanRing();
        if (!ring)
            throw TarvelError(Messages::fanTextNeedsFan());
        // The plan is made before anything is drawn, so text that does not fit changes nothing.
        const FanTextPlan plan = planFanTextBlock(block, settings, *ring);
        recordDrawing(
            HistoryStep::Kind::Text, QRect(),
            [&] { DrawFanTextBlock(canvasPicture.canvas(), block, settings, *ring, plan); },
            {ekText, QPoint()}, recipe);
        history.last()->ring = ring;
    } else {
        const qint32 chosen = settings.Arrangement;
        recordDrawing(
            HistoryStep::Kind::Text, QRect(),
            [&] {
                drawText(block, settings,
                         nudged || isArrangement(chosen) ? chosen : arHorzLeftToRight);
            },
            {ekText, QPoint()}, recipe);
    }
    afterStep(QRect());
}

void CompositionState::nudgeTextMargins(TextSettings& settings, int dx, int dy) {
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
    if (!history.nudgeTarget)
        return false;
    const HistoryStep& target = history.at(*history.nudgeTarget);
    if (!target.recipe || target.pixelsForgotten ||
        (target.recipe->kind != Step::Kind::Stamp && target.recipe->kind != Step::Kind::Text))
        return false;
    checkRoom();
    // The step moved, as a new value: the one in the history stays as it is until the moved
    // one is drawn, so a move that cannot be drawn changes nothing.
    auto moved = std::make_shared<Step>(*target.recipe);
    if (moved->kind == Step::Kind::Text) {
        nudgeTextMargins(moved->text, dx, dy);
        // A 扇面 block is laid out again before its step is taken out: moving does not change
        // what fits.
    } else {
        // However far the arrows push, the point stays where a work can say it.
        Element& last = moved->elements.back();
        const auto moveBy = [](int at, int by) {
            return int(std::clamp<qint64>(qint64(at) + by, -largestPoint, largestPoint));
        };
        last.at = QPoint(moveBy(last.at.x(), dx), moveBy(last.at.y(), dy));
    }
    bool wasDone = false;
    std::optional<HistoryStep> old = history.takeNudgeTarget(wasDone);
    if (!old)
        return false;
    if (wasDone)
        showFrame(*old, old->before);
    const QRect oldArea = old->whole ? QRect() : old->area;
    try {
        if (moved->kind == Step::Kind::Text) {
            recordText(moved, true);
            // The ring the block follows is the one it followed before the move.
            if (old->ring)
                history.last()->ring = old->ring;
        } else {
            recordStamp(moved, oldArea);
        }
    } catch (...) {
        // The step goes back as it was.
        if (wasDone)
            showFrame(*old, old->after);
        history.push(std::move(*old));
        if (!wasDone)
            history.stepBack();
        throw;
    }
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
    checkRoom();
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Clear;
    recordWhole(
        HistoryStep::Kind::Clear, [&] { canvasPicture.clearPicture(); }, recipe);
    afterStep(QRect());
}

void CompositionState::newCanvas(const TSetStruct& settings, const QImage& background,
                                 const QByteArray& pictureBytes) {
    checkRoom();
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Canvas;
    recipe->canvas = settings;
    if (!settings.UsePicture)
        recipe->canvas.PictureFile.clear();
    else
        recipe->picture = pictureBytes;
    recordWhole(
        HistoryStep::Kind::NewCanvas,
        [&] {
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
                plainCanvasKey = surface.image().cacheKey();
                plainCanvasColor = settings.BackgroundColor;
            }
            // The base of the last effect is read again only once taken anew.
            effects.taken = false;
            effects.base = DrawingSurface();
        },
        recipe);
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

void CompositionState::applyTemplate(const WorkTemplate& work, const QByteArray& picture) {
    checkRoom();
    // The template's steps are composed on a composition of their own first: a work that does
    // not fit, or a step that fails, changes nothing here.
    CompositionState composed;
    composeTemplate(composed, work, picture);
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Template;
    recipe->work = work;
    recipe->picture = picture;
    recipe->canvas = composed.canvasSettings();
    recordWhole(
        HistoryStep::Kind::Template,
        [&] {
            canvasPicture = composed.canvasPicture;
            effects = composed.effects;
            filteredCanvasKey = -1;
        },
        recipe);
    history.last()->ring = composed.lastFanRing();
    afterStep(QRect());
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
                                    const std::function<void(HistoryFrame&)>& change,
                                    std::shared_ptr<Step> recipe) {
    HistoryStep step;
    step.kind = kind;
    step.recipe = std::move(recipe);
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
    checkRoom();
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Effect;
    recipe->effect = kind;
    recordEffect(
        HistoryStep::Kind::Effect,
        [&](HistoryFrame& before) {
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
        },
        recipe);
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
        canvas.image() = newImage(original.size(), original.image().format());
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
        pixels = newImage(pixels.size(), pixels.format());
    Filter3x3Into(EffectWeights(effects.current), effects.base, canvasPicture.canvas());
    effects.taken = true;
    filteredCanvasKey = canvasPicture.picture().image().cacheKey();
}

void CompositionState::restore() {
    if (!effects.taken) {
        effects.current = efNone;
        return;
    }
    checkRoom();
    auto recipe = std::make_shared<Step>();
    recipe->kind = Step::Kind::Restore;
    recordEffect(
        HistoryStep::Kind::Restore,
        [&](HistoryFrame&) {
            effects.current = efNone;
            showFilteredBase();
        },
        recipe);
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
    Work work{std::move(canvasPicture), std::move(effects), positions,       std::move(history),
              filteredCanvasKey,        plainCanvasKey,     plainCanvasColor};
    filteredCanvasKey = -1;
    plainCanvasKey = -1;
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
    filteredCanvasKey = work.filteredCanvasKey;
    plainCanvasKey = work.plainCanvasKey;
    plainCanvasColor = work.plainCanvasColor;
    afterStep(QRect());
}

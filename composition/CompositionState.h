// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The picture being composed and every operation on it: the stamp of the pending elements at
// a press, the nudge of the last one, undo and redo, clear, a new canvas, the effects and
// restore. Every operation that changes the canvas is one step of the history the composition
// keeps. The main window owns one and shows its canvas; nothing here sees a widget.
#pragma once

#include "CanvasSettings.h"
#include "DrawingSurface.h"
#include "EffectKind.h"
#include "FanTextLayout.h"
#include "History.h"
#include "Picture.h"
#include "PlacedElement.h"
#include "Step.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <array>
#include <functional>
#include <optional>

class CompositionState final : public QObject {
    Q_OBJECT
public:
    CompositionState();

    // The work canvas.
    const Picture& canvas() const { return canvasPicture; }
    // The canvas as a surface to draw on outside the commands (tests and the open command's
    // picture): a change made here is no step of the history.
    Picture& canvasForDrawing() { return canvasPicture; }

    // The element a nudge moves (ekNone when nothing can be moved) and where each kind of
    // element was last stamped or nudged to.
    ElementKind lastKind() const;
    QPoint position(ElementKind kind) const;
    // The last fan stamped on the canvas shown (since it was made or cleared), when it is a
    // folding-fan ring: the ring a 扇面 text block follows.
    std::optional<FanRing> lastFanRing() const;
    // The effect state: the picture every effect filters, whether it is taken, the effect
    // shown on the canvas.
    const DrawingSurface& effectBase() const { return effects.base; }
    bool effectBaseTaken() const { return effects.taken; }
    EffectKind currentEffect() const { return effects.current; }

    // The dialogs whose elements are stamped at a press (kind is ekRotatedText to ekFan),
    // and the text dialog.
    void attach(ElementKind kind, PlacedElement* element);
    void attachText(TextBlock* block);
    PlacedElement* element(ElementKind kind) const;

    // A press on the canvas: every pending element in the fixed order rotated text, seal,
    // circle, fan, each disarmed, its position kept. One step of the history when anything
    // was stamped; a press that stamps nothing changes nothing. True when anything was stamped.
    bool stampPendingAt(QPoint point);
    // The elements, in the order given, stamped at a point as one step (what a press does).
    // Every picture is drawn before the canvas changes, so one that cannot be drawn changes
    // nothing.
    void stamp(std::vector<Element> elements, QPoint point);
    // The part of the canvas the last press drew on, for the view to repaint.
    QRect stampedArea() const { return lastStampedArea; }
    // The last element drawn again moved by (dx, dy) from the picture before it (text moves by
    // its margins): the step that drew it is replaced, so one undo takes the element away. An
    // element just undone is drawn again moved, as one step. Nothing happens when no element
    // can be moved. True when the canvas changed.
    bool nudge(int dx, int dy);
    // The confirmed text block, drawn at once as one step. A 扇面 block that does not fit its
    // ring, or finds none, raises an error and changes nothing.
    void drawTextBlock();
    // A text block with these settings and this text, as one step.
    void drawTextBlock(const TextSettings& settings, std::shared_ptr<const RichTextModel> text,
                       std::optional<int> wrapWidth = std::nullopt);
    // Steps back and forward through the history; false when there is no step to take.
    bool undo();
    bool redo();
    bool canUndo() const { return history.canUndo(); }
    bool canRedo() const { return history.canRedo(); }
    // The canvas loses its picture, as one step.
    void clear();
    // The canvas rebuilt from the confirmed settings, as one step; background is the decoded
    // picture when the settings use one, pictureBytes its file, which the work keeps. A new
    // canvas ends what a nudge can move.
    void newCanvas(const TSetStruct& settings, const QImage& background,
                   const QByteArray& pictureBytes = QByteArray());
    // A whole work laid out by a template, as one step that one undo takes away; picture is
    // the background file's bytes when the template uses one. A work that does not fit is
    // refused before anything changes.
    void applyTemplate(const WorkTemplate& work, const QByteArray& picture = QByteArray());
    // The settings of the canvas shown now: those of the last canvas made among the steps
    // done (by a canvas step or a template), the defaults before any.
    TSetStruct canvasSettings() const;
    // The name of the step undo would take back, and of the one redo would do again.
    QString undoName() const;
    QString redoName() const;

    // An effect needs a picture: the effect base once it is taken, the canvas before that.
    bool hasEffectPicture() const;
    // The canvas shows the effect base filtered with the effect's weights; the first effect
    // takes the base. One step; false, with nothing changed, when there is no picture.
    bool applyEffect(EffectKind kind);
    // The picture as it was before the first effect, back on the canvas, as one step when the
    // base was taken.
    void restore();

    // Unsaved work: the canvas changed since the last save, and there is more on it than a
    // new or cleared canvas.
    bool isModified() const;
    bool isClean() const { return history.isClean(); }
    void markSaved();
    // Everything the composition holds, to be moved from the composition a work was opened
    // into. takeWork leaves the composition as at program start.
    struct Work {
        Picture canvas;
        EffectState effects;
        std::array<QPoint, 4> positions{};
        History history;
        qint64 filteredCanvasKey = -1;
        qint64 plainCanvasKey = -1;
        TColor plainCanvasColor = clWhite;
    };
    Work takeWork();
    void putWork(Work&& work);
    const History& steps() const { return history; }
    History& steps() { return history; }

signals:
    // The canvas changed in this rectangle (the whole canvas, or its size, when null).
    void changed(QRect area);
    // The history gained, lost or stepped over a step: undo and redo may have changed.
    void historyChanged();
    // The canvas became equal to the saved one, or stopped being so.
    void cleanChanged(bool clean);

private:
    struct Placement {
        ElementKind kind = ekNone;
        QPoint point;
    };
    // Runs a command that draws on the canvas and keeps what it changed as one step.
    // area is where it may draw (null: anywhere, found by comparing the pictures).
    void recordDrawing(HistoryStep::Kind kind, const QRect& area, const std::function<void()>& draw,
                       const Placement& placement, std::shared_ptr<Step> recipe);
    // Runs a command that replaces the whole picture or the effect state, as one step.
    void recordWhole(HistoryStep::Kind kind, const std::function<void()>& change,
                     std::shared_ptr<Step> recipe);
    // Refuses a command when the history has no room for its step.
    void checkRoom() const;
    // Draws every element of a stamp step, each picture drawn first; returns the rectangle
    // they may have drawn on (null: anywhere) and the ring of a last folding fan.
    std::function<void()> drawElements(const std::vector<Element>& elements, QRect& area,
                                       bool& anywhere, std::optional<FanRing>& ring);
    // Draws a stamp step and keeps it; nudgedFrom is the rectangle the step it moves had
    // drawn on (null: anywhere).
    void recordStamp(const std::shared_ptr<Step>& recipe, std::optional<QRect> nudgedFrom);
    // Draws a text step and keeps it; a nudged block keeps the arrangement it has.
    void recordText(const std::shared_ptr<Step>& recipe, bool nudged);
    void drawText(const RichText& text, const TextSettings& settings, qint32 arrangement);
    static void nudgeTextMargins(TextSettings& settings, int dx, int dy);
    void showOnCanvas(const DrawingSurface& picture);
    void prepareEffectBase();
    void recordEffect(HistoryStep::Kind kind, const std::function<void(HistoryFrame&)>& change,
                      std::shared_ptr<Step> recipe);
    void takeBaseAndFilter(EffectKind kind, HistoryFrame& before);
    void showFilteredBase();
    bool canvasShowsFilteredBase() const;
    void filterIntoCanvas();
    HistoryFrame frameOfWholeCanvas() const;
    void showFrame(const HistoryStep& step, const HistoryFrame& frame);
    void afterStep(QRect area);
    void updateClean();

    Picture canvasPicture;
    EffectState effects;
    std::array<QPoint, 4> positions{}; // rotated text, seal, circle, fan
    std::array<PlacedElement*, 4> elements{};
    TextBlock* text = nullptr;
    QRect lastStampedArea;
    History history;
    bool wasClean = true;
    // The canvas bitmap's key when an effect or restore last wrote it: while it is unchanged,
    // the canvas is the base filtered by the current effect.
    qint64 filteredCanvasKey = -1;
    // The canvas bitmap's key when a new canvas filled it with one colour: while it is
    // unchanged, the history keeps that colour instead of the pixels.
    qint64 plainCanvasKey = -1;
    TColor plainCanvasColor = clWhite;
};

// The main window's text concern: the add-text command, which shows the text dialog and draws
// the confirmed block at once, and the nudges that move the block by changing its margins.
#include "Unit1.h"

#include "ImageControl.h"
#include "TextLayout.h"
#include "Unit2.h"
#include "Unit8.h"

#include <QToolButton>
#include <algorithm>
#include <limits>

void TForm1::createTextDialog() {
    // The size check compares with the canvas size last confirmed in the canvas dialog.
    Form8 = new TForm8(fontFaceList(), Form2 ? &Form2->CanvasSettings : nullptr, this);
}

namespace {

// Draws the dialog's block on the work canvas with a clear brush, so that the picture shows
// through around the glyphs.
void drawTextBlockOn(ImageControl& canvasControl, TForm8& dialog, Arrangement arrangement) {
    DrawingSurface& canvas = canvasControl.canvas();
    canvas.brush.style = DrawingSurface::BrushStyle::Clear;
    DrawTextBlock(canvas, dialog.richText(), dialog.TextSettings, arrangement,
                  canvasControl.width());
}

// A margin moved by a nudge stays a 32-bit value however far the user pushes it.
qint32 movedMargin(qint32 margin, int step) {
    return qint32(std::clamp<qint64>(qint64(margin) + step, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

} // namespace

void TForm1::ToolButton1Click() {
    State.LastKind = ekText;
    if (!Form8)
        return;
    Form8->exec();
    if (!Form8->TextSettings.Confirmed)
        return;
    takeUndoSnapshot();
    const qint32 chosen = Form8->TextSettings.Arrangement;
    drawTextBlockOn(*Image1, *Form8,
                    isArrangement(chosen) ? Arrangement(chosen) : arHorzLeftToRight);
    Image1->pictureChanged();
    State.Changed = true;
    ToolButton22->setEnabled(true);
}

void TForm1::nudgeText(int dx, int dy) {
    if (!Form8)
        return;
    ::TextSettings& settings = Form8->TextSettings;
    // The right-to-left layouts measure LeftMargin from the right edge, so the block moves
    // in the direction of the arrow when the margin changes the other way round.
    const bool fromRight =
        isArrangement(settings.Arrangement) && ::isRightToLeft(settings.Arrangement);
    settings.LeftMargin = movedMargin(settings.LeftMargin, fromRight ? -dx : dx);
    settings.TopMargin = movedMargin(settings.TopMargin, dy);
    drawTextBlockOn(*Image1, *Form8, settings.Arrangement);
}

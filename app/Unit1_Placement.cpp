// The placement workflow of the main window: the stamp at a canvas press, undo, clear, the
// nudges and the pointer position. The composition does the drawing; the window shows it.
#include "Unit1.h"

#include "FontCoverage.h"
#include "ImageControl.h"
#include "Unit3.h"
#include "Unit4.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

void TForm1::compositionChanged() {
    Image1->pictureChanged();
    Image3->pictureChanged();
}

void TForm1::Image1MouseDown(QPoint point, Qt::MouseButton) {
    // The characters of the armed rotated line and seal that their faces lack.
    QList<FaceGap> gaps;
    if (Form3 && Form3->pending())
        gaps += rotatedTextGaps(Form3->RotatedTextSettings);
    if (Form4 && Form4->pending())
        gaps += Form4->RenderedGaps;
    const bool stamped = State.stampPendingAt(point);
    if (stamped)
        showFallbacks(gaps);
    Image1->setCursor(Qt::ArrowCursor);
    // Only what the stamp covered is painted again; the snapshot is never shown.
    if (stamped)
        Image1->pictureChanged(State.stampedArea());
    Image3->pictureChanged();
    ToolButton22->setEnabled(true);
}

void TForm1::showFallbacks(const QList<FaceGap>& gaps) {
    if (!gaps.isEmpty())
        StatusPanel2->setText(fallbackWarning(gaps));
    else if (StatusPanel2->text().startsWith(QStringLiteral("警告：")))
        StatusPanel2->clear();
}

void TForm1::ToolButton22Click() {
    State.undo();
    compositionChanged();
    ToolButton22->setEnabled(false);
}

void TForm1::ToolButton23Click() {
    if (!saveOrDiscardWork())
        return;
    State.clear();
    compositionChanged();
}

void TForm1::nudge(int dx, int dy) {
    State.nudge(dx, dy);
    compositionChanged();
}

void TForm1::ToolButton30Click() {
    nudge(-10, 0);
}
void TForm1::ToolButton31Click() {
    nudge(10, 0);
}
void TForm1::ToolButton35Click() {
    nudge(0, -10);
}
void TForm1::ToolButton36Click() {
    nudge(0, 10);
}

void TForm1::Image1MouseMove(QPoint point) {
    const QString hint = QString::asprintf("%d,%d", point.x(), point.y());
    Image1->setProperty("hint", hint);
    ApplicationHint(hint);
}

void TForm1::BitBtn1MouseDown() {
    PopupMenu1->popup(QCursor::pos());
}

// The placement workflow of the main window: the stamp at a canvas press, undo and redo, clear,
// the nudges and the pointer position. The composition does the drawing and keeps the history;
// the window shows it and records each step as the script steps that repeat it.
#include "Unit1.h"

#include "FontCoverage.h"
#include "ImageControl.h"
#include "ScriptDrivers.h"
#include "Unit3.h"
#include "Unit4.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {

// The dialog step of each kind of placed element, in the order a press stamps them.
const std::pair<ElementKind, const char*> placedCommands[] = {
    {ekRotatedText, "rotated"}, {ekSeal, "seal"}, {ekCircle, "circle"}, {ekFan, "fan"}};

} // namespace

void TForm1::historyChanged() {
    ToolButton22->setEnabled(State.canUndo());
    MenuUndo->setEnabled(State.canUndo());
    MenuRedo->setEnabled(State.canRedo());
    updateTitle();
}

void TForm1::recordSteps(const QJsonArray& steps) {
    HistoryStep* last = State.steps().last();
    if (!last)
        return;
    for (const QJsonValue& step : steps) {
        // Repeated nudges in one direction are one step with a count.
        const QJsonObject entry = step.toObject();
        if (!last->script.isEmpty() &&
            entry.value(QStringLiteral("do")) == QLatin1String("nudge")) {
            QJsonObject previous = last->script.last().toObject();
            if (previous.value(QStringLiteral("do")) == QLatin1String("nudge") &&
                previous.value(QStringLiteral("direction")) ==
                    entry.value(QStringLiteral("direction"))) {
                previous.insert(QStringLiteral("times"),
                                previous.value(QStringLiteral("times")).toInt(1) + 1);
                last->script.replace(last->script.size() - 1, previous);
                continue;
            }
        }
        last->script.append(entry);
    }
}

void TForm1::Image1MouseDown(QPoint point, Qt::MouseButton) {
    // What each pending dialog holds now is what lands; its step is kept with the stamp.
    QJsonArray steps;
    for (const auto& [kind, command] : placedCommands) {
        PlacedElement* placed = State.element(kind);
        if (placed && placed->pending())
            steps.append(describeDialogStep(*this, QLatin1String(command)));
    }
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
    if (!stamped)
        return;
    steps.append(QJsonObject{{QStringLiteral("do"), QStringLiteral("click")},
                             {QStringLiteral("at"), QJsonArray{point.x(), point.y()}}});
    recordSteps(steps);
}

void TForm1::showFallbacks(const QList<FaceGap>& gaps) {
    if (!gaps.isEmpty())
        StatusPanel2->setText(fallbackWarning(gaps));
    else if (StatusPanel2->text().startsWith(QStringLiteral("警告：")))
        StatusPanel2->clear();
}

void TForm1::ToolButton22Click() {
    if (State.undo())
        effectMarkFromHistory();
}

void TForm1::RedoClick() {
    if (State.redo())
        effectMarkFromHistory();
}

void TForm1::ToolButton23Click() {
    if (!saveOrDiscardWork())
        return;
    const bool hadPicture = State.canvas().hasPicture();
    State.clear();
    if (hadPicture)
        recordSteps({QJsonObject{{QStringLiteral("do"), QStringLiteral("clear")}}});
}

void TForm1::nudge(int dx, int dy) {
    if (!State.nudge(dx, dy))
        return;
    const char* direction = dx < 0 ? "left" : dx > 0 ? "right" : dy < 0 ? "up" : "down";
    recordSteps({QJsonObject{{QStringLiteral("do"), QStringLiteral("nudge")},
                             {QStringLiteral("direction"), QLatin1String(direction)}}});
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The real main window with its dialogs, for tests of the placement workflow: a canvas, the
// circle and fan dialogs driven as a user would (modal dialogs answered from a queued action).
#pragma once

#include "ColorButton.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "Unit1.h"
#include "Unit6.h"
#include "Unit7.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

struct MainWindowTest : ::testing::Test {
    MainWindowTest() {
        form.createDialogs();
        previousDisplay = ErrorBoundary::setDisplay(
            [this](QWidget*, const QString& text) { shownErrors << text; });
        // The placement tests throw their work away: "不保存" to the unsaved-work question.
        PlatformDialogs::setSaveQuestion(
            [](QWidget*) { return PlatformDialogs::SaveAnswer::Discard; });
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }
    ~MainWindowTest() override {
        ErrorBoundary::setDisplay(previousDisplay);
        PlatformDialogs::setColorChooser({});
        PlatformDialogs::setSaveQuestion({});
    }

    // Runs a command that shows a modal dialog, with the user's actions queued to run inside
    // the dialog's event loop.
    void withDialog(const std::function<void()>& actions, const std::function<void()>& command) {
        QTimer::singleShot(0, &form, actions);
        command();
    }
    void openCircleDialog(const std::function<void(TForm6*)>& actions) {
        withDialog([this, actions] { actions(form.Form6); }, [this] { form.ToolButton21Click(); });
    }
    void openFanDialog(const std::function<void(TForm7*)>& actions) {
        withDialog([this, actions] { actions(form.Form7); }, [this] { form.ToolButton26Click(); });
    }
    void confirmCircle() {
        openCircleDialog([](TForm6* d) { d->Button1->click(); });
    }
    void confirmFan() {
        openFanDialog([](TForm7* d) { d->Button1->click(); });
    }
    void pickColours(std::optional<TColor> colour) {
        PlatformDialogs::setColorChooser(
            [colour](QWidget*, TColor) -> std::optional<TColor> { return colour; });
    }

    // A press of a mouse button on the work canvas at a canvas pixel, delivered to the control
    // at the middle of the square that shows the pixel at the control's zoom. (QTest's own
    // mouse functions read the point (0, 0) as "the middle of the widget".)
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        sendMouse(QEvent::MouseButtonPress, onControl(at), button, button);
        sendMouse(QEvent::MouseButtonRelease, onControl(at), button, Qt::NoButton);
    }
    void movePointer(QPoint at) {
        sendMouse(QEvent::MouseMove, onControl(at), Qt::NoButton, Qt::NoButton);
    }
    QPointF onControl(QPoint canvasPixel) const {
        const double zoom = form.Image1->zoom();
        return zoom == 1.0 ? QPointF(canvasPixel)
                           : (QPointF(canvasPixel) + QPointF(0.5, 0.5)) * zoom;
    }
    void sendMouse(QEvent::Type type, QPointF at, Qt::MouseButton button,
                   Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, form.Image1->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(form.Image1, &event);
    }
    // Gives the canvas a picture of one colour, so stamped pixels and left-out ones differ.
    void paintCanvas(TColor colour) {
        DrawingSurface& canvas = form.Image1->canvas();
        canvas.brush.color = colour;
        canvas.brush.style = DrawingSurface::BrushStyle::Solid;
        canvas.fillRect(0, 0, canvas.width(), canvas.height());
    }
    TColor at(int x, int y) const { return form.Image1->picture().pixel(x, y); }
    int count(TColor colour) const {
        const DrawingSurface& p = form.Image1->picture();
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                n += p.pixel(x, y) == colour ? 1 : 0;
        return n;
    }

    TForm1 form;
    QStringList shownErrors;
    ErrorBoundary::Display previousDisplay;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Builds a composition with every library of pure logic and nothing of Qt Widgets: a canvas, a
// stamped picture, a turned seal, an effect and a saved file. It fails when any of that needs
// the widget library at run time.
#include "CircleGeometry.h"
#include "CompositionState.h"
#include "PictureCodecs.h"
#include "PictureSave.h"
#include "RotateBitmap.h"
#include "Step.h"
#include "WorkFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// A keyed picture that waits on the canvas, as a dialog's would.
struct CircleElement final : PlacedElement {
    CircleElement() { settings.FillColor = clBlue; }
    CircleSettingsRecord settings;
    bool armed = true;
    bool pending() const override { return armed; }
    void disarm() override { armed = false; }
    Element element() const override {
        Element element;
        element.kind = ekCircle;
        element.circle = settings; // drawn by the composition from its record
        return element;
    }
};

bool widgetsLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Widgets");
}

int fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    CompositionState composition;
    TSetStruct settings;
    settings.Width = 200;
    settings.Height = 150;
    composition.newCanvas(settings, QImage());
    CircleElement circle;
    composition.attach(ekCircle, &circle);
    if (!composition.stampPendingAt(QPoint(10, 10)) || circle.pending())
        return fail("the pending circle was not stamped");
    const DrawingSurface& canvas = composition.canvas().picture();
    // The fill at the centre; the key colour in the picture's corner lets the canvas show.
    if (canvas.pixel(60, 60) != clBlue || canvas.pixel(11, 11) != clWhite)
        return fail("the circle is not where it was stamped");
    DrawingSurface copy = canvas;
    if (RotateBitmap(copy, clWhite, 30).isEmpty())
        return fail("the turn gave no picture");
    if (!composition.applyEffect(efBlur))
        return fail("the effect found no picture");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("core.bmp"));
    savePicture(composition.canvas().picture(), file);
    if (codecs::loadPicture(file).size() != QSize(200, 150))
        return fail("the saved picture does not read back");
    // The work saved and opened again over another composition, by the core alone.
    const QString work = dir.filePath(QStringLiteral("core.tarvel"));
    saveWorkFile(composition, work);
    CompositionState reopened;
    TSetStruct red = settings;
    red.UseColor = true;
    red.BackgroundColor = clRed;
    reopened.newCanvas(red, QImage());
    openWorkFile(reopened, work);
    if (reopened.canvas().picture().image() != composition.canvas().picture().image())
        return fail("the work opened again is another picture");
    if (widgetsLoaded())
        return fail("Qt Widgets is loaded");
    std::printf("pure logic composed, turned, filtered, saved and reopened a work without Qt "
                "Widgets\n");
    return 0;
}

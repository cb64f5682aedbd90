// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The confirmed choice of the canvas settings dialog: the canvas size and its background.
#pragma once

#include "Colors.h"
#include "PrintSize.h"

#include <QString>
#include <QtGlobal>

// How a background picture is laid on the canvas.
enum PictureLayout : qint32 {
    plTile = 0,
    plStretch = 1,
    plCenter = 2,
};

struct TSetStruct {
    qint32 Width = 800;
    qint32 Height = 600;
    TColor BackgroundColor = clWhite;
    bool UsePicture = false;
    bool UseColor = false;
    QString PictureFile;
    PictureLayout Layout = plTile;
    qint32 Resolution = defaultResolution; // dots per inch the saved files carry
};

// The reset of the dialog's cancel button: every field back to its default except
// PictureFile, which keeps the last confirmed picture.
inline void resetCanvasSettings(TSetStruct& settings) {
    const QString pictureFile = settings.PictureFile;
    settings = TSetStruct{};
    settings.PictureFile = pictureFile;
}

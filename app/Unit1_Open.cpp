// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Opening a picture given to the program (from the desktop's "open with"): a new canvas of the
// picture's size with the picture as a centred background, as if the canvas dialog had been
// confirmed with it.
#include "Limits.h"
#include "StepSession.h"
#include "Unit1.h"

#include "FileAccess.h"
#include "ImageControl.h"
#include "PictureCodecs.h"
#include "Unit2.h"

#include <algorithm>

void TForm1::openPictureFile(const QString& path) {
    // A file that is not a picture ends the command with its message before the canvas is
    // touched.
    const QImage picture = codecs::loadPicture(path);
    const QByteArray bytes = files::readRegularFile(path, maxEmbeddedPicture).data;
    TSetStruct& settings = Form2->CanvasSettings;
    settings.Width = std::min(picture.width(), limits::canvasSide);
    settings.Height = std::min(picture.height(), limits::canvasSide);
    settings.UsePicture = true;
    settings.UseColor = false;
    settings.PictureFile = path;
    settings.Layout = plCenter;
    newCanvasFrom(settings, picture, bytes);
}

// Saving the work canvas: a BMP file when the name's extension is exactly ".bmp", a baseline
// JFIF file at quality 90 otherwise. The file is written beside the target under a temporary
// name and renamed over it only when complete, so a failed save leaves the old file intact.
#pragma once

#include "DrawingSurface.h"

#include <QString>

enum class SaveFormat { Bmp, Jpeg };

// The extension is the file name's part from its last dot on; only ".bmp", compared byte
// for byte, gives BMP (".BMP" gives JPEG).
QString fileExtension(const QString& path);
SaveFormat saveFormatFor(const QString& path);

// No picture: the BMP path writes nothing and returns quietly; the JPEG path raises an error
// and writes nothing.
void savePicture(const DrawingSurface& picture, const QString& path);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Saving the work canvas: a BMP file when the name's extension is ".bmp", a lossless PNG file
// for ".png", a baseline JFIF file at quality 90 otherwise; extensions in any case. The file is
// written beside the target under a temporary name and renamed over it only when complete, so
// a failed save leaves the old file intact.
#pragma once

#include "DrawingSurface.h"

#include <QIODevice>
#include <QString>
#include <functional>

enum class SaveFormat { Bmp, Jpeg, Png };

// The extension is the file name's part from its last dot on; ".bmp" gives BMP and ".png" PNG
// whatever their case (".BMP", ".Png"), every other extension JPEG.
QString fileExtension(const QString& path);
SaveFormat saveFormatFor(const QString& path);

// No picture (an empty canvas): an error, and nothing is written. Every error names the file
// and the problem in one Chinese sentence. dotsPerInch, when above 0, is the resolution the
// file carries (the JFIF density, the BMP pixels per metre); the pixels are the same.
void savePicture(const DrawingSurface& picture, const QString& path, int dotsPerInch = 0);

// Writes a file through a temporary one that replaces it only when complete, with the
// permissions of the file it replaces; a failure says what went wrong, after lead (by default
// "无法保存图片") and the file's name
// ("无法保存图片“/home/a/作品.jpg”：磁盘空间不足或超出文件大小限制。").
void writeThroughTemporaryFile(const QString& path, const std::function<void(QIODevice&)>& write,
                               const QString& lead = QString());

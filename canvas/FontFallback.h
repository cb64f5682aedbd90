// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fallback chain: a character that the chosen face cannot draw is drawn from the closest
// face of the Fonts folder that has it, chosen by the program rather than by the system's
// font matching, so that a brush face is stood in for by a brush or Kai face and not by
// whatever thin face the system would pick.
#pragma once

#include "DrawingSurface.h"

#include <QString>
#include <QStringList>

namespace FontFallback {

// The kinds of face in the order the chain prefers them. A face is told by its family name:
// the brush faces the Fonts folder ships, then names with Kai (楷) or with Sung, Song, Ming
// (宋, 明); any other face comes last.
enum class Kind { Brush = 0, Kai = 1, Song = 2, Other = 3 };
Kind kindOf(const QString& family);

// How heavy a face's strokes are: the ink of 永 drawn 48 pixels high, in pixels' worth of
// coverage. 0 for a face that has no 永.
int inkOf(const QString& family);

// The faces the chain draws from: the families of the Fonts folder, set once they are
// registered (an empty list leaves every choice to the system, as before).
void setFaces(const QStringList& families);
const QStringList& faces();

// The faces in the order they stand in for a face of the given kind: the nearest kind first
// (a brush face before a Song face for Kai, brush before Kai before Song among equals), then
// the heavier face before the lighter, then by name.
QStringList chainFor(Kind chosen, const QStringList& families);

// The faces that draw Chinese (simplified or traditional) before the others, each group in
// the order given: the order of every face list the dialogs offer.
QStringList chineseFacesFirst(QStringList families);

// The face to draw character c of a request in: the request's own face when it has c (or c
// is a space or control character, or no face of the chain has it), else the first face of
// the chain for the request's kind that has it.
QString faceFor(const DrawingSurface::Font& request, char32_t c);
// The same for the first character of a string (a surrogate pair read as one character).
QString faceFor(const DrawingSurface::Font& request, const QString& character);

// How wide a face's stems are at a request's size and weight, in pixels: the median run of
// ink along the rows and columns of a few common characters the face has (永国中田) drawn as
// the request asks (a bold request as bold, the system's own emboldening included). Measured
// once per face, size and weight; 0 for a face without any of the characters.
double stemWidth(const DrawingSurface::Font& request);

// The font to draw character c of a request in: faceFor's face and, when that face stands in
// for the request's own, a thickening that brings its stems to the request's face's, so a
// character that falls back has the weight of those around it (bold included). A fallback
// face heavier than the request's is drawn as it is.
DrawingSurface::Font matchedFont(const DrawingSurface::Font& request, const QString& character);

} // namespace FontFallback

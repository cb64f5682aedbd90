// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The seal renderer: lays the seal's lines of GBK characters out in cells of one of four
// arrangements and draws them, with the red outline and ground of an intaglio or relief
// seal, on a bitmap keyed with clFuchsia.
#pragma once

#include "Arrangement.h"
#include "Colors.h"
#include "DrawingSurface.h"
#include "FontCoverage.h"
#include "Limits.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>

enum SealStyle : qint32 {
    stIntaglio = 0, // white characters on red ("阴文")
    stRelief = 1,   // red characters on light grey ("阳文")
};

enum CornerShape : qint32 {
    cnSquare = 0,  // "直角"
    cnRounded = 1, // "圆角"
};

// The seal paste (印泥) the seal is printed with.
enum SealInk : qint32 {
    siRed = 0,       // "大红": the clear red of the plain seal
    siCinnabar = 1,  // "朱砂": cinnabar, a deep orange-red
    siVermilion = 2, // "朱磦": the lighter, yellower red skimmed off ground cinnabar
};

// How wear takes the paste away.
enum WearStyle : qint32 {
    wsSpecks = 0,  // "斑点": edge pixels and small specks, scattered
    wsPressed = 1, // "压印": runs along the edges, thin patches of paste, rounded corners
};

// The seal's confirmed values; the defaults are those of ResetSettings.
struct TSetStamper {
    qint32 SealWidth = 50;
    qint32 SealHeight = 50;
    qint32 StrokeWeight = 400;
    qint32 CharSpacing = 1;
    QString FontName = QStringLiteral("宋体");
    qint32 EdgeWidth = 1;
    ::SealStyle SealStyle = stIntaglio;
    ::CornerShape CornerShape = cnSquare;
    ::Arrangement Arrangement = arHorzLeftToRight;
    qint32 SealAngle = 0;
    ::SealInk Ink = siRed;
    // The frame along the seal's edge in pixels; a carved seal's frame is as heavy as its
    // strokes. Less than 1 draws the one-pixel frame.
    qint32 FrameWidth = 1;
    // Edges without stair steps: a picture with an alpha channel composited onto the canvas.
    bool SmoothEdges = false;
    // 做旧: how worn the seal looks, 0 (new) to 100, and the seed that makes the wear the
    // same at every render.
    qint32 Wear = 0;
    qint32 WearSeed = 1;
    ::WearStyle WearStyle = wsSpecks;
    // 透底: the intaglio strokes and the relief ground are left out of the picture, so the
    // paper they are stamped on shows there.
    bool Paper = false;
    // The cells are laid out by the number of characters and the seal's shape, and each glyph
    // keeps its own proportions within 1.25 : 1, centred in its cell.
    bool KeepProportions = false;
    // A character drawn from a fallback face is thickened to the stems of the seal's face.
    bool MatchFallbackWeight = false;

    bool operator==(const TSetStamper&) const = default;
};

// The transparent key of the seal picture: everything outside the seal has this colour.
constexpr TColor sealKeyColor = clFuchsia;
// A negative side gives an empty seal. A seal may be as large as the largest canvas, 4000
// pixels a side; a larger side is refused with a message naming it, so that a mistyped size
// cannot ask for gigabytes of bitmap.
constexpr int maxSealSide = limits::canvasSide;
int sealSide(qint32 requested);

// The number of characters of a GBK line: its length minus half the number of bytes of
// value 127 or more (each two-byte character has two such bytes).
int CountDisplayChars(QByteArrayView text);

// The characters of a GBK line in order: a byte of 127 or more takes the next byte with it
// (a lead byte at the very end stands alone); any other byte is one character.
QList<QByteArray> splitDisplayChars(QByteArrayView text);

// The text and ground colours of a style: the pen is always clRed, one pixel wide.
struct SealColors {
    TColor text = clRed;
    TColor pen = clRed;
    TColor brush = 0x00D2D2D2;
    bool operator==(const SealColors&) const = default;
};
SealColors sealColors(::SealStyle style);
// The colours of a style printed with a paste: the red of siRed is today's red; another
// paste takes the place of the red in the frame, the intaglio ground and the relief strokes.
SealColors sealColors(::SealStyle style, ::SealInk ink);

// The cells of one line: one cell size for all its characters, and the top-left corner of
// each character's cell. Empty for an empty line.
struct SealLineCells {
    qint64 cellWidth = 0;
    qint64 cellHeight = 0;
    QList<QPoint> origins;
    bool operator==(const SealLineCells&) const = default;
};

// The layout of line r of n with k characters on a seal of the given size: cell sizes by
// truncating division, cells spacing pixels apart and edge pixels from the sides. An
// arrangement outside 0..3 is laid out as 0. Origins are clamped into the int range.
SealLineCells sealLineCells(::Arrangement arrangement, QSize seal, qint32 edge, qint32 spacing,
                            int lineCount, int line, int charCount);

// KeepProportions: how many characters each line of the layout holds when a seal's count
// characters are regrouped by its shape: the grid whose cells are nearest to square (the
// fewer lines on a tie), its shorter lines first, so two characters stand side by side on a
// wide or square seal and one above the other on a tall one, three are one line and two, and
// four are 2 x 2. A line is a row in the horizontal arrangements and a column in the vertical.
QList<int> proportionalLineCounts(::Arrangement arrangement, QSize seal, int count);

// One character of a seal laid out under KeepProportions: its cell, and the box within it that
// its glyph is drawn in, centred and no more than 1.25 : 1 off the face's own proportions.
struct SealGlyphCell {
    QString text;
    QRect cell;
    QRect glyph;
    // How far the cell's shape is from the glyph's own: 1 for a cell the glyph fills
    // undistorted, 2 for one twice as wide (or tall) as the glyph would be.
    double distortion = 1;
};
// Every character of the lines, regrouped and laid out; a face's proportions are those of a
// full-width character in the face that draws it.
QList<SealGlyphCell> proportionalSealCells(const TSetStamper& settings, const QStringList& lines);
// The most by which the seal's shape keeps a glyph from filling its cell: more than the
// 1.25 a glyph may be stretched means the seal leaves space around its characters.
double sealShapeDistortion(const TSetStamper& settings, const QStringList& lines);
constexpr double maxGlyphDistortion = 1.25;

// The outline over the whole bitmap: a rectangle, or a round rectangle with an 8 x 8 corner
// ellipse leaving the corners in the key colour. The brush is left clear afterwards.
void drawSealOutline(DrawingSurface& surface, ::CornerShape corner, const SealColors& colors);
// The same with a frame of frameWidth pixels inside the bitmap's edge (1 and less: the outline
// above), the corners of a rounded frame following the outer curve.
void drawSealOutline(DrawingSurface& surface, ::CornerShape corner, const SealColors& colors,
                     int frameWidth);

// 做旧: wears the ink of a keyed seal picture. Ink (the pixels of the ink colours) next to what
// is not ink breaks away, and small specks of it are lost inside, more of both as wear goes
// from 1 to 100; what is lost becomes the key colour, so the paper shows there. The same
// seed gives the same wear. A wear of 0 or less changes nothing.
void wearSeal(DrawingSurface& seal, const QList<TColor>& inks, int wear, qint32 seed);

// 做旧 as the paper takes a pressed seal: ink breaks away in runs along the edges of the frame
// and the strokes, the paste is thin in broad patches (deeper erosion and holes there), and
// corners, the seal's own and its strokes', are rounded off. Nothing lost or left is a speck
// of fewer than minWearSpeck pixels. The same seed gives the same wear; 0 or less changes
// nothing.
void wearSealPressed(DrawingSurface& seal, const QList<TColor>& inks, int wear, qint32 seed);
constexpr int minWearSpeck = 9; // a 3 x 3 pixel spot

// Draws one character with the top-left of its cw x ch cell at (x, y): the surface's font
// with a cell height of ch, a width of cw div 2 as half a full-width character (so such a
// character fills its cell in every face), the given weight, upright, plain and in the GB2312
// character set, on a transparent background, in the font's colour and without antialiasing
// (every pixel it touches takes exactly that colour). A face that has no such weight is
// thickened to it. A cell without width or height draws nothing.
// With matchFallbackWeight a character drawn from a fallback face is thickened to the stems
// of the surface's face.
void DrawSealChar(DrawingSurface& surface, int cellWidth, int cellHeight, int x, int y,
                  const QString& text, int weight, bool matchFallbackWeight = false);

// Steps 3 to 7 of a preview: the seal bitmap of settings' size filled with the key colour,
// the outline, every line in its arrangement, the key as transparent colour. textColor
// receives the colour the characters were drawn in.
DrawingSurface renderSeal(const TSetStamper& settings, const QList<QByteArray>& lines,
                          TColor* textColor = nullptr);
// The same for the lines as the editor holds them: laid out by their GBK bytes, and each
// character drawn as itself, one without a GBK code (𠀀, ︐, an emoji) included.
DrawingSurface renderSealText(const TSetStamper& settings, const QStringList& lines,
                              TColor* textColor = nullptr);

// The seal with smooth edges, for SmoothEdges: a picture with an alpha channel, drawn four
// times larger and reduced, so that every edge pixel is a part of the seal's own colour over
// nothing, never a blend with the key colour. Worn as the keyed seal is. Empty for a seal
// without width or height.
QImage renderSmoothSeal(const TSetStamper& settings, const QStringList& lines);

// The smooth seal turned as the keyed one: in a clear picture of the given size (that of the
// turned keyed seal), the seal in its top-left corner, or turned counter-clockwise by angle
// degrees about the centre of the square of its diagonal.
QImage turnedSmoothSeal(const QImage& seal, int angle, QSize size);

// The seal's face and the characters of its lines that the face lacks, drawn in a fallback
// face; nothing when the face has them all.
QList<FaceGap> sealGaps(const TSetStamper& settings, const QStringList& lines);

// The picture that is turned: width x height in the key colour, with the key as its
// transparent colour, and the seal bitmap copied into its top-left corner.
DrawingSurface framedSeal(const DrawingSurface& seal, int width, int height);

// The side of the square the seal is turned in: trunc(sqrt(W² + H²)).
int sealDiagonal(int width, int height);

// One GBK character as text (a lone lead byte or an invalid pair becomes U+FFFD).
QString gbkCharToString(const QByteArray& bytes);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The limits of a composition, each in one place: the dialogs' boxes, the script and work keys,
// the renderers and the templates all read them here. (The resolution's are in PrintSize.h.)
#pragma once

namespace limits {

// The largest side of a canvas, in pixels; nothing stamped can land further than that.
inline constexpr int canvasSide = 4000;
// The largest character size of a text run, in points.
inline constexpr int textPoints = 1638;
// The fan dialog's outer radius, and its ring's inner radius at most, in pixels.
inline constexpr int fanRadiusMin = 10;
inline constexpr int fanRadiusMax = 1000;
// The fan's outline in pixels at most, and the span of its ring in degrees.
inline constexpr int fanLineMax = 10;
inline constexpr int fanSpanMax = 360;
// How far a line of rotated characters and a seal turn, in degrees either way.
inline constexpr int rotatedAngle = 180;
inline constexpr int sealAngle = 60;
// A seal's stroke weight (as a font weight), its frame in pixels and its wear in percent.
inline constexpr int sealWeightMin = 400;
inline constexpr int sealWeightMax = 1000;
inline constexpr int sealFrameMax = 200;
inline constexpr int sealWearMax = 100;
// A template's paper sides in whole centimetres, its resolution in dots per inch (0: the one
// the paper fits the largest canvas at) and a fan template's span in degrees.
inline constexpr int templatePaperCmMax = 1000;
inline constexpr int templateDpiMax = 1200;
inline constexpr int templateSpanMin = 60;
inline constexpr int templateSpanMax = 180;

} // namespace limits

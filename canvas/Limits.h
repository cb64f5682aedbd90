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

} // namespace limits

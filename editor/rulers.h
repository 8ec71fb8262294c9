// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two rulers around the board view: column numbers along the top, row numbers down
// the left side, following the board's scroll position.
#include "editor/board_geometry.h"
#include "platform/raster.h"

namespace kirrup {

inline constexpr platform::Color kRulerFace = platform::Rgb(192, 192, 192);
inline constexpr platform::Color kRulerBand = platform::Rgb(170, 200, 255);
inline constexpr platform::Color kRulerMark = platform::Rgb(160, 0, 0);
inline constexpr platform::Color kRulerGrey = platform::Rgb(120, 120, 120);

// Paints both rulers onto the ruler window's raster (the board view sits at (15, 15));
// sx, sy: the board view's scroll position in pixels.
void PaintRulers(platform::RgbImage& surface, const BoardGeometry& geo, int sx, int sy);

}  // namespace kirrup

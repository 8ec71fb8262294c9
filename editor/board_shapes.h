// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The cells of the drawing tools' shapes, independent of any image.
#include <vector>

#include "editor/board_geometry.h"
#include "platform/raster.h"

namespace kirrup {

// The cells of a line from a to b, both ends included, stepping along the longer axis;
// the shorter axis advances when the error reaches half a cell.
std::vector<Point> LineCells(Point a, Point b);
// The cells of the rectangle spanned by two corner cells (any order): its border, or all.
std::vector<Point> RectangleCells(Point a, Point b, bool filled);
// The ellipse inscribed in the rectangle spanned by two corner cells: its one-cell-wide
// outline, or the outline with its inside. Symmetric, touching all four sides.
std::vector<Point> EllipseCells(Point a, Point b, bool filled);
// Replaces by the colour every cell of the other colour 4-connected to the seed, inside
// the top-left width x height cells only. Returns false when the seed is outside that
// area or already has the colour.
bool FloodFill(platform::Bitmap1& image, int width, int height, Point seed, bool lit);

}  // namespace kirrup

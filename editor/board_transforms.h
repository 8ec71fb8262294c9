// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the select tool does to the w x h cells at the top-left of a one-bit buffer:
// turning, mirroring, inverting, hollowing and scaling; and the two frames it draws on
// the screen around a selection and around a resize rubber band.
#include "editor/board_geometry.h"
#include "platform/raster.h"

namespace kirrup {

// The dashes and handle squares of a selection frame: pale yellow alternating with black.
inline constexpr platform::Color kSelectionPale = platform::Rgb(255, 255, 163);

// Counter-clockwise: (x, y) goes to (y, w - 1 - x); the content becomes h x w.
void RotateLeft(platform::Bitmap1& b, int w, int h);
// Clockwise: (x, y) goes to (h - 1 - y, x); the content becomes h x w.
void RotateRight(platform::Bitmap1& b, int w, int h);
void Rotate180(platform::Bitmap1& b, int w, int h);
void MirrorHorizontally(platform::Bitmap1& b, int w, int h);
void MirrorVertically(platform::Bitmap1& b, int w, int h);
void Invert(platform::Bitmap1& b, int w, int h);
// The outline around the black shapes: black exactly at the white cells that touch a
// black cell in any of the eight directions, inside the w x h area.
void Hollow(platform::Bitmap1& b, int w, int h);
// From w0 x h0 to w1 x h1: growing repeats cells, shrinking merges them, and a merged
// cell is black when any of its cells is.
void Scale(platform::Bitmap1& b, int w0, int h0, int w1, int h1);

// The frame around the cells: two-pixel dashes outside the grid lines that bound them,
// interrupted at the corners and side middles, where pale squares of 5 x 5 pixels sit.
void PaintSelectionFrame(const BoardGeometry& geo, const InclusiveRect& cells, platform::RgbImage& surface);
// A dotted rectangle one pixel inside the grid lines that bound the cells.
void PaintResizeFrame(const BoardGeometry& geo, const InclusiveRect& cells, platform::RgbImage& surface);

}  // namespace kirrup

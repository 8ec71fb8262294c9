// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The small drawing routines the editor windows share, on colour rasters. Lines follow
// the usual convention: from the first point up to, but not including, the second.
// The pen is passed with every call instead of being selected into the surface.
#include <cstdint>
#include <span>

#include "editor/board_geometry.h"
#include "platform/raster.h"

namespace kirrup {

// Fills the inside of a cell (its square less the grid column and row) in ink or paper;
// false when the cell lies outside the area.
bool PaintCell(const BoardArea& area, int cellSize, int column, int row, bool ink, platform::RgbImage& surface);
// Fills the pixels of the rectangle, edges included.
void FillCells(const InclusiveRect& r, platform::RgbImage& surface, platform::Color colour);
// Horizontal and vertical lines longer than 1800 pixels are drawn in four pieces from the
// smaller to the larger coordinate; every other line in one piece.
void DrawLine(platform::RgbImage& surface, platform::Color pen, int x1, int y1, int x2, int y2);
// Every border pixel of the rectangle, all four corners included.
void FrameRect(platform::RgbImage& surface, platform::Color pen, int l, int t, int r, int b);

// Where a bit writer puts its pixels and how many columns and rows it may write.
struct BitTarget {
  int x = 0, y = 0;
  int columns = 0, rows = 0;
};
// At most 5 rows of 8 columns, the leftmost column in the top bit of each byte.
void PutRowBits(const BitTarget& t, platform::RgbImage& surface, std::span<const uint8_t> bytes,
                platform::Color ink, platform::Color paper);
// At most 5 columns of 8 rows, the top row in the top bit of each byte.
void PutColumnBits(const BitTarget& t, platform::RgbImage& surface, std::span<const uint8_t> bytes,
                   platform::Color ink, platform::Color paper);
// Columns of a character in stored order (rightmost first, bottom row in the first bit).
void PutCharColumns(const BitTarget& t, platform::RgbImage& surface, int columns, int rows,
                    std::span<const uint8_t> data, platform::Color ink, platform::Color paper);

}  // namespace kirrup

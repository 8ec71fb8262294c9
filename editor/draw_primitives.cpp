// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/draw_primitives.h"

#include <algorithm>
#include <cstdlib>

namespace kirrup {

using platform::Color;
using platform::RgbImage;

namespace {

constexpr int kLongLine = 1800;

// One line in the pen's colour, end point left out.
void PlainLine(RgbImage& s, Color pen, int x1, int y1, int x2, int y2) {
  if (y1 == y2) {
    const int step = x2 >= x1 ? 1 : -1;
    for (int x = x1; x != x2; x += step) s.SetPixel(x, y1, pen);
    return;
  }
  if (x1 == x2) {
    const int step = y2 >= y1 ? 1 : -1;
    for (int y = y1; y != y2; y += step) s.SetPixel(x1, y, pen);
    return;
  }
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  int x = x1, y = y1;
  if (dx >= dy) {
    int err = 2 * dy - dx;
    for (int i = 0; i < dx; ++i) {
      s.SetPixel(x, y, pen);
      if (err > 0) {
        y += sy;
        err -= 2 * dx;
      }
      err += 2 * dy;
      x += sx;
    }
  } else {
    int err = 2 * dx - dy;
    for (int i = 0; i < dy; ++i) {
      s.SetPixel(x, y, pen);
      if (err > 0) {
        x += sx;
        err -= 2 * dy;
      }
      err += 2 * dx;
      y += sy;
    }
  }
}

}  // namespace

bool PaintCell(const BoardArea& area, int cellSize, int column, int row, bool ink, RgbImage& surface) {
  if (column >= area.width || row >= area.height) return false;
  const int x = area.view.left + column * cellSize;
  const int y = area.view.top + row * cellSize;
  surface.FillRect({x + 1, y + 1, x + cellSize, y + cellSize}, ink ? platform::kInk : platform::kPaper);
  return true;
}

void FillCells(const InclusiveRect& r, RgbImage& surface, Color colour) {
  surface.FillRect({r.left, r.top, r.right + 1, r.bottom + 1}, colour);
}

void DrawLine(RgbImage& s, Color pen, int x1, int y1, int x2, int y2) {
  const bool horizontal = y1 == y2;
  const bool vertical = !horizontal && x1 == x2;
  if (horizontal || vertical) {
    const int lo = horizontal ? std::min(x1, x2) : std::min(y1, y2);
    const int hi = horizontal ? std::max(x1, x2) : std::max(y1, y2);
    if (hi - lo > kLongLine) {
      const int piece = (hi - lo) / 4;
      int from = lo;
      for (int k = 0; k < 4; ++k) {
        const int to = k == 3 ? hi : from + piece;
        if (horizontal)
          PlainLine(s, pen, from, y1, to, y1);
        else
          PlainLine(s, pen, x1, from, x1, to);
        from = to;
      }
      return;
    }
  }
  PlainLine(s, pen, x1, y1, x2, y2);
}

void FrameRect(RgbImage& s, Color pen, int l, int t, int r, int b) {
  DrawLine(s, pen, l, t, r, t);
  DrawLine(s, pen, r, t, r, b);
  DrawLine(s, pen, l, t, l, b);
  DrawLine(s, pen, l, b, r + 1, b);
}

void PutRowBits(const BitTarget& t, RgbImage& surface, std::span<const uint8_t> bytes, Color ink, Color paper) {
  for (int i = 0; i < 5 && i < t.rows && i < static_cast<int>(bytes.size()); ++i) {
    for (int j = 0; j < 8 && j < t.columns; ++j)
      surface.SetPixel(t.x + j, t.y + i, (bytes[static_cast<size_t>(i)] >> (7 - j)) & 1 ? ink : paper);
  }
}

void PutColumnBits(const BitTarget& t, RgbImage& surface, std::span<const uint8_t> bytes, Color ink,
                   Color paper) {
  for (int i = 0; i < 5 && i < t.columns && i < static_cast<int>(bytes.size()); ++i) {
    for (int j = 0; j < 8 && j < t.rows; ++j)
      surface.SetPixel(t.x + i, t.y + j, (bytes[static_cast<size_t>(i)] >> (7 - j)) & 1 ? ink : paper);
  }
}

void PutCharColumns(const BitTarget& t, RgbImage& surface, int columns, int rows, std::span<const uint8_t> data,
                    Color ink, Color paper) {
  if (columns <= 0 || rows <= 0) return;
  const int perColumn = (rows + 7) / 8;
  const int cols = std::min(columns, t.columns);
  const int rws = std::min(rows, t.rows);
  for (int i = 0; i < cols; ++i) {
    const int stored = columns - 1 - i;
    for (int j = 0; j < rws; ++j) {
      const int k = rows - 1 - j;
      const size_t at = static_cast<size_t>(stored * perColumn + k / 8);
      const bool lit = at < data.size() && ((data[at] >> (7 - k % 8)) & 1);
      surface.SetPixel(t.x + i, t.y + j, lit ? ink : paper);
    }
  }
}

}  // namespace kirrup

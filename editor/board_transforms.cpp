// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_transforms.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kirrup {

using platform::Bitmap1;
using platform::RgbImage;

namespace {

// The turned content is built apart (square of the longer side, white) and copied back.
template <typename Map>
void Turn(Bitmap1& b, int w, int h, Map map) {
  const int side = std::max(w, h);
  Bitmap1 turned(side, side);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (b.Lit(x, y)) {
        const Point to = map(x, y);
        turned.Set(to.x, to.y, true);
      }
  b.CopyFrom(turned, 0, 0, side, side, 0, 0);
}

}  // namespace

void RotateLeft(Bitmap1& b, int w, int h) {
  Turn(b, w, h, [w](int x, int y) { return Point{y, w - 1 - x}; });
}

void RotateRight(Bitmap1& b, int w, int h) {
  Turn(b, w, h, [h](int x, int y) { return Point{h - 1 - y, x}; });
}

void Rotate180(Bitmap1& b, int w, int h) {
  Turn(b, w, h, [w, h](int x, int y) { return Point{w - 1 - x, h - 1 - y}; });
}

void MirrorHorizontally(Bitmap1& b, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w / 2; ++x) {
      const bool a = b.Lit(x, y);
      b.Set(x, y, b.Lit(w - 1 - x, y));
      b.Set(w - 1 - x, y, a);
    }
}

void MirrorVertically(Bitmap1& b, int w, int h) {
  for (int y = 0; y < h / 2; ++y)
    for (int x = 0; x < w; ++x) {
      const bool a = b.Lit(x, y);
      b.Set(x, y, b.Lit(x, h - 1 - y));
      b.Set(x, h - 1 - y, a);
    }
}

void Invert(Bitmap1& b, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Set(x, y, !b.Lit(x, y));
}

void Hollow(Bitmap1& b, int w, int h) {
  Bitmap1 result(std::max(w, 0), std::max(h, 0));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!b.Lit(x, y)) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (dx != 0 || dy != 0) result.Set(x + dx, y + dy, true);  // outside the area: dropped
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (b.Lit(x, y)) result.Set(x, y, false);
  b.CopyFrom(result, 0, 0, w, h, 0, 0);
}

namespace {

// The source cells [first, last] that target cell t covers along one axis.
std::pair<int, int> Covered(int t, int from, int to) {
  if (to >= from) {
    const int s = t * from / to;
    return {s, s};
  }
  return {t * from / to, (t + 1) * from / to - 1};
}

}  // namespace

void Scale(Bitmap1& b, int w0, int h0, int w1, int h1) {
  if (w0 <= 0 || h0 <= 0 || w1 <= 0 || h1 <= 0) return;
  const int wc = std::min(w1, b.width()), hc = std::min(h1, b.height());  // the rest would be dropped
  Bitmap1 source(std::min(w0, b.width()), std::min(h0, b.height()));
  source.CopyFrom(b, 0, 0, w0, h0, 0, 0);
  for (int ty = 0; ty < hc; ++ty) {
    const auto [y0, y1] = Covered(ty, h0, h1);
    for (int tx = 0; tx < wc; ++tx) {
      const auto [x0, x1] = Covered(tx, w0, w1);
      bool black = false;
      for (int y = y0; y <= y1 && !black; ++y)
        for (int x = x0; x <= x1 && !black; ++x) black = source.Lit(x, y);
      b.Set(tx, ty, black);
    }
  }
  // Cells of the old size beyond the new one are no longer content.
  for (int y = 0; y < h0; ++y)
    for (int x = 0; x < w0; ++x)
      if (x >= w1 || y >= h1) b.Set(x, y, false);
}

// ---------------------------------------------------------------------------------------
// Frames

void PaintSelectionFrame(const BoardGeometry& geo, const InclusiveRect& cells, RgbImage& surface) {
  const InclusiveRect v = geo.CellRectToView(cells);
  // The grid line just right of and below the cells is the next cell's first pixel.
  const int l = v.left - 1, t = v.top - 1, r = v.right + 2, b = v.bottom + 2;
  const int mx = (l + r) / 2, my = (t + b) / 2;
  const std::array<int, 3> hx = {l, mx, r}, hy = {t, my, b};
  auto nearHandle = [](int c, const std::array<int, 3>& hs) {
    return std::any_of(hs.begin(), hs.end(), [c](int h) { return std::abs(c - h) <= 3; });
  };
  auto dash = [](int c) {
    const int m = c % 6;  // negative remainders are black
    return m >= 2 ? kSelectionPale : platform::kInk;
  };
  // Two pixels thick, outward from the rectangle (l, t, r, b).
  for (int x = l - 1; x <= r + 1; ++x) {
    if (nearHandle(x, hx)) continue;
    const platform::Color c = dash(x);
    for (int k = 0; k < 2; ++k) {
      surface.SetPixel(x, t - k, c);
      surface.SetPixel(x, b + k, c);
    }
  }
  for (int y = t - 1; y <= b + 1; ++y) {
    if (nearHandle(y, hy)) continue;
    const platform::Color c = dash(y);
    for (int k = 0; k < 2; ++k) {
      surface.SetPixel(l - k, y, c);
      surface.SetPixel(r + k, y, c);
    }
  }
  for (int x : hx)
    for (int y : hy)
      if (x != mx || y != my) surface.FillRect({x - 2, y - 2, x + 3, y + 3}, kSelectionPale);
}

void PaintResizeFrame(const BoardGeometry& geo, const InclusiveRect& cells, RgbImage& surface) {
  const InclusiveRect v = geo.CellRectToView(cells.Normalized());
  const int l = v.left + 1, t = v.top + 1, r = v.right, b = v.bottom;  // the grid lines are v.left and v.right + 1
  auto dot = [](int c) { return (c & 1) == 0 ? platform::kInk : platform::kPaper; };
  for (int x = l; x <= r; ++x) {
    surface.SetPixel(x, t, dot(x));
    surface.SetPixel(x, b, dot(x));
  }
  for (int y = t; y <= b; ++y) {
    surface.SetPixel(l, y, dot(y));
    surface.SetPixel(r, y, dot(y));
  }
}

}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_shapes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace kirrup {

std::vector<Point> LineCells(Point a, Point b) {
  const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  const int sx = b.x >= a.x ? 1 : -1, sy = b.y >= a.y ? 1 : -1;
  const bool alongX = dx >= dy;
  const int longer = alongX ? dx : dy;
  const int shorter = alongX ? dy : dx;
  std::vector<Point> cells;
  cells.reserve(static_cast<size_t>(longer) + 1);
  Point p = a;
  int error = 0;
  for (int i = 0; i <= longer; ++i) {
    cells.push_back(p);
    error += shorter;
    const bool advance = 2 * error >= longer && longer > 0;
    if (advance) error -= longer;
    if (alongX) {
      p.x += sx;
      if (advance) p.y += sy;
    } else {
      p.y += sy;
      if (advance) p.x += sx;
    }
  }
  return cells;
}

std::vector<Point> RectangleCells(Point a, Point b, bool filled) {
  const int l = std::min(a.x, b.x), r = std::max(a.x, b.x);
  const int t = std::min(a.y, b.y), bo = std::max(a.y, b.y);
  std::vector<Point> cells;
  for (int y = t; y <= bo; ++y) {
    for (int x = l; x <= r; ++x) {
      if (filled || x == l || x == r || y == t || y == bo) cells.push_back({x, y});
    }
  }
  return cells;
}

std::vector<Point> EllipseCells(Point a, Point b, bool filled) {
  const int l = std::min(a.x, b.x), t = std::min(a.y, b.y);
  const int w = std::abs(b.x - a.x) + 1, h = std::abs(b.y - a.y) + 1;
  // Doubled coordinates about the centre keep the test exact and symmetric:
  // X = 2x - (w - 1), Y = 2y - (h - 1); inside when X²h² + Y²w² <= w²h².
  const int64_t w2 = int64_t(w) * w, h2 = int64_t(h) * h;
  std::vector<uint8_t> inside(static_cast<size_t>(w) * h, 0);
  auto at = [&](int x, int y) -> uint8_t& { return inside[static_cast<size_t>(y) * w + x]; };
  std::vector<uint8_t> columnUsed(static_cast<size_t>(w), 0);
  for (int y = 0; y < h; ++y) {
    const int64_t Y = 2 * y - (h - 1);
    bool any = false;
    for (int x = 0; x < w; ++x) {
      const int64_t X = 2 * x - (w - 1);
      if (X * X * h2 + Y * Y * w2 <= w2 * h2) at(x, y) = 1, any = true, columnUsed[static_cast<size_t>(x)] = 1;
    }
    // A row the curve crosses between cell centres still gets its middle cell(s), so the
    // shape reaches the top and bottom rows of a narrow box.
    if (!any) {
      at((w - 1) / 2, y) = 1;
      at(w / 2, y) = 1;
    }
  }
  // The same for columns, so a flat box's shape reaches its left and right columns.
  for (int x = 0; x < w; ++x) {
    if (columnUsed[static_cast<size_t>(x)]) continue;
    at(x, (h - 1) / 2) = 1;
    at(x, h / 2) = 1;
  }
  auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && at(x, y); };
  std::vector<Point> cells;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!at(x, y)) continue;
      const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
      if (filled || edge) cells.push_back({l + x, t + y});
    }
  }
  return cells;
}

bool FloodFill(platform::Bitmap1& image, int width, int height, Point seed, bool lit) {
  width = std::min(width, image.width());
  height = std::min(height, image.height());
  if (seed.x < 0 || seed.y < 0 || seed.x >= width || seed.y >= height) return false;
  if (image.Lit(seed.x, seed.y) == lit) return false;
  std::vector<Point> stack{seed};
  image.Set(seed.x, seed.y, lit);
  while (!stack.empty()) {
    const Point p = stack.back();
    stack.pop_back();
    const Point next[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
    for (const Point& n : next) {
      if (n.x < 0 || n.y < 0 || n.x >= width || n.y >= height || image.Lit(n.x, n.y) == lit) continue;
      image.Set(n.x, n.y, lit);
      stack.push_back(n);
    }
  }
  return true;
}

}  // namespace kirrup

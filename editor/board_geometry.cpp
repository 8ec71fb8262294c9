// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_geometry.h"

#include <algorithm>

namespace kirrup {

InclusiveRect InclusiveRect::Normalized() const {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

bool PointInRectInclusive(const InclusiveRect& r, Point p) {
  return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}

bool BoardGeometry::LayoutSections(int cell, int sw, int sh) {
  if (sw < kMinSectionSide || sh < kMinSectionSide) return false;
  const int w = board.width;
  const int h = board.height;
  const int across = w / sw + (w % sw != 0 ? 1 : 0);
  const int down = h / sh + (h % sh != 0 ? 1 : 0);
  if (across * down > kMaxSections) return false;

  sectionCount = across * down;
  sectionWidth = sw;
  sectionHeight = sh;
  cellSize = cell;
  sectionsAcross = across;
  sectionsDown = down;
  board.view.right = board.view.left + w * cell - 1;
  board.view.bottom = board.view.top + h * cell - 1;

  for (int r = 0; r < down; ++r) {
    for (int k = 0; k < across; ++k) {
      BoardSection& s = sections[static_cast<size_t>(r * across + k)];
      s.width = (k == across - 1 && w % sw != 0) ? w % sw : sw;
      s.height = (r == down - 1 && h % sh != 0) ? h % sh : sh;
      s.originX = k * sw;
      s.originY = r * sh;
      s.view.left = board.view.left + k * sw * cell;
      s.view.top = board.view.top + r * sh * cell;
      s.view.right = s.view.left + s.width * cell - 1;
      s.view.bottom = s.view.top + s.height * cell - 1;
    }
  }
  return true;
}

SectionHit BoardGeometry::HitSection(Point p) const {
  if (!PointInRectInclusive(board.view, p) || board.width <= 0) return {};
  const int i = (p.x - board.view.left) / cellSize;
  const int j = (p.y - board.view.top) / cellSize;
  const int section = (j / sectionHeight) * sectionsAcross + i / sectionWidth;
  if (section >= sectionCount) return {};
  return {section, i % sectionWidth, j % sectionHeight};
}

Point BoardGeometry::ViewToCell(Point p) const {
  // C++ division truncates toward zero, which is the rule.
  return {(p.x - board.view.left) / cellSize, (p.y - board.view.top) / cellSize};
}

InclusiveRect BoardGeometry::ViewRectToCells(const InclusiveRect& r) const {
  const InclusiveRect n = r.Normalized();
  const Point a = ViewToCell({n.left, n.top});
  const Point b = ViewToCell({n.right, n.bottom});
  return {a.x, a.y, b.x, b.y};
}

InclusiveRect BoardGeometry::CellRectToView(const InclusiveRect& c) const {
  const int l = board.view.left;
  const int t = board.view.top;
  return {l + c.left * cellSize, t + c.top * cellSize, l + (c.right + 1) * cellSize - 1,
          t + (c.bottom + 1) * cellSize - 1};
}

InclusiveRect BoardGeometry::ClampToBoard(const InclusiveRect& c) const {
  return {std::max(c.left, 0), std::max(c.top, 0), std::min(c.right, board.width - 1),
          std::min(c.bottom, board.height - 1)};
}

}  // namespace kirrup

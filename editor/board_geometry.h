// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The board on the screen: cell size, the board's rectangle in view pixels, its
// division into sections (the line's character windows), and the conversions between
// view pixels and cells. One set of values serves the board view, its rulers and the
// editor frame.
#include <array>

namespace kirrup {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// A rectangle with both edges included (cells or view pixels).
struct InclusiveRect {
  int left = -1, top = -1, right = -1, bottom = -1;
  bool operator==(const InclusiveRect&) const = default;
  // Left <= right and top <= bottom.
  InclusiveRect Normalized() const;
};

bool PointInRectInclusive(const InclusiveRect& r, Point p);

// The board as a whole or one of its sections: pixels in view coordinates and size in cells.
struct BoardArea {
  InclusiveRect view{0, 0, -1, -1};
  int width = 0;
  int height = 0;
};

struct BoardSection : BoardArea {
  int originX = 0;  // first cell in the image
  int originY = 0;
};

struct SectionHit {
  int section = -1;  // -1: not on the board
  int column = 0;    // inside the section
  int row = 0;
};

class BoardGeometry {
 public:
  static constexpr int kMaxSections = 256;
  static constexpr int kMinSectionSide = 4;

  int cellSize = 6;
  // The board: view.left/top stay at the origin, right/bottom follow the size.
  BoardArea board{{0, 0, 143 * 6 + 5, 15 * 6 + 5}, 144, 16};
  int sectionWidth = 24;
  int sectionHeight = 28;
  int sectionsAcross = 0;
  int sectionsDown = 0;
  int sectionCount = 0;
  std::array<BoardSection, kMaxSections> sections{};

  int width() const { return board.width; }
  int height() const { return board.height; }
  const InclusiveRect& boardRect() const { return board.view; }
  bool Present() const { return board.width > 0 && board.height > 0; }

  // Lays out the sections of the current width and height; refuses a side below 4 cells
  // or more than 256 sections and then changes nothing.
  bool LayoutSections(int cell, int sw, int sh);
  SectionHit HitSection(Point p) const;
  // Truncates toward zero: up to one cell above or left of the board still gives 0.
  Point ViewToCell(Point p) const;
  InclusiveRect ViewRectToCells(const InclusiveRect& r) const;
  InclusiveRect CellRectToView(const InclusiveRect& cells) const;
  // The cells clamped to the board (may come out empty: right < left).
  InclusiveRect ClampToBoard(const InclusiveRect& cells) const;
};

}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_geometry.h"

#include <gtest/gtest.h>

#include <vector>

#include "editor/draw_primitives.h"
#include "editor/pixel_board.h"

namespace kirrup {
namespace {

using platform::RgbImage;

BoardGeometry Board(int w, int h) {
  BoardGeometry g;
  g.board.width = w;
  g.board.height = h;
  return g;
}

int CountPixels(const RgbImage& s, platform::Color c) {
  int n = 0;
  for (platform::Color p : s.pixels()) n += p == c;
  return n;
}

TEST(LayoutSections, SectionGrids) {
  struct Case {
    int w, h, cell, sw, sh;
    bool ok;
    int across, down, lastWidth, lastHeight;
  };
  const std::vector<Case> cases = {
      {144, 16, 6, 16, 16, true, 9, 1, 16, 16},
      {142, 11, 6, 13, 11, true, 11, 1, 12, 11},
      {108, 7, 6, 6, 7, true, 18, 1, 6, 7},
      {180, 11, 6, 13, 11, true, 14, 1, 11, 11},
      {0, 16, 6, 16, 16, true, 0, 1, 0, 0},
      {50, 20, 4, 3, 8, false, 0, 0, 0, 0},
      {160, 32, 4, 4, 4, false, 0, 0, 0, 0},  // 320 sections
      {64, 64, 4, 4, 4, true, 16, 16, 4, 4},  // exactly 256
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " by " << c.sw << "x" << c.sh);
    BoardGeometry g = Board(c.w, c.h);
    const BoardGeometry before = g;
    ASSERT_EQ(g.LayoutSections(c.cell, c.sw, c.sh), c.ok);
    if (!c.ok) {
      EXPECT_EQ(g.sectionCount, before.sectionCount);
      EXPECT_EQ(g.sectionWidth, before.sectionWidth);
      EXPECT_EQ(g.boardRect(), before.boardRect());
      continue;
    }
    EXPECT_EQ(g.sectionsAcross, c.across);
    EXPECT_EQ(g.boardRect().right, c.w * c.cell - 1);
    EXPECT_EQ(g.boardRect().bottom, c.h * c.cell - 1);
    if (c.across == 0) continue;
    const BoardSection& last = g.sections[static_cast<size_t>(g.sectionCount - 1)];
    EXPECT_EQ(g.sectionsDown, c.down);
    EXPECT_EQ(last.width, c.lastWidth);
    EXPECT_EQ(last.height, c.lastHeight);
    EXPECT_EQ(last.view.right, g.boardRect().right);
    EXPECT_EQ(last.view.bottom, g.boardRect().bottom);
  }
}

TEST(LayoutSections, FourthSectionOfASevenLedLineStartsAt108) {
  BoardGeometry g = Board(108, 7);
  ASSERT_TRUE(g.LayoutSections(6, 6, 7));
  EXPECT_EQ(g.sectionCount, 18);
  EXPECT_EQ(g.sections[3].view.left, 108);
  EXPECT_EQ(g.sections[3].originX, 18);
}

TEST(BoardConversions, TruncateTowardZeroAndHitTheLastCell) {
  BoardGeometry g = Board(10, 5);
  ASSERT_TRUE(g.LayoutSections(8, 4, 4));
  EXPECT_EQ(g.ViewRectToCells({20, 20, -3, -3}), (InclusiveRect{0, 0, 2, 2}));
  EXPECT_EQ(g.ViewToCell({-9, -8}), (Point{-1, -1}));
  EXPECT_EQ(g.CellRectToView({1, 1, 2, 3}), (InclusiveRect{8, 8, 23, 31}));

  const SectionHit last = g.HitSection({79, 39});
  EXPECT_EQ(last.section, 5);  // 3 across, 2 down: cell (9, 4) is in the last one
  EXPECT_EQ(last.column, 1);
  EXPECT_EQ(last.row, 0);
  EXPECT_EQ(g.HitSection({80, 39}).section, -1);
  EXPECT_EQ(g.HitSection({-1, 0}).section, -1);
}

TEST(DrawPrimitives, CellsLinesAndFrames) {
  for (int cell : {4, 10}) {
    RgbImage s(20, 20);
    BoardArea area{{0, 0, 19, 19}, 2, 2};
    ASSERT_TRUE(PaintCell(area, cell, 1, 1, true, s));
    EXPECT_EQ(CountPixels(s, platform::kInk), (cell - 1) * (cell - 1));
    EXPECT_EQ(s.Pixel(cell, cell), platform::kPaper);  // left to the grid
    EXPECT_FALSE(PaintCell(area, cell, 2, 0, true, s));
  }

  RgbImage wide(2100, 1);
  DrawLine(wide, platform::kInk, 2000, 0, 0, 0);
  EXPECT_EQ(CountPixels(wide, platform::kInk), 2000);
  EXPECT_EQ(wide.Pixel(1999, 0), platform::kInk);
  EXPECT_EQ(wide.Pixel(2000, 0), platform::kPaper);

  RgbImage f(8, 8);
  FrameRect(f, platform::kInk, 2, 2, 5, 4);
  EXPECT_EQ(CountPixels(f, platform::kInk), 10);
  EXPECT_EQ(f.Pixel(5, 4), platform::kInk);
  EXPECT_EQ(f.Pixel(3, 3), platform::kPaper);
}

TEST(DrawPrimitives, BitWriters) {
  struct Case {
    uint8_t byte;
    int litRow;
  };
  for (const Case& c : std::vector<Case>{{0x80, 6}, {0x02, 0}}) {
    RgbImage s(3, 9);
    const uint8_t data[1] = {c.byte};
    PutCharColumns({1, 1, 5, 7}, s, 1, 7, data, platform::kInk, platform::kPaper);
    EXPECT_EQ(CountPixels(s, platform::kInk), 1);
    EXPECT_EQ(s.Pixel(1, 1 + c.litRow), platform::kInk);
  }
  // Stored order: the first stored column is the rightmost.
  RgbImage two(2, 7);
  const uint8_t cols[2] = {0xFE, 0x00};
  PutCharColumns({0, 0, 2, 7}, two, 2, 7, cols, platform::kInk, platform::kPaper);
  EXPECT_EQ(two.Pixel(1, 3), platform::kInk);
  EXPECT_EQ(two.Pixel(0, 3), platform::kPaper);

  RgbImage rows(10, 6, platform::Rgb(1, 2, 3));
  const uint8_t full[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  PutRowBits({0, 0, 7, 5}, rows, full, platform::kInk, platform::kPaper);
  EXPECT_EQ(CountPixels(rows, platform::kInk), 35);
}

// A painted board at every cell size: cells, grid, section lines, frame and shadow.
TEST(BoardPainting, PixelsAtEveryCellSize) {
  for (int cell : {4, 6, 8, 10}) {
    SCOPED_TRACE(cell);
    BoardGeometry g = Board(12, 7);
    ASSERT_TRUE(g.LayoutSections(cell, 6, 7));
    platform::Bitmap1 image(kBoardImageWidth, kBoardImageHeight);
    image.Set(1, 2, true);
    RgbImage s(g.boardRect().right + 10, g.boardRect().bottom + 10);
    PaintBoardCells(g, image, {0, 0, 11, 6}, s);
    const int R = g.boardRect().right, B = g.boardRect().bottom;

    EXPECT_EQ(s.Pixel(1 * cell + 1, 2 * cell + 1), platform::kInk);            // lit cell inside
    EXPECT_EQ(s.Pixel(1 * cell + cell - 1, 2 * cell + cell - 1), platform::kInk);
    EXPECT_EQ(s.Pixel(1 * cell, 2 * cell + 1), kGridColour);                     // its grid column
    EXPECT_EQ(s.Pixel(2 * cell + 1, 2 * cell), kGridColour);                     // grid row
    EXPECT_EQ(s.Pixel(3 * cell + 1, 3 * cell + 1), platform::kPaper);
    EXPECT_EQ(s.Pixel(6 * cell, 3 * cell + 1), kSectionColour);                  // section line
    EXPECT_EQ(s.Pixel(0, 3), kSectionColour);                                    // frame, left
    EXPECT_EQ(s.Pixel(R + 1, 3), kSectionColour);                                // frame, right
    EXPECT_EQ(s.Pixel(R + 2, 3), kSectionColour);                                // outer frame
    EXPECT_EQ(s.Pixel(3, B + 2), kSectionColour);
    EXPECT_EQ(s.Pixel(R + 3, 5), platform::kPaper);                              // shadow, white
    EXPECT_EQ(s.Pixel(R + 7, 5), platform::kInk);                                // shadow, black
    EXPECT_EQ(s.Pixel(5, B + 7), platform::kInk);
    EXPECT_EQ(s.Pixel(R + 6, B + 6), platform::kInk);  // the shortest corner stroke
    EXPECT_EQ(s.Pixel(R + 6, B + 5), platform::kPaper);
  }
}

}  // namespace
}  // namespace kirrup

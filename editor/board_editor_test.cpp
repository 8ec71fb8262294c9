// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/board_shapes.h"
#include "editor/char_editor.h"

namespace kirrup {
namespace {

constexpr int kCell = 10;

// A 20 x 8 board at 10 pixels per cell, sections of 6 x 8.
class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ed.geometry().sectionWidth = 6;
    ed.geometry().sectionHeight = 8;
    ASSERT_TRUE(ed.ResizeBoard(kCell, 20, 8));
    ed.image().Fill(false);
  }
  static Point At(int cx, int cy) { return {cx * kCell + kCell / 2, cy * kCell + kCell / 2}; }
  void Tool(int tool) { ed.mutableSettings().tool = tool; }
  BoardEditor& board() { return ed.board(); }

  void Drag(std::vector<Point> points, MouseButton b = MouseButton::Left) {
    board().Press(b, points.front());
    for (size_t i = 1; i < points.size(); ++i)
      board().Move(b == MouseButton::Left, b == MouseButton::Right, points[i]);
    board().Release(b, points.back());
  }
  // Rows of the board (plus two hidden columns) as text.
  std::vector<std::string> Dots(int columns = 22) const {
    std::vector<std::string> rows;
    for (int y = 0; y < 8; ++y) {
      std::string r;
      for (int x = 0; x < columns; ++x) r += ed.image().Lit(x, y) ? '#' : '.';
      rows.push_back(r);
    }
    return rows;
  }
  int LitCount() const {
    int n = 0;
    for (int y = 0; y < kBoardImageHeight; ++y)
      for (int x = 0; x < kBoardImageWidth; ++x) n += ed.image().Lit(x, y);
    return n;
  }

  CharEditor ed;
};

TEST_F(BoardTest, PointClickSetsOneCellAndDragDrawsThroughEveryMove) {
  Drag({At(3, 2), At(3, 2)});
  EXPECT_EQ(LitCount(), 1);
  EXPECT_TRUE(ed.image().Lit(3, 2));

  ed.image().Fill(false);
  Drag({At(0, 0), At(4, 0), At(4, 3)});
  EXPECT_EQ(LitCount(), 8);
  for (int x = 0; x <= 4; ++x) EXPECT_TRUE(ed.image().Lit(x, 0)) << x;
  for (int y = 0; y <= 3; ++y) EXPECT_TRUE(ed.image().Lit(4, y)) << y;
}

TEST_F(BoardTest, RightButtonDrawsInBackColour) {
  ed.image().Fill(true);
  Drag({At(1, 1), At(3, 1)}, MouseButton::Right);
  EXPECT_EQ(Dots()[1].substr(0, 5), "#...#");

  Tool(kToolFill);
  ed.image().Fill(false);
  ed.mutableSettings().backColor = platform::kInk;
  board().Press(MouseButton::Right, At(5, 5));
  board().Release(MouseButton::Right, At(5, 5));
  EXPECT_EQ(LitCount(), 20 * 8);  // the board only, not its hidden cells
}

// Each shape tool: the committed cells, whatever way the drag ran; the band leaves nothing.
TEST_F(BoardTest, ShapesCommitOnlyTheFinalShape) {
  struct Case {
    int tool;
    std::vector<Point> path;
    std::vector<std::string> expect;  // rows 0..4, columns 0..7
  };
  const std::vector<Case> cases = {
      {kToolLine, {At(0, 0), At(7, 4), At(0, 4), At(5, 2)},
       {"##......", "..##....", "....##..", "........", "........"}},
      {kToolRectangle, {At(5, 3), At(9, 0), At(1, 1)},
       {"........", ".#####..", ".#...#..", ".#####..", "........"}},
      {kToolFilledRectangle, {At(1, 1), At(5, 3)},
       {"........", ".#####..", ".#####..", ".#####..", "........"}},
      {kToolRectangle, {At(2, 2), At(2, 2)}, {"........", "........", "..#.....", "........", "........"}},
      {kToolRectangle, {At(2, 0), At(2, 4)}, {"..#.....", "..#.....", "..#.....", "..#.....", "..#....."}},
      {kToolEllipse, {At(0, 0), At(4, 4)}, {".###....", "#...#...", "#...#...", "#...#...", ".###...."}},
      {kToolFilledEllipse, {At(4, 4), At(0, 0)},
       {".###....", "#####...", "#####...", "#####...", ".###...."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool);
    ed.image().Fill(false);
    Tool(c.tool);
    Drag(c.path);
    const std::vector<std::string> rows = Dots(8);
    EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 5), c.expect);
    EXPECT_EQ(rows[5] + rows[6] + rows[7], std::string(24, '.'));
  }
}

TEST_F(BoardTest, RubberBandShowsOnlyTheCurrentOutline) {
  ed.image().Set(2, 2, true);
  const platform::Bitmap1 before = ed.image();
  struct Case {
    int tool;
    std::vector<Point> band;  // the outline of a release at cell (6, 3)
  };
  for (const Case& c : std::vector<Case>{{kToolLine, LineCells({0, 0}, {6, 3})},
                                         {kToolRectangle, RectangleCells({0, 0}, {6, 3}, false)},
                                         {kToolFilledEllipse, EllipseCells({0, 0}, {6, 3}, false)}}) {
    SCOPED_TRACE(c.tool);
    Tool(c.tool);
    board().Press(MouseButton::Left, At(0, 0));
    for (Point p : {At(5, 5), At(19, 7), At(0, 0), At(6, 3)}) board().Move(true, false, p);
    platform::Bitmap1 expect = before;
    for (Point p : c.band) expect.Set(p.x, p.y, !expect.Lit(p.x, p.y));
    EXPECT_EQ(ed.image(), expect);
    board().Release(MouseButton::Left, At(0, 0));
    EXPECT_TRUE(ed.image().Lit(0, 0));
    EXPECT_FALSE(ed.image().Lit(6, 3));
    ed.image() = before;
  }
}

TEST_F(BoardTest, ReleaseAboveOrLeftOfTheBoardEndsOnRowAndColumnZero) {
  Tool(kToolRectangle);
  Drag({At(3, 3), {-kCell + 1, -kCell + 1}});
  EXPECT_EQ(Dots(6)[0], "####..");
  EXPECT_EQ(Dots(6)[3], "####..");
  ed.image().Fill(false);
  Tool(kToolPoint);
  Drag({At(3, 3), {-3, 5}});
  EXPECT_EQ(LitCount(), 4);  // the segment to column 0, but no dot off the board at the release
}

TEST_F(BoardTest, FillStopsAtDiagonalBordersAndTheBoardEdge) {
  // A diamond of black cells touching only diagonally.
  for (Point p : {Point{3, 1}, {4, 2}, {3, 3}, {2, 2}}) ed.image().Set(p.x, p.y, true);
  Tool(kToolFill);
  board().Press(MouseButton::Left, At(3, 2));
  EXPECT_EQ(LitCount(), 5);
  EXPECT_EQ(board().history().undoCount(), 1);
  // The seed already black: nothing changes, but the step is recorded.
  board().Press(MouseButton::Left, At(3, 2));
  EXPECT_EQ(LitCount(), 5);
  EXPECT_EQ(board().history().undoCount(), 2);
  // From outside: the rest of the board, never its hidden cells.
  board().Press(MouseButton::Left, At(0, 0));
  EXPECT_EQ(LitCount(), 20 * 8);
  EXPECT_FALSE(ed.image().Lit(20, 0));
}

TEST_F(BoardTest, EraserPreviewsRestoresAndErasesAlongThePath) {
  ed.image().Fill(true);
  Tool(kToolEraser);
  board().Move(false, false, At(5, 3));
  EXPECT_EQ(board().selRect(), (InclusiveRect{4, 2, 5, 3}));
  EXPECT_EQ(Dots(8)[2], "####..##");
  EXPECT_EQ(Dots(8)[3], "####..##");
  board().Move(false, false, {300, 5});  // off the board
  EXPECT_EQ(LitCount(), kBoardImageWidth * kBoardImageHeight);
  EXPECT_FALSE(board().eraserShown());

  board().Move(false, false, At(1, 1));
  board().Press(MouseButton::Left, At(1, 1));
  board().Move(true, false, At(3, 1));
  board().Move(true, false, At(5, 1));
  board().Release(MouseButton::Left, At(5, 1));
  board().Move(false, false, At(9, 6));
  board().Move(false, false, {300, 5});
  EXPECT_EQ(Dots(8)[0], "......##");
  EXPECT_EQ(Dots(8)[1], "......##");
  EXPECT_EQ(Dots(8)[2], "########");
  EXPECT_EQ(board().history().undoCount(), 1);

  board().SetEraserSize(4);
  board().Move(false, false, At(5, 5));
  EXPECT_EQ(board().selRect(), (InclusiveRect{3, 3, 6, 6}));
}

// The 4 x 4 eraser's frame reaches past the board's right and bottom edges; taking the
// preview away leaves no trace there, wherever it was shown.
TEST_F(BoardTest, EraserFramesLeaveNoTrailsBesideTheBoard) {
  Tool(kToolEraser);
  board().SetEraserSize(4);
  for (Point last : {At(19, 7), At(19, 0), At(0, 7), At(18, 6)}) {
    board().Move(false, false, last);
    board().Move(false, false, At(5, 3));
    board().Move(false, false, {400, 200});  // off the board: no preview
    const platform::RgbImage shown = board().canvas();
    board().PaintAll();
    EXPECT_TRUE(shown == board().canvas()) << last.x << "," << last.y;
  }
}

TEST(BoardHistory, FiveSlotsReuseTheOldest) {
  BoardHistory h;
  platform::Bitmap1 image(kBoardImageWidth, kBoardImageHeight);
  for (int step = 0; step < 7; ++step) {
    image.Set(step, 0, true);
    h.PushUndo(image, 10 + step, 4);
  }
  EXPECT_EQ(h.undoCount(), 5);
  EXPECT_EQ(h.redoCount(), 0);
  // Slots 0..4 filled in order, then 0 and 1 reused for steps 6 and 7.
  EXPECT_EQ(h.undoSlots(), (std::array<int, 5>{2, 3, 4, 0, 1}));
  EXPECT_EQ(h.slot(1).width, 16);
  EXPECT_TRUE(h.slot(1).image.Lit(6, 0));
}

TEST(BoardShapes, LinesIncludeBothEnds) {
  struct Case {
    Point a, b;
    size_t count;
  };
  for (const Case& c : std::vector<Case>{{{0, 0}, {7, 3}, 8}, {{5, 9}, {0, 0}, 10}, {{2, 2}, {2, 2}, 1},
                                         {{0, 0}, {-6, 6}, 7}, {{3, 1}, {-40, 2}, 44}}) {
    const std::vector<Point> cells = LineCells(c.a, c.b);
    EXPECT_EQ(cells.size(), c.count);
    EXPECT_EQ(cells.front(), c.a);
    EXPECT_EQ(cells.back(), c.b);
  }
}

// Every box the board can hold (lines of up to 180 columns, 32 rows): the ellipse stays in
// its box, touches all four sides, is mirror-symmetric both ways, and the filled one covers
// its outline.
TEST(BoardShapes, EllipsesOfEveryBoxAreSymmetricAndTouchTheirBox) {
  std::vector<std::string> faults;
  for (int w = 1; w <= 180; ++w) {
    for (int h = 1; h <= kBoardImageHeight; ++h) {
      std::vector<int> grid(static_cast<size_t>(w * h), 0);  // bit 0 filled, bit 1 outline
      int sides = 0, wrong = 0;                                // sides: top, bottom, left, right
      for (int bit : {1, 2})
        for (Point p : EllipseCells({w - 1, h - 1}, {0, 0}, bit == 1)) {
          if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) ++wrong;
          else grid[static_cast<size_t>(p.y * w + p.x)] |= bit;
          if (bit == 2) sides |= (p.y == 0) | (p.y == h - 1) << 1 | (p.x == 0) << 2 | (p.x == w - 1) << 3;
        }
      auto at = [&](int x, int y) { return grid[static_cast<size_t>(y * w + x)]; };
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          wrong += at(x, y) == 2 || at(x, y) != at(w - 1 - x, y) || at(x, y) != at(x, h - 1 - y);
      if (sides != 15 || wrong) faults.push_back(std::to_string(w) + "x" + std::to_string(h));
    }
  }
  EXPECT_TRUE(faults.empty()) << faults.size() << " boxes, the first " << faults.front();
}

}  // namespace
}  // namespace kirrup

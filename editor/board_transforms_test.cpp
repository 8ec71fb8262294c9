// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_transforms.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kirrup {
namespace {

using platform::Bitmap1;

// A picture as rows of '#' (black) and '.' (white) at the top-left of a 20 x 20 buffer.
Bitmap1 Picture(const std::vector<std::string>& rows) {
  Bitmap1 b(20, 20);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) b.Set(static_cast<int>(x), static_cast<int>(y), rows[y][x] == '#');
  return b;
}

std::vector<std::string> Rows(const Bitmap1& b, int w, int h) {
  std::vector<std::string> rows;
  for (int y = 0; y < h; ++y) {
    std::string r;
    for (int x = 0; x < w; ++x) r += b.Lit(x, y) ? '#' : '.';
    rows.push_back(r);
  }
  return rows;
}

const std::vector<std::string> k5x3 = {"##...", "#....", "....#"};

struct TransformCase {
  const char* name;
  std::function<void(Bitmap1&, int, int)> fn;
  std::vector<std::string> source;
  std::vector<std::string> expected;  // its size is the result's
};

void PrintTo(const TransformCase& c, std::ostream* os) { *os << c.name; }

class TransformTest : public ::testing::TestWithParam<TransformCase> {};

TEST_P(TransformTest, GivesTheExpectedCellsAndLeavesTheRestWhite) {
  const TransformCase& c = GetParam();
  Bitmap1 b = Picture(c.source);
  c.fn(b, static_cast<int>(c.source[0].size()), static_cast<int>(c.source.size()));
  const int w = static_cast<int>(c.expected[0].size()), h = static_cast<int>(c.expected.size());
  EXPECT_EQ(Rows(b, w, h), c.expected);
  // Nothing is left of the old content outside the result.
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if (x >= w || y >= h) {
        EXPECT_FALSE(b.Lit(x, y)) << x << "," << y;
      }
}

INSTANTIATE_TEST_SUITE_P(
    Transforms, TransformTest,
    ::testing::Values(
        TransformCase{"RotateLeft", RotateLeft, k5x3, {"..#", "...", "...", "#..", "##."}},
        TransformCase{"RotateRight", RotateRight, k5x3, {".##", "..#", "...", "...", "#.."}},
        TransformCase{"Rotate180", Rotate180, k5x3, {"#....", "....#", "...##"}},
        TransformCase{"MirrorH", MirrorHorizontally, k5x3, {"...##", "....#", "#...."}},
        TransformCase{"MirrorV", MirrorVertically, k5x3, {"....#", "#....", "##..."}},
        TransformCase{"Invert", Invert, k5x3, {"..###", ".####", "####."}},
        TransformCase{"HollowOfOneCell", Hollow, {".....", "..#..", "....."}, {".###.", ".#.#.", ".###."}},
        TransformCase{"HollowOf3x3Block",
                      Hollow,
                      {".....", ".###.", ".###.", ".###.", "....."},
                      {"#####", "#...#", "#...#", "#...#", "#####"}},
        TransformCase{"HollowAtTheEdgeStaysInside", Hollow, {"#..", "...", "..#"}, {".#.", "###", ".#."}},
        TransformCase{"ScaleGrowRepeats", [](Bitmap1& b, int w, int h) { Scale(b, w, h, 4, 2); }, {"#."},
                      {"##..", "##.."}},
        TransformCase{"ScaleShrinkBlackWins", [](Bitmap1& b, int w, int h) { Scale(b, w, h, 2, 1); },
                      {"...#", "....", "....", "#..."}, {"##"}},
        TransformCase{"ScaleShrinkAllWhiteStaysWhite", [](Bitmap1& b, int w, int h) { Scale(b, w, h, 2, 2); },
                      {"##..", "##..", "....", "...."}, {"#.", ".."}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoundTrip {
  const char* name;
  std::function<void(Bitmap1&, int, int)> fn;
  int times;
  bool swapsSize;
};

void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

class RoundTripTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTripTest, RestoresTheContent) {
  const RoundTrip& c = GetParam();
  const Bitmap1 start = Picture(k5x3);
  Bitmap1 b = start;
  int w = 5, h = 3;
  for (int i = 0; i < c.times; ++i) {
    c.fn(b, w, h);
    if (c.swapsSize) std::swap(w, h);
  }
  EXPECT_EQ(b, start);
}

INSTANTIATE_TEST_SUITE_P(Twice, RoundTripTest,
                         ::testing::Values(RoundTrip{"RightFourTimes", RotateRight, 4, true},
                                           RoundTrip{"LeftFourTimes", RotateLeft, 4, true},
                                           RoundTrip{"Rotate180Twice", Rotate180, 2, false},
                                           RoundTrip{"MirrorHTwice", MirrorHorizontally, 2, false},
                                           RoundTrip{"MirrorVTwice", MirrorVertically, 2, false},
                                           RoundTrip{"InvertTwice", Invert, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelectionFrame, DashesHandlesAndGapsAroundTheCells) {
  BoardGeometry geo;
  geo.board.width = 20;
  geo.board.height = 10;
  ASSERT_TRUE(geo.LayoutSections(10, 10, 10));
  platform::RgbImage s(300, 200, platform::kPaper);
  // Cells 2..5 x 2..4: pixels 20..59 x 20..49; frame rectangle (19, 19, 61, 51).
  PaintSelectionFrame(geo, {2, 2, 5, 4}, s);
  const struct {
    int x, y;
    platform::Color c;
  } cases[] = {
      {19, 19, kSelectionPale},  {17, 17, kSelectionPale},  {21, 21, kSelectionPale},  // top-left square
      {40, 19, kSelectionPale},  {22, 19, platform::kPaper}, {58, 19, platform::kPaper},  // middle square, gaps
      {30, 19, platform::kInk},  {30, 18, platform::kInk},  {32, 19, kSelectionPale},   // dashes by x % 6
      {35, 18, kSelectionPale},  {36, 19, platform::kInk},  {30, 20, platform::kPaper},  // two pixels, outward
      {19, 30, platform::kInk},  {18, 28, kSelectionPale},  {61, 44, kSelectionPale},   // sides by y % 6
      {62, 42, platform::kInk},  {40, 35, platform::kPaper},                             // no centre square
  };
  for (const auto& c : cases) EXPECT_EQ(s.Pixel(c.x, c.y), c.c) << c.x << "," << c.y;
}

TEST(ResizeFrame, AlternatesOnePixelInsideTheGridLines) {
  BoardGeometry geo;
  geo.board.width = 20;
  geo.board.height = 10;
  ASSERT_TRUE(geo.LayoutSections(10, 10, 10));
  platform::RgbImage s(300, 200, platform::Rgb(1, 2, 3));
  PaintResizeFrame(geo, {3, 1, 2, 2}, s);  // flipped: cells 2..3 x 1..2, pixels 20..39 x 10..29
  EXPECT_EQ(s.Pixel(22, 11), platform::kInk);
  EXPECT_EQ(s.Pixel(23, 11), platform::kPaper);
  EXPECT_EQ(s.Pixel(39, 12), platform::kInk);
  EXPECT_EQ(s.Pixel(21, 13), platform::kPaper);
  EXPECT_EQ(s.Pixel(20, 11), platform::Rgb(1, 2, 3));  // the grid line stays
  EXPECT_EQ(s.Pixel(25, 20), platform::Rgb(1, 2, 3));  // inside untouched
}

}  // namespace
}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/floating_selection.h"

#include "editor/board_transforms.h"
#include "editor/selection_test_support.h"

namespace kirrup {
namespace {

using testing_support::kCell;
using testing_support::SelectionBoard;

class SelectionTest : public SelectionBoard {};

struct BandCase {
  const char* name;
  Point from, to;
  InclusiveRect expected;  // left -1: no selection
};

void PrintTo(const BandCase& c, std::ostream* os) { *os << c.name; }

class BandTest : public SelectionBoard, public ::testing::WithParamInterface<BandCase> {};

TEST_P(BandTest, SelectsTheClampedCellsButNeverOneCell) {
  const BandCase& c = GetParam();
  Draw({"#.#", ".#."}, 2, 2);
  const platform::Bitmap1 before = ed.image();
  Drag({c.from, c.to});
  EXPECT_EQ(ed.image(), before);  // lifting does not change the picture
  if (c.expected.left < 0) {
    EXPECT_FALSE(sel().exists());
    return;
  }
  ASSERT_TRUE(sel().exists());
  const InclusiveRect& r = board().selRect();
  EXPECT_EQ(r, c.expected);
  EXPECT_EQ(board().selWidth(), r.right - r.left + 1);
  EXPECT_EQ(board().selHeight(), r.bottom - r.top + 1);
  for (int y = r.top; y <= r.bottom; ++y)
    for (int x = r.left; x <= r.right; ++x) {
      EXPECT_FALSE(sel().underlay().Lit(x, y));
      EXPECT_EQ(sel().floatBuffer().Lit(x - r.left, y - r.top), before.Lit(x, y));
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest,
                         ::testing::Values(BandCase{"SameCell", {35, 25}, {38, 29}, {}},
                                           BandCase{"OneRow", {25, 35}, {85, 35}, {2, 3, 8, 3}},
                                           BandCase{"PastBottomRight", {155, 55}, {250, 120}, {15, 5, 19, 7}},
                                           BandCase{"PastTopLeft", {25, 25}, {-30, -30}, {0, 0, 2, 2}},
                                           BandCase{"DrawnBackwards", {45, 45}, {25, 25}, {2, 2, 4, 4}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionTest, FarRightStopsOneColumnBeyondAndComesBackUnchanged) {
  Draw({"##", "#."}, 1, 1);
  const platform::Bitmap1 before = ed.image();
  Drag({At(1, 1), At(2, 2)});
  board().Press(MouseButton::Left, At(1, 1));
  board().Move(true, false, {500, 15});
  EXPECT_EQ(board().selRect().left, 20);  // the first column beyond the board
  EXPECT_EQ(Dots()[1], std::string(20, '.'));
  board().Move(true, false, {500 - 190, 15});  // the view position came back to column 1
  board().Release(MouseButton::Left, {310, 15});
  EXPECT_EQ(board().selRect(), (InclusiveRect{1, 1, 2, 2}));
  EXPECT_EQ(ed.image(), before);
  EXPECT_EQ(board().history().undoCount(), 1);
}

TEST_F(SelectionTest, EscapeLeavesTheMovedContentDeleteRemovesIt) {
  for (const bool escape : {true, false}) {
    SetUp();
    Draw({"##"}, 1, 1);
    Drag({At(1, 1), At(2, 1)});
    Drag({At(1, 1), At(4, 1)});
    EXPECT_TRUE(commands.KeyDown(escape ? BoardCommands::Key::Escape : BoardCommands::Key::Delete));
    EXPECT_FALSE(sel().exists());
    EXPECT_EQ(Dots()[1], escape ? "....##.............." : "....................") << escape;
  }
}

TEST_F(SelectionTest, TransparentModeShowsBlackCellsThroughWhiteOnesAndSwitchingRecomposes) {
  Draw({"#."}, 1, 1);
  ed.image().Set(6, 1, true);
  Drag({At(1, 1), At(2, 1)});
  Drag({At(1, 1), At(5, 1)});  // the white cell now lies on the black one
  EXPECT_EQ(Dots()[1].substr(4, 4), ".#..");  // opaque: covered
  ed.Command(kCmdTransparent);
  EXPECT_EQ(Dots()[1].substr(4, 4), ".##.");
  ed.Command(kCmdOpaque);
  EXPECT_EQ(Dots()[1].substr(4, 4), ".#..");
  EXPECT_TRUE(sel().exists());
}

TEST_F(SelectionTest, TransparentModeWithBlackBackgroundLaysOnlyWhiteCells) {
  ed.mutableSettings().backColor = platform::kInk;
  ed.Command(kCmdTransparent);
  ed.image().Fill(true);
  Draw({".#"}, 1, 1);
  ed.image().Set(6, 1, false);
  Drag({At(1, 1), At(2, 1)});
  Drag({At(1, 1), At(5, 1)});
  // The white cell is laid, the black one lets the white board cell show; the old place
  // is background.
  EXPECT_EQ(Dots()[1].substr(0, 8), "#####..#");
}

TEST_F(SelectionTest, RotatingLeftKeepsTheTopLeftCell) {
  Drag({At(2, 1), At(6, 3)});
  commands.Run(kCmdRotateLeft);
  EXPECT_EQ(board().selRect(), (InclusiveRect{2, 1, 4, 5}));
  EXPECT_EQ(board().selWidth(), 3);
  EXPECT_EQ(board().selHeight(), 5);
}

TEST_F(SelectionTest, ThreeMovesAndARotationAreOneUndoStep) {
  Draw({"###", "#.."}, 1, 1);
  const platform::Bitmap1 before = ed.image();
  Drag({At(1, 1), At(3, 2)});
  Drag({At(1, 1), At(2, 1)});
  Drag({At(2, 1), At(2, 3)});
  Drag({At(2, 3), At(9, 4)});
  commands.Run(kCmdRotateRight);
  EXPECT_EQ(board().history().undoCount(), 1);
  commands.Run(kCmdUndo);
  EXPECT_FALSE(sel().exists());
  EXPECT_EQ(ed.image(), before);
}

TEST_F(SelectionTest, SelectAllAfterAChangedSelectionRecordsNoFurtherStep) {
  Drag({At(1, 1), At(3, 2)});
  Drag({At(1, 1), At(2, 1)});
  commands.KeyDown(BoardCommands::Key::Escape);
  commands.Run(kCmdSelectAll);
  EXPECT_EQ(board().selRect(), (InclusiveRect{0, 0, 19, 7}));
  Drag({At(5, 5), At(6, 5)});
  EXPECT_EQ(board().history().undoCount(), 1);
}

class ScrolledWindow : public BoardWindow {
 public:
  void SetContentSize(int, int, int, int) override {}
  Point ScrollPosition() const override { return {35, 12}; }
  void SetBoardCursor(BoardCursor) override {}
  void CaptureMouse(bool) override {}
  void CanvasChanged() override {}
};

TEST_F(SelectionTest, PastedPictureIsCutToTheBoardsCapacityAtTheVisibleTopLeftCell) {
  ScrolledWindow window;
  board().SetWindow(&window);
  platform::RgbImage picture(200, 40, platform::kPaper);
  picture.SetPixel(0, 0, platform::Rgb(255, 0, 0));
  picture.SetPixel(1, 0, platform::Rgb(254, 255, 255));
  picture.SetPixel(159, 31, platform::Rgb(0, 0, 1));
  picture.SetPixel(170, 35, platform::kInk);  // cut away
  ASSERT_TRUE(sel().Paste(picture));
  board().SetWindow(nullptr);
  EXPECT_EQ(board().selRect(), (InclusiveRect{3, 1, 162, 32}));
  EXPECT_EQ(board().selWidth(), 160);
  EXPECT_EQ(board().selHeight(), 32);
  EXPECT_TRUE(sel().floatBuffer().Lit(0, 0));
  EXPECT_TRUE(sel().floatBuffer().Lit(1, 0));
  EXPECT_FALSE(sel().floatBuffer().Lit(2, 0));
  EXPECT_TRUE(sel().floatBuffer().Lit(159, 31));
  EXPECT_TRUE(ed.image().Lit(3, 1));
  EXPECT_TRUE(ed.image().Lit(4, 1));
  EXPECT_TRUE(sel().undoTaken());
}

TEST_F(SelectionTest, ResizingScalesWithBlackWinningAndASingleCellEndsTheSelection) {
  Draw({"#.", ".."}, 2, 2);
  Drag({At(2, 2), At(3, 3)});  // view rectangle (20, 20, 39, 39)
  board().Move(false, false, {40, 40});
  EXPECT_EQ(sel().handleIndex(), 2);
  board().Press(MouseButton::Left, {40, 40});
  board().Move(true, false, {59, 59});
  EXPECT_EQ(sel().resizeRect(), (InclusiveRect{2, 2, 5, 5}));
  board().Release(MouseButton::Left, {59, 59});
  EXPECT_EQ(board().selWidth(), 4);
  EXPECT_EQ(Dots()[2].substr(2, 4), "##..");
  EXPECT_EQ(Dots()[4].substr(2, 4), "....");

  board().Move(false, false, {60, 60});
  board().Press(MouseButton::Left, {60, 60});
  board().Move(true, false, {25, 25});
  board().Release(MouseButton::Left, {25, 25});
  EXPECT_FALSE(sel().exists());
  EXPECT_EQ(Dots()[2].substr(2, 4), "#...");
  EXPECT_EQ(board().history().undoCount(), 1);
}

struct HoverCase {
  Point at;
  bool over;
  int handle;
  BoardCursor cursor;
};

TEST_F(SelectionTest, HoverFindsTheSelectionThenTheHandlesInOrder) {
  Drag({At(2, 2), At(5, 4)});  // view rectangle (20, 20, 59, 49)
  const HoverCase cases[] = {
      {{30, 30}, true, -1, BoardCursor::Move},     {{20, 20}, true, -1, BoardCursor::Move},
      {{18, 50}, false, 1, BoardCursor::SizeNESW}, {{61, 52}, false, 2, BoardCursor::SizeNWSE},
      {{62, 19}, false, 3, BoardCursor::SizeNESW}, {{18, 35}, false, 5, BoardCursor::SizeWE},
      {{40, 52}, false, 6, BoardCursor::SizeNS},   {{62, 35}, false, 7, BoardCursor::SizeWE},
      {{100, 70}, false, -1, BoardCursor::Cross},  {{250, 100}, false, -1, BoardCursor::Arrow},
  };
  for (const HoverCase& c : cases) {
    board().Move(false, false, c.at);
    EXPECT_EQ(sel().overSelection(), c.over) << c.at.x << "," << c.at.y;
    EXPECT_EQ(sel().handleIndex(), c.handle) << c.at.x << "," << c.at.y;
    EXPECT_EQ(board().cursor(), c.cursor) << c.at.x << "," << c.at.y;
  }
}

TEST_F(SelectionTest, TheFrameIsPaintedAroundTheSelectionAndRemovedWithIt) {
  Drag({At(2, 2), At(5, 4)});
  const platform::RgbImage& canvas = board().canvas();
  EXPECT_EQ(canvas.Pixel(19, 19), kSelectionPale);
  EXPECT_EQ(canvas.Pixel(30, 19), platform::kInk);
  commands.KeyDown(BoardCommands::Key::Escape);
  EXPECT_NE(canvas.Pixel(19, 19), kSelectionPale);
  EXPECT_NE(canvas.Pixel(30, 19), platform::kInk);
}

}  // namespace
}  // namespace kirrup

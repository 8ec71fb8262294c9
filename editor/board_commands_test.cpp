// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_commands.h"

#include "app/languages.h"
#include "editor/selection_test_support.h"

namespace kirrup {
namespace {

using testing_support::SelectionBoard;

class CommandsTest : public SelectionBoard {
 protected:
  // A point drawn with the point tool: one undo step.
  void Dot(int x, int y) {
    const int tool = ed.settings().tool;
    ed.mutableSettings().tool = kToolPoint;
    Drag({At(x, y), At(x, y)});
    ed.mutableSettings().tool = tool;
  }
};

TEST_F(CommandsTest, SixStepsThenSixUndos) {
  for (int i = 0; i < 6; ++i) Dot(i, 0);
  EXPECT_EQ(board().history().undoCount(), 5);
  for (int i = 0; i < 4; ++i) commands.Run(kCmdUndo);
  EXPECT_EQ(Dots()[0].substr(0, 6), "##....");
  commands.Run(kCmdUndo);  // the board before the second step
  EXPECT_EQ(Dots()[0].substr(0, 6), "#.....");
  commands.Run(kCmdUndo);
  EXPECT_EQ(Dots()[0].substr(0, 6), "#.....");
  EXPECT_EQ(board().history().redoCount(), 5);
}

TEST_F(CommandsTest, UndoThenRedoRestoresTheBoardAndItsSize) {
  Dot(3, 3);
  board().PushUndo();  // a step taken on a 20 x 8 board ...
  ASSERT_TRUE(ed.ResizeBoard(0, 12, 5));  // ... and a board of another size now
  ed.image().Set(1, 1, true);
  const platform::Bitmap1 after = ed.image();
  commands.Run(kCmdUndo);
  EXPECT_EQ(ed.geometry().width(), 20);
  EXPECT_EQ(ed.geometry().height(), 8);
  EXPECT_EQ(ed.geometry().boardRect().right, 20 * 10 - 1);
  EXPECT_FALSE(ed.image().Lit(1, 1));
  EXPECT_TRUE(ed.image().Lit(3, 3));
  commands.Run(kCmdRedo);
  EXPECT_EQ(ed.geometry().width(), 12);
  EXPECT_EQ(ed.geometry().height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(ed.image().Lit(x, y), after.Lit(x, y)) << x << "," << y;
}

TEST_F(CommandsTest, DrawingAfterTwoUndosLosesTheRedoSteps) {
  Dot(1, 1);
  Dot(2, 1);
  Dot(3, 1);
  commands.Run(kCmdUndo);
  commands.Run(kCmdUndo);
  EXPECT_TRUE(commands.Enabled(kCmdRedo));
  Dot(5, 5);
  EXPECT_FALSE(commands.Enabled(kCmdRedo));
  commands.Run(kCmdRedo);
  EXPECT_EQ(Dots()[1].substr(0, 5), ".#...");
}

TEST_F(CommandsTest, UndoKeepsTheEraserPreview) {
  ed.image().Set(4, 2, true);
  Dot(5, 3);
  ed.Command(kCmdEraser);
  board().Move(false, false, At(5, 3));  // preview over (4, 2) .. (5, 3)
  ASSERT_TRUE(board().eraserShown());
  commands.Run(kCmdUndo);  // the dot goes, (4, 2) stays
  EXPECT_TRUE(board().eraserShown());
  EXPECT_FALSE(ed.image().Lit(4, 2));  // still cleared by the preview
  ed.Command(kCmdPoint);               // the preview's cells come back
  EXPECT_TRUE(ed.image().Lit(4, 2));
  EXPECT_FALSE(ed.image().Lit(5, 3));
}

TEST_F(CommandsTest, ClearBoardIsOneStepAndEndsTheSelection) {
  Draw({"###"}, 1, 1);
  Drag({At(1, 1), At(3, 1)});
  commands.Run(kCmdClearBoard);
  EXPECT_FALSE(board().selection().exists());
  EXPECT_EQ(Dots()[1], std::string(20, '.'));
  commands.Run(kCmdUndo);
  EXPECT_EQ(Dots()[1].substr(0, 5), ".###.");
}

TEST_F(CommandsTest, UndoOfClearBoardBringsBackTheCellsUnderTheEraserPreview) {
  ed.image().Set(5, 3, true);
  ed.Command(kCmdEraser);
  board().Move(false, false, At(5, 3));
  ASSERT_FALSE(ed.image().Lit(5, 3));  // previewed as cleared
  commands.Run(kCmdClearBoard);
  commands.Run(kCmdUndo);
  EXPECT_TRUE(ed.image().Lit(5, 3));
}

TEST_F(CommandsTest, CopyGivesTheSelectionsSizeAndPasteFloatsItAgain) {
  Draw({"#.#", ".#."}, 2, 2);
  Drag({At(2, 2), At(4, 3)});
  commands.Run(kCmdCopy);
  ASSERT_EQ(clipboard.put.width(), 3);
  ASSERT_EQ(clipboard.put.height(), 2);
  EXPECT_TRUE(clipboard.put.Lit(0, 0));
  EXPECT_FALSE(clipboard.put.Lit(1, 0));
  commands.Run(kCmdCut);
  EXPECT_EQ(Dots()[2], std::string(20, '.'));
  commands.Run(kCmdPaste);
  EXPECT_EQ(board().selRect(), (InclusiveRect{0, 0, 2, 1}));
  EXPECT_EQ(Dots()[0].substr(0, 4), "#.#.");
  commands.Run(kCmdDelete);  // a pasted picture leaves nothing behind
  EXPECT_EQ(Dots()[0].substr(0, 4), "....");
}

// Ctrl keys by tool: what they do to the board.
struct KeyCase {
  int tool;
  int code;
  bool copied;
  bool selectAfter;  // the tool afterwards is select
};

TEST_F(CommandsTest, CtrlKeysFollowTheTool) {
  const KeyCase cases[] = {
      {kToolLine, 3, false, false}, {kToolSelect, 3, true, true}, {kToolLine, 24, false, false},
      {kToolLine, 22, false, true}, {kToolPoint, 22, false, true},
  };
  for (const KeyCase& c : cases) {
    ed.Command(kCmdSelect);
    ed.image().Fill(false);
    Draw({"##"}, 0, 0);
    Drag({At(0, 0), At(1, 0)});
    clipboard.picture.reset();
    clipboard.put = {};
    if (c.code == 22) clipboard.PutPicture(platform::Bitmap1(2, 2));
    ed.mutableSettings().tool = c.tool;
    EXPECT_TRUE(commands.CtrlChar(c.code));
    EXPECT_EQ(clipboard.put.width() == 2, c.copied || c.code == 22) << c.tool << " " << c.code;
    EXPECT_EQ(ed.settings().tool == kToolSelect, c.selectAfter) << c.tool << " " << c.code;
    if (c.code == 22) {
      EXPECT_EQ(board().selWidth(), 2);
    }
  }
  EXPECT_FALSE(commands.CtrlChar(1));
}

TEST_F(CommandsTest, KeysAndCommandsWaitWhileAButtonDrags) {
  Dot(1, 1);
  Drag({At(0, 0), At(3, 3)});
  board().Move(false, false, At(1, 1));
  board().Press(MouseButton::Left, At(1, 1));
  board().Move(true, false, At(2, 1));  // moving: one step taken
  EXPECT_TRUE(commands.DragInProgress());
  const platform::Bitmap1 during = ed.image();
  EXPECT_TRUE(commands.CtrlChar(26));
  EXPECT_FALSE(commands.KeyDown(BoardCommands::Key::Delete));
  EXPECT_EQ(ed.image(), during);
  EXPECT_EQ(board().history().undoCount(), 2);
  board().Release(MouseButton::Left, At(2, 1));
  EXPECT_TRUE(commands.CtrlChar(26));
  EXPECT_EQ(board().history().undoCount(), 1);
}

struct PopupCase {
  int tool;
  Point at;
  BoardPopup popup;
};

TEST_F(CommandsTest, PopupByToolAndPosition) {
  Drag({At(2, 2), At(5, 4)});
  const PopupCase cases[] = {
      {kToolSelect, At(3, 3), kPopupSelection}, {kToolSelect, At(10, 3), kPopupSelect},
      {kToolSelect, {300, 30}, kPopupSelect},   {kToolPoint, At(3, 3), kPopupNone},
      {kToolPoint, {300, 30}, kPopupBoard},     {kToolEraser, {5, 85}, kPopupBoard},
  };
  for (const PopupCase& c : cases) {
    ed.mutableSettings().tool = c.tool;
    EXPECT_EQ(commands.PopupAt(c.at), c.popup) << c.tool << " " << c.at.x;
  }
}

std::vector<int> Ids(const std::vector<BoardMenuItem>& items) {
  std::vector<int> ids;
  for (const BoardMenuItem& m : items) {
    ids.push_back(m.id);
    for (const BoardMenuItem& s : m.items) ids.push_back(s.id);
  }
  return ids;
}

TEST_F(CommandsTest, MenusCarryTheLanguagesTextsGreyingAndCheckMark) {
  const LanguageTable& english = BuiltInEnglish();
  EXPECT_EQ(Ids(commands.Menu(kPopupBoard, &english)),
            (std::vector<int>{8028, 8029, 0, 8025, 0, -1, 8020, 8021, 8022, 8023, 8037}));
  EXPECT_EQ(Ids(commands.Menu(kPopupSelect, &english)),
            (std::vector<int>{8028, 8029, 0, 8025, 0, 8040, 0, -1, 8020, 8021, 8022, 8023, 8037}));
  const std::vector<BoardMenuItem> pop3 = commands.Menu(kPopupSelection, &english);
  EXPECT_EQ(Ids(pop3), (std::vector<int>{8028, 8029, 0, 8026, 8024, 8025, 8027, 0, 8040, 0, -1, 8030, 8031, 8032,
                                         -1, 8033, 8034, 8035, 8036}));
  EXPECT_EQ(pop3[3].text, u"Cut");
  EXPECT_EQ(pop3[10].text, u"Rotate");
  EXPECT_EQ(pop3[11].text, u"Mirror");
  EXPECT_EQ(pop3[11].items[1].text, u"Vertical Mirror");
  EXPECT_EQ(commands.Menu(kPopupSelection, &BuiltInChinese())[12].text, u"反色");
  // A language whose M texts are empty gets empty items, as in the line window's menu.
  LanguageTable blank = english;
  blank.menuTexts.fill(u"");
  const std::vector<BoardMenuItem> blankPop3 = commands.Menu(kPopupSelection, &blank);
  for (size_t i : {0u, 3u, 10u, 12u}) EXPECT_EQ(blankPop3[i].text, u"") << i;
  EXPECT_EQ(blankPop3[11].items[0].text, u"");

  // Nothing to undo, no selection, no picture: greyed.
  for (const BoardMenuItem& m : pop3)
    if (m.id == 8028 || m.id == 8029 || m.id == 8025 || m.id == 8024 || m.id == 8026 || m.id == 8027) {
      EXPECT_FALSE(m.enabled) << m.id;
    }

  const std::vector<BoardMenuItem> pop1 = commands.Menu(kPopupBoard, &english);
  const std::vector<BoardMenuItem>& grid = pop1[5].items;
  EXPECT_EQ(pop1[5].text, u"Grid Size");
  EXPECT_TRUE(grid[3].checked);  // 10 pixels in this fixture
  commands.Run(kCmdGrid6);
  EXPECT_EQ(ed.geometry().cellSize, 6);
  EXPECT_EQ(ed.geometry().boardRect().right, 20 * 6 - 1);
  const std::vector<BoardMenuItem> after = commands.Menu(kPopupBoard, &english);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(after[5].items[static_cast<size_t>(i)].checked, i == 1) << i;

  clipboard.PutPicture(platform::Bitmap1(1, 1));
  EXPECT_TRUE(commands.Menu(kPopupBoard, &english)[3].enabled);
  ASSERT_TRUE(ed.ResizeBoard(0, 0, 8));  // no board: nothing to paste on
  EXPECT_FALSE(commands.Menu(kPopupBoard, &english)[3].enabled);
}

// The keyboard's cell on the 20 x 8 board: moves clamp to the board.
TEST_F(CommandsTest, KeyCellMovesStayOnTheBoard) {
  struct Case {
    const char* what;
    std::vector<Point> moves;
    Point cell;
  };
  const std::vector<Case> cases = {
      {"left and up at the corner", {{-1, 0}, {0, -1}}, {0, 0}},
      {"right three, down two", {{1, 0}, {1, 0}, {1, 0}, {0, 1}, {0, 1}}, {3, 2}},
      {"past the far corner", {{25, 0}, {0, 9}}, {19, 7}},
  };
  for (const Case& c : cases) {
    board().MoveKeyCell(-99, -99);
    for (const Point& m : c.moves) board().MoveKeyCell(m.x, m.y);
    EXPECT_EQ(board().keyCell(), c.cell) << c.what;
  }
  // A narrower line loaded later: the cell is taken back onto it.
  ASSERT_TRUE(ed.ResizeBoard(0, 6, 8));
  EXPECT_EQ(board().keyCell(), (Point{5, 7}));
}

// Space and Shift+Space: the drawing and the background colour, one undo step each, the
// line told of the one cell; whatever the tool, a floating selection landing first.
TEST_F(CommandsTest, KeyCellDotsAreOneUndoStepEach) {
  ed.mutableSettings().tool = kToolLine;
  board().MoveKeyCell(2, 1);
  ASSERT_TRUE(board().SetKeyCellDot(false));
  EXPECT_TRUE(ed.image().Lit(2, 1));
  board().MoveKeyCell(1, 0);
  ed.image().Set(3, 1, true);
  ASSERT_TRUE(board().SetKeyCellDot(true));
  EXPECT_FALSE(ed.image().Lit(3, 1));
  EXPECT_EQ(board().history().undoCount(), 2);
  commands.Run(kCmdUndo);
  EXPECT_TRUE(ed.image().Lit(3, 1));
  EXPECT_TRUE(ed.image().Lit(2, 1));
  commands.Run(kCmdUndo);
  EXPECT_FALSE(ed.image().Lit(2, 1));

  ed.mutableSettings().tool = kToolSelect;
  Draw({"##", "##"}, 10, 4);
  Drag({At(10, 4), At(11, 5)});
  Drag({At(10, 4), At(14, 4)});  // floating, moved 4 cells right
  ASSERT_TRUE(board().SetKeyCellDot(false));
  EXPECT_FALSE(sel().busy());
  EXPECT_EQ(Dots()[4].substr(10, 6), "....##");
}

TEST_F(CommandsTest, KeyCellDotRefusedOnAnEmptyBoardAndDuringADrag) {
  ed.mutableSettings().tool = kToolPoint;
  board().Press(MouseButton::Left, At(0, 0));
  EXPECT_FALSE(board().SetKeyCellDot(false));
  board().Release(MouseButton::Left, At(0, 0));
  ASSERT_TRUE(ed.ResizeBoard(0, 0, 8));
  EXPECT_FALSE(board().SetKeyCellDot(false));
}

}  // namespace
}  // namespace kirrup

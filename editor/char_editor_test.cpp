// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/char_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/board_commands.h"
#include "editor/rulers.h"
#include "lines/line_test_support.h"
#include "lines/message_line.h"
#include "platform/message_box.h"

namespace kirrup {
namespace {

using testing::FakeGlyphs;
using testing::LineDots;

class RecordingSink : public platform::MessageSink {
 public:
  std::vector<std::string> shown;
  void Show(platform::MessageIcon, const std::string& caption, const std::string& text) override {
    shown.push_back(caption + "|" + text);
  }
};

// Fills a line of the type with glyphs of the given width until it is full.
void Fill(MessageLine& line, FakeGlyphs& glyphs, int type, int width) {
  line.SetLedType(type, false);
  glyphs.widthOf = [width](uint16_t) { return width; };
  line.SetGlyphSource(&glyphs);
  for (uint16_t code = 'A'; line.RenderAndInsert(code, false); ++code) line.MoveCaret(+1, false);
}

// The character editor opened on a row, as the TXT button does it.
void Open(CharEditor& ed, int row, MessageLine& line) {
  ed.SetSectionsFor(line);
  ed.LoadLine(row, line);
}

class CharEditorTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetLedTypeTable(); }
  RecordingSink sink;
  FakeGlyphs glyphs;
};

TEST_F(CharEditorTest, LoadLineSizesTheBoardFromTheLine) {
  struct Case {
    int type, glyphWidth, row;
    std::string caption;
    int width, sections;
  };
  for (const Case& c : std::vector<Case>{{kLed7, 6, 0, "Sect1 [108x7] - [108x7]", 108, 18},
                                         {kLed16, 0, 2, "Sect3 [144x16] - [0x16]", 0, 0},
                                         {kLed11, 13, 5, "Sect6 [142x11] - [130x11]", 130, 11}}) {
    CharEditor ed(&sink);
    MessageLine line;
    if (c.glyphWidth)
      Fill(line, glyphs, c.type, c.glyphWidth);
    else
      line.SetLedType(c.type, false);
    Open(ed, c.row, line);
    EXPECT_EQ(ed.caption(), c.caption);
    EXPECT_EQ(ed.geometry().width(), c.width);
    EXPECT_EQ(ed.geometry().height(), line.height());
    EXPECT_EQ(ed.geometry().sectionCount, c.sections);
    for (int y = 0; y < line.height(); ++y)
      for (int x = 0; x < c.width; ++x) ASSERT_EQ(ed.image().Lit(x, y), line.Lit(x, y)) << x << "," << y;
  }
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(CharEditorTest, BoardChangesReachTheLineAndTheLineReloadsTheBoard) {
  CharEditor ed(&sink);
  MessageLine line;
  Fill(line, glyphs, kLed7, 6);
  Open(ed, 0, line);
  ed.board().history().PushUndo(ed.image(), 1, 1);
  const bool was = line.Lit(10, 3);
  const int cell = ed.geometry().cellSize;
  const Point p{10 * cell + 2, 3 * cell + 2};
  ed.mutableSettings().drawColor = was ? platform::kPaper : platform::kInk;
  ed.board().Press(MouseButton::Left, p);
  ed.board().Release(MouseButton::Left, p);
  EXPECT_NE(line.Lit(10, 3), was);
  EXPECT_EQ(line.itemCount(), 18);  // the characters keep their places

  // A line change loads the line again and forgets the board's history.
  line.DeleteRange(0, 1, false);
  Open(ed, 0, line);
  EXPECT_EQ(ed.geometry().width(), 102);
  EXPECT_EQ(ed.board().history().undoCount(), 0);
  EXPECT_EQ(ed.image().Lit(4, 3), line.Lit(4, 3));
}

// An 11-LED line set up 180 columns wide comes onto the board whole and goes back whole.
TEST_F(CharEditorTest, AWideElevenLedLineKeepsEveryColumn) {
  ApplyLed11Settings(2, 180);
  CharEditor ed(&sink);
  MessageLine line;
  Fill(line, glyphs, kLed11, 12);
  ASSERT_EQ(line.LineEnd(), 180);
  const std::vector<std::string> before = LineDots(line);
  Open(ed, 0, line);
  EXPECT_EQ(ed.geometry().width(), 180);
  EXPECT_TRUE(sink.shown.empty());

  ed.mutableSettings().tool = kToolLine;
  ed.mutableSettings().drawColor = platform::kInk;
  const int c = ed.geometry().cellSize;
  ed.board().Press(MouseButton::Left, {150 * c + 1, 0 * c + 1});
  ed.board().Release(MouseButton::Left, {179 * c + 1, 0 * c + 1});
  std::vector<std::string> expect = before;
  for (int x = 150; x < 180; ++x) expect[0][static_cast<size_t>(x)] = '#';
  EXPECT_EQ(LineDots(line), expect);
}

// The eraser's preview stays on the board: a line change while it shows neither keeps the
// previewed cells cleared in the line nor brings the old picture's cells back afterwards.
TEST_F(CharEditorTest, EraserPreviewNeverReachesTheLine) {
  CharEditor ed(&sink);
  MessageLine line;
  Fill(line, glyphs, kLed7, 6);
  for (int x = 0; x < line.LineEnd(); ++x)
    for (int y = 0; y < 7; ++y) line.SetStripPixel(x, y, platform::kInk);
  Open(ed, 0, line);
  ed.Command(kCmdEraser);
  const int c = ed.geometry().cellSize;
  auto at = [c](int x, int y) { return Point{x * c + 1, y * c + 1}; };
  const std::vector<std::string> full = LineDots(line);

  ed.board().Move(false, false, at(5, 3));
  EXPECT_FALSE(ed.image().Lit(4, 2));
  EXPECT_EQ(LineDots(line), full);
  line.DeleteRange(0, 1, false);  // typing happens while the preview shows
  Open(ed, 0, line);
  ed.board().Move(false, false, at(40, 3));
  ed.board().Move(false, false, {-50, -50});
  EXPECT_EQ(LineDots(line), std::vector<std::string>(7, std::string(102, '#')));
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 102; ++x) ASSERT_TRUE(ed.image().Lit(x, y)) << x << "," << y;

  // Pressing erases for real.
  ed.board().Move(false, false, at(5, 3));
  ed.board().Press(MouseButton::Left, at(5, 3));
  ed.board().Release(MouseButton::Left, at(5, 3));
  ed.board().Move(false, false, {-50, -50});
  EXPECT_FALSE(line.Lit(4, 2));
  EXPECT_FALSE(line.Lit(5, 3));
  EXPECT_TRUE(line.Lit(6, 3));
}

// The owner hears of every change the board makes to the line (a change of the data,
// whenever it happens), never of a load or a preview; undo and redo under the eraser's
// preview give the line the restored board, not the preview.
TEST_F(CharEditorTest, EveryChangeOfTheLineIsToldAndNoPreviewReachesIt) {
  CharEditor ed(&sink);
  BoardCommands commands(ed, nullptr);
  MessageLine line;
  Fill(line, glyphs, kLed7, 6);
  for (int x = 0; x < 108; ++x)
    for (int y = 0; y < 7; ++y) line.SetStripPixel(x, y, platform::kInk);
  int told = 0;
  ed.lineEdited = [&](int row) { told += row == 4 ? 1 : 100; };
  auto move = [&](int x, int y) { ed.board().Move(false, false, {x * 6 + 1, y * 6 + 1}); };
  auto whiteDot = [&] {  // at (10, 3)
    ed.mutableSettings().drawColor = platform::kPaper;
    ed.board().Press(MouseButton::Left, {61, 19});
    ed.board().Release(MouseButton::Left, {61, 19});
  };
  const std::string full(108, '#'), dotted = "##########." + std::string(97, '#');
  struct Step {
    const char* what;
    std::function<void()> act;
    bool told;
    std::string row3;  // the line's row 3 afterwards
  } steps[] = {
      {"load", [&] { Open(ed, 4, line); }, false, full},
      {"white dot", whiteDot, true, dotted},
      {"eraser preview", [&] { ed.Command(kCmdEraser); move(11, 3); }, false, dotted},
      {"undo under the preview", [&] { commands.Run(kCmdUndo); }, true, full},
      {"redo under the preview", [&] { commands.Run(kCmdRedo); }, true, dotted},
      {"preview moved off", [&] { move(-9, -9); }, false, dotted},
      {"load again", [&] { Open(ed, 4, line); }, false, dotted},
  };
  for (const Step& s : steps) {
    const int before = told;
    s.act();
    EXPECT_EQ(told - before, s.told ? 1 : 0) << s.what;
    EXPECT_EQ(LineDots(line)[3].substr(0, 108), s.row3) << s.what;
  }
}

TEST_F(CharEditorTest, RefusedLayoutKeepsTheBoardAndShowsTheMessageOnce) {
  CharEditor ed(&sink);
  ed.chineseUi = [] { return false; };
  ASSERT_TRUE(ed.ResizeBoard(0, 40, 8));
  const BoardGeometry before = ed.geometry();
  ed.geometry().sectionWidth = 3;
  EXPECT_FALSE(ed.ResizeBoard(0, 60, 8));
  ed.geometry().sectionWidth = 4;
  ed.geometry().sectionHeight = 4;
  EXPECT_FALSE(ed.ResizeBoard(0, 160, 32));
  EXPECT_EQ(ed.geometry().width(), before.width());
  EXPECT_EQ(ed.geometry().boardRect(), before.boardRect());
  EXPECT_EQ(ed.geometry().sectionCount, before.sectionCount);
  ASSERT_EQ(sink.shown.size(), 2u);
  EXPECT_EQ(sink.shown[0].rfind("错误", 0), 0u);
  EXPECT_NE(sink.shown[0].find("图板扩大后，字符窗太多(>256)!\n请先设定窗口模式。"), std::string::npos);
  EXPECT_NE(sink.shown[0].find("more than 256"), std::string::npos);

  // Growing the board paints the new cells in the background colour.
  ed.image().Fill(true);
  ed.mutableSettings().backColor = platform::kPaper;
  ed.geometry().sectionWidth = ed.geometry().sectionHeight = 8;
  ASSERT_TRUE(ed.ResizeBoard(8, 50, 10));
  EXPECT_TRUE(ed.image().Lit(39, 7));
  EXPECT_FALSE(ed.image().Lit(45, 2));
  EXPECT_FALSE(ed.image().Lit(3, 9));
  EXPECT_EQ(ed.geometry().cellSize, 8);
}

TEST_F(CharEditorTest, ToolbarStateFollowsTheCommands) {
  CharEditor ed(&sink);
  struct Step {
    int command;
    int tool;
    bool eraser2Enabled, opaqueEnabled;
  };
  for (const Step& s : std::vector<Step>{{kCmdEraser4, kToolPoint, false, false},  // disabled: ignored
                                         {kCmdEraser, kToolEraser, true, false},
                                         {kCmdEraser4, kToolEraser, true, false},
                                         {kCmdSelect, kToolSelect, false, true},
                                         {kCmdTransparent, kToolSelect, false, true},
                                         {kCmdFill, kToolFill, false, false}}) {
    ed.Command(s.command);
    EXPECT_EQ(ed.settings().tool, s.tool) << s.command;
    EXPECT_EQ(ed.ButtonEnabled(kCmdEraser2), s.eraser2Enabled) << s.command;
    EXPECT_EQ(ed.ButtonEnabled(kCmdOpaque), s.opaqueEnabled) << s.command;
  }
  EXPECT_TRUE(ed.ButtonChecked(kCmdFill));
  EXPECT_FALSE(ed.ButtonChecked(kCmdPoint));
  EXPECT_TRUE(ed.ButtonChecked(kCmdEraser4));
  EXPECT_TRUE(ed.ButtonChecked(kCmdTransparent));
  ed.Command(kCmdDrawWhite);
  ed.Command(kCmdBackBlack);
  EXPECT_TRUE(ed.ButtonChecked(kCmdDrawWhite) && !ed.ButtonChecked(kCmdDrawBlack));
  EXPECT_TRUE(ed.ButtonChecked(kCmdBackBlack) && !ed.ButtonChecked(kCmdBackWhite));

  EXPECT_EQ(ToolTipText(Toolbar7700()[1], true), "点");
  EXPECT_EQ(ToolTipText(Toolbar7700()[1], false), "点\nDraw dots");
}

TEST_F(CharEditorTest, RulerLabelsAtSectionsAndEighths) {
  struct Case {
    int sectionWidth, width;
    int labelColumn;          // a column whose label is checked
    int litOffset;            // a lit column of its first digit, from the label start
    platform::Color colour;
  };
  for (const Case& c : std::vector<Case>{{16, 40, 8, 0, kRulerGrey},    // "8" between sections
                                         {16, 40, 16, 3, kRulerMark},   // "16"
                                         {6, 40, 12, 3, kRulerMark},    // "12"
                                         {6, 40, 40, 0, kRulerMark}}) { // the last column: "40"
    BoardGeometry g;
    g.board.width = c.width;
    g.board.height = 16;
    ASSERT_TRUE(g.LayoutSections(6, c.sectionWidth, 16));
    platform::RgbImage s(400, 200);
    PaintRulers(s, g, 0, 0);
    const int x = 16 + c.labelColumn * 6;
    const int digits = c.labelColumn >= 10 ? 2 : 1;
    EXPECT_EQ(s.Pixel(x - digits * 5 / 2 + c.litOffset, 4), c.colour) << c.sectionWidth << ":" << c.labelColumn;
  }
}

}  // namespace
}  // namespace kirrup

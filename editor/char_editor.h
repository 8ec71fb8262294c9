// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CharEditor: the character editor frame without its windows. It owns the board's image,
// its geometry and the user's drawing settings, runs the tool bar's commands, puts a
// message line on the board and copies every change of the board back into that line's
// strip. CMakeChrWnd shows it.
#include <array>
#include <functional>
#include <string>

#include "editor/board_editor.h"
#include "editor/board_geometry.h"
#include "editor/pixel_board.h"
#include "platform/raster.h"

namespace kirrup {

class MessageLine;
namespace platform {
class MessageSink;
}

// Tool bar 7700, in its order; 0 is the separator.
enum ToolbarId : int {
  kCmdSelect = 7779,
  kCmdPoint = 7772,
  kCmdLine = 7774,
  kCmdRectangle = 7775,
  kCmdFilledRectangle = 7776,
  kCmdEllipse = 7777,
  kCmdFilledEllipse = 7778,
  kCmdFill = 7787,
  kCmdEraser = 7780,
  kCmdEraser2 = 7792,
  kCmdEraser4 = 7793,
  kCmdOpaque = 7784,
  kCmdTransparent = 7785,
  kCmdDrawBlack = 7788,
  kCmdDrawWhite = 7789,
  kCmdBackBlack = 7790,
  kCmdBackWhite = 7791,
};

struct ToolbarButton {
  int id;            // 0: the separator
  const char* tip;   // the string table's text: prompt, line break, short name
  const char* english;
};
// The 17 buttons and the separator, in order.
const std::array<ToolbarButton, 18>& Toolbar7700();
// What a tool tip shows: the short name, and for a user who does not read Chinese a
// second line in English.
std::string ToolTipText(const ToolbarButton& b, bool chinese);
// What a screen reader calls the button: its short name in Chinese, else its English text.
std::string ToolButtonName(const ToolbarButton& b, bool chinese);
// The refusal of a board layout with too many or too small sections.
std::string ResizeRefusalCaption(bool chinese);
std::string ResizeRefusalText(bool chinese);
// Shown in the board's place while the bound line is empty: why there is nothing to draw on.
std::string EmptyLineHint(bool chinese);

// The frame's window side.
class CharEditorWindow {
 public:
  virtual ~CharEditorWindow() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void ToolbarChanged() = 0;
  virtual void FocusBoard() = 0;
  virtual void ScrollBoardToLeft() = 0;  // only when the horizontal bar is shown
  virtual void Invalidate() = 0;
};

class CharEditor : public BoardFrame {
 public:
  explicit CharEditor(platform::MessageSink* messages = nullptr);

  void SetWindow(CharEditorWindow* window) { window_ = window; }
  // Where the refusal of a board layout is shown.
  void SetMessages(platform::MessageSink* messages) { messages_ = messages; }
  // Whether the user reads the interface in Chinese now (decides the English additions);
  // Chinese when not set.
  std::function<bool()> chineseUi;
  bool ChineseUi() const { return !chineseUi || chineseUi(); }
  // Told of every change the board makes to the bound line (row 0..11): the line's data
  // changed although the line window sent no change notification. Loading a line is no
  // change.
  std::function<void(int row)> lineEdited;

  // The section size of a line's LED type: one default character cell.
  void SetSectionsFor(const MessageLine& line);
  // Puts the line on the board and binds it (row 0..11).
  void LoadLine(int row, MessageLine& line);
  // c = 0 keeps the cell size. Refuses (with a message) a layout with a section side below
  // 4 cells or more than 256 sections; the board then keeps its size and layout.
  bool ResizeBoard(int c, int width, int height) override;
  // A tool bar command; ignored while its button is disabled.
  void Command(int id);
  bool ButtonEnabled(int id) const;
  bool ButtonChecked(int id) const;

  // BoardFrame
  platform::Bitmap1& image() override { return image_; }
  const platform::Bitmap1& image() const { return image_; }
  BoardGeometry& geometry() override { return geo_; }
  const BoardSettings& settings() const override { return settings_; }
  void NotifyBoardChanged() override;
  void NotifyBoardChanged(const InclusiveRect& cells) override;
  void NotifyBoardChanged(int x, int y, platform::Color colour) override;
  void ChooseSelectTool() override { Command(kCmdSelect); }

  BoardEditor& board() { return board_; }
  const BoardEditor& board() const { return board_; }
  BoardSettings& mutableSettings() { return settings_; }
  MessageLine* boundLine() const { return boundLine_; }
  int boundRow() const { return boundRow_; }
  const std::string& caption() const { return caption_; }

 private:
  void SelectTool(int tool);

  platform::MessageSink* messages_;
  CharEditorWindow* window_ = nullptr;
  BoardGeometry geo_;
  platform::Bitmap1 image_{kBoardImageWidth, kBoardImageHeight};
  BoardSettings settings_;
  BoardEditor board_;
  MessageLine* boundLine_ = nullptr;
  int boundRow_ = -1;
  std::string caption_;
};

}  // namespace kirrup

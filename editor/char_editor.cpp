// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/char_editor.h"

#include <cstdio>

#include "lines/message_line.h"
#include "platform/message_box.h"

namespace kirrup {

namespace {

constexpr std::array<ToolbarButton, 18> kToolbar = {{
    {kCmdSelect, "选择一个矩形框用来拷贝、移动或者编辑\n选择框", "Select a rectangle to copy, move or edit"},
    {kCmdPoint, "在图板上画点\n点", "Draw dots"},
    {kCmdLine, "在图板上画线\n线", "Draw a line"},
    {kCmdRectangle, "在图板上画矩形框\n矩形框", "Draw a rectangle"},
    {kCmdFilledRectangle, "在图板上画填充的矩形框\n填充的矩形框", "Draw a filled rectangle"},
    {kCmdEllipse, "在图板上画椭圆\n椭圆", "Draw an ellipse"},
    {kCmdFilledEllipse, "在图板上画填充的椭圆\n填充的椭圆", "Draw a filled ellipse"},
    {kCmdFill, "用当前颜色填充\n填充", "Fill an area with the current colour"},
    {kCmdEraser, "擦除图板上的部分内容\n橡皮", "Eraser"},
    {0, "", ""},
    {kCmdEraser2, "选择橡皮大小(2x2)\n2x2", "Eraser size 2x2"},
    {kCmdEraser4, "选择橡皮大小(4x4)\n4x4", "Eraser size 4x4"},
    {kCmdOpaque, "图形粘贴时用不透明方式粘贴\n不透明方式", "Paste opaque"},
    {kCmdTransparent, "图形粘贴时用透明方式粘贴\n透明方式", "Paste transparent"},
    {kCmdDrawBlack, "画图的颜色:黑色\n黑色", "Draw in black"},
    {kCmdDrawWhite, "画图的颜色:白色\n白色", "Draw in white"},
    {kCmdBackBlack, "背景颜色:黑色\n黑色背景", "Black background"},
    {kCmdBackWhite, "背景颜色:白色\n白色背景", "White background"},
}};

int ToolOf(int id) {
  switch (id) {
    case kCmdSelect:
      return kToolSelect;
    case kCmdPoint:
      return kToolPoint;
    case kCmdLine:
      return kToolLine;
    case kCmdRectangle:
      return kToolRectangle;
    case kCmdFilledRectangle:
      return kToolFilledRectangle;
    case kCmdEllipse:
      return kToolEllipse;
    case kCmdFilledEllipse:
      return kToolFilledEllipse;
    case kCmdFill:
      return kToolFill;
    case kCmdEraser:
      return kToolEraser;
    default:
      return 0;
  }
}

}  // namespace

const std::array<ToolbarButton, 18>& Toolbar7700() { return kToolbar; }

std::string ToolTipText(const ToolbarButton& b, bool chinese) {
  const std::string tip = b.tip;
  const size_t cut = tip.find('\n');
  std::string text = cut == std::string::npos ? tip : tip.substr(cut + 1);
  if (!chinese && *b.english) text += std::string("\n") + b.english;
  return text;
}

std::string ToolButtonName(const ToolbarButton& b, bool chinese) {
  const std::string tip = b.tip;
  const size_t cut = tip.find('\n');
  return chinese || !*b.english ? (cut == std::string::npos ? tip : tip.substr(cut + 1)) : std::string(b.english);
}

std::string ResizeRefusalCaption(bool chinese) { return chinese ? "错误" : "错误 - Error"; }

std::string ResizeRefusalText(bool chinese) {
  std::string text = "图板扩大后，字符窗太多(>256)!\n请先设定窗口模式。";
  if (!chinese) text += "\n\nThe board would have too many character windows (more than 256).\nSet the window mode first.";
  return text;
}

std::string EmptyLineHint(bool chinese) {
  return chinese ? "画板与本行的字符一样宽：在行中输入空格即可留出画图的地方。"
                 : "The board is as wide as the line's characters: type spaces into the line to make room to draw.";
}

CharEditor::CharEditor(platform::MessageSink* messages) : messages_(messages), board_(*this) {
  // The board's origin is the client origin; a layout the start values refuse falls back
  // to sections of 16 x 16.
  if (!geo_.LayoutSections(geo_.cellSize, geo_.sectionWidth, geo_.sectionHeight))
    geo_.LayoutSections(geo_.cellSize, 16, 16);
  image_.FillRect({0, 0, geo_.width() + 1, geo_.height() + 1}, settings_.backColor == platform::kInk);
  board_.UpdateScrollSizes();
}

void CharEditor::SetSectionsFor(const MessageLine& line) {
  const LedTypeInfo& t = line.ledType();
  geo_.sectionWidth = t.glyphWidth + t.gap;
  geo_.sectionHeight = t.height;
}

void CharEditor::LoadLine(int row, MessageLine& line) {
  const int w = line.LineEnd();
  const int h = line.height();
  char caption[96];
  std::snprintf(caption, sizeof caption, "Sect%d [%dx%d] - [%dx%d]", row + 1, line.maxWidth(), h, w, h);
  caption_ = caption;
  if (window_) window_->SetCaption(caption_);
  boundLine_ = &line;
  boundRow_ = row;
  board_.history().Clear();
  if (board_.selWidth() != 0 && board_.selHeight() != 0) board_.DropFloating();
  // An eraser preview belongs to the old picture: its saved cells must not come back.
  board_.ForgetEraserPreview();
  ResizeBoard(0, w, h);
  image_.CopyFrom(line.strip(), 0, 0, w, h, 0, 0);
  board_.PaintAll();
  if (window_) {
    window_->ScrollBoardToLeft();
    window_->Invalidate();
  }
}

bool CharEditor::ResizeBoard(int c, int width, int height) {
  if (c == 0) c = geo_.cellSize;
  const int oldW = geo_.board.width, oldH = geo_.board.height;
  geo_.board.width = width;
  geo_.board.height = height;
  if (!geo_.LayoutSections(c, geo_.sectionWidth, geo_.sectionHeight)) {
    geo_.board.width = oldW;
    geo_.board.height = oldH;
    if (messages_)
      messages_->Show(platform::MessageIcon::Warning, ResizeRefusalCaption(ChineseUi()),
                      ResizeRefusalText(ChineseUi()));
    return false;
  }
  geo_.cellSize = c;
  const bool lit = settings_.backColor == platform::kInk;
  if (width > oldW) image_.FillRect({oldW, 0, width, height}, lit);
  if (height > oldH) image_.FillRect({0, oldH, width, height}, lit);
  board_.UpdateScrollSizes();
  return true;
}

void CharEditor::SelectTool(int tool) {
  board_.DropFloating();
  settings_.tool = tool;
  if (tool == kToolEraser) board_.ForgetEraserPreview();
  board_.PaintAll();
}

void CharEditor::Command(int id) {
  if (!ButtonEnabled(id)) return;
  if (const int tool = ToolOf(id)) {
    SelectTool(tool);
  } else {
    switch (id) {
      case kCmdEraser2:
      case kCmdEraser4:
        board_.DropFloating();
        board_.SetEraserSize(id == kCmdEraser2 ? 2 : 4);
        board_.ForgetEraserPreview();
        board_.PaintAll();
        break;
      case kCmdOpaque:
      case kCmdTransparent:
        settings_.pasteMode = id == kCmdOpaque ? kPasteOpaque : kPasteTransparent;
        board_.selection().PasteModeChanged();
        break;
      case kCmdDrawBlack:
      case kCmdDrawWhite:
        settings_.drawColor = id == kCmdDrawBlack ? platform::kInk : platform::kPaper;
        break;
      case kCmdBackBlack:
      case kCmdBackWhite:
        settings_.backColor = id == kCmdBackBlack ? platform::kInk : platform::kPaper;
        break;
      default:
        return;
    }
  }
  if (window_) {
    window_->ToolbarChanged();
    window_->FocusBoard();
  }
}

bool CharEditor::ButtonEnabled(int id) const {
  switch (id) {
    case kCmdEraser2:
    case kCmdEraser4:
      return settings_.tool == kToolEraser;
    case kCmdOpaque:
    case kCmdTransparent:
      return settings_.tool == kToolSelect;
    default:
      return id != 0;
  }
}

bool CharEditor::ButtonChecked(int id) const {
  if (const int tool = ToolOf(id)) return settings_.tool == tool;
  switch (id) {
    case kCmdEraser2:
      return board_.eraserSize() == 2;
    case kCmdEraser4:
      return board_.eraserSize() == 4;
    case kCmdOpaque:
      return settings_.pasteMode == kPasteOpaque;
    case kCmdTransparent:
      return settings_.pasteMode == kPasteTransparent;
    case kCmdDrawBlack:
      return settings_.drawColor == platform::kInk;
    case kCmdDrawWhite:
      return settings_.drawColor == platform::kPaper;
    case kCmdBackBlack:
      return settings_.backColor == platform::kInk;
    case kCmdBackWhite:
      return settings_.backColor == platform::kPaper;
    default:
      return false;
  }
}

void CharEditor::NotifyBoardChanged() {
  if (!boundLine_) return;
  boundLine_->CopyStripFrom(image_);
  if (lineEdited) lineEdited(boundRow_);
}

void CharEditor::NotifyBoardChanged(const InclusiveRect&) { NotifyBoardChanged(); }

void CharEditor::NotifyBoardChanged(int x, int y, platform::Color colour) {
  if (!boundLine_) return;
  boundLine_->SetStripPixel(x, y, colour);
  if (lineEdited) lineEdited(boundRow_);
}

}  // namespace kirrup

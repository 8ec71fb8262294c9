// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_commands.h"

#include "app/languages.h"
#include "editor/board_editor.h"
#include "editor/char_editor.h"

namespace kirrup {

namespace {

constexpr int kGridCommands[] = {kCmdGrid4, kCmdGrid6, kCmdGrid8, kCmdGrid10};
constexpr int kGridSizes[] = {4, 6, 8, 10};

int GridSizeOf(int command) {
  for (int i = 0; i < 4; ++i)
    if (kGridCommands[i] == command) return kGridSizes[i];
  return 0;
}

bool IsTransform(int command) { return command >= kCmdRotateLeft && command <= kCmdHollow; }

// The texts menu resource 169 stores, replaced by the language's where it has them.
struct ResourceItem {
  int id;
  const char16_t* text;
};
constexpr ResourceItem kResourceTexts[] = {
    {kCmdUndo, u"撤消"},           {kCmdRedo, u"重复"},           {kCmdCut, u"剪切"},
    {kCmdCopy, u"复制"},           {kCmdPaste, u"粘贴"},          {kCmdDelete, u"删除"},
    {kCmdSelectAll, u"全选"},      {kCmdClearBoard, u"清除图板"}, {kCmdRotateLeft, u"左转90度"},
    {kCmdRotateRight, u"右转90度"}, {kCmdRotate180, u"旋转180度"}, {kCmdMirrorHorizontally, u"水平镜向(&H)"},
    {kCmdMirrorVertically, u"垂直镜向(&V)"}, {kCmdInvert, u"反色(&I)"}, {kCmdHollow, u"镂空(&H)"},
    {kCmdGrid4, u"4x4"},          {kCmdGrid6, u"6x6"},           {kCmdGrid8, u"8x8"},
    {kCmdGrid10, u"10x10"},
};

std::u16string ResourceText(int id) {
  for (const ResourceItem& r : kResourceTexts)
    if (r.id == id) return r.text;
  return {};
}

}  // namespace

BoardCommands::BoardCommands(CharEditor& editor, PictureClipboard* clipboard)
    : editor_(editor), clipboard_(clipboard) {}

FloatingSelection& BoardCommands::selection() { return editor_.board().selection(); }
const FloatingSelection& BoardCommands::selection() const { return editor_.board().selection(); }
int BoardCommands::tool() const { return editor_.settings().tool; }

bool BoardCommands::DragInProgress() const { return editor_.board().dragging() || selection().busy(); }

bool BoardCommands::CanPaste() const { return clipboard_ && clipboard_->HasPicture() && CanPastePicture(); }

bool BoardCommands::CanPastePicture() const { return editor_.geometry().Present() && !DragInProgress(); }

bool BoardCommands::Enabled(int command) const {
  const BoardHistory& h = editor_.board().history();
  switch (command) {
    case kCmdUndo: return h.undoCount() > 0;
    case kCmdRedo: return h.redoCount() > 0;
    case kCmdPaste: return CanPaste();
    case kCmdCopy:
    case kCmdCut:
    case kCmdDelete: return selection().exists();
    default: return true;
  }
}

bool BoardCommands::Checked(int command) const {
  const int size = GridSizeOf(command);
  return size != 0 && size == editor_.geometry().cellSize;
}

void BoardCommands::Run(int command) {
  if (DragInProgress()) return;
  const bool select = tool() == kToolSelect;
  if (const int size = GridSizeOf(command)) {
    SetGrid(size);
    return;
  }
  if (IsTransform(command)) {
    if (select) selection().Transform(command);
    return;
  }
  switch (command) {
    case kCmdCopy:
      if (selection().exists() && clipboard_) clipboard_->PutPicture(selection().Content());
      break;
    case kCmdCut:
      if (selection().exists()) {
        if (clipboard_) clipboard_->PutPicture(selection().Content());
        selection().Delete();
      }
      break;
    case kCmdDelete:
      if (select) selection().Delete();
      break;
    case kCmdPaste: Paste(); break;
    case kCmdUndo: Undo(true); break;
    case kCmdRedo: Undo(false); break;
    case kCmdClearBoard: ClearBoard(); break;
    case kCmdSelectAll:
      // Offered only with the select tool: with another one a selection would float
      // under a tool that cannot move or end it.
      if (select) selection().SelectAll();
      break;
    default: break;
  }
}

void BoardCommands::Paste() {
  if (CanPaste()) PastePicture(clipboard_->Picture());
}

bool BoardCommands::PastePicture(const std::optional<platform::RgbImage>& picture) {
  if (!picture || !CanPastePicture()) return false;
  if (tool() != kToolSelect) editor_.Command(kCmdSelect);
  return selection().Paste(*picture);
}

void BoardCommands::Undo(bool undo) {
  BoardEditor& board = editor_.board();
  BoardHistory& history = board.history();
  if ((undo ? history.undoCount() : history.redoCount()) == 0) return;
  const bool eraserPreview = tool() == kToolEraser && board.eraserShown_;
  if (tool() == kToolSelect) board.DropFloating();
  // The cells under the eraser preview are the board's; the preview comes back after.
  if (eraserPreview) board.RestoreEraserCells();
  BoardGeometry& geo = editor_.geometry();
  int width = geo.board.width, height = geo.board.height;
  if (undo)
    history.Undo(editor_.image(), width, height);
  else
    history.Redo(editor_.image(), width, height);
  // The image already holds the restored size: nothing is newly exposed.
  geo.board.width = width;
  geo.board.height = height;
  editor_.ResizeBoard(0, width, height);
  board.PaintAll();
  // The line takes the restored board before the preview clears its square again: the
  // preview is the board's alone.
  editor_.NotifyBoardChanged();
  if (eraserPreview) board.PlaceEraser(board.lastPoint_, false);
}

void BoardCommands::SetGrid(int cellSize) {
  BoardEditor& board = editor_.board();
  board.DropFloating();
  const BoardGeometry& geo = editor_.geometry();
  if (editor_.ResizeBoard(cellSize, geo.width(), geo.height())) board.PaintAll();
}

void BoardCommands::ClearBoard() {
  BoardEditor& board = editor_.board();
  // First the eraser preview's cells go back: the step records the board, not the preview.
  board.DropFloating();
  board.PushUndo();
  const BoardGeometry& geo = editor_.geometry();
  editor_.image().FillRect({0, 0, geo.width(), geo.height()}, editor_.settings().backColor == platform::kInk);
  board.PaintAll();
  editor_.NotifyBoardChanged();
  if (focusBoard) focusBoard();
}

bool BoardCommands::CtrlChar(int code) {
  int command = 0;
  switch (code) {
    case 3: command = tool() == kToolSelect ? kCmdCopy : -1; break;
    case 22: command = kCmdPaste; break;
    case 24: command = tool() == kToolSelect ? kCmdCut : -1; break;
    case 25: command = kCmdRedo; break;
    case 26: command = kCmdUndo; break;
    default: return false;
  }
  if (command > 0) Run(command);
  return true;
}

bool BoardCommands::KeyDown(Key key) {
  if (tool() != kToolSelect || DragInProgress()) return false;
  if (key == Key::Delete) {
    Run(kCmdDelete);
    return true;
  }
  if (!selection().exists()) return false;
  editor_.board().DropFloating();
  return true;
}

BoardPopup BoardCommands::PopupAt(Point view) const {
  const BoardGeometry& geo = editor_.geometry();
  if (tool() == kToolSelect) {
    const BoardEditor& board = editor_.board();
    return selection().exists() && PointInRectInclusive(geo.CellRectToView(board.selRect()), view) ? kPopupSelection
                                                                                                     : kPopupSelect;
  }
  return geo.HitSection(view).section < 0 ? kPopupBoard : kPopupNone;
}

std::vector<BoardMenuItem> BoardCommands::Menu(BoardPopup popup, const LanguageTable* language) const {
  auto item = [&](int id) {
    BoardMenuItem m;
    m.id = id;
    m.text = ResourceText(id);
    if (language) {
      if (const std::u16string* t = MenuText(*language, id)) m.text = *t;
    }
    m.enabled = Enabled(id);
    m.checked = Checked(id);
    return m;
  };
  auto separator = [] { return BoardMenuItem{}; };
  auto submenu = [&](const char16_t* caption, std::initializer_list<int> ids) {
    BoardMenuItem m;
    m.id = -1;
    m.text = caption;
    if (language) {
      if (const std::u16string* t = SubmenuText(*language, caption)) m.text = *t;
    }
    for (int id : ids) m.items.push_back(item(id));
    return m;
  };
  std::vector<BoardMenuItem> menu;
  if (popup == kPopupNone) return menu;
  menu = {item(kCmdUndo), item(kCmdRedo), separator()};
  if (popup == kPopupSelection) {
    for (int id : {kCmdCut, kCmdCopy, kCmdPaste, kCmdDelete}) menu.push_back(item(id));
  } else {
    menu.push_back(item(kCmdPaste));
  }
  menu.push_back(separator());
  if (popup != kPopupBoard) {
    menu.push_back(item(kCmdSelectAll));
    menu.push_back(separator());
  }
  if (popup == kPopupSelection) {
    menu.push_back(submenu(u"旋转", {kCmdRotateLeft, kCmdRotateRight, kCmdRotate180}));
    menu.push_back(submenu(u"镜向", {kCmdMirrorHorizontally, kCmdMirrorVertically}));
    menu.push_back(item(kCmdInvert));
    menu.push_back(item(kCmdHollow));
  } else {
    menu.push_back(submenu(u"网格大小", {kCmdGrid4, kCmdGrid6, kCmdGrid8, kCmdGrid10}));
    menu.push_back(item(kCmdClearBoard));
  }
  return menu;
}

}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// BoardCommands: the board view's commands (clipboard, selection, transforms, undo, redo,
// grid size, clear board), its keys and its three context menus, without the windows.
// The view's window turns key presses, right-button releases and menu choices into
// calls of this class; the clipboard is reached through PictureClipboard.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/board_geometry.h"
#include "editor/floating_selection.h"
#include "platform/raster.h"

namespace kirrup {

class CharEditor;
struct LanguageTable;

// The system clipboard's pictures.
class PictureClipboard {
 public:
  virtual ~PictureClipboard() = default;
  virtual bool HasPicture() const = 0;
  // A black-and-white picture of exactly the bitmap's size, black for lit cells.
  virtual void PutPicture(const platform::Bitmap1& picture) = 0;
  // The picture another program offers, as it would look on white paper.
  virtual std::optional<platform::RgbImage> Picture() const = 0;
};

// One item of a context menu: a command, a separator (id 0) or a submenu (id -1).
struct BoardMenuItem {
  int id = 0;
  std::u16string text;
  bool enabled = true;
  bool checked = false;
  std::vector<BoardMenuItem> items;
};

// The three popups of menu resource 169.
enum BoardPopup : int { kPopupNone = -1, kPopupBoard = 0, kPopupSelect = 1, kPopupSelection = 2 };

class BoardCommands {
 public:
  explicit BoardCommands(CharEditor& editor, PictureClipboard* clipboard = nullptr);

  void SetClipboard(PictureClipboard* clipboard) { clipboard_ = clipboard; }
  // Asked to give the keyboard focus to the board view (after clear board).
  std::function<void()> focusBoard;

  // A command of the board view (8020..8040); refused ones do nothing.
  void Run(int command);
  // Whether a menu offers the command active, and whether it carries a check mark.
  bool Enabled(int command) const;
  bool Checked(int command) const;
  bool CanPaste() const;
  // Whether a picture from elsewhere than the clipboard (a dropped file) would be pasted now.
  bool CanPastePicture() const;
  // Pastes that picture as the paste command pastes the clipboard's, with its undo step and
  // its refusals; true when it floats on the board.
  bool PastePicture(const std::optional<platform::RgbImage>& picture);

  // A mouse button is held on the board (a stroke, a band, a move or a resize): the
  // keys and commands that would change the board or its history wait until it is up.
  bool DragInProgress() const;

  // A character typed with Ctrl down (3 copy, 22 paste, 24 cut, 25 redo, 26 undo): true
  // when it is one of the board's keys (done, or refused for the tool).
  bool CtrlChar(int code);
  enum class Key { Delete, Escape };
  // Delete and Escape, only with the select tool: true when acted on.
  bool KeyDown(Key key);

  // The popup for a right-button release at a view point.
  BoardPopup PopupAt(Point view) const;
  // The popup's items with the texts of the language, an empty one included, as every menu
  // applies them (the resource's own texts without a language and for the grid sizes),
  // enabled and checked as the board stands.
  std::vector<BoardMenuItem> Menu(BoardPopup popup, const LanguageTable* language) const;

 private:
  void Undo(bool undo);
  void SetGrid(int cellSize);
  void ClearBoard();
  void Paste();
  FloatingSelection& selection();
  const FloatingSelection& selection() const;
  int tool() const;

  CharEditor& editor_;
  PictureClipboard* clipboard_;
};

}  // namespace kirrup

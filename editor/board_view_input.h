// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CBoardViewInput: the board view's keys, its right-button menus, the picture clipboard
// and picture files dropped on the board. It watches the view for key presses,
// right-button releases and drops and hands them to BoardCommands; the menus are built
// from BoardCommands' description with icons of 17 x 16 pixels on light grey.
#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

#include "editor/board_commands.h"

class QDropEvent;
class QImage;
class QMenu;
class QKeyEvent;

namespace kirrup {

class CharEditor;
class CEditChrView;
struct LanguageTable;

// A picture as the board pastes it: its top-left 160 x 32 pixels as they look on white
// paper; none for a null image.
std::optional<platform::RgbImage> BoardPicture(const QImage& source);

// The system clipboard's pictures through QClipboard.
class CPictureClipboard final : public QObject, public PictureClipboard {
  Q_OBJECT

 public:
  explicit CPictureClipboard(QObject* parent = nullptr);
  bool HasPicture() const override;
  void PutPicture(const platform::Bitmap1& picture) override;
  std::optional<platform::RgbImage> Picture() const override;

 signals:
  // Another picture (or none) is on the clipboard now.
  void changed();
};

class CBoardViewInput : public QObject {
  Q_OBJECT

 public:
  CBoardViewInput(CharEditor& editor, CEditChrView* view, QObject* parent = nullptr);
  ~CBoardViewInput() override;

  BoardCommands& commands() { return commands_; }
  // The language whose texts the menus show (none: the menu resource's own texts).
  std::function<const LanguageTable*()> language;

  // The popup for a view point, ready to show (null when the point has none).
  std::unique_ptr<QMenu> CreateMenu(QPoint viewPoint);
  // Shows the popup of a right-button release at a point of the view's viewport.
  void OpenMenuAt(QPoint clientPoint);
  // The board's share of a key press; true when the key was the board's.
  bool Key(const QKeyEvent& event);
  // The character code of a Ctrl chord (1..26 for A..Z), or -1.
  static int CtrlCode(const QKeyEvent& event);
  // The keyboard's cell: the arrow keys, Space and Shift+Space; true when the key was one.
  bool KeyCell(const QKeyEvent& event);

  bool canPaste() const { return commands_.CanPaste(); }

 signals:
  // A menu is about to be shown (for tests and screenshots).
  void menuShown(QMenu* menu);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Takes a drag of one picture file while the board would paste it; its path, or empty.
  QString AcceptPictureDrop(QDropEvent* event);
  // Pastes a picture file as the paste command pastes the clipboard's (nothing when it
  // cannot be read or the board would refuse it).
  void PasteFile(const QString& path);

  CharEditor& editor_;
  CEditChrView* view_;
  CPictureClipboard clipboard_;
  BoardCommands commands_;
};

}  // namespace kirrup

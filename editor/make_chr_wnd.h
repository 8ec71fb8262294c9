// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CMakeChrWnd: the character editor's floating frame. It shows the tool bar of resource
// 7700 down its left side and the ruler window with the board view beside it; the
// decisions (tools, colours, loading a line, copying the board back into the line) are
// CharEditor's.
#include <QHash>
#include <QSize>
#include <QWidget>
#include <functional>

#include "editor/char_editor.h"
#include "editor/editor_frame_size.h"

class QTimer;
class QLabel;
class QToolButton;

namespace kirrup {

class CBoardViewInput;
class CEditChrView;
class CEditChrWnd;
class MessageLine;

class CMakeChrWnd : public QWidget, public CharEditorWindow {
  Q_OBJECT

 public:
  static constexpr int kToolbarWidth = 60;

  // A hidden tool window owned by the owner (the main dialog), outer size as given.
  CMakeChrWnd(QWidget* owner, QSize outerSize, platform::MessageSink* messages);
  ~CMakeChrWnd() override;

  CharEditor& editor() { return editor_; }
  CEditChrView* view() const;
  CEditChrWnd* rulerWindow() const { return rulers_; }
  // The board view's keys, menus and picture clipboard.
  CBoardViewInput* boardInput() const { return boardInput_; }
  QToolButton* button(int id) const { return buttons_.value(id, nullptr); }
  // The hint shown in the board's place while the bound line is empty.
  QLabel* emptyLineHint() const { return hint_; }

  // Whether the user reads the interface in Chinese now (asked whenever a tool tip or
  // message is shown).
  void SetChineseUi(std::function<bool()> chinese) { editor_.chineseUi = std::move(chinese); }
  // Tool tips in the current language.
  void RefreshTexts();
  void LoadLine(int row, MessageLine& line);
  // The outer size to store at exit: the window's with its frame, or the size it was
  // created with while its frame is not yet known.
  QSize OuterSize() const;

  // CharEditorWindow
  void SetCaption(const std::string& caption) override;
  void ToolbarChanged() override;
  void FocusBoard() override;
  void ScrollBoardToLeft() override;
  void Invalidate() override { update(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateToolbar();
  // While the stored size waits for the window manager's frame: asks for it.
  void CheckFrame();
  void PlaceHint();

  CharEditor editor_;
  QWidget* toolbar_ = nullptr;
  CEditChrWnd* rulers_ = nullptr;
  CBoardViewInput* boardInput_ = nullptr;
  QLabel* hint_ = nullptr;
  QHash<int, QToolButton*> buttons_;
  EditorFrameSize frameSize_;
  QTimer* frameWait_ = nullptr;
  int frameChecks_ = 0;
};

}  // namespace kirrup

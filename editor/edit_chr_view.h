// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CEditChrView: the board view. Mouse events go to the board's model (BoardEditor), which
// paints the board into a raster in view coordinates; the view shows the visible part.
#include <QCursor>

class QAccessibleInterface;

#include "editor/board_editor.h"
#include "editor/scroll_wnd.h"

namespace kirrup {

class CEditChrView : public CScrollWnd, public BoardWindow {
  Q_OBJECT

 public:
  CEditChrView(BoardEditor& board, QWidget* parent = nullptr);
  ~CEditChrView() override;

  BoardEditor& board() { return board_; }

  // BoardWindow
  void SetContentSize(int width, int height, int lineWidth, int lineHeight) override;
  Point ScrollPosition() const override;
  void SetBoardCursor(BoardCursor cursor) override;
  void CaptureMouse(bool on) override;
  void CanvasChanged() override;

  // The cursor of a board cursor kind, drawn sharp for the screen's scale.
  static QCursor CursorFor(BoardCursor cursor, qreal devicePixelRatio);

  // The keyboard's cell moved or changed: scrolls it into view, shows it and tells a
  // listening reader.
  void KeyCellChanged();
  // A reader hears the board named by its line and size, and the keyboard's cell
  // (board_accessible.cpp).
  static QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

 signals:
  // The board was repainted: the rulers follow.
  void painted();

 protected:
  void Paint(QPainter& painter) override;
  void UpdateScrollSizes() override { board_.UpdateScrollSizes(); }

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  BoardEditor& board_;
};

}  // namespace kirrup

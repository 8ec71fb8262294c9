// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CKeyWnd: the symbol picker, a bordered child of the main dialog (child id 101) with its
// scroll bar (id 102). It shows KeyGrid's cells and tells the dialog which glyph was
// clicked through insertRecord, delivered before the click handling goes on.
#include <QFrame>
#include <QImage>

#include "fonts/key_grid.h"

class QAccessibleInterface;
class QScrollBar;

class CKeyWnd : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kChildId = 101;
  static constexpr int kScrollBarId = 102;

  explicit CKeyWnd(QWidget* parent = nullptr);

  // Collects the glyphs of codes 1..count for the LED type and shows them from the top.
  void Fill(kirrup::GlyphSource& glyphs, int count, int ledType);

  // The outer width at which the given number of cell columns fit beside the scroll bar.
  static int OuterWidthFor(int columns);

  const kirrup::KeyGrid& grid() const { return grid_; }
  QScrollBar* scrollBar() const { return scrollBar_; }
  // Where glyph index i is drawn, in widget coordinates (empty when not visible).
  QRect CellGeometry(int index) const;
  // The client area as the next paint draws it (with the keyboard's cell framed while
  // the picker has the focus).
  QImage ClientImage() const;

  // A reader sees a list of cells named by character and code, follows the keyboard's
  // cell and presses a cell as a click does (key_accessible.cpp).
  static QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);
  // Inserts the glyph of a cell as a click on it does.
  void InsertCell(int index);

 signals:
  // WM_INSERT_RECORD: the clicked glyph's record.
  void insertRecord(const kirrup::CharColumns& record);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void SyncScrollBar();

  // Painted over whole every time; kept to save their allocations.
  mutable kirrup::platform::RgbImage surface_;
  mutable QImage image_;
  void OnScroll(kirrup::KeyScroll code, int thumb);
  void Apply(const kirrup::KeyGrid::MouseResult& result);
  QPoint ClientPoint(const QPointF& widgetPos) const;
  // Tells a listening reader which cell has the keyboard.
  void AnnounceFocusCell();

  kirrup::KeyGrid grid_;
  QScrollBar* scrollBar_ = nullptr;
};

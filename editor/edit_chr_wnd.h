// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CEditChrWnd: the ruler window around the board view. It places the view at (15, 15) and
// paints the column ruler along its top and the row ruler down its left side.
#include <QWidget>

#include "platform/raster.h"

namespace kirrup {

class BoardGeometry;
class BoardEditor;
class CEditChrView;

class CEditChrWnd : public QWidget {
  Q_OBJECT

 public:
  CEditChrWnd(BoardEditor& board, const BoardGeometry& geometry, QWidget* parent = nullptr);

  CEditChrView* view() const { return view_; }
  // The rulers as last painted.
  const platform::RgbImage& rulers() const { return rulers_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  const BoardGeometry& geometry_;
  CEditChrView* view_;
  platform::RgbImage rulers_;
};

}  // namespace kirrup

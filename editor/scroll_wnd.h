// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CScrollWnd: a viewport onto a drawing larger than the window. The scrolling rules live
// in ScrollModel; this class shows or hides the bars it decides, feeds it the bars' and
// the wheel's commands, and paints the visible part through one off-screen image.
#include <QAbstractScrollArea>

#include "editor/scroll_model.h"

class QPainter;

namespace kirrup {

class CScrollWnd : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit CScrollWnd(QWidget* parent = nullptr);

  // The drawing's size in pixels and its line steps (0: a tenth of the page step).
  void SetContentSize(int totalWidth, int totalHeight, int lineWidth, int lineHeight);
  QPoint ScrollPosition() const { return {model_.x(), model_.y()}; }
  void ScrollToPoint(int x, int y);
  const ScrollModel& scrollModel() const { return model_; }
  // Runs a scroll command as the bars send it (low byte horizontal, high byte vertical).
  void ScrollByCode(int code, int thumb);

 signals:
  // The visible part moved or was repainted.
  void scrolled();

 protected:
  // Paints the drawing in drawing coordinates (the painter is offset by the scroll position).
  virtual void Paint(QPainter& painter) = 0;
  virtual void UpdateScrollSizes() = 0;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollBars();
  void ApplyPositions();
  void OnBarAction(Qt::Orientation orientation, int action);

  ScrollModel model_;
  bool insideUpdate_ = false;
};

}  // namespace kirrup

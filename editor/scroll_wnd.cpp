// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/scroll_wnd.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace kirrup {

CScrollWnd::CScrollWnd(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnBarAction(Qt::Horizontal, action); });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnBarAction(Qt::Vertical, action); });
}

void CScrollWnd::SetContentSize(int totalWidth, int totalHeight, int lineWidth, int lineHeight) {
  const bool first = model_.SetContentSize(totalWidth, totalHeight, lineWidth, lineHeight);
  UpdateScrollBars();
  if (first) viewport()->update();
}

void CScrollWnd::UpdateScrollBars() {
  if (insideUpdate_) return;
  insideUpdate_ = true;
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const QSize client = viewport()->size();
  model_.UpdateScrollBars(client.width(), client.height(), bar, bar);
  setHorizontalScrollBarPolicy(model_.horzBarShown() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(model_.vertBarShown() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, model_.LimitX());
  h->setPageStep(model_.page().width);
  h->setSingleStep(model_.lineStep().width);
  v->setRange(0, model_.LimitY());
  v->setPageStep(model_.page().height);
  v->setSingleStep(model_.lineStep().height);
  ApplyPositions();
  insideUpdate_ = false;
}

void CScrollWnd::ApplyPositions() {
  const QSignalBlocker hb(horizontalScrollBar());
  const QSignalBlocker vb(verticalScrollBar());
  horizontalScrollBar()->setValue(model_.x());
  verticalScrollBar()->setValue(model_.y());
  viewport()->update();
  emit scrolled();
}

void CScrollWnd::ScrollToPoint(int x, int y) {
  model_.ScrollToPoint(x, y);
  ApplyPositions();
}

void CScrollWnd::ScrollByCode(int code, int thumb) {
  if (model_.ScrollByCode(code, thumb)) {
    ApplyPositions();
    viewport()->repaint();
  }
}

void CScrollWnd::OnBarAction(Qt::Orientation orientation, int action) {
  int code = 255;
  QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = kScrollLineUp;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = kScrollLineDown;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = kScrollPageUp;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = kScrollPageDown;
      break;
    case QAbstractSlider::SliderMove:
      code = kScrollThumbTrack;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = kScrollTop;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = kScrollBottom;
      break;
    default:
      return;
  }
  const int full = orientation == Qt::Horizontal ? (0xFF00 | code) : ((code << 8) | 0xFF);
  model_.ScrollByCode(full, bar->sliderPosition());
  // The bar applies its own step after this signal: give it ours instead.
  bar->setSliderPosition(orientation == Qt::Horizontal ? model_.x() : model_.y());
  viewport()->update();
  emit scrolled();
}

void CScrollWnd::scrollContentsBy(int, int) {
  // Positions come from the model; a value set from elsewhere is taken over.
  if (insideUpdate_) return;
  if (horizontalScrollBar()->value() != model_.x() || verticalScrollBar()->value() != model_.y()) {
    model_.ScrollToPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->update();
    emit scrolled();
  }
}

void CScrollWnd::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CScrollWnd::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
    event->ignore();
    return;
  }
  event->accept();
  if (model_.Wheel(event->angleDelta().y(), false, false)) {
    ApplyPositions();
    viewport()->repaint();
  }
}

void CScrollWnd::keyPressEvent(QKeyEvent* event) {
  // Keys do not scroll: the window's keys are its derived class's alone.
  QWidget::keyPressEvent(event);
}

void CScrollWnd::paintEvent(QPaintEvent*) {
  // The whole client area through one off-screen image, so nothing flickers while drawing.
  const qreal ratio = viewport()->devicePixelRatioF();
  QImage offscreen(viewport()->size() * ratio, QImage::Format_RGB32);
  offscreen.setDevicePixelRatio(ratio);
  offscreen.fill(Qt::white);
  {
    QPainter p(&offscreen);
    p.translate(-model_.x(), -model_.y());
    Paint(p);
  }
  QPainter screen(viewport());
  screen.drawImage(0, 0, offscreen);
}

}  // namespace kirrup

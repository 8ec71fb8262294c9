// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/key_wnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "widgets/accessibility.h"
#include "widgets/raster_image.h"

using kirrup::KeyGrid;
using kirrup::KeyScroll;

CKeyWnd::CKeyWnd(QWidget* parent) : QFrame(parent) {
  setObjectName("CKeyWnd");
  setProperty("controlId", kChildId);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Tab enters the picker; a click does not take the keyboard from the line it fills.
  setFocusPolicy(Qt::TabFocus);
  kirrup::InstallAccessibleFactory(&CKeyWnd::AccessibleFactory);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setObjectName("keyScrollBar");
  scrollBar_->setProperty("controlId", kScrollBarId);
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
    KeyScroll code = KeyScroll::Other;
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: code = KeyScroll::LineUp; break;
      case QAbstractSlider::SliderSingleStepAdd: code = KeyScroll::LineDown; break;
      case QAbstractSlider::SliderPageStepSub: code = KeyScroll::PageUp; break;
      case QAbstractSlider::SliderPageStepAdd: code = KeyScroll::PageDown; break;
      case QAbstractSlider::SliderMove: code = KeyScroll::ThumbTrack; break;
      default: break;
    }
    OnScroll(code, scrollBar_->sliderPosition());
    // The grid decides: the slider shows the first row it kept.
    scrollBar_->setSliderPosition(grid_.firstRow());
  });
}

int CKeyWnd::OuterWidthFor(int columns) {
  constexpr int kBorder = 1;
  return 2 * kBorder + 2 * kirrup::kKeyInset + columns * (kirrup::kKeyCellWidth + kirrup::kKeyCellGap) -
         kirrup::kKeyCellGap + kirrup::kKeyScrollBarWidth;
}

void CKeyWnd::Fill(kirrup::GlyphSource& glyphs, int count, int ledType) {
  grid_.Fill(glyphs, count, ledType);
  SyncScrollBar();
  update();
}

QPoint CKeyWnd::ClientPoint(const QPointF& widgetPos) const {
  return widgetPos.toPoint() - contentsRect().topLeft();
}

QRect CKeyWnd::CellGeometry(int index) const {
  const int row = index / kirrup::kKeyColumns - grid_.firstRow();
  if (index < 0 || index >= grid_.glyphCount() || row < 0 || row >= grid_.visibleRows()) return {};
  const kirrup::platform::Rect r = grid_.CellRect(index % kirrup::kKeyColumns, row);
  return QRect(r.left, r.top, r.Width(), r.Height()).translated(contentsRect().topLeft());
}

void CKeyWnd::SyncScrollBar() {
  const KeyGrid::ScrollBarState& s = grid_.scrollBar();
  const QRect client = contentsRect();
  scrollBar_->setGeometry(client.x() + s.rect.left, client.y() + s.rect.top, s.rect.Width(), s.rect.Height());
  const QSignalBlocker block(scrollBar_);
  // A thumb as tall as the page: its top runs from 0 to the last first row.
  scrollBar_->setRange(0, std::max(0, std::min(s.maximum, s.maximum + 1 - s.page)));
  scrollBar_->setPageStep(std::max(1, s.page));
  scrollBar_->setSingleStep(1);
  scrollBar_->setValue(s.position);
  scrollBar_->setEnabled(s.enabled);
}

void CKeyWnd::OnScroll(KeyScroll code, int thumb) {
  if (!grid_.Scroll(code, thumb)) return;
  {
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(grid_.firstRow());
  }
  update();
}

QImage CKeyWnd::ClientImage() const {
  grid_.Paint(surface_);
  if (hasFocus()) grid_.PaintFocus(surface_);
  kirrup::ToScreenImage(surface_, image_);
  return image_;
}

void CKeyWnd::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);  // the border
  QPainter painter(this);
  painter.drawImage(contentsRect().topLeft(), ClientImage());
}

void CKeyWnd::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  grid_.Layout(contentsRect().width(), contentsRect().height());
  SyncScrollBar();
}

void CKeyWnd::Apply(const KeyGrid::MouseResult& result) {
  if (result.repaint) update();
  if (result.insert) {
    // A copy: the dialog may refill the grid while it handles the record.
    const kirrup::CharColumns record = *result.insert;
    emit insertRecord(record);
  }
}

void CKeyWnd::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = ClientPoint(event->position());
  Apply(grid_.MouseMove(p.x(), p.y()));
}

void CKeyWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
  const QPoint p = ClientPoint(event->position());
  Apply(grid_.LeftDown(p.x(), p.y()));
}

void CKeyWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(event);
  const QPoint p = ClientPoint(event->position());
  // The keyboard goes on from the cell clicked last.
  if (const int cell = grid_.HitTest(p.x(), p.y()); cell >= 0) grid_.SetFocusCell(cell);
  Apply(grid_.LeftUp(p.x(), p.y()));
}

void CKeyWnd::leaveEvent(QEvent* event) {
  Apply(grid_.MouseLeave());
  QFrame::leaveEvent(event);
}

void CKeyWnd::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  for (int i = 0; i < std::abs(steps); ++i) OnScroll(steps > 0 ? KeyScroll::LineUp : KeyScroll::LineDown, 0);
  event->accept();
}

void CKeyWnd::InsertCell(int index) {
  if (index < 0 || index >= grid_.glyphCount()) return;
  const kirrup::CharColumns record = grid_.glyph(index);
  emit insertRecord(record);
}

void CKeyWnd::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  kirrup::KeyMove move;
  switch (event->key()) {
    case Qt::Key_Left: move = kirrup::KeyMove::Left; break;
    case Qt::Key_Right: move = kirrup::KeyMove::Right; break;
    case Qt::Key_Up: move = kirrup::KeyMove::Up; break;
    case Qt::Key_Down: move = kirrup::KeyMove::Down; break;
    case Qt::Key_PageUp: move = kirrup::KeyMove::PageUp; break;
    case Qt::Key_PageDown: move = kirrup::KeyMove::PageDown; break;
    case Qt::Key_Home: move = ctrl ? kirrup::KeyMove::First : kirrup::KeyMove::RowStart; break;
    case Qt::Key_End: move = ctrl ? kirrup::KeyMove::Last : kirrup::KeyMove::RowEnd; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (grid_.glyphCount() > 0) InsertCell(grid_.focusCell());
      event->accept();
      return;
    default:
      QFrame::keyPressEvent(event);
      return;
  }
  event->accept();
  if (!grid_.MoveFocus(move)) return;
  SyncScrollBar();
  update();
  AnnounceFocusCell();
}

void CKeyWnd::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  update();
  // After Qt has told the reader that the picker has the focus: then the cell in it.
  QMetaObject::invokeMethod(this, &CKeyWnd::AnnounceFocusCell, Qt::QueuedConnection);
}

void CKeyWnd::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  update();
}

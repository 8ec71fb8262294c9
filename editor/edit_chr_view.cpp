// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/edit_chr_view.h"

#include "app/rotavu_app.h"
#include "widgets/accessibility.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace kirrup {

namespace {

// The resource cursor of each kind; 0: the arrow.
int ResourceOf(BoardCursor c) {
  switch (c) {
    case BoardCursor::Point:
      return 240;
    case BoardCursor::Cross:
      return 231;
    case BoardCursor::Move:
      return 245;
    case BoardCursor::Fill:
      return 239;
    case BoardCursor::Eraser:
      return 234;
    default:
      return 0;
  }
}

}  // namespace

CEditChrView::CEditChrView(BoardEditor& board, QWidget* parent) : CScrollWnd(parent), board_(board) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setLineWidth(1);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  InstallAccessibleFactory(&CEditChrView::AccessibleFactory);
  board_.SetWindow(this);
  UpdateScrollSizes();
}

CEditChrView::~CEditChrView() { board_.SetWindow(nullptr); }

QCursor CEditChrView::CursorFor(BoardCursor cursor, qreal devicePixelRatio) {
  // The selection's handles take the system's own sizing cursors.
  switch (cursor) {
    case BoardCursor::SizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case BoardCursor::SizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case BoardCursor::SizeNS: return QCursor(Qt::SizeVerCursor);
    case BoardCursor::SizeWE: return QCursor(Qt::SizeHorCursor);
    default: break;
  }
  const int resource = ResourceOf(cursor);
  if (resource == 0) return QCursor(Qt::ArrowCursor);
  // Whole-pixel enlargement keeps the drawn pixels sharp at 200 %.
  const int scale = std::max(1, static_cast<int>(std::lround(devicePixelRatio)));
  static QHash<int, QCursor> made;
  const int key = resource * 16 + scale;
  auto it = made.find(key);
  if (it != made.end()) return *it;
  const QCursor base = CRotavuApp::LoadResourceCursor(resource);
  QPixmap picture = base.pixmap();
  if (picture.isNull()) return base;
  if (scale > 1) {
    picture = picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    picture.setDevicePixelRatio(scale);
  }
  const QCursor c(picture, base.hotSpot().x(), base.hotSpot().y());
  made.insert(key, c);
  return c;
}

void CEditChrView::SetContentSize(int width, int height, int lineWidth, int lineHeight) {
  CScrollWnd::SetContentSize(width, height, lineWidth, lineHeight);
}

Point CEditChrView::ScrollPosition() const {
  const QPoint p = CScrollWnd::ScrollPosition();
  return {p.x(), p.y()};
}

void CEditChrView::SetBoardCursor(BoardCursor cursor) {
  viewport()->setCursor(CursorFor(cursor, devicePixelRatioF()));
}

void CEditChrView::CaptureMouse(bool) {
  // The window under a press receives every move and the release until the button is up.
}

void CEditChrView::CanvasChanged() {
  viewport()->update();
  emit painted();
}

void CEditChrView::Paint(QPainter& painter) {
  const platform::RgbImage& canvas = board_.canvas();
  // 0x00BBGGRR words are R, G, B, X bytes in memory.
  const QImage image(reinterpret_cast<const uchar*>(canvas.pixels().data()), canvas.width(), canvas.height(),
                     canvas.width() * 4, QImage::Format_RGBX8888);
  painter.drawImage(0, 0, image);
  // The keyboard's cell, while the board has the keyboard: a frame on the grid lines.
  const InclusiveRect k = board_.KeyCellView();
  if (hasFocus() && k.right >= k.left) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(k.left, k.top), QPoint(k.right + 1, k.bottom + 1)));
  }
}

void CEditChrView::KeyCellChanged() {
  const InclusiveRect k = board_.KeyCellView();
  if (k.right >= k.left) {
    const QPoint at = CScrollWnd::ScrollPosition();
    const QSize page = viewport()->size();
    int x = at.x(), y = at.y();
    if (k.left < x) x = k.left;
    if (k.right + 2 > x + page.width()) x = k.right + 2 - page.width();
    if (k.top < y) y = k.top;
    if (k.bottom + 2 > y + page.height()) y = k.bottom + 2 - page.height();
    if (x != at.x() || y != at.y()) ScrollToPoint(std::max(x, 0), std::max(y, 0));
  }
  viewport()->update();
  NotifyAccessible(this, QAccessible::DescriptionChanged);
}

void CEditChrView::focusInEvent(QFocusEvent* event) {
  CScrollWnd::focusInEvent(event);
  viewport()->update();
}

void CEditChrView::focusOutEvent(QFocusEvent* event) {
  CScrollWnd::focusOutEvent(event);
  viewport()->update();
}

void CEditChrView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  board_.Press(event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left,
               {event->position().toPoint().x(), event->position().toPoint().y()});
  event->accept();
}

void CEditChrView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CEditChrView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  board_.Move(event->buttons() & Qt::LeftButton, event->buttons() & Qt::RightButton, {p.x(), p.y()});
  event->accept();
}

void CEditChrView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const QPoint p = event->position().toPoint();
  board_.Release(event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left, {p.x(), p.y()});
  event->accept();
}

}  // namespace kirrup

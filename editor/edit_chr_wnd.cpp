// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/edit_chr_wnd.h"

#include <QImage>
#include <QPainter>

#include "editor/board_geometry.h"
#include "editor/edit_chr_view.h"
#include "editor/rulers.h"

namespace kirrup {

CEditChrWnd::CEditChrWnd(BoardEditor& board, const BoardGeometry& geometry, QWidget* parent)
    : QWidget(parent), geometry_(geometry), view_(new CEditChrView(board, this)) {
  setObjectName(QStringLiteral("rulerWindow"));
  view_->setObjectName(QStringLiteral("boardView"));
  setCursor(Qt::ArrowCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);  // not in the Tab order: Shift+Tab from the board reaches the tools
  connect(view_, &CScrollWnd::scrolled, this, [this] { update(); });
  connect(view_, &CEditChrView::painted, this, [this] { update(); });
}

void CEditChrWnd::resizeEvent(QResizeEvent*) {
  // The view reaches two pixels past the window's right and bottom edges.
  view_->setGeometry(15, 15, width() - 13, height() - 13);
}

void CEditChrWnd::focusInEvent(QFocusEvent*) { view_->setFocus(Qt::OtherFocusReason); }

void CEditChrWnd::paintEvent(QPaintEvent*) {
  if (rulers_.width() != width() || rulers_.height() != height())
    rulers_ = platform::RgbImage(width(), height(), kRulerFace);
  const Point s = view_->ScrollPosition();
  PaintRulers(rulers_, geometry_, s.x, s.y);
  const QImage image(reinterpret_cast<const uchar*>(rulers_.pixels().data()), rulers_.width(), rulers_.height(),
                     rulers_.width() * 4, QImage::Format_RGBX8888);
  QPainter p(this);
  p.drawImage(0, 0, image);
}

}  // namespace kirrup

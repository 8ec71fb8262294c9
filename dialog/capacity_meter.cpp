// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/capacity_meter.h"

#include <algorithm>

#include <QPainter>

namespace {

constexpr int kBarHeight = 8;
constexpr int kInset = 3;  // room for the focus frame
const QColor kTrack(0xe3, 0xe8, 0xef);
const QColor kFill(0x2f, 0x6f, 0xd6);
const QColor kWarning(0xc6, 0x28, 0x28);
const QColor kCaption(0x5d, 0x68, 0x78);
const QColor kNumbers(0x1f, 0x2a, 0x3d);

}  // namespace

CCapacityMeter::CCapacityMeter(QWidget* parent) : QProgressBar(parent) {
  setFocusPolicy(Qt::TabFocus);
  setRange(0, kirrup::Capacity::kLimit);
  setTextVisible(false);
  Show({}, false);
}

void CCapacityMeter::Show(const kirrup::Capacity& capacity, bool chinese) {
  capacity_ = capacity;
  caption_ = QString::fromStdString(kirrup::CapacityCaption(capacity, chinese));
  numbers_ = QString::fromStdString(kirrup::CapacityNumbers(capacity, chinese));
  setValue(std::min(capacity.bytes, kirrup::Capacity::kLimit));
  setAccessibleName(chinese ? QStringLiteral("玩具存储") : QStringLiteral("Toy memory"));
  setAccessibleDescription(QString::fromStdString(kirrup::CapacityDescription(capacity, chinese)));
  setToolTip(chinese ? QStringLiteral("现在发送会写入玩具的字节数，玩具最多存 %1 字节").arg(kirrup::Capacity::kLimit)
                     : QStringLiteral("The bytes Send would put into the toy now; it holds at most %1")
                           .arg(kirrup::Capacity::kLimit));
  update();
}

void CCapacityMeter::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool over = capacity_.Over();
  const QRect text(kInset, 0, width() - 2 * kInset, height() - kBarHeight - 3);
  QFont small = font();
  small.setPointSizeF(font().pointSizeF() * 0.92);
  p.setFont(small);
  p.setPen(over ? kWarning : kCaption);
  const QString numbers = p.fontMetrics().elidedText(numbers_, Qt::ElideLeft, text.width());
  const int numbersWidth = p.fontMetrics().horizontalAdvance(numbers);
  p.drawText(text.adjusted(0, 0, -numbersWidth - 6, 0), Qt::AlignLeft | Qt::AlignVCenter,
             p.fontMetrics().elidedText(caption_, Qt::ElideRight, std::max(text.width() - numbersWidth - 6, 0)));
  QFont bold = small;
  bold.setBold(true);
  p.setFont(bold);
  p.setPen(over ? kWarning : kNumbers);
  p.drawText(text, Qt::AlignRight | Qt::AlignVCenter, numbers);

  const QRectF track(kInset, height() - kBarHeight - kInset, width() - 2.0 * kInset, kBarHeight);
  p.setPen(Qt::NoPen);
  p.setBrush(kTrack);
  p.drawRoundedRect(track, kBarHeight / 2.0, kBarHeight / 2.0);
  const double share = std::min(1.0, double(capacity_.bytes) / kirrup::Capacity::kLimit);
  if (share > 0) {
    QRectF fill = track;
    fill.setWidth(std::max(track.width() * share, double(kBarHeight)));
    p.setBrush(over ? kWarning : kFill);
    p.drawRoundedRect(fill, kBarHeight / 2.0, kBarHeight / 2.0);
  }
  // Only Tab reaches the meter: its focus is always the keyboard's, so always drawn.
  if (hasFocus()) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
  }
}

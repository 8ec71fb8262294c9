// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CCapacityMeter: how full the toy would be after Send. A progress bar to the toolkit and
// to screen readers (its value the bytes, its description "1532 of 2047 bytes"); drawn as
// a caption and the numbers over a thin bar, in a warning colour over the limit, 3 pixels
// in from its edges for the focus frame. Reachable by Tab so a keyboard user can read it;
// the numbers come from kirrup::Capacity.
#include <QProgressBar>

#include "device/capacity.h"

class CCapacityMeter : public QProgressBar {
  Q_OBJECT

 public:
  explicit CCapacityMeter(QWidget* parent = nullptr);

  void Show(const kirrup::Capacity& capacity, bool chinese);
  const kirrup::Capacity& capacity() const { return capacity_; }
  // The numbers as drawn ("1532 / 2047 bytes").
  const QString& numbers() const { return numbers_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  kirrup::Capacity capacity_;
  QString caption_;
  QString numbers_;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CEffectComboBox: a row's opening, middle or closing effect list. Only its accessible
// interface differs from a plain combo box: twelve rows of lists that read alike would be
// indistinguishable, so a reader hears the column, the row and the effect chosen
// (dialog_accessible.cpp).
#include <QComboBox>

class QAccessibleInterface;

class CEffectComboBox : public QComboBox {
  Q_OBJECT

 public:
  // row 0..11; headerId: the control id of the column's caption (1057, 1058 or 1059).
  CEffectComboBox(int row, int headerId, QWidget* parent = nullptr);

  int row() const { return row_; }
  // What a reader hears: "Open Option, line 3: Left to Right".
  QString AccessibleName() const;

  static QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

 private:
  int row_;
  int headerId_;
};

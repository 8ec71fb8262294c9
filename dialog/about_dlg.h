// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CAboutDlg: the About box opened from the main dialog's system menu.
#include <QDialog>

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  // Chinese texts or English ones.
  explicit CAboutDlg(bool chinese, QWidget* parent = nullptr);
};

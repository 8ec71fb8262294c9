#pragma once
// CAboutDlg: the About box opened from the main dialog's system menu.
#include <QDialog>

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

#pragma once
// CRotavuDlg: the program's main dialog, a fixed-size modal window with a minimize box
// and a system menu. For now it holds the Exit button (command 1); the message rows and
// the other commands come with the main dialog's own work.
//
// The system menu: X11 window managers own their window menus, so the dialog keeps its
// own. It opens with Alt+Space (as a system menu does) and on a right click on the
// dialog's background, and holds the About item (command 16).
#include <QDialog>

class QMenu;
class QPushButton;

class CRotavuDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CRotavuDlg(QWidget* parent = nullptr);

  static constexpr int kExitCommand = 1;    // IDOK: the Exit button, Escape, the close box
  static constexpr int kAboutCommand = 16;  // system menu: "关于 Kirrup(&A)..."
  static constexpr int kWidth = 720;
  static constexpr int kHeight = 540;

  QMenu* systemMenu() const { return systemMenu_; }
  QPushButton* exitButton() const { return exitButton_; }
  // Handles a command of the dialog's controls and menus.
  void OnCommand(int id);
  void ShowSystemMenu(const QPoint& globalPos);

 public slots:
  void reject() override;  // Escape and the close box are Exit

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QMenu* systemMenu_ = nullptr;
  QPushButton* exitButton_ = nullptr;
};

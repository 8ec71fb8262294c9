#include "dialog/rotavu_dlg.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "app/languages.h"
#include "app/rotavu_app.h"
#include "dialog/about_dlg.h"

CRotavuDlg::CRotavuDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Kirrup"));
  setWindowIcon(QIcon(QPixmap(":/res/kirrup.xpm")));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWidth, kHeight);

  systemMenu_ = new QMenu(this);
  systemMenu_->setObjectName("systemMenu");
  systemMenu_->addSeparator();
  QAction* about = systemMenu_->addAction(QStringLiteral("关于 Kirrup(&A)..."));
  about->setData(kAboutCommand);
  connect(about, &QAction::triggered, this, [this] { OnCommand(kAboutCommand); });

  QString exitText = QStringLiteral("Exit");
  if (CRotavuApp* app = CRotavuApp::Instance()) {
    const auto& texts = app->languages;
    if (texts.count() > 0) {
      // The language of the system when the list has it, else the first one.
      app->languages.current = kirrup::SelectLanguage(texts, app->systemLanguageId);
      exitText = QString::fromStdU16String(*kirrup::CaptionText(texts.Current(), kExitCommand));
    }
  }
  exitButton_ = new QPushButton(exitText, this);
  exitButton_->setObjectName("exitButton");
  exitButton_->setProperty("commandId", kExitCommand);
  exitButton_->setAutoDefault(false);
  exitButton_->resize(88, 28);
  exitButton_->move(kWidth - exitButton_->width() - 12, kHeight - exitButton_->height() - 12);
  connect(exitButton_, &QPushButton::clicked, this, [this] { OnCommand(kExitCommand); });
}

void CRotavuDlg::OnCommand(int id) {
  switch (id) {
    case kExitCommand:
      done(kExitCommand);
      break;
    case kAboutCommand: {
      CAboutDlg about(this);
      about.exec();
      break;
    }
    default:
      break;
  }
}

void CRotavuDlg::reject() { OnCommand(kExitCommand); }

void CRotavuDlg::ShowSystemMenu(const QPoint& globalPos) { systemMenu_->exec(globalPos); }

void CRotavuDlg::contextMenuEvent(QContextMenuEvent* event) {
  if (childAt(event->pos()) == nullptr) {
    ShowSystemMenu(event->globalPos());
    event->accept();
    return;
  }
  QDialog::contextMenuEvent(event);
}

void CRotavuDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier) {
    ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
    return;
  }
  QDialog::keyPressEvent(event);
}

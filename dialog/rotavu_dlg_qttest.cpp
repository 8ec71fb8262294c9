#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "dialog/about_dlg.h"
#include "dialog/rotavu_dlg.h"

class RotavuDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void isAFixedSizeDialogWithMinimizeBox();
  void exitEscapeAndCloseBoxEndTheDialogWithCommandOne();
  void systemMenuOpensTheAboutBox();
  void altSpaceOpensTheSystemMenu();
};

void RotavuDlgTest::isAFixedSizeDialogWithMinimizeBox() {
  CRotavuDlg dlg;
  QCOMPARE(dlg.windowTitle(), QString("Kirrup"));
  QCOMPARE(dlg.minimumSize(), QSize(CRotavuDlg::kWidth, CRotavuDlg::kHeight));
  QCOMPARE(dlg.maximumSize(), dlg.minimumSize());
  QVERIFY(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
  QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
  QCOMPARE(dlg.exitButton()->text(), QString("Exit"));
  QCOMPARE(dlg.exitButton()->property("commandId").toInt(), 1);
}

void RotavuDlgTest::exitEscapeAndCloseBoxEndTheDialogWithCommandOne() {
  {
    CRotavuDlg dlg;
    QTimer::singleShot(0, dlg.exitButton(), &QPushButton::click);
    QCOMPARE(dlg.exec(), 1);
  }
  {
    CRotavuDlg dlg;
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    QCOMPARE(dlg.exec(), 1);
  }
  {
    CRotavuDlg dlg;
    QTimer::singleShot(0, &dlg, [&] { dlg.close(); });
    QCOMPARE(dlg.exec(), 1);
  }
}

void RotavuDlgTest::systemMenuOpensTheAboutBox() {
  CRotavuDlg dlg;
  const QList<QAction*> actions = dlg.systemMenu()->actions();
  QCOMPARE(actions.size(), 2);
  QVERIFY(actions[0]->isSeparator());
  QCOMPARE(actions[1]->text(), QString("关于 Kirrup(&A)..."));
  QCOMPARE(actions[1]->data().toInt(), CRotavuDlg::kAboutCommand);

  QString title, version, maker, ok;
  bool hasIcon = false;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
    QVERIFY(about);
    title = about->windowTitle();
    version = about->findChild<QLabel*>("version")->text();
    maker = about->findChild<QLabel*>("maker")->text();
    hasIcon = !about->findChild<QLabel*>("icon")->pixmap().isNull();
    auto* button = about->findChild<QPushButton*>();
    ok = button->text();
    button->click();
  });
  actions[1]->trigger();
  QCOMPARE(title, QString("关于 Kirrup"));
  QCOMPARE(version, QString("Kirrup，V2.0"));
  QVERIFY(!maker.isEmpty());
  QVERIFY(hasIcon);
  QCOMPARE(ok, QString("确定"));
  QVERIFY(dlg.result() == 0);  // the About box does not end the dialog
}

void RotavuDlgTest::altSpaceOpensTheSystemMenu() {
  CRotavuDlg dlg;
  dlg.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dlg));
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = QApplication::activePopupWidget() == dlg.systemMenu();
    dlg.systemMenu()->close();
  });
  QTest::keyClick(&dlg, Qt::Key_Space, Qt::AltModifier);
  QVERIFY(shown);
}

QTEST_MAIN(RotavuDlgTest)
#include "rotavu_dlg_qttest.moc"

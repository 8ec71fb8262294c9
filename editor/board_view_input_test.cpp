// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_view_input.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "app/languages.h"
#include "editor/edit_chr_view.h"
#include "editor/make_chr_wnd.h"
#include "widgets/drop_test_support.h"

using namespace kirrup;

namespace {

QStringList Texts(const QMenu& menu) {
  QStringList texts;
  for (QAction* a : menu.actions()) {
    if (a->isSeparator()) continue;
    texts << a->text();
    if (a->menu())
      for (QAction* s : a->menu()->actions()) texts << "  " + s->text();
  }
  return texts;
}

QAction* Find(const QMenu& menu, int id) {
  for (QAction* a : menu.actions()) {
    if (a->data().toInt() == id) return a;
    if (a->menu())
      if (QAction* s = Find(*a->menu(), id)) return s;
  }
  return nullptr;
}

}  // namespace

class BoardViewInputTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<CMakeChrWnd> wnd;
  CharEditor& ed() { return wnd->editor(); }
  CEditChrView* view() { return wnd->view(); }
  CBoardViewInput& input() { return *wnd->boardInput(); }
  QPoint Cell(int x, int y) {
    const int c = ed().geometry().cellSize;
    return {x * c + c / 2, y * c + c / 2};
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
    QMouseEvent e(type, at, view()->viewport()->mapToGlobal(at), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &e);
  }
  void Select(QPoint from, QPoint to) {
    Mouse(QEvent::MouseMove, from, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(QEvent::MouseMove, to, Qt::NoButton);
    Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton);
  }

 private slots:
  void init() {
    QGuiApplication::clipboard()->clear();
    wnd = std::make_unique<CMakeChrWnd>(nullptr, QSize(700, 300), nullptr);
    input().language = [] { return &BuiltInEnglish(); };
    wnd->show();
    QVERIFY(QTest::qWaitForWindowExposed(wnd.get()));
    ed().image().Fill(false);
    ed().board().PaintAll();
  }
  void cleanup() { wnd.reset(); }

  void copyPutsABlackAndWhitePictureOfTheSelectionsSize() {
    ed().Command(kCmdSelect);
    ed().image().Set(2, 1, true);
    Select(Cell(2, 1), Cell(6, 3));
    QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(5, 3));
    QCOMPARE(copied.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(copied.pixel(1, 0), qRgb(255, 255, 255));
  }

  void ctrlVWithTheLineToolSwitchesToSelectAndPastesTheImage() {
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(200, 30, 30));
    picture.setPixel(1, 1, qRgba(0, 0, 0, 0));  // transparent: the paper under it
    QGuiApplication::clipboard()->setImage(picture);
    ed().Command(kCmdLine);
    QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier);  // not the line tool's
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(3, 2));
    QTest::keyClick(view(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(ed().settings().tool, int(kToolSelect));
    QVERIFY(wnd->button(kCmdSelect)->isChecked());
    QCOMPARE(ed().board().selWidth(), 3);
    QVERIFY(ed().image().Lit(0, 0));
    QVERIFY(!ed().image().Lit(1, 1));
    QTest::keyClick(view(), Qt::Key_Delete);
    QVERIFY(!ed().image().Lit(0, 0));
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!ed().image().Lit(0, 0));  // undo of the delete: the board before the paste
    QCOMPARE(ed().board().history().redoCount(), 1);
  }

  // A picture file dropped on the board against the same picture pasted by Ctrl+V.
  void droppedPictureFileIsPastedAsCtrlVPastes() {
    QTemporaryDir dir;
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(200, 30, 30));
    picture.setPixel(2, 1, qRgba(0, 0, 0, 0));
    const QString png = dir.filePath("dots.png");
    QVERIFY(picture.save(png));
    ed().image().Set(1, 1, true);
    const platform::Bitmap1 before = ed().image();
    QGuiApplication::clipboard()->setImage(picture);
    QTest::keyClick(view(), Qt::Key_V, Qt::ControlModifier);
    const platform::Bitmap1 pasted = ed().image();
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);

    auto drop = [this](const QString& file) {
      return kirrup::testing::DragAndDrop(view()->viewport(), {QUrl::fromLocalFile(file)});
    };
    ed().Command(kCmdLine);
    Mouse(QEvent::MouseButtonPress, Cell(20, 5), Qt::LeftButton);
    QCOMPARE(drop(png), Qt::IgnoreAction);  // not into half a stroke
    Mouse(QEvent::MouseButtonRelease, Cell(20, 5), Qt::LeftButton);
    QCOMPARE(ed().settings().tool, int(kToolLine));
    ed().image() = before;
    const int steps = ed().board().history().undoCount();
    QCOMPARE(drop(png), Qt::CopyAction);
    QCOMPARE(ed().settings().tool, int(kToolSelect));
    QCOMPARE(ed().board().selWidth(), 3);
    QVERIFY(ed().image() == pasted);
    QCOMPARE(ed().board().history().undoCount(), steps + 1);
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(ed().image() == before);
  }

  void menusShowTheLanguagesTextsIconsAndFollowTheClipboard() {
    ed().Command(kCmdSelect);
    Select(Cell(1, 1), Cell(4, 3));
    std::unique_ptr<QMenu> pop3 = input().CreateMenu(Cell(2, 2));
    QCOMPARE(pop3->objectName(), QStringLiteral("POP3"));
    QCOMPARE(Texts(*pop3), (QStringList{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All", "Rotate",
                                        "  Left Rotate 90", "  Right Rotate 90", "  Rotate 180", "Mirror",
                                        "  Horizontal Mirror", "  Vertical Mirror", "Inverse Color", "Hollow"}));
    QVERIFY(!Find(*pop3, kCmdPaste)->isEnabled());
    QVERIFY(Find(*pop3, kCmdCopy)->isEnabled());
    QVERIFY(!Find(*pop3, kCmdRotateLeft)->icon().isNull());
    QCOMPARE(pop3->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, pop3.get()), 17);
    QCOMPARE(pop3->palette().color(QPalette::Window), QColor(192, 192, 192));

    std::unique_ptr<QMenu> pop2 = input().CreateMenu(Cell(30, 2));
    QVERIFY(!Find(*pop2, kCmdPaste)->isEnabled());
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    QVERIFY(Find(*pop2, kCmdPaste)->isEnabled());  // the open menu follows the clipboard
    QVERIFY(Find(*input().CreateMenu(Cell(30, 2)), kCmdPaste)->isEnabled());
    QCOMPARE(input().CreateMenu(Cell(30, 2))->objectName(), QStringLiteral("POP2"));
    QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
    QVERIFY(!Find(*input().CreateMenu(Cell(30, 2)), kCmdPaste)->isEnabled());

    input().language = [] { return &BuiltInChinese(); };
    ed().Command(kCmdPoint);
    const QPoint beside(ed().geometry().boardRect().right + 5, 5);
    std::unique_ptr<QMenu> pop1 = input().CreateMenu(beside);
    QCOMPARE(pop1->objectName(), QStringLiteral("POP1"));
    QVERIFY(Texts(*pop1).contains(QStringLiteral("网格大小")));
    QVERIFY(Find(*pop1, kCmdGrid6)->isChecked());
    QVERIFY(!input().CreateMenu(Cell(2, 2)));  // on the board the right button draws
  }

  void rightReleaseBesideTheBoardOpensTheMenuAndItsChoiceRuns() {
    ed().Command(kCmdPoint);
    QString shown;
    connect(&input(), &CBoardViewInput::menuShown, this, [&](QMenu* menu) {
      shown = menu->objectName();
      QTimer::singleShot(0, menu, [menu] {
        menu->setActiveAction(Find(*menu, kCmdGrid10));
        QTest::keyClick(menu, Qt::Key_Return);
      });
    });
    Mouse(QEvent::MouseButtonPress, Cell(2, 2), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Cell(2, 2), Qt::RightButton);
    QTest::qWait(20);
    QVERIFY(shown.isEmpty());
    const QPoint beside(ed().geometry().boardRect().right + 5, 5);
    Mouse(QEvent::MouseButtonRelease, beside, Qt::RightButton);
    QTRY_COMPARE(shown, QStringLiteral("POP1"));
    QTRY_COMPARE(ed().geometry().cellSize, 10);
  }
};

QTEST_MAIN(BoardViewInputTest)
#include "board_view_input_test.moc"

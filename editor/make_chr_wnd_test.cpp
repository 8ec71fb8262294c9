// SPDX-License-Identifier: GPL-2.0-or-later
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/application.h"
#include "dialog/rotavu_dlg.h"
#include "editor/edit_chr_view.h"
#include "editor/edit_chr_wnd.h"
#include "editor/make_chr_wnd.h"
#include "editor/rulers.h"
#include "lines/input_chr_wnd.h"
#include "lines/line_test_support.h"
#include "platform/message_box.h"

using kirrup::CMakeChrWnd;

namespace {

class RecordingSink : public kirrup::platform::MessageSink {
 public:
  QStringList texts;
  void Show(kirrup::platform::MessageIcon, const std::string&, const std::string& text) override {
    texts << QString::fromStdString(text);
  }
};

// The main dialog with glyphs for every code (6 columns on 7 LEDs) and no prompts.
struct Fixture {
  kirrup::Application app;
  kirrup::testing::FakeGlyphs glyphs;
  RecordingSink sink;
  std::unique_ptr<CRotavuDlg> dlg;

  Fixture() {
    app.settings.ledType = 0;
    app.systemLanguageId = 0x0409;
    app.settings.makeChrWndCx = 600;
    app.settings.makeChrWndCy = 300;
    dlg = std::make_unique<CRotavuDlg>(&app);
    dlg->SetGlyphSource(&glyphs);
    dlg->messages = &sink;
    dlg->askSave = [] { return kirrup::SaveAnswer::No; };
    dlg->show();
  }
  CMakeChrWnd* editor() const { return dlg->charEditor(); }
  kirrup::CEditChrView* view() const { return editor()->view(); }
  kirrup::MessageLine& line(int row) const { return dlg->rows()[row].line; }
  void Txt(int row) { dlg->OnCommand(CRotavuDlg::kTxtButton + row); }
  QPoint Cell(int x, int y) const {
    const int c = editor()->editor().geometry().cellSize;
    return {x * c + c / 2, y * c + c / 2};
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QWidget* port = view()->viewport();
    QMouseEvent e(type, at, port->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(port, &e);
  }
  void Drag(std::initializer_list<QPoint> path, Qt::MouseButton b = Qt::LeftButton) {
    const QPoint* p = path.begin();
    Mouse(QEvent::MouseButtonPress, *p, b, b);
    for (++p; p != path.end(); ++p) Mouse(QEvent::MouseMove, *p, Qt::NoButton, b);
    Mouse(QEvent::MouseButtonRelease, *(path.end() - 1), b, Qt::NoButton);
  }
};

}  // namespace

class MakeChrWndTest : public QObject {
  Q_OBJECT

 private slots:
  void txtOpensTheEditorBesideTheRowAndLoadsIt();
  void anEmptyRowShowsWhyTheBoardIsEmpty();
  void toolbarSwitchesToolsAndColours();
  void aDragDrawsAndTheLineFollowsAtOnce();
  void lineChangesReloadAndLedTypeHides();
  void theWheelScrollsTheBoardAndTheRulersFollow();
  void exitStoresTheFrameSize();
  void drawingsAreChangesOpeningIsNot();
};

void MakeChrWndTest::txtOpensTheEditorBesideTheRowAndLoadsIt() {
  Fixture f;
  QVERIFY(f.editor());
  QVERIFY(!f.editor()->isVisible());
  QTest::keyClicks(f.dlg->Row(0).line, "AB");
  f.Txt(0);
  QVERIFY(f.editor()->isVisible());
  QCOMPARE(f.editor()->windowTitle(), QString("Sect1 [108x7] - [12x7]"));
  QCOMPARE(f.editor()->editor().geometry().sectionWidth, 6);
  QCOMPARE(f.editor()->editor().geometry().width(), 12);
  const QPushButton* txt = f.dlg->Row(0).txt;
  QCOMPARE(f.editor()->frameGeometry().left(), txt->mapToGlobal(QPoint(txt->width(), 0)).x() + 8);
  QCOMPARE(f.editor()->frameGeometry().top(), f.dlg->mapToGlobal(QPoint(0, 0)).y());
  QVERIFY(f.dlg->state().modified);

  // Row 2's TXT while the frame is shown loads row 2 without moving the frame.
  const QPoint placed = f.editor()->pos();
  f.Txt(1);
  QCOMPARE(f.editor()->pos(), placed);
  QCOMPARE(f.editor()->editor().boundRow(), 1);
  QVERIFY(f.dlg->Row(2).line->isEnabled());  // handled as a change of row 2
}

void MakeChrWndTest::toolbarSwitchesToolsAndColours() {
  Fixture f;
  f.Txt(0);
  CMakeChrWnd* w = f.editor();
  QVERIFY(!w->button(kirrup::kCmdEraser2)->isEnabled());
  QVERIFY(w->button(kirrup::kCmdPoint)->isChecked());
  struct Step {
    int id;
    int tool;
  };
  for (const Step& s : {Step{kirrup::kCmdLine, kirrup::kToolLine}, Step{kirrup::kCmdEraser, kirrup::kToolEraser},
                        Step{kirrup::kCmdSelect, kirrup::kToolSelect}, Step{kirrup::kCmdPoint, kirrup::kToolPoint}}) {
    QTest::mouseClick(w->button(s.id), Qt::LeftButton);
    QCOMPARE(w->editor().settings().tool, s.tool);
    QVERIFY(w->button(s.id)->isChecked());
  }
  QTest::mouseClick(w->button(kirrup::kCmdEraser), Qt::LeftButton);
  QVERIFY(w->button(kirrup::kCmdEraser4)->isEnabled());
  QTest::mouseClick(w->button(kirrup::kCmdEraser4), Qt::LeftButton);
  QCOMPARE(w->editor().board().eraserSize(), 4);
  QVERIFY(w->button(kirrup::kCmdEraser4)->isChecked() && !w->button(kirrup::kCmdEraser2)->isChecked());

  QTest::mouseClick(w->button(kirrup::kCmdDrawWhite), Qt::LeftButton);
  QCOMPARE(w->editor().settings().drawColor, kirrup::platform::kPaper);
  QVERIFY(!w->button(kirrup::kCmdDrawBlack)->isChecked());
  QTest::mouseClick(w->button(kirrup::kCmdBackBlack), Qt::LeftButton);
  QCOMPARE(w->editor().settings().backColor, kirrup::platform::kInk);
  // English readers get a second line.
  QCOMPARE(w->button(kirrup::kCmdFill)->toolTip(), QString("填充\nFill an area with the current colour"));
}

void MakeChrWndTest::aDragDrawsAndTheLineFollowsAtOnce() {
  Fixture f;
  QTest::keyClicks(f.dlg->Row(0).line, "ABCD");
  f.Txt(0);
  kirrup::MessageLine& line = f.line(0);
  for (int x = 0; x < 24; ++x)
    for (int y = 0; y < 7; ++y) line.SetStripPixel(x, y, kirrup::platform::kPaper);
  f.Txt(0);
  const QImage before = f.dlg->Row(0).line->grab().toImage();

  QTest::mouseClick(f.editor()->button(kirrup::kCmdRectangle), Qt::LeftButton);
  f.Drag({f.Cell(8, 5), f.Cell(20, 6), f.Cell(2, 1)});
  for (int x = 2; x <= 8; ++x) {
    QVERIFY(line.Lit(x, 1));
    QVERIFY(line.Lit(x, 5));
  }
  QVERIFY(!line.Lit(5, 3));
  QVERIFY(!line.Lit(20, 6));  // the band went with the pointer
  QCOMPARE(line.itemCount(), 4);
  QVERIFY(f.dlg->Row(0).line->grab().toImage() != before);

  // The point tool, right button: the background colour.
  QTest::mouseClick(f.editor()->button(kirrup::kCmdPoint), Qt::LeftButton);
  f.Drag({f.Cell(2, 1), f.Cell(2, 1)}, Qt::RightButton);
  QVERIFY(!line.Lit(2, 1));
  // The picture on the screen shows the cell under the pointer.
  const kirrup::platform::RgbImage& canvas = f.view()->board().canvas();
  const QPoint lit = f.Cell(3, 1);
  QCOMPARE(canvas.Pixel(lit.x(), lit.y()), kirrup::platform::kInk);
}

void MakeChrWndTest::lineChangesReloadAndLedTypeHides() {
  Fixture f;
  QTest::keyClicks(f.dlg->Row(0).line, "AB");
  f.Txt(0);
  QTest::keyClicks(f.dlg->Row(0).line, "C");
  QCOMPARE(f.editor()->editor().geometry().width(), 18);
  QCOMPARE(f.editor()->windowTitle(), QString("Sect1 [108x7] - [18x7]"));
  for (int x = 12; x < 18; ++x)
    for (int y = 0; y < 7; ++y) QCOMPARE(f.editor()->editor().image().Lit(x, y), f.line(0).Lit(x, y));
  f.dlg->OnCommand(CRotavuDlg::kLed7Command + 2);
  QVERIFY(!f.editor()->isVisible());
}

void MakeChrWndTest::exitStoresTheFrameSize() {
  Fixture f;
  f.Txt(0);
  f.editor()->resize(640, 320);
  QTest::qWait(10);
  const QSize outer = f.editor()->frameGeometry().size();
  f.dlg->OnCommand(CRotavuDlg::kExitCommand);
  QCOMPARE(f.app.settings.makeChrWndCx, outer.width());
  QCOMPARE(f.app.settings.makeChrWndCy, outer.height());
}

void MakeChrWndTest::theWheelScrollsTheBoardAndTheRulersFollow() {
  Fixture f;
  QTest::keyClicks(f.dlg->Row(0).line, "ABCDEFGHIJKLMNOPQR");  // 108 columns: wider than the view
  f.Txt(0);
  kirrup::CEditChrView* v = f.view();
  QVERIFY(v->scrollModel().horzBarShown());
  QVERIFY(!v->scrollModel().vertBarShown());
  auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
    const QPoint at(20, 20);
    QWheelEvent e(at, v->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(v->viewport(), &e);
  };
  wheel(-120, Qt::ControlModifier);
  wheel(-120, Qt::ShiftModifier);
  QCOMPARE(v->ScrollPosition().x, 0);
  wheel(-120, Qt::NoModifier);  // ten lines of one cell
  QCOMPARE(v->ScrollPosition().x, 60);
  QCOMPARE(v->horizontalScrollBar()->value(), 60);

  // The view shows the board from the scroll position; the rulers number from there.
  const QImage shown = v->viewport()->grab().toImage();
  const kirrup::platform::RgbImage& canvas = v->board().canvas();
  for (QPoint p : {QPoint(0, 0), QPoint(7, 9), QPoint(100, 30)}) {
    const kirrup::platform::Color c = canvas.Pixel(p.x() + 60, p.y());
    QCOMPARE(shown.pixel(p) & 0xFFFFFF, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF) & 0xFFFFFF);
  }
  f.editor()->rulerWindow()->grab();  // paints the rulers
  const kirrup::platform::RgbImage& rulers = f.editor()->rulerWindow()->rulers();
  // Column 12 is a section edge: its long tick now stands at 16 + 72 - 60.
  QCOMPARE(rulers.Pixel(28, 11), kirrup::kRulerMark);
  QCOMPARE(rulers.Pixel(16 + 13 * 6 - 60, 11), kirrup::platform::kInk);  // a short tick
}

// A dot drawn after a Save, with the editor open all along, still reaches the save prompt;
// opening the editor alone changes nothing.
void MakeChrWndTest::drawingsAreChangesOpeningIsNot() {
  Fixture f;
  QTemporaryDir dir;
  f.dlg->chooseFile = [&](CRotavuDlg::FileDialogKind, const QString&) { return dir.filePath("a.LDAT"); };
  QTest::keyClicks(f.dlg->Row(0).line, "   ");
  f.dlg->OnCommand(CRotavuDlg::kSave);
  f.Txt(0);
  QVERIFY(!f.dlg->state().modified);
  f.Drag({f.Cell(1, 1), f.Cell(1, 1)});
  QVERIFY(f.dlg->state().modified);
  f.dlg->OnCommand(CRotavuDlg::kSave);
  f.Drag({f.Cell(2, 2), f.Cell(2, 2)});
  QVERIFY(f.dlg->state().modified);
}

// TXT on an empty row: a line in the board's place tells why there is nothing to draw on;
// it goes once the row holds a character, and comes back when the row is emptied.
void MakeChrWndTest::anEmptyRowShowsWhyTheBoardIsEmpty() {
  Fixture f;
  f.Txt(0);
  const QLabel* hint = f.editor()->emptyLineHint();
  QVERIFY(hint->isVisible());
  QVERIFY(f.editor()->rulerWindow()->geometry().contains(hint->geometry()));
  QTest::keyClicks(f.dlg->Row(0).line, "  ");
  QVERIFY(!hint->isVisible());
  f.dlg->OnCommand(CRotavuDlg::kClear);
  QVERIFY(hint->isVisible());
}

QTEST_MAIN(MakeChrWndTest)
#include "make_chr_wnd_test.moc"

// SPDX-License-Identifier: GPL-2.0-or-later
// The main dialog with its symbol picker and system font chooser, on the shipped font data.
#include <QAccessible>
#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "app/application.h"
#include "dialog/rotavu_dlg.h"
#include "fonts/font_chooser_dlg.h"
#include "fonts/font_combo_box.h"
#include "fonts/key_wnd.h"
#include "lines/input_chr_wnd.h"
#include "lines/led_type.h"

namespace {

struct Fixture {
  kirrup::Application app;
  std::unique_ptr<CRotavuDlg> dlg;

  explicit Fixture(int ledType = 0, int builtIn = 1) {
    kirrup::ResetLedTypeTable();
    app.settings.ledType = ledType;
    app.fonts.builtInSwitch = builtIn;
    app.fonts.systemFontName = u"DejaVu Sans";
    app.fonts.LoadLibraries(KIRRUP_BIN_DIR);
    dlg = std::make_unique<CRotavuDlg>(&app);
    dlg->askSave = [] { return kirrup::SaveAnswer::No; };
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
  }
  CKeyWnd& picker() const { return *dlg->symbolPicker(); }
  kirrup::MessageLine& line(int row) const { return dlg->Row(row).line->line(); }
  // Clicks the picker's cell of the first glyph with this code.
  bool ClickCode(int code) const {
    const kirrup::KeyGrid& g = picker().grid();
    for (int i = 0; i < g.glyphCount(); ++i) {
      if (g.glyph(i).code != code) continue;
      const QPoint p = picker().CellGeometry(i).center();
      if (p.isNull()) return false;
      QTest::mouseMove(&picker(), p);
      QTest::mousePress(&picker(), Qt::LeftButton, {}, p);
      QTest::mouseRelease(&picker(), Qt::LeftButton, {}, p);
      return true;
    }
    return false;
  }
  QAction* SystemMenuAction(const char* submenu, int data) const {
    for (QAction* a : dlg->findChild<QMenu*>(submenu)->actions())
      if (!a->isSeparator() && a->data().toInt() == data) return a;
    return nullptr;
  }
};

}  // namespace

class CompanionsTest : public QObject {
  Q_OBJECT

 private slots:
  void pickerSitsOverItsPlaceWithFourRows();
  void symbolGoesIntoTheRowFocusedLast();
  void symbolForADisabledRowGoesIntoRowOne();
  void ledTypeFromTheSystemMenuRefillsThePicker();
  void systemFontSourceEnablesTheChooserAndRefills();
  void pickingAFontRebuildsOnlyTheCurrentTypesFont();
  void chooserDialogSearchesAndChoosesThroughTheComboBox();
  void bandFontChoiceShowsTheFontInUse();
  void comboBoxDrawsFacesAndSharesOneList();
  void pickerFromTheKeyboardAndForAReader();
};

void CompanionsTest::pickerSitsOverItsPlaceWithFourRows() {
  Fixture f(kirrup::kLed16);
  const QRect place = f.dlg->Control(CRotavuDlg::kSymbolPlace)->geometry();
  QVERIFY(place.contains(f.picker().geometry()));
  QCOMPARE(f.picker().property("controlId").toInt(), 101);
  QCOMPARE(f.picker().scrollBar()->property("controlId").toInt(), 102);
  QVERIFY(f.picker().grid().visibleRows() >= 4);
  QCOMPARE(f.picker().grid().ledType(), int(kirrup::kLed16));
  // More glyphs than four rows: the scroll bar pages through them.
  QVERIFY(f.picker().scrollBar()->isEnabled());
  // The drawn cell of 'A': the normal face with black dots.
  const QImage img = f.picker().ClientImage();
  QVERIFY(img.width() > 0);
}

void CompanionsTest::symbolGoesIntoTheRowFocusedLast() {
  Fixture f;
  QTest::keyClicks(f.dlg->Row(0).line, "A");
  f.dlg->Row(1).line->setFocus();
  QTRY_COMPARE(f.dlg->state().currentRow, 1);
  f.dlg->Control(CRotavuDlg::kLanguage)->setFocus();  // the focus moves on
  QVERIFY(f.ClickCode(20));                            // a 7-LED symbol
  QCOMPARE(f.line(1).itemCount(), 1);
  QCOMPARE(f.line(1).item(0).code, 20u);
  QCOMPARE(f.line(0).itemCount(), 1);
  QCOMPARE(QApplication::focusWidget(), f.dlg->Row(1).line);
  QVERIFY(f.dlg->Row(2).line->isEnabled());  // a line change like any other
  QVERIFY(f.dlg->state().modified);
  // Undoable like a typed character.
  f.dlg->Row(1).line->editor().Undo();
  QCOMPARE(f.line(1).itemCount(), 0);
}

void CompanionsTest::symbolForADisabledRowGoesIntoRowOne() {
  Fixture f;
  QTest::keyClicks(f.dlg->Row(0).line, "A");
  f.dlg->Row(1).line->setFocus();
  QTRY_COMPARE(f.dlg->state().currentRow, 1);
  f.dlg->OnCommand(CRotavuDlg::kLed7Command + 1);  // 11 LEDs: rows 2..12 disabled
  QVERIFY(!f.dlg->Row(1).line->isEnabled());
  QVERIFY(f.ClickCode('B'));
  QCOMPARE(f.line(1).itemCount(), 0);
  QCOMPARE(f.line(0).itemCount(), 1);
}

void CompanionsTest::ledTypeFromTheSystemMenuRefillsThePicker() {
  Fixture f;
  const int sevenLedGlyphs = f.picker().grid().glyphCount();
  QSignalSpy following(f.dlg.get(), &CRotavuDlg::ledTypeFollowing);
  emit f.dlg->systemMenu()->aboutToShow();
  QVERIFY(f.SystemMenuAction("ledTypeSubmenu", CRotavuDlg::kLed7Command)->isChecked());
  f.SystemMenuAction("ledTypeSubmenu", CRotavuDlg::kLed7Command + 2)->trigger();
  QCOMPARE(following.count(), 1);  // the character editor hides itself on it
  QCOMPARE(following[0][0].toInt(), 2);
  QCOMPARE(f.app.settings.ledType, 2);
  QCOMPARE(f.picker().grid().ledType(), 2);
  QVERIFY(f.picker().grid().glyphCount() > sevenLedGlyphs);  // the user font's characters
  QCOMPARE(f.picker().grid().glyph(0).height, 16);
  emit f.dlg->systemMenu()->aboutToShow();
  QVERIFY(f.SystemMenuAction("ledTypeSubmenu", CRotavuDlg::kLed7Command + 2)->isChecked());
}

void CompanionsTest::systemFontSourceEnablesTheChooserAndRefills() {
  Fixture f(kirrup::kLed16);
  QVERIFY(!f.dlg->fontChooser()->isEnabled());
  f.SystemMenuAction("fontSubmenu", CRotavuDlg::kSysFont)->trigger();
  QVERIFY(qobject_cast<QRadioButton*>(f.dlg->Control(CRotavuDlg::kSysFont))->isChecked());
  QCOMPARE(f.app.fonts.builtInSwitch, 0);
  QVERIFY(f.dlg->fontChooser()->isEnabled());
  // The grid holds what the system font draws.
  const kirrup::KeyGrid& g = f.picker().grid();
  int a = -1;
  for (int i = 0; i < g.glyphCount(); ++i)
    if (g.glyph(i).code == 'A') a = i;
  QVERIFY(a >= 0);
  kirrup::CharColumns expected;
  QVERIFY(f.app.fonts.RenderSystemGlyph(kirrup::kLed16, 'A', expected));
  QCOMPARE(g.glyph(a).columns, expected.columns);
  // And back.
  f.SystemMenuAction("fontSubmenu", CRotavuDlg::kUserFont)->trigger();
  QCOMPARE(f.app.fonts.builtInSwitch, 1);
  QVERIFY(!f.dlg->fontChooser()->isEnabled());
}

void CompanionsTest::pickingAFontRebuildsOnlyTheCurrentTypesFont() {
  Fixture f(kirrup::kLed11, 0);
  CFontComboBox& box = *f.dlg->fontChooser();
  QVERIFY(box.count() > 1);
  // Opening selected SysFont without running the handler.
  QCOMPARE(box.currentText(), QString("DejaVu Sans"));
  f.app.fonts.CreateLedFonts();
  const kirrup::LedFont* before[3] = {f.app.fonts.ledFont(0), f.app.fonts.ledFont(1), f.app.fonts.ledFont(2)};
  const int other = box.currentIndex() == 0 ? 1 : 0;
  box.setCurrentIndex(other);
  QCOMPARE(QString::fromStdU16String(f.app.fonts.systemFontName), box.itemText(other));
  QCOMPARE(f.app.fonts.ledFont(0), before[0]);
  QCOMPARE(f.app.fonts.ledFont(2), before[2]);
  QVERIFY(f.app.fonts.ledFont(1) != nullptr);
  QCOMPARE(QString::fromStdString(f.app.fonts.ledFont(1)->rasterizer().familyName()),
           box.itemData(other, CFontComboBox::kFaceRole).toString());
}

void CompanionsTest::chooserDialogSearchesAndChoosesThroughTheComboBox() {
  Fixture f(kirrup::kLed16);
  CFontComboBox& box = *f.dlg->fontChooser();
  const QString wanted = box.itemText(box.count() - 1);
  int listed = -1;
  f.dlg->runFontChooser = [&](CFontChooserDlg& chooser) {
    chooser.searchField()->setText(wanted.toLower());
    listed = chooser.list()->model()->rowCount();
    chooser.list()->setCurrentIndex(chooser.list()->model()->index(0, 0));
    return int(QDialog::Accepted);
  };
  f.dlg->ChooseSystemFont();
  QVERIFY(listed >= 1 && listed < box.count());
  QCOMPARE(box.currentText(), wanted);
  QCOMPARE(QString::fromStdU16String(f.app.fonts.systemFontName), wanted);
  QCOMPARE(f.app.fonts.builtInSwitch, 0);  // a font picked here is used

  // Cancel changes nothing.
  f.dlg->runFontChooser = [](CFontChooserDlg& chooser) {
    chooser.list()->setCurrentIndex(chooser.list()->model()->index(0, 0));
    return int(QDialog::Rejected);
  };
  f.dlg->ChooseSystemFont();
  QCOMPARE(box.currentText(), wanted);
}

void CompanionsTest::comboBoxDrawsFacesAndSharesOneList() {
  auto list = std::make_shared<kirrup::FontList>();
  list->AddFont({u"Wingdings", u"Symbol", kirrup::kSymbolCharSet, 0x52, kirrup::kTrueTypeFontType});
  list->AddFont({u"DejaVu Serif", u"Western", 0, 0x12, kirrup::kTrueTypeFontType});
  list->AddFont({u"Fixed", u"Western", 0, 0x31, kirrup::kRasterFontType});
  CFontComboBox box(list);
  QCOMPARE(box.count(), 3);
  QCOMPARE(box.itemText(0), QString("DejaVu Serif"));
  QSignalSpy changed(&box, &QComboBox::currentIndexChanged);
  QVERIFY(!box.SelectFontByName("dejavu serif"));
  QVERIFY(box.SelectFontByName("Fixed"));
  QCOMPARE(box.currentIndex(), 1);
  QCOMPARE(changed.count(), 0);  // selecting by name is not a user's choice

  QFont ui("DejaVu Sans");
  ui.setPixelSize(12);
  QCOMPARE(CFontComboBox::EntryFont(ui, "Wingdings", kirrup::kSymbolCharSet), ui);
  const QFont own = CFontComboBox::EntryFont(ui, "DejaVu Serif", 0);
  QCOMPARE(own.families().value(0), QString("DejaVu Serif"));
  QCOMPARE(own.pixelSize(), 16);

  // A raster font's entry has no icon: its row left of the text stays the background.
  box.resize(240, 30);
  box.view()->resize(240, 200);
  QStyleOptionViewItem option;
  option.initFrom(box.view());
  option.rect = QRect(0, 0, 240, 24);
  option.font = ui;
  auto iconPixels = [&](int row) {
    QImage img(240, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    box.itemDelegate()->paint(&p, option, box.model()->index(row, 0));
    p.end();
    int inked = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 20; ++x) inked += img.pixel(x, y) != option.palette.base().color().rgb();
    return inked;
  };
  QCOMPARE(iconPixels(1), 0);    // Fixed: raster
  QVERIFY(iconPixels(0) > 10);  // DejaVu Serif: TrueType

  // Boxes on the installed families share one list.
  const int before = CFontComboBox::SharedBoxes();
  {
    CFontComboBox a, b;
    QCOMPARE(&a.fontList(), &b.fontList());
    QCOMPARE(CFontComboBox::SharedBoxes(), before + 2);
    // A box its owner fills lists nothing until then, and then the same families.
    CFontComboBox later(nullptr, false);
    QCOMPARE(later.count(), 0);
    QVERIFY(!later.filled());
    later.Fill();
    QVERIFY(later.filled());
    QCOMPARE(later.count(), a.count());
    QCOMPARE(&later.fontList(), &a.fontList());
  }
  QCOMPARE(CFontComboBox::SharedBoxes(), before);
}

// The band's font choice opens the system menu's font entries and shows the font in use
// whichever route changed it: the menu's sources, the font chooser dialog, the combo box.
void CompanionsTest::bandFontChoiceShowsTheFontInUse() {
  Fixture f(kirrup::kLed16);
  QPushButton* choice = f.dlg->fontChoice();
  QCOMPARE(choice->menu(), f.dlg->findChild<QMenu*>("fontSubmenu"));
  QCOMPARE(choice->text(), QString("Built-in dot font"));
  f.SystemMenuAction("fontSubmenu", CRotavuDlg::kSysFont)->trigger();
  QCOMPARE(choice->text(), QString("DejaVu Sans"));
  QVERIFY(choice->toolTip().contains("DejaVu Sans"));

  CFontComboBox& box = *f.dlg->fontChooser();
  const int other = box.findText("DejaVu Sans") == 0 ? 1 : 0;
  f.dlg->runFontChooser = [&](CFontChooserDlg& chooser) {
    chooser.SelectRow(other);
    return int(QDialog::Accepted);
  };
  f.dlg->ChooseSystemFont();
  QVERIFY(choice->toolTip().contains(box.itemText(other)));

  f.SystemMenuAction("fontSubmenu", CRotavuDlg::kUserFont)->trigger();
  QCOMPARE(choice->text(), QString("Built-in dot font"));
}

// The picker from the keyboard, and for a reader.
void CompanionsTest::pickerFromTheKeyboardAndForAReader() {
  Fixture f(kirrup::kLed16);
  QTest::keyClicks(f.dlg->Row(0).line, "A");
  f.picker().setFocus(Qt::TabFocusReason);
  QTRY_VERIFY(f.picker().hasFocus());
  // Down a row, to the end of it, and one back: the 16th glyph.
  QTest::keyClick(&f.picker(), Qt::Key_Down);
  QTest::keyClick(&f.picker(), Qt::Key_End);
  QTest::keyClick(&f.picker(), Qt::Key_Left);
  QCOMPARE(f.picker().grid().focusCell(), 30);
  const int code = f.picker().grid().glyph(30).code;
  QTest::keyClick(&f.picker(), Qt::Key_Space);
  QCOMPARE(f.line(0).itemCount(), 2);
  QCOMPARE(int(f.line(0).item(1).code), code);
  QTRY_VERIFY(f.dlg->Row(0).line->hasFocus());  // back in the line, as after a click

  // A reader: a list of cells named by character and code; pressing one inserts it.
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&f.picker());
  QCOMPARE(list->role(), QAccessible::List);
  QCOMPARE(list->text(QAccessible::Name), QString("Symbols"));
  QCOMPARE(list->childCount(), f.picker().grid().glyphCount());
  QAccessibleInterface* heart = list->child(0);
  QCOMPARE(heart->text(QAccessible::Name), QString::fromUtf8("\u2665 heart, code 1"));
  QCOMPARE(list->indexOfChild(heart), 0);
  heart->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QTRY_COMPARE(f.line(0).itemCount(), 3);
  QCOMPARE(int(f.line(0).item(2).code), 1);
  QCOMPARE(QAccessible::queryAccessibleInterface(f.dlg->Row(2).txt)->text(QAccessible::Name),
           QString("Edit the dots of line 3"));
  QCOMPARE(QAccessible::queryAccessibleInterface(f.dlg->Row(0).open)->text(QAccessible::Name),
           QString("Open Option, line 1: Left to Right"));
}

QTEST_MAIN(CompanionsTest)
#include "companions_qttest.moc"

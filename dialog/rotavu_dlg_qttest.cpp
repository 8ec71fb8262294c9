// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <memory>
#include <vector>

#include "app/application.h"
#include "dialog/about_dlg.h"
#include "dialog/capacity_meter.h"
#include "dialog/demo_wnd.h"
#include "dialog/ldat_file.h"
#include "dialog/rotavu_dlg.h"
#include "editor/make_chr_wnd.h"
#include "fonts/font_combo_box.h"
#include "fonts/key_wnd.h"
#include "lines/input_chr_wnd.h"
#include "lines/line_test_support.h"
#include "platform/message_box.h"
#include "widgets/drop_test_support.h"
#include "widgets/svg_image.h"

using kirrup::SaveAnswer;

namespace {

class RecordingSink : public kirrup::platform::MessageSink {
 public:
  QStringList texts;
  void Show(kirrup::platform::MessageIcon, const std::string&, const std::string& text) override {
    texts << QString::fromStdString(text);
  }
};

// The note panel's text as it reads: its paragraphs with a blank line between them.
QString ShownNote(const QLabel* label) {
  QTextDocument doc;
  doc.setHtml(label->text());
  QStringList paragraphs;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) paragraphs << b.text();
  return paragraphs.join("\n\n");
}

// A toy behind the four entry points: present or not, accepting every packet.
struct FakeToy {
  static inline bool plugged = true;
  static inline int opens = 0;
  static inline std::vector<std::array<uint8_t, 9>> packets;
  static int32_t Open(int32_t, int32_t) {
    ++opens;
    return plugged ? 7 : -1;
  }
  static void Close(int32_t) {}
  static uint8_t Write(int32_t, const uint8_t* bytes, uint32_t, uint32_t* moved) {
    std::array<uint8_t, 9> p{};
    std::copy(bytes, bytes + 9, p.begin());
    packets.push_back(p);
    *moved = 9;
    return 1;
  }
  static uint8_t Read(int32_t, uint8_t* buffer, uint32_t, uint32_t* moved) {
    buffer[0] = 0;
    buffer[1] = '$';
    buffer[2] = 0x80;
    *moved = 3;
    return 1;
  }
  static kirrup::UsbLink Link() { return {&Open, &Close, &Write, &Read}; }
};

// A dialog on its own application state, with glyphs for every code, a recorded
// message sink and an answer for the save prompt.
struct Fixture {
  kirrup::Application app;
  kirrup::testing::FakeGlyphs glyphs;
  RecordingSink sink;
  std::unique_ptr<CRotavuDlg> dlg;
  int prompts = 0;
  SaveAnswer answer = SaveAnswer::No;
  QString savePath;  // what the Save dialog "chooses"
  QString openPath;
  int saveDialogs = 0;
  int openDialogs = 0;

  explicit Fixture(int ledType = 0, uint16_t systemLanguage = 0x0409) {
    app.settings.ledType = ledType;
    app.systemLanguageId = systemLanguage;
    dlg = std::make_unique<CRotavuDlg>(&app);
    dlg->SetGlyphSource(&glyphs);
    dlg->messages = &sink;
    dlg->askSave = [this] {
      ++prompts;
      return answer;
    };
    dlg->chooseFile = [this](CRotavuDlg::FileDialogKind kind, const QString&) {
      if (kind == CRotavuDlg::FileDialogKind::Save) {
        ++saveDialogs;
        return savePath;
      }
      ++openDialogs;
      return openPath;
    };
  }
  kirrup::CInputChrWnd* line(int i) const { return dlg->Row(i).line; }
  void Type(int row, const QString& text) { QTest::keyClicks(line(row), text); }
  template <class T>
  T* control(int id) const {
    return qobject_cast<T*>(dlg->Control(id));
  }
};

}  // namespace

class RotavuDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void isAFixedSizeDialogWithEveryControl();
  void opensWithRowOneEnabledAndFocused();
  void typingEnablesTheNextRowAndExitAsks();
  void savePromptAnswers();
  void exitAfterOpenDoesNotAsk();
  void clearLeavesRowOneWithEffectsAtZero();
  void scrollingByPages();
  void languageSwitchKeepsSelections();
  void tabMovesFocusEnterAndEscapeStayInTheLine();
  void ledTypeCommandResetsRowsAndMarksTheMenu();
  void colourMenuSetsLedColor();
  void startAndStopDriveTheSimulation();
  void middleOptionsAddAColumn();
  void effectTextsFitTheClosedBoxes();
  void openAndSaveRoundTripAndErrors();
  void sendBuildsWritesAndTransfers();
  void pollingSwitchesIndicatorAndSend();
  void systemMenuOpensTheAboutBox();
  void altSpaceOpensTheSystemMenu();
  void exitEscapeAndCloseBoxEndTheDialogWithCommandOne();
  void bandLedTypeChoiceFollowsEveryRoute();
  void meterFollowsTheRowsAndSendRefusesOverTheLimit();
  void refusedCharacterShowsACueOnItsRow();
  void bandChoicesAndMeterAreReachableAndNamed();
  void droppedFileOpensAsOpenDoes();
  void hiddenWorkWaitsForTheFirstPaint();
  void picturesDrawnAheadMatchThoseDrawnWhenShown();
};

void RotavuDlgTest::isAFixedSizeDialogWithEveryControl() {
  Fixture f;
  CRotavuDlg& dlg = *f.dlg;
  QCOMPARE(dlg.windowTitle(), QString("Kirrup"));
  QVERIFY(dlg.width() >= CRotavuDlg::kWidth);
  QCOMPARE(dlg.minimumSize(), QSize(dlg.width(), CRotavuDlg::kHeight));
  QCOMPARE(dlg.maximumSize(), dlg.minimumSize());
  QVERIFY(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
  QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
  // The window icon comes after the first paint (hiddenWorkWaitsForTheFirstPaint).

  const int ids[] = {1,    1005, 1006, 1010, 1011, 1012, 1013, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032,
                     1033, 1034, 1035, 1039, 1040, 1041, 1043, 1044, 1046, 1047, 1056, 1057, 1058, 1059, 1999, 2000};
  for (int id : ids) QVERIFY2(dlg.Control(id), qPrintable(QString::number(id)));
  for (int i = 0; i < 12; ++i) {
    for (int base : {2001, 3001, 3212, 4001, 4101, 5001}) QVERIFY(dlg.Control(base + i));
    QCOMPARE(qobject_cast<QLabel*>(dlg.Control(2001 + i))->text(), QString::number(i + 1));
    QCOMPARE(f.control<QComboBox>(4001 + i)->count(), 9);
    QCOMPARE(f.control<QComboBox>(4101 + i)->count(), 4);
    QCOMPARE(f.control<QComboBox>(5001 + i)->count(), 7);
  }
  QCOMPARE(f.control<QComboBox>(4001)->itemText(8), QString("Clockwise rotation"));
  QCOMPARE(f.control<QComboBox>(5001)->itemText(6), QString("All extinguishes"));

  // Captions of the English table.
  QCOMPARE(f.control<QPushButton>(1028)->text(), QString("Open"));
  QCOMPARE(f.control<QPushButton>(1)->text(), QString("Exit"));
  QCOMPARE(f.control<QPushButton>(1012)->text(), QString("Send"));
  QCOMPARE(f.control<QLabel>(1056)->text(), QString("Display Data"));
  QCOMPARE(f.control<QGroupBox>(1043)->title(), QString("Note"));
  QCOMPARE(ShownNote(f.control<QLabel>(1046)),
           QString("With the built-in font:\n\neach line takes up to 18 Latin characters."));
  QCOMPARE(f.control<QPushButton>(1030)->text(), QString("LedType\n(7Led)"));
  QCOMPARE(f.control<QCheckBox>(1047)->text(), QString("Use Middle Option"));

  // What this layout hides.
  for (int id : {1030, 1034, 1035, 1039, 1047}) {
    QCOMPARE(dlg.Control(id)->size(), QSize(0, 0));
    QCOMPARE(dlg.Control(id)->focusPolicy(), Qt::NoFocus);
  }
  QCOMPARE(dlg.Control(1031)->width(), 0);
  QCOMPARE(dlg.Control(1040)->height(), 0);
  QCOMPARE(dlg.Control(1999)->width(), 0);
  QVERIFY(dlg.Control(1047)->isHidden());
  QVERIFY(dlg.Control(1005)->isHidden());
  QVERIFY(dlg.Control(1006)->isHidden());
  QVERIFY(dlg.Control(1058)->isHidden());
  QVERIFY(!dlg.Control(1011)->isEnabled());
  QVERIFY(dlg.Control(1010)->isEnabled());
  QVERIFY(dlg.Control(1012)->isEnabled());  // until the first poll
  QVERIFY(f.control<QRadioButton>(1034)->isChecked());  // bUserFont 1

  // The top band's relations.
  const QRect band = dlg.Control(1027)->geometry();
  const QRect logo = dlg.Control(1025)->geometry();
  const QRect indicator = dlg.Control(1026)->geometry();
  QCOMPARE(band.width(), dlg.width());
  QCOMPARE(band.height(), logo.height() + 4);
  QCOMPARE(logo.topLeft(), QPoint(2, 2));
  QCOMPARE(indicator.right(), dlg.width() - 3);
  QCOMPARE(dlg.Control(1041)->geometry(), indicator.adjusted(-2, -2, 2, 2));
  QCOMPARE(dlg.Control(1033)->geometry().right(), dlg.Control(1041)->x() - 9);
  QCOMPARE(dlg.Control(1033)->x(), dlg.Control(1031)->x() + 8);

  // The progress bar starts at 1..100, empty.
  QCOMPARE(f.control<QProgressBar>(1044)->minimum(), 1);
  QCOMPARE(f.control<QProgressBar>(1044)->maximum(), 100);
}

void RotavuDlgTest::opensWithRowOneEnabledAndFocused() {
  Fixture f;
  f.dlg->show();
  QVERIFY(QTest::qWaitForWindowActive(f.dlg.get()));
  QCOMPARE(QApplication::focusWidget(), f.line(0));
  QCOMPARE(f.dlg->state().currentRow, 0);
  for (int i = 0; i < 12; ++i) {
    const bool on = i == 0;
    const CRotavuDlg::RowControls& r = f.dlg->Row(i);
    for (QWidget* w : std::initializer_list<QWidget*>{r.label, r.line, r.txt, r.open, r.middle, r.close})
      QCOMPARE(w->isEnabled(), on);
    QVERIFY(r.middle->isHidden());
    QVERIFY(r.line->isVisible());
  }
  // Every line shows a whole 7-LED line.
  QCOMPARE(f.line(0)->width(), 2 * (108 + 2 + 4) + 2);
  QCOMPARE(f.line(0)->height(), 26);
  QCOMPARE(f.line(0)->y(), f.dlg->Row(0).open->y() - 2);
}

void RotavuDlgTest::typingEnablesTheNextRowAndExitAsks() {
  Fixture f;
  QSignalSpy changed(f.dlg.get(), &CRotavuDlg::rowChanged);
  f.Type(0, "A");
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 1);
  QVERIFY(f.dlg->Row(1).line->isEnabled());
  QVERIFY(f.dlg->Row(1).close->isEnabled());
  QVERIFY(!f.dlg->Row(2).line->isEnabled());
  QVERIFY(f.dlg->state().modified);
  QCOMPARE(changed.count(), 1);

  // Typing into row 2 makes row 2 current and enables row 3.
  f.line(1)->setFocus();
  emit f.line(1)->lineFocused(3002);
  f.Type(1, "B");
  QCOMPARE(f.dlg->state().currentRow, 1);
  QVERIFY(f.dlg->Row(2).line->isEnabled());

  f.answer = SaveAnswer::Cancel;
  f.dlg->OnCommand(CRotavuDlg::kExitCommand);
  QCOMPARE(f.prompts, 1);
  QCOMPARE(f.dlg->result(), 0);
}

void RotavuDlgTest::savePromptAnswers() {
  QTemporaryDir dir;
  // No: the command goes on without saving.
  {
    Fixture f;
    f.Type(0, "AB");
    f.answer = SaveAnswer::No;
    f.dlg->OnCommand(CRotavuDlg::kClear);
    QCOMPARE(f.prompts, 1);
    QCOMPARE(f.saveDialogs, 0);
    QCOMPARE(f.dlg->rows()[0].line.itemCount(), 0);
  }
  // Yes: Save first, then the command.
  {
    Fixture f;
    f.Type(0, "AB");
    f.answer = SaveAnswer::Yes;
    f.savePath = dir.filePath("yes.LDAT");
    f.dlg->OnCommand(CRotavuDlg::kExitCommand);
    QCOMPARE(f.saveDialogs, 1);
    QCOMPARE(QFileInfo(f.savePath).size(), 140 + 2 * 84);
    QCOMPARE(f.dlg->result(), 1);
    QVERIFY(!f.dlg->state().modified);
  }
  // Yes with a cancelled or failed save: the lines the user wanted kept are not thrown
  // away; every command behind the prompt is abandoned as Cancel would.
  for (const QString& savePath : {QString(), dir.filePath("missing/folder.LDAT")}) {
    for (int command : {int(CRotavuDlg::kExitCommand), int(CRotavuDlg::kOpen), int(CRotavuDlg::kClear),
                        CRotavuDlg::kLed7Command + 2}) {
      Fixture f;
      f.Type(0, "AB");
      f.answer = SaveAnswer::Yes;
      f.savePath = savePath;
      f.dlg->OnCommand(command);
      const QString what = QString("command %1, save to '%2'").arg(command).arg(savePath);
      QVERIFY2(f.saveDialogs == 1 && f.openDialogs == 0, qPrintable(what));
      QVERIFY2(f.dlg->result() == 0, qPrintable(what));
      QVERIFY2(f.dlg->rows()[0].line.itemCount() == 2 && f.dlg->rows().ledType() == 0, qPrintable(what));
      QVERIFY2(f.dlg->state().modified, qPrintable(what));
      QCOMPARE(f.sink.texts.size(), savePath.isEmpty() ? 0 : 1);
    }
  }
  // Cancel leaves everything as it was.
  {
    Fixture f;
    f.Type(0, "AB");
    f.answer = SaveAnswer::Cancel;
    f.dlg->OnCommand(CRotavuDlg::kClear);
    f.dlg->OnCommand(CRotavuDlg::kLed7Command + 2);
    QCOMPARE(f.prompts, 2);
    QCOMPARE(f.dlg->rows()[0].line.itemCount(), 2);
    QCOMPARE(f.dlg->rows().ledType(), 0);
    QVERIFY(f.dlg->Row(1).line->isEnabled());
  }
  // Modified, but no enabled row holds a character: no question.
  {
    Fixture f;
    f.Type(0, "A");
    QTest::keyClick(f.line(0), Qt::Key_Backspace);
    QVERIFY(f.dlg->state().modified);
    f.dlg->OnCommand(CRotavuDlg::kExitCommand);
    QCOMPARE(f.prompts, 0);
    QCOMPARE(f.dlg->result(), 1);
  }
}

void RotavuDlgTest::exitAfterOpenDoesNotAsk() {
  QTemporaryDir dir;
  const QString path = dir.filePath("three.LDAT");
  {
    Fixture f;
    f.Type(0, "ABC");
    f.Type(1, "D");
    f.dlg->Row(1).close->setCurrentIndex(5);
    f.savePath = path;
    f.dlg->OnCommand(CRotavuDlg::kSave);
  }
  Fixture f;
  f.openPath = path;
  f.dlg->OnCommand(CRotavuDlg::kOpen);
  QVERIFY(f.sink.texts.isEmpty());
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 3);
  QCOMPARE(f.dlg->rows()[1].line.itemCount(), 1);
  QCOMPARE(f.dlg->Row(1).close->currentIndex(), 5);
  QVERIFY(f.dlg->Row(2).line->isEnabled());  // stored: rows 1..3 (row 3 enabled and empty)
  QVERIFY(!f.dlg->Row(3).line->isEnabled());
  QVERIFY(!f.dlg->state().modified);
  QCOMPARE(QString::fromStdString(f.dlg->state().lastFilePath), path);
  f.dlg->OnCommand(CRotavuDlg::kExitCommand);
  QCOMPARE(f.prompts, 0);
  QCOMPARE(f.dlg->result(), 1);
}

void RotavuDlgTest::clearLeavesRowOneWithEffectsAtZero() {
  Fixture f;
  for (int i = 0; i < 4; ++i) f.Type(i, "X");
  QVERIFY(f.dlg->Row(4).line->isEnabled());  // rows 1..5
  f.dlg->Row(0).open->setCurrentIndex(3);
  f.dlg->Row(3).close->setCurrentIndex(6);
  f.dlg->Row(4).open->setCurrentIndex(2);
  emit f.line(3)->lineFocused(3004);
  f.answer = SaveAnswer::No;
  f.dlg->OnCommand(CRotavuDlg::kClear);
  QCOMPARE(f.prompts, 1);
  for (int i = 0; i < 12; ++i) {
    QCOMPARE(f.dlg->Row(i).line->isEnabled(), i == 0);
    QCOMPARE(f.dlg->rows()[i].line.itemCount(), 0);
    QCOMPARE(f.dlg->Row(i).open->currentIndex(), 0);
    QCOMPARE(f.dlg->Row(i).close->currentIndex(), 0);
  }
  QCOMPARE(f.dlg->rows()[4].openOption, 0);
  QCOMPARE(f.dlg->state().currentRow, 0);
  QVERIFY(f.dlg->state().modified);  // emptied lines are changed lines
}

void RotavuDlgTest::scrollingByPages() {
  Fixture f;
  // All twelve rows fit: the scroll bar cannot move them.
  QCOMPARE(f.dlg->state().scroll.page, 12);
  f.dlg->OnVScroll(kirrup::ScrollCode::PageDown);
  QCOMPARE(f.dlg->state().scroll.first, 0);

  // A list area of eight rows (inner height 8 * 24 + 7 * 5).
  QWidget* frame = f.dlg->Control(2000);
  frame->resize(frame->width(), 8 * 24 + 7 * 5 + 10);
  f.dlg->SetUpScrolling();
  f.dlg->LayOutRows();
  QCOMPARE(f.dlg->state().scroll.page, 8);
  auto* bar = f.control<QScrollBar>(1999);
  QCOMPARE(bar->pageStep(), 8);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(f.dlg->state().scroll.first, 4);
  QCOMPARE(bar->value(), 4);
  for (int i = 0; i < 12; ++i) QCOMPARE(f.dlg->Row(i).line->isHidden(), i < 4);
  QCOMPARE(f.dlg->Row(4).open->y(), frame->y() + 1 + 4);
  QCOMPARE(f.dlg->Row(11).open->y(), frame->y() + 1 + 4 + 7 * 29);
  f.dlg->OnVScroll(kirrup::ScrollCode::PageDown);
  QCOMPARE(f.dlg->state().scroll.first, 4);
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  QCOMPARE(f.dlg->state().scroll.first, 3);
  QVERIFY(f.dlg->Row(3).line->isVisibleTo(f.dlg.get()));
  QVERIFY(f.dlg->Row(11).line->isHidden());
  f.dlg->OnVScroll(kirrup::ScrollCode::PageUp);
  QCOMPARE(f.dlg->state().scroll.first, 0);
  QCOMPARE(bar->value(), 0);
}

void RotavuDlgTest::languageSwitchKeepsSelections() {
  Fixture f;
  f.Type(0, "A");
  f.dlg->Row(0).open->setCurrentIndex(4);
  f.dlg->Row(0).middle->setCurrentIndex(2);
  f.dlg->Row(1).close->setCurrentIndex(6);
  auto* language = f.control<QComboBox>(1033);
  QCOMPARE(language->count(), 2);
  QCOMPARE(language->itemText(1), QString("简体中文"));
  language->setCurrentIndex(1);
  QCOMPARE(f.app.languages.current, 1);
  QCOMPARE(f.dlg->Row(0).open->currentIndex(), 4);
  QCOMPARE(f.dlg->Row(0).middle->currentIndex(), 2);
  QCOMPARE(f.dlg->Row(1).close->currentIndex(), 6);
  QCOMPARE(f.dlg->Row(0).open->currentText(), QString("从中间到两边开"));
  QCOMPARE(f.control<QPushButton>(1028)->text(), QString("打开"));
  QCOMPARE(f.control<QPushButton>(1030)->text(), QString("LED类型\n(7Led)"));
  QCOMPARE(ShownNote(f.control<QLabel>(1046)), QString("使用用户字库时:\n\n  英文每段最多可以\n\n输入18个字"));
  QCOMPARE(f.dlg->colorMenu()->actions()[0]->text(), QString("红色"));
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 1);  // lines untouched
  QVERIFY(f.dlg->Row(0).middle->isHidden());
}

void RotavuDlgTest::tabMovesFocusEnterAndEscapeStayInTheLine() {
  Fixture f;
  f.glyphs.missing = {10, 13, 27};  // as in the real fonts: no glyph for these codes
  f.dlg->show();
  QVERIFY(QTest::qWaitForWindowActive(f.dlg.get()));
  QCOMPARE(QApplication::focusWidget(), f.line(0));
  f.Type(0, "AB");
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Up, Qt::Key_Down, Qt::Key_F1})
    QTest::keyClick(QApplication::focusWidget(), key);
  QVERIFY(f.dlg->isVisible());
  QCOMPARE(f.dlg->result(), 0);
  QCOMPARE(f.prompts, 0);
  QCOMPARE(QApplication::focusWidget(), f.line(0));
  // Left and Home act inside the line.
  QTest::keyClick(f.line(0), Qt::Key_Home);
  QCOMPARE(f.dlg->rows()[0].line.CaretIndex(), 0);
  QTest::keyClick(f.line(0), Qt::Key_Tab);
  QVERIFY(QApplication::focusWidget() != f.line(0));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.dlg->Row(0).txt));
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 2);  // Tab typed nothing
}

void RotavuDlgTest::ledTypeCommandResetsRowsAndMarksTheMenu() {
  Fixture f;
  f.Type(0, "AB");
  f.Type(1, "C");
  f.answer = SaveAnswer::No;

  // The menu marks the current type.
  QStringList items;
  QList<bool> checked;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    for (QAction* a : menu->actions()) {
      items << a->text();
      checked << a->isChecked();
    }
    menu->close();
  });
  f.dlg->OnCommand(CRotavuDlg::kLedTypeButton);
  QCOMPARE(items, QStringList({"&7LED", "1&1LED", "1&6LED"}));
  QCOMPARE(checked, QList<bool>({true, false, false}));

  f.dlg->OnCommand(8011);
  QCOMPARE(f.prompts, 1);
  QCOMPARE(f.dlg->rows().ledType(), 1);
  QCOMPARE(f.app.settings.ledType, 1);
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 0);
  QCOMPARE(f.line(0)->height(), 23);
  QCOMPARE(f.line(0)->width(), kirrup::LedTypeRow(1).maxWidth + 6 + 4 + 2);
  QVERIFY(!f.dlg->Row(1).line->isEnabled());
  QCOMPARE(f.control<QPushButton>(1030)->text(), QString("LedType\n(11Led)"));
  QCOMPARE(ShownNote(f.control<QLabel>(1046)),
           QString("With the built-in font:\n\neach line takes up to 18 Latin characters\n\nor 12 Chinese characters."));

  // Nothing in the rows: no question the second time.
  f.dlg->OnCommand(8012);
  QCOMPARE(f.prompts, 1);
  QCOMPARE(f.line(0)->height(), 26);
  QCOMPARE(f.control<QPushButton>(1030)->text(), QString("LedType\n(16Led)"));
}

void RotavuDlgTest::colourMenuSetsLedColor() {
  Fixture f;
  const QList<QAction*> actions = f.dlg->colorMenu()->actions();
  QCOMPARE(actions.size(), 4);
  const QStringList texts = {"Red", "Green", "Blue", "Yellow"};
  const unsigned values[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
  for (int k = 0; k < 4; ++k) {
    QCOMPARE(actions[k]->text(), texts[k]);
    QCOMPARE(actions[k]->data().toInt(), 8014 + k);
    QVERIFY(!actions[k]->icon().pixmap(16, 16).isNull());
    actions[k]->trigger();
    QCOMPARE(f.app.settings.ledColor, values[k]);
  }
  QCOMPARE(f.control<QPushButton>(1013)->menu(), f.dlg->colorMenu());
}

void RotavuDlgTest::startAndStopDriveTheSimulation() {
  Fixture f;
  auto* demo = f.dlg->findChild<CDemoWnd*>();
  QVERIFY(demo);
  QCOMPARE(demo->pos(), f.dlg->Control(1006)->geometry().topLeft());
  QCOMPARE(demo->contentsRect().size(), QSize(192, 192));
  QPushButton* stop = f.control<QPushButton>(1011);
  // The window fills its place, centred over Start and Stop.
  QCOMPARE(demo->geometry(), f.dlg->Control(1006)->geometry());
  const QRect buttons = f.dlg->Control(1010)->geometry().united(stop->geometry());
  QCOMPARE(demo->x() - buttons.left(), buttons.right() - demo->geometry().right());
  QVERIFY(!stop->isEnabled());

  f.control<QPushButton>(1010)->click();  // nothing typed yet
  QCOMPARE(f.sink.texts, QStringList{"No data!"});
  QVERIFY(!stop->isEnabled());
  QVERIFY(!demo->ticking());

  f.Type(0, "AB");
  f.control<QPushButton>(1010)->click();
  QVERIFY(stop->isEnabled());
  QVERIFY(demo->ticking());
  QCOMPARE(demo->engine().currentScene(), 0);

  f.dlg->colorMenu()->actions()[1]->trigger();  // green, from the next paint on
  QCOMPARE(demo->ledColor(), 0x00FF00u);

  stop->click();
  QVERIFY(!stop->isEnabled());
  QVERIFY(!demo->ticking());
}

void RotavuDlgTest::middleOptionsAddAColumn() {
  Fixture f;
  const int twoWide = f.dlg->Row(0).open->width();
  f.control<QCheckBox>(1047)->click();
  QCOMPARE(f.dlg->rows().useMiddleOption, 1);
  QCOMPARE(f.app.useMiddleOption, 1);
  QVERIFY(!f.dlg->Row(0).middle->isHidden());
  QVERIFY(!f.dlg->Control(1058)->isHidden());
  QVERIFY(f.dlg->Row(0).open->width() < twoWide);
  QCOMPARE(f.dlg->Row(0).middle->x(), f.dlg->Row(0).open->geometry().right() + 1 + 4);
  QCOMPARE(f.dlg->Control(1058)->x(), f.dlg->Row(0).open->geometry().right() + 1);
  QCOMPARE(f.dlg->Control(1059)->x(), f.dlg->Row(0).middle->geometry().right() + 1);
  f.control<QCheckBox>(1047)->click();
  QVERIFY(f.dlg->Row(0).middle->isHidden());
  QVERIFY(f.dlg->Control(1058)->isHidden());
  QCOMPARE(f.dlg->Row(0).open->width(), twoWide);
}

void RotavuDlgTest::effectTextsFitTheClosedBoxes() {
  // Opened in English, and opened in Chinese and then switched to English's longer texts.
  for (uint16_t opensIn : {0x0409, 0x0804}) {
    Fixture f(0, opensIn);  // 7 LEDs: the widest line window
    f.control<QCheckBox>(1047)->click();
    for (int language : {1, 0, 1}) {
      f.control<QComboBox>(1033)->setCurrentIndex(language);
      for (QComboBox* box : {f.dlg->Row(0).open, f.dlg->Row(0).middle, f.dlg->Row(0).close}) {
        QStyleOptionComboBox opt;
        opt.initFrom(box);
        opt.rect = box->rect();
        opt.frame = true;
        const QRect field =
            box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i) {
          const int text = box->fontMetrics().horizontalAdvance(box->itemText(i));
          QVERIFY2(text + 2 <= field.width(),
                   qPrintable(QString("%1: %2 > %3").arg(box->itemText(i)).arg(text).arg(field.width())));
        }
      }
      // The side column stays beside the rows, inside the dialog; the band spans it.
      QVERIFY(f.dlg->Row(0).close->geometry().right() < f.dlg->Control(CRotavuDlg::kStart)->x());
      QVERIFY(f.dlg->Control(CRotavuDlg::kExitCommand)->geometry().right() < f.dlg->width());
      QCOMPARE(f.dlg->Control(CRotavuDlg::kIndicator)->geometry().right(), f.dlg->width() - 3);
      QCOMPARE(f.dlg->Control(CRotavuDlg::kBand)->width(), f.dlg->width());
      // The symbol picker stays centred under the widened rows.
      const QRect place = f.dlg->Control(1005)->geometry();
      const QRect picker = f.dlg->findChild<CKeyWnd*>()->geometry();
      QVERIFY(qAbs(picker.center().x() - place.center().x()) <= 1);
    }
  }
}

void RotavuDlgTest::openAndSaveRoundTripAndErrors() {
  QTemporaryDir dir;
  // A file with middle options on the 16-LED type.
  const QString path = dir.filePath("middle.LDAT");
  {
    Fixture f(2);
    f.control<QCheckBox>(1047)->click();
    f.Type(0, "Hi");
    f.dlg->Row(0).open->setCurrentIndex(3);
    f.dlg->Row(0).middle->setCurrentIndex(2);
    f.dlg->Row(0).close->setCurrentIndex(5);
    f.savePath = path;
    f.dlg->OnCommand(CRotavuDlg::kSave);
    QVERIFY(f.sink.texts.isEmpty());
    QVERIFY(!f.dlg->state().modified);
  }
  Fixture f;
  f.Type(0, "xyz");
  f.openPath = path;
  f.answer = SaveAnswer::No;
  f.dlg->OnCommand(CRotavuDlg::kOpen);
  QCOMPARE(f.prompts, 1);
  QCOMPARE(f.dlg->rows().ledType(), 2);
  QCOMPARE(f.app.settings.ledType, 2);
  QVERIFY(f.control<QCheckBox>(1047)->isChecked());
  QVERIFY(!f.dlg->Row(0).middle->isHidden());
  QCOMPARE(f.dlg->Row(0).open->currentIndex(), 3);
  QCOMPARE(f.dlg->Row(0).middle->currentIndex(), 2);
  QCOMPARE(f.dlg->Row(0).close->currentIndex(), 5);
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 2);
  QCOMPARE(f.line(0)->height(), 26);
  QCOMPARE(f.control<QPushButton>(1030)->text(), QString("LedType\n(16Led)"));

  // A file that promises more records than it holds: the rows stay.
  const QString broken = dir.filePath("broken.LDAT");
  {
    QFile in(path), out(broken);
    QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
    out.write(in.readAll().left(140 + 84));
  }
  f.Type(0, "!");
  f.openPath = broken;
  f.dlg->OnCommand(CRotavuDlg::kOpen);
  // The message first, then which file and why.
  QCOMPARE(f.sink.texts.size(), 1);
  QCOMPARE(f.sink.texts[0].section('\n', 0, 0), QString("Open file error!"));
  QCOMPARE(f.sink.texts[0].section('\n', 1), broken + ": not an LED data file (fewer records than its counts promise)");
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 3);
  QCOMPARE(QString::fromStdString(f.dlg->state().lastFilePath), path);

  // A place that cannot be written.
  f.savePath = dir.filePath("no/such/folder/x.LDAT");
  f.dlg->OnCommand(CRotavuDlg::kSave);
  QCOMPARE(f.sink.texts.last(), QString("Write file error!"));
  QVERIFY(f.dlg->state().modified);

  // Cancel in the file dialog does nothing.
  f.openPath.clear();
  f.dlg->OnCommand(CRotavuDlg::kOpen);
  QCOMPARE(f.dlg->rows()[0].line.itemCount(), 3);
}

void RotavuDlgTest::sendBuildsWritesAndTransfers() {
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  Fixture f;
  f.app.usb = FakeToy::Link();
  FakeToy::plugged = true;
  FakeToy::packets.clear();

  f.dlg->OnCommand(CRotavuDlg::kSend);
  QCOMPARE(f.sink.texts, QStringList({"No Data Send!"}));
  QVERIFY(FakeToy::packets.empty());

  f.Type(0, "ABCD");  // 4 characters of 6 columns: 1 + 2 + 24 = 27 bytes
  f.dlg->Row(0).open->setCurrentIndex(7);
  auto* progress = f.control<QProgressBar>(1044);
  QList<int> positions;
  connect(progress, &QProgressBar::valueChanged, progress, [&](int v) { positions << v; });
  f.dlg->OnCommand(CRotavuDlg::kSend);
  QCOMPARE(f.sink.texts.size(), 1);
  const kirrup::DeviceImage& image = f.dlg->deviceImage();
  QCOMPARE(image.length, 27);
  QCOMPARE(image.buffer[0], uint8_t(1));
  QCOMPARE(image.buffer[1], uint8_t(24));
  QCOMPARE(image.buffer[2], kirrup::EffectByte(7, 0, 0, false));
  QCOMPARE(QFileInfo("USBSendData.bin").size(), 27);
  // length packet, then 27 div 5 + 1 data packets
  QCOMPARE(int(FakeToy::packets.size()), 1 + 6);
  QCOMPARE(progress->minimum(), 0);
  QCOMPARE(progress->maximum(), 5);
  // Position 0 is where the new range left the bar already.
  QCOMPARE(positions, QList<int>({1, 2, 3, 4, 5}));
  QCOMPARE(progress->value(), 5);
  // The success says so in the progress area, no box.
  QVERIFY(!f.dlg->sentNotice()->isHidden());
  QCOMPARE(f.dlg->sentNotice()->text(), QString("Sent to the toy: 27 bytes"));
  QVERIFY(progress->isHidden());

  // Timer 2 empties the bar and stops.
  f.dlg->OnTimer(CRotavuDlg::kResetTimer);
  QCOMPARE(progress->value(), 0);

  // A 4-byte image (one character of one column) has the range 0..0: the bar stays an
  // empty bar, not a busy indicator.
  f.dlg->OnCommand(CRotavuDlg::kClear);
  f.glyphs.widthOf = [](uint16_t) { return 1; };
  f.Type(0, "i");
  f.dlg->OnCommand(CRotavuDlg::kSend);
  QCOMPARE(f.dlg->deviceImage().length, 4);
  QCOMPARE(progress->minimum(), 0);
  QVERIFY(progress->maximum() > progress->minimum());
  QCOMPARE(progress->value(), 0);

  // Installed read-only (settings in the user's folder): the image file goes to the cache
  // folder, not into the working directory.
  QTemporaryDir cache;
  qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
  f.app.settingsLocation.place = kirrup::SettingsPlace::UserFolder;
  QFile::remove("USBSendData.bin");
  f.dlg->OnCommand(CRotavuDlg::kSend);
  QCOMPARE(QFileInfo(cache.filePath("kirrup/USBSendData.bin")).size(), 4);
  QVERIFY(!QFileInfo::exists("USBSendData.bin"));
  qunsetenv("XDG_CACHE_HOME");
  QDir::setCurrent(QDir::tempPath());
}

void RotavuDlgTest::pollingSwitchesIndicatorAndSend() {
  Fixture f;
  auto* send = f.control<QPushButton>(1012);
  // No link library: the indicator says so, Send stays to explain it.
  QVERIFY(f.dlg->showsConnectedPicture());
  f.dlg->OnTimer(CRotavuDlg::kPollTimer);
  QVERIFY(!f.dlg->showsConnectedPicture());
  QVERIFY(send->isEnabled());

  f.app.usb = FakeToy::Link();
  FakeToy::plugged = true;
  FakeToy::opens = 0;
  f.dlg->OnTimer(CRotavuDlg::kPollTimer);
  QCOMPARE(FakeToy::opens, 1);
  QVERIFY(f.dlg->connected());
  QVERIFY(f.dlg->showsConnectedPicture());
  QVERIFY(send->isEnabled());
  const QPixmap shownConnected = f.control<QLabel>(1026)->pixmap();

  FakeToy::plugged = false;
  f.dlg->OnTimer(CRotavuDlg::kPollTimer);
  QVERIFY(!f.dlg->connected());
  QVERIFY(!f.dlg->showsConnectedPicture());
  QVERIFY(!send->isEnabled());
  QVERIFY(f.control<QLabel>(1026)->pixmap().toImage() != shownConnected.toImage());

  // Timer 2 polls as well.
  FakeToy::plugged = true;
  f.dlg->OnTimer(CRotavuDlg::kResetTimer);
  QVERIFY(send->isEnabled());
  QCOMPARE(f.control<QLabel>(1026)->toolTip(), QString("Connected"));

  // Plugged in but not this user's to open: the tool tip names the udev rule, every poll
  // stays silent.
  FakeToy::plugged = false;
  f.app.usb.LastOpenError = [](char* text, uint32_t size) -> int32_t {
    std::snprintf(text, size, "toy found at /dev/hidraw0 but this user may not open it");
    return 2;
  };
  f.sink.texts.clear();
  f.dlg->OnTimer(CRotavuDlg::kPollTimer);
  f.dlg->OnTimer(CRotavuDlg::kPollTimer);
  QVERIFY(!send->isEnabled());
  QVERIFY(f.control<QLabel>(1026)->toolTip().contains("may not open it;\ninstall the udev rule 60-kirrup.rules"));
  QVERIFY(f.sink.texts.isEmpty());
}

void RotavuDlgTest::systemMenuOpensTheAboutBox() {
  Fixture f(0, 0x0804);  // a Chinese interface
  const QList<QAction*> actions = f.dlg->systemMenu()->actions();
  // The LED type and font submenus, then the separator and About.
  QCOMPARE(actions.size(), 4);
  QVERIFY(actions[0]->menu() && actions[1]->menu());
  QVERIFY(actions[2]->isSeparator());
  QCOMPARE(actions[3]->text(), QString("关于 Kirrup(&A)..."));
  QCOMPARE(actions[3]->data().toInt(), CRotavuDlg::kAboutCommand);

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
  actions[3]->trigger();
  QCOMPARE(title, QString("关于 Kirrup"));
  QCOMPARE(version, QString("Kirrup，V2.0"));
  QVERIFY(!maker.isEmpty());
  QVERIFY(hasIcon);
  QCOMPARE(ok, QString("确定"));
  QVERIFY(f.dlg->result() == 0);  // the About box does not end the dialog

  // Any other language: English.
  Fixture english;
  QAction* about = english.dlg->systemMenu()->actions()[3];
  QCOMPARE(about->text(), QString("&About Kirrup..."));
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
    title = box->windowTitle();
    box->accept();
  });
  about->trigger();
  QCOMPARE(title, QString("About Kirrup"));
}

void RotavuDlgTest::altSpaceOpensTheSystemMenu() {
  Fixture f;
  f.dlg->show();
  QVERIFY(QTest::qWaitForWindowActive(f.dlg.get()));
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = QApplication::activePopupWidget() == f.dlg->systemMenu();
    f.dlg->systemMenu()->close();
  });
  // From the focused line window, too.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space, Qt::AltModifier);
  QVERIFY(shown);
}

void RotavuDlgTest::exitEscapeAndCloseBoxEndTheDialogWithCommandOne() {
  {
    Fixture f;
    QTimer::singleShot(0, f.dlg->exitButton(), &QPushButton::click);
    QCOMPARE(f.dlg->exec(), 1);
  }
  {
    Fixture f;
    QTimer::singleShot(0, f.dlg.get(), [&] { QTest::keyClick(f.dlg->exitButton(), Qt::Key_Escape); });
    QCOMPARE(f.dlg->exec(), 1);
  }
  {
    Fixture f;
    QTimer::singleShot(0, f.dlg.get(), [&] { f.dlg->close(); });
    QCOMPARE(f.dlg->exec(), 1);
  }
  // Cancel in the save prompt keeps the dialog open after the close box.
  {
    Fixture f;
    f.Type(0, "A");
    f.answer = SaveAnswer::Cancel;
    f.dlg->show();
    f.dlg->close();
    QVERIFY(f.dlg->isVisible());
    QCOMPARE(f.prompts, 1);
  }
}

// The band's LED type choice runs the LED type command and shows the type in force after
// every route: the system menu, its own choice (also when the save prompt is cancelled)
// and Open of a file of another type.
void RotavuDlgTest::bandLedTypeChoiceFollowsEveryRoute() {
  Fixture f;
  QComboBox* choice = f.dlg->ledTypeChoice();
  QCOMPARE(choice->currentText(), QString("7 LEDs"));
  auto choose = [&](int index) {
    choice->setCurrentIndex(index);
    emit choice->activated(index);
  };

  f.dlg->OnCommand(CRotavuDlg::kLed7Command + 1);
  QCOMPARE(choice->currentText(), QString("11 LEDs"));
  // A wheel turned over it changes nothing.
  QWheelEvent wheel({5, 5}, {5, 5}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(choice, &wheel);
  QCOMPARE(f.dlg->rows().ledType(), 1);

  f.Type(0, "AB");
  f.answer = SaveAnswer::Cancel;
  choose(2);
  QCOMPARE(f.prompts, 1);
  QCOMPARE(f.dlg->rows().ledType(), 1);
  QCOMPARE(choice->currentIndex(), 1);

  f.answer = SaveAnswer::No;
  choose(2);
  QCOMPARE(f.dlg->rows().ledType(), 2);
  QCOMPARE(choice->currentText(), QString("16 LEDs"));

  QTemporaryDir dir;
  f.savePath = f.openPath = dir.filePath("sixteen.LDAT");
  f.dlg->OnCommand(CRotavuDlg::kSave);
  f.dlg->OnCommand(CRotavuDlg::kLed7Command);
  f.dlg->OnCommand(CRotavuDlg::kOpen);
  QCOMPARE(choice->currentText(), QString("16 LEDs"));
}

// The meter shows the size of the image Send would build now, after every change that
// changes it; over the limit it warns, and Send refuses without opening the toy.
void RotavuDlgTest::meterFollowsTheRowsAndSendRefusesOverTheLimit() {
  Fixture f;
  const CCapacityMeter* meter = f.dlg->capacityMeter();
  f.Type(0, "ABCD");  // 1 + 2 + 4 x 6 columns
  QCOMPARE(meter->numbers(), QString("27 / 2047 bytes"));
  QCOMPARE(f.line(0)->toolTip(), QString("24 / 108 columns"));
  f.control<QCheckBox>(1047)->click();  // a third byte a line
  QCOMPARE(meter->capacity().bytes, 28);
  f.dlg->OnCommand(CRotavuDlg::kClear);
  QCOMPARE(meter->capacity().bytes, 0);
  QCOMPARE(f.line(0)->toolTip(), QString("0 / 108 columns"));

  // Eight full 16-LED rows: 1 + 8 x (3 + 144 x 2) bytes.
  f.dlg->OnCommand(CRotavuDlg::kLed7Command + 2);
  for (int r = 0; r < 8; ++r) f.Type(r, QString(24, QChar('W')));
  QCOMPARE(meter->accessibleDescription(), QString("2329 of 2047 bytes, 282 bytes over the limit"));

  f.app.usb = FakeToy::Link();
  FakeToy::plugged = true;
  FakeToy::opens = 0;
  f.sink.texts.clear();
  f.dlg->OnCommand(CRotavuDlg::kSend);
  QCOMPARE(f.sink.texts, QStringList({"IC ROM Over: 2329 bytes, the toy holds at most 2047"}));
  QCOMPARE(FakeToy::opens, 0);
  QVERIFY(f.dlg->sentNotice()->isHidden());
}

// A character refused for want of room leaves the line as it was and shows a short cue on
// its row; one without a glyph does not.
void RotavuDlgTest::refusedCharacterShowsACueOnItsRow() {
  Fixture f;
  f.glyphs.missing = {'#'};
  QLabel* cue = f.dlg->refusalCue();
  f.Type(0, "#");
  QVERIFY(cue->isHidden());
  f.Type(0, QString(18, QChar('A')));  // 108 of 108 columns
  QVERIFY(cue->isHidden());
  f.Type(0, "B");
  QVERIFY(!cue->isHidden());
  QCOMPARE(cue->text(), QString("Line full: 108 / 108 columns"));
  QCOMPARE(cue->accessibleName(), cue->text());
  QCOMPARE(cue->y(), f.line(0)->geometry().bottom() + 2);  // under its row

  // A picked symbol too wide for what is left of row 2.
  cue->hide();
  f.Type(1, QString(17, QChar('A')));  // 102 columns
  emit f.line(1)->lineFocused(3002);
  f.dlg->OnInsertRecord(kirrup::testing::MakeRecord(3, 8, 7, [](int, int) { return true; }));
  QVERIFY(!cue->isHidden());
  QCOMPARE(cue->text(), QString("Does not fit: 102 / 108 columns used"));
}

// What a keyboard and screen reader user needs of the new controls: names, tool tips, Tab
// in the order of the window, mnemonics; and the band keeps within the narrowest dialog
// (Chinese texts).
void RotavuDlgTest::bandChoicesAndMeterAreReachableAndNamed() {
  Fixture f(0, 0x0804);
  QWidget* added[] = {f.dlg->ledTypeChoice(), f.dlg->fontChoice(), f.dlg->capacityMeter()};
  QStringList names;  // what a screen reader calls each control one can tab to
  for (QWidget* w : f.dlg->findChildren<QWidget*>()) {
    auto* b = qobject_cast<QAbstractButton*>(w);
    if (w->focusPolicy() & Qt::TabFocus) names << (b && w->accessibleName().isEmpty() ? b->text() : w->accessibleName());
  }
  for (QWidget* w : added) {
    QCOMPARE(names.count(w->accessibleName()), 1);
    QVERIFY(!w->toolTip().isEmpty());
  }
  for (QWidget* w : {added[0], added[1]}) {
    QVERIFY(w->x() > f.dlg->Control(CRotavuDlg::kClear)->geometry().right());
    QVERIFY(w->geometry().right() < f.dlg->Control(CRotavuDlg::kLanguage)->x());
  }
  f.dlg->show();
  QVERIFY(QTest::qWaitForWindowActive(f.dlg.get()));
  auto tabFrom = [](QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w, Qt::Key_Tab);
    return QApplication::focusWidget();
  };
  QCOMPARE(tabFrom(f.dlg->Control(CRotavuDlg::kClear)), added[0]);
  QCOMPARE(tabFrom(added[0]), added[1]);
  QCOMPARE(tabFrom(added[1]), f.dlg->Control(CRotavuDlg::kLanguage));
  QCOMPARE(tabFrom(f.dlg->Control(CRotavuDlg::kColor)), added[2]);
  QCOMPARE(tabFrom(added[2]), f.dlg->Control(CRotavuDlg::kSend));
  // The label's mnemonic, also from a line window.
  f.line(0)->setFocus();
  QTest::keyClick(f.line(0), Qt::Key_L, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), added[0]);
}

void RotavuDlgTest::droppedFileOpensAsOpenDoes() {
  QTemporaryDir dir;
  const QString saved = dir.filePath("two.LDAT");
  {
    Fixture f(2);
    f.Type(0, "AB");
    f.savePath = saved;
    f.dlg->OnCommand(CRotavuDlg::kSave);
  }
  const QString byMagic = dir.filePath("message.bin"), notLdat = dir.filePath("notes.LDAT"),
                text = dir.filePath("notes.txt");
  QVERIFY(QFile::copy(saved, byMagic));
  for (const QString& p : {notLdat, text}) {
    QFile out(p);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("Hello, not dots");
  }
  auto local = [](const QString& p) { return QUrl::fromLocalFile(p); };
  // Over typed rows: a taken drop asks first, as Open does.
  const struct {
    QList<QUrl> urls;
    SaveAnswer answer;
    bool taken, opens;
  } cases[] = {
      {{local(saved)}, SaveAnswer::No, true, true},       {{local(byMagic)}, SaveAnswer::No, true, true},
      {{local(saved)}, SaveAnswer::Cancel, true, false},  {{local(notLdat)}, SaveAnswer::No, true, false},
      {{local(text)}, SaveAnswer::No, false, false},      {{local(saved), local(byMagic)}, SaveAnswer::No, false, false},
      {{QUrl("https://kirrup.org/two.LDAT")}, SaveAnswer::No, false, false},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.Type(0, "xyz");
    f.answer = c.answer;
    const QByteArray what = c.urls.first().toString().toUtf8();
    QVERIFY2(kirrup::testing::DragAndDrop(f.dlg.get(), c.urls) == (c.taken ? Qt::CopyAction : Qt::IgnoreAction), what);
    QVERIFY2(f.prompts == (c.taken ? 1 : 0) && f.openDialogs == 0, what);
    QVERIFY2(f.dlg->rows()[0].line.itemCount() == (c.opens ? 2 : 3) && f.dlg->state().modified == !c.opens, what);
    const bool refused = c.taken && !c.opens && c.answer == SaveAnswer::No;
    QCOMPARE(f.sink.texts, refused ? QStringList{"Open file error!\n" + notLdat + ": not an LED data file (shorter than its header)"}
                                   : QStringList());
  }
}

// The hidden editor frame, the font list and the colour pictures are made once the first
// picture is on the screen, or at once by whoever needs them earlier; never twice.
void RotavuDlgTest::hiddenWorkWaitsForTheFirstPaint() {
  for (const bool askFirst : {false, true}) {
    Fixture f;
    CRotavuDlg& dlg = *f.dlg;
    auto* fonts = f.control<QComboBox>(CRotavuDlg::kFontChooser);
    QVERIFY(!dlg.findChild<kirrup::CMakeChrWnd*>());
    QCOMPARE(fonts->count(), 0);
    if (askFirst) {
      QVERIFY(dlg.charEditor() != nullptr);
      QVERIFY(dlg.fontChooser()->count() > 0);
      QVERIFY(!dlg.colorMenu()->actions()[0]->icon().isNull());
    }
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTRY_VERIFY(fonts->count() > 0);
    QTRY_COMPARE(dlg.findChildren<kirrup::CMakeChrWnd*>().size(), qsizetype(1));
    QVERIFY(!dlg.charEditor()->isVisible());
    QVERIFY(static_cast<CFontComboBox*>(fonts)->filled());
    const QList<QAction*> colours = dlg.colorMenu()->actions();
    QTRY_VERIFY(!colours[3]->icon().isNull());
    QTRY_VERIFY(!dlg.windowIcon().isNull());
    dlg.hide();
  }
}

// A picture drawn ahead on another thread is the picture the dialog would draw itself.
void RotavuDlgTest::picturesDrawnAheadMatchThoseDrawnWhenShown() {
  const QImage send = kirrup::SvgPixmap("send", QSize(18, 18), 1.0).toImage();
  const QImage txt = kirrup::SvgPixmap("txt", QSize(30, 20), 1.0).toImage();
  // The logo's text is drawn there too, in fonts of that thread.
  auto logo = [] {
    Fixture f;
    return f.control<QLabel>(CRotavuDlg::kLogo)->pixmap().toImage();
  };
  const QImage logoHere = logo();
  CRotavuDlg::PreparePictures();
  QCOMPARE(kirrup::SvgPixmap("send", QSize(18, 18), 1.0).toImage(), send);
  QCOMPARE(kirrup::SvgPixmap("txt", QSize(30, 20), 1.0).toImage(), txt);
  QVERIFY(!send.isNull() && send != QImage(send.size(), send.format()));
  QCOMPARE(logo(), logoHere);
  QVERIFY(!kirrup::TakePreparedDrawing("logo", logoHere.size()));  // the dialog took it
}

QTEST_MAIN(RotavuDlgTest)
#include "rotavu_dlg_qttest.moc"

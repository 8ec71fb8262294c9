// SPDX-License-Identifier: GPL-2.0-or-later
// The line window under Qt: events in, signals and pixels out, the real clipboard.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include "app/languages.h"
#include "lines/input_chr_wnd.h"
#include "lines/line_test_support.h"
#include "widgets/accessibility.h"

using kirrup::CInputChrWnd;

namespace {

QString Text(const CInputChrWnd& w) {
  QString s;
  for (const kirrup::CharItem& it : w.line().items()) s += QChar(static_cast<char16_t>(it.code));
  return s;
}

// Centre of character i in window pixels (the line starts at textRect's left edge).
QPoint At(CInputChrWnd& w, int i) {
  const auto& line = w.line();
  const int zoom = line.ledType().zoomX;
  const int dot = w.editor().textRect().left + line.item(i).x + line.item(i).width / 2;
  return QPoint(dot * zoom + zoom / 2, w.height() / 2);
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, mods);
  QApplication::sendEvent(w, &e);
}

// What a reader would have been told: event type, position and text.
QStringList& ReaderEvents() {
  static QStringList events;
  return events;
}
void RecordReaderEvent(QAccessibleEvent* e) {
  switch (e->type()) {
    case QAccessible::TextInserted: {
      auto* t = static_cast<QAccessibleTextInsertEvent*>(e);
      ReaderEvents() << QStringLiteral("insert %1 %2").arg(t->changePosition()).arg(t->textInserted());
      break;
    }
    case QAccessible::TextRemoved: {
      auto* t = static_cast<QAccessibleTextRemoveEvent*>(e);
      ReaderEvents() << QStringLiteral("remove %1 %2").arg(t->changePosition()).arg(t->textRemoved());
      break;
    }
    case QAccessible::TextSelectionChanged: {
      auto* t = static_cast<QAccessibleTextSelectionEvent*>(e);
      ReaderEvents() << QStringLiteral("select %1 %2").arg(t->selectionStart()).arg(t->selectionEnd());
      break;
    }
    case QAccessible::TextCaretMoved:
      ReaderEvents() << QStringLiteral("caret %1").arg(static_cast<QAccessibleTextCursorEvent*>(e)->cursorPosition());
      break;
    default:
      break;
  }
}

QRgb Rgb(kirrup::platform::Color c) {
  return qRgb(kirrup::platform::RedOf(c), kirrup::platform::GreenOf(c), kirrup::platform::BlueOf(c));
}

}  // namespace

class InputChrWndTest : public QObject {
  Q_OBJECT

 private:
  kirrup::testing::FakeGlyphs glyphs_;
  kirrup::LanguageList languages_;
  std::unique_ptr<QWidget> top_;
  CInputChrWnd* a_ = nullptr;
  CInputChrWnd* b_ = nullptr;

 private slots:
  void init() {
    glyphs_.missing = {u'\r', u'\n'};
    top_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(top_.get());
    a_ = new CInputChrWnd(top_.get(), 3001);
    b_ = new CInputChrWnd(top_.get(), 3002);
    for (CInputChrWnd* w : {a_, b_}) {
      w->setGlyphSource(&glyphs_);
      w->setLanguages(&languages_);
      w->line().SetLedType(kirrup::kLed7, true);
      w->setFixedSize(w->sizeHint());
      layout->addWidget(w);
    }
    top_->show();
    top_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(top_.get()));
    a_->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(a_->hasFocus());
  }
  void cleanup() { top_.reset(); }

  void sizesFollowTheLedType() {
    QCOMPARE(a_->PreferredHeight(), 26);
    QCOMPARE(a_->PreferredWidth(), 230);
    QCOMPARE(a_->property("lineId").toInt(), 3001);
    a_->line().SetLedType(kirrup::kLed11, false);
    QCOMPARE(a_->sizeHint(), QSize(154, 23));
    CInputChrWnd fresh;
    QCOMPARE(fresh.line().type(), kirrup::kLed16);  // as a new window resets its line
    QCOMPARE(fresh.sizeHint(), QSize(156, 26));
  }

  void typingAndUndoFromKeysAndModifiers() {
    QSignalSpy changed(a_, &CInputChrWnd::lineChanged);
    QTest::keyClicks(a_, "ABC");
    QCOMPARE(Text(*a_), QString("ABC"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(0).at(0).toInt(), 3001);

    // Ctrl chords count by key and modifiers, whatever text the event carries.
    QKeyEvent undo(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QString());
    QApplication::sendEvent(a_, &undo);
    QCOMPARE(Text(*a_), QString("AB"));
    QKeyEvent undo2(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("z"));
    QApplication::sendEvent(a_, &undo2);
    QCOMPARE(Text(*a_), QString("A"));
    QTest::keyClick(a_, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(a_, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Text(*a_), QString("ABC"));

    QTest::keyClick(a_, Qt::Key_Left);
    QTest::keyClick(a_, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(a_->line().selAnchor, 2);
    QCOMPARE(a_->line().selEnd, 1);
    QTest::keyClick(a_, Qt::Key_Delete);
    QCOMPARE(Text(*a_), QString("AC"));
    QTest::keyClick(a_, Qt::Key_End);
    QTest::keyClick(a_, Qt::Key_Backspace);
    QCOMPARE(Text(*a_), QString("A"));
    QTest::keyClick(a_, Qt::Key_Home);
    QTest::keyClick(a_, Qt::Key_Return);  // code 13 has no glyph here: nothing
    QCOMPARE(Text(*a_), QString("A"));
    QCOMPARE(a_->line().CaretIndex(), 0);

    // Alt chords belong to the dialog; Ctrl with a key that makes no character does nothing.
    QTest::keyClick(a_, Qt::Key_X, Qt::AltModifier);
    QTest::keyClick(a_, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(Text(*a_), QString("A"));
    // Ctrl+A is the control code 1, a symbol of the built-in fonts.
    QTest::keyClick(a_, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(Text(*a_), QString(QChar(1)) + "A");

    // Characters of an input method arrive as typed characters.
    QInputMethodEvent ime;
    ime.setCommitString(QString::fromUtf16(u"中文"));
    QApplication::sendEvent(a_, &ime);
    QCOMPARE(Text(*a_), QString(QChar(1)) + QString::fromUtf16(u"中文") + "A");
  }

  void keysGoToTheLineBeforeDialogShortcuts() {
    QAction undoAction(top_.get());
    undoAction.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoAction.setShortcutContext(Qt::WidgetWithChildrenShortcut);
    top_->addAction(&undoAction);
    QAction deleteAction(top_.get());
    deleteAction.setShortcut(QKeySequence(Qt::Key_Delete));
    deleteAction.setShortcutContext(Qt::WidgetWithChildrenShortcut);
    top_->addAction(&deleteAction);
    QSignalSpy triggered(&undoAction, &QAction::triggered);
    QSignalSpy deleted(&deleteAction, &QAction::triggered);
    QTest::keyClicks(a_, "AB");
    QTest::keyClick(a_, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(a_, Qt::Key_Home);
    QTest::keyClick(a_, Qt::Key_Delete);
    QCOMPARE(Text(*a_), QString(""));
    QCOMPARE(triggered.count(), 0);
    QCOMPARE(deleted.count(), 0);
  }

  void focusCaretAndSignals() {
    QSignalSpy focused(b_, &CInputChrWnd::lineFocused);
    QVERIFY(b_->caretRect().isNull());
    SendMouse(b_, QEvent::MouseButtonPress, QPoint(20, 10), Qt::LeftButton, Qt::LeftButton);
    SendMouse(b_, QEvent::MouseButtonRelease, QPoint(20, 10), Qt::LeftButton, Qt::NoButton);
    QTRY_VERIFY(b_->hasFocus());
    QCOMPARE(focused.count(), 1);
    QCOMPARE(focused.at(0).at(0).toInt(), 3002);
    QVERIFY(a_->caretRect().isNull());
    // A 2-pixel caret, height x zoomX tall, at textRect's top left.
    QCOMPARE(b_->caretRect(), QRect(2 * 2, 3 * 2, 2, 7 * 2));
    QTest::keyClicks(b_, "AB");
    QCOMPARE(b_->caretRect().topLeft(), QPoint((2 + 12) * 2, 3 * 2));

    // The caret is drawn by the window, inverting what lies under it, and blinks.
    const QRect caret = b_->caretRect();
    QImage shot = b_->grab().toImage();
    const auto& pic = b_->picture();
    const QRgb under = Rgb(pic.Pixel(caret.x(), caret.y()));
    const QRgb shown = shot.pixel(caret.topLeft());
    QVERIFY(shown == (under ^ 0x00FFFFFFu) || shown == under);
    QTRY_VERIFY_WITH_TIMEOUT(b_->grab().toImage().pixel(caret.topLeft()) != shown, 3000);

    // Right button: no focus change.
    QSignalSpy focusedA(a_, &CInputChrWnd::lineFocused);
    SendMouse(a_, QEvent::MouseButtonPress, QPoint(20, 10), Qt::RightButton, Qt::RightButton);
    SendMouse(a_, QEvent::MouseButtonRelease, QPoint(20, 10), Qt::RightButton, Qt::NoButton);
    QVERIFY(b_->hasFocus());
    QCOMPARE(focusedA.count(), 0);
    QCOMPARE(a_->cursor().shape(), Qt::IBeamCursor);
  }

  void mouseDragSelects() {
    QTest::keyClicks(a_, "ABCDE");
    const int far = QApplication::startDragDistance() + 1;
    const QPoint c = At(*a_, 1);
    SendMouse(a_, QEvent::MouseButtonPress, c, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(a_->line().CaretIndex(), 1);
    SendMouse(a_, QEvent::MouseMove, c + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(a_->line().selAnchor, -1);  // inside the drag rectangle
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    const QPoint d = At(*a_, 3);
    QVERIFY(d.x() - c.x() > far);
    SendMouse(a_, QEvent::MouseMove, d, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(QWidget::mouseGrabber(), a_);
    QCOMPARE(a_->line().selAnchor, 1);
    QCOMPARE(a_->line().selEnd, 3);
    SendMouse(a_, QEvent::MouseButtonRelease, d, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(QWidget::mouseGrabber(), nullptr);

    // The selected characters are painted inverted.
    a_->repaint();
    const auto& pic = a_->picture();
    const auto& line = a_->line();
    const int left = a_->editor().textRect().left, top = a_->editor().textRect().top;
    for (int col = 0; col < 30; ++col) {
      const bool selected = col >= 6 && col < 18;
      const bool lit = line.Lit(col, 3) != selected;
      QCOMPARE(pic.Pixel((left + col) * 2, (top + 3) * 2), lit ? kirrup::platform::kInk : kirrup::platform::kPaper);
    }

    // Shift+click extends from the caret; a plain click clears.
    SendMouse(a_, QEvent::MouseButtonPress, At(*a_, 0), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    SendMouse(a_, QEvent::MouseButtonRelease, At(*a_, 0), Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(a_->line().selAnchor, 3);
    QCOMPARE(a_->line().selEnd, 0);
    SendMouse(a_, QEvent::MouseButtonPress, At(*a_, 4), Qt::LeftButton, Qt::LeftButton);
    SendMouse(a_, QEvent::MouseButtonRelease, At(*a_, 4), Qt::LeftButton, Qt::NoButton);
    QVERIFY(!a_->line().HasSelection());
    QCOMPARE(a_->line().CaretIndex(), 4);

    QTest::mouseDClick(a_, Qt::LeftButton, Qt::NoModifier, At(*a_, 2));
    QCOMPARE(a_->line().selAnchor, 0);
    QCOMPARE(a_->line().selEnd, 5);
  }

  void clipboardRoundTripBetweenWindows() {
    QTest::keyClicks(a_, "ABCDE");
    auto& la = a_->line();
    la.SetStripPixel(7, 1, la.Lit(7, 1) ? kirrup::platform::kPaper : kirrup::platform::kInk);
    la.selAnchor = 1;
    la.selEnd = 4;
    QTest::keyClick(a_, Qt::Key_C, Qt::ControlModifier);

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->hasFormat("ZEQBinaryData"));
    QCOMPARE(data->data("ZEQBinaryData").size(), 3 * 84);
    QCOMPARE(data->data("application/x-qt-windows-mime;value=\"ZEQBinaryData\""), data->data("ZEQBinaryData"));
    QCOMPARE(data->text(), QString("BCD"));

    b_->setFocus();
    QTest::keyClicks(b_, "xy");
    QTest::keyClick(b_, Qt::Key_Left);
    QSignalSpy changed(b_, &CInputChrWnd::lineChanged);
    QTest::keyClick(b_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Text(*b_), QString("xBCDy"));
    QCOMPARE(changed.count(), 1);
    for (int col = 6; col < 24; ++col)
      for (int row = 0; row < 7; ++row) QCOMPARE(b_->line().Lit(col, row), la.Lit(col, row));

    // Cut, then Undo.
    QTest::keyClick(b_, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(b_, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(Text(*b_), QString("y"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("xBCD"));
    QTest::keyClick(b_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Text(*b_), QString("xBCDy"));

    // Plain text from another program: pasted up to the first character without a glyph.
    QGuiApplication::clipboard()->setText(QStringLiteral("PQ\r\nR"));
    QTest::keyClick(b_, Qt::Key_End);
    QTest::keyClick(b_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Text(*b_), QString("xBCDyPQ"));
  }

  void contextMenuTextsAndStates() {
    auto ids = [](QMenu& m) {
      QList<int> out;
      for (QAction* a : m.actions()) out << (a->isSeparator() ? 0 : a->data().toInt());
      return out;
    };
    QGuiApplication::clipboard()->clear();
    languages_.current = 0;
    auto menu = a_->CreateContextMenu();
    QCOMPARE(menu->objectName(), QString("popup_edit"));
    QCOMPARE(ids(*menu), (QList<int>{8028, 8029, 0, 8026, 8024, 57637, 8007, 8027, 0, 8040}));
    QStringList texts;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) texts << a->text();
    QCOMPARE(texts, (QStringList{"Undo", "Redo", "Cut", "Copy", "Paste Graph", "Paste Text", "Delete", "Select All"}));
    for (QAction* a : menu->actions()) QVERIFY2(a->isSeparator() || !a->isEnabled(), qPrintable(a->text()));

    QTest::keyClicks(a_, "AB");
    QTest::keyClick(a_, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(a_, Qt::Key_C, Qt::ControlModifier);
    languages_.current = 1;
    menu = a_->CreateContextMenu();
    QMap<int, QAction*> by;
    for (QAction* a : menu->actions()) by[a->data().toInt()] = a;
    QCOMPARE(by[8040]->text(), QString::fromUtf16(u"全选"));
    QCOMPARE(by[57637]->text(), QString::fromUtf16(u"粘贴字符图形"));
    for (int id : {8028, 8026, 8024, 57637, 8007, 8027, 8040}) QVERIFY2(by[id]->isEnabled(), qPrintable(QString::number(id)));
    QVERIFY(!by[8029]->isEnabled());

    a_->setLanguages(nullptr);
    menu = a_->CreateContextMenu();
    QCOMPARE(menu->actions().first()->text(), QString::fromUtf16(u"撤消(&U)"));

    // A translator's table with an empty text: applied as the dialog's menus apply it.
    kirrup::LanguageList partly;
    partly.tables[0].menuTexts[0].clear();
    partly.tables[0].menuTexts[7] = u"Tout";
    a_->setLanguages(&partly);
    menu = a_->CreateContextMenu();
    QCOMPARE(menu->actions().first()->text(), QString());
    QCOMPARE(menu->actions().last()->text(), QString("Tout"));
    a_->setLanguages(&languages_);
  }

  void keyboardMenuOpensBesideTheCornerAndRunsTheCommand() {
    QTest::keyClicks(a_, "ABC");
    QPoint shownAt;
    QTimer::singleShot(0, this, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      shownAt = menu->pos();
      for (QAction* act : menu->actions())
        if (act->data().toInt() == 8040) menu->setActiveAction(act);
      QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(-1, -1), a_->mapToGlobal(QPoint(-1, -1)));
    QApplication::sendEvent(a_, &key);
    QCOMPARE(shownAt, a_->mapToGlobal(QPoint(5, 5)));
    QCOMPARE(a_->line().selAnchor, 0);
    QCOMPARE(a_->line().selEnd, 3);
    // The offscreen platform leaves no window active once the popup is gone.
    QCOMPARE(top_->focusWidget(), a_);
    top_->activateWindow();
    QTRY_VERIFY(a_->hasFocus());
    QVERIFY(!a_->caretRect().isNull());
  }

  void disabledLook() {
    QTest::keyClicks(a_, "AB");
    a_->setEnabled(false);
    a_->repaint();
    const auto& pic = a_->picture();
    const QColor gray = a_->palette().color(QPalette::Disabled, QPalette::Text);
    const QColor face = a_->palette().color(QPalette::Active, QPalette::Button);
    QCOMPARE(Rgb(pic.Pixel(0, 0)), gray.rgb());
    QCOMPARE(Rgb(pic.Pixel(4, 2)), face.rgb());
    // Disabled windows take no input.
    QTest::mouseClick(a_, Qt::LeftButton, Qt::NoModifier, At(*a_, 0));
    QCOMPARE(a_->line().CaretIndex(), 2);
    a_->setEnabled(true);
    a_->repaint();
    QCOMPARE(a_->picture().Pixel(0, 0), kirrup::line_colors::kFrame);
    QImage shot = a_->grab().toImage();
    QCOMPARE(shot.pixel(0, 0), Rgb(kirrup::line_colors::kFrame));
    QCOMPARE(shot.pixel(2 * 2, 2), Rgb(kirrup::line_colors::kBarEven));
  }

  void readerHearsTextCaretAndSelection() {
    languages_.current = 0;  // English
    kirrup::ListenAsReader(&RecordReaderEvent);
    ReaderEvents().clear();
    // Each edit is told once it is done.
    for (auto [key, mods] : {std::pair{Qt::Key_A, Qt::NoModifier}, {Qt::Key_B, Qt::NoModifier},
                             {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Backspace, Qt::NoModifier},
                             {Qt::Key_R, Qt::ControlModifier}}) {  // Ctrl+R: symbol 18, a heart for 7 LEDs
      QTest::keyClick(a_, key, mods);
      QCoreApplication::processEvents();
    }
    kirrup::ListenAsReader(nullptr);
    QCOMPARE(ReaderEvents(), (QStringList{"insert 0 a", "caret 1", "insert 1 b", "caret 2", "select 1 2", "caret 1",
                                          "remove 1 b", "select 1 1", "caret 1", "insert 1 \u2665", "caret 2"}));

    QAccessibleInterface* line = QAccessible::queryAccessibleInterface(a_);
    QCOMPARE(line->role(), QAccessible::EditableText);
    QCOMPARE(line->text(QAccessible::Name), QString("Line 1"));
    QCOMPARE(QAccessible::queryAccessibleInterface(b_)->text(QAccessible::Name), QString("Line 2"));
    QAccessibleTextInterface* text = line->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, -1), QString::fromUtf8("a\u2665"));
    QCOMPARE(text->cursorPosition(), 2);
    // A reader selects: the line selects whole characters, the caret at the end given.
    text->setSelection(0, 2, 0);
    QCOMPARE(a_->line().selAnchor, 2);
    QCOMPARE(a_->line().CaretIndex(), 0);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(QPoint(start, end), QPoint(0, 2));
    QVERIFY(text->characterRect(1).width() > 0);
    QCOMPARE(text->offsetAtPoint(a_->mapToGlobal(At(*a_, 1))), 1);
  }

  void bindsALineHeldElsewhere() {
    kirrup::MessageLine other;
    other.SetGlyphSource(&glyphs_);
    other.SetLedType(kirrup::kLed7, false);
    a_->setLine(other);
    QTest::keyClicks(a_, "QR");
    QCOMPARE(other.itemCount(), 2);
    QCOMPARE(other.view(), &a_->editor());
    top_.reset();  // the window goes first and lets go of the line
    QCOMPARE(other.view(), nullptr);
  }
};

QTEST_MAIN(InputChrWndTest)
#include "input_chr_wnd_test.moc"

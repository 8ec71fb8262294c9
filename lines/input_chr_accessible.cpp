// SPDX-License-Identifier: GPL-2.0-or-later
// The line window as a screen reader sees it: editable text named after its row, whose
// characters are the line's (ReadLineText), with the caret and the selection; a reader
// may move the caret and select. Every change is announced as text, caret and selection
// events.
#include <QAccessibleWidget>

#include "lines/input_chr_wnd.h"
#include "widgets/accessibility.h"

namespace kirrup {

namespace {

class CInputChrAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit CInputChrAccessible(CInputChrWnd* w) : QAccessibleWidget(w, QAccessible::EditableText) {}

  CInputChrWnd* line() const { return static_cast<CInputChrWnd*>(widget()); }
  LineText Read() const { return ReadLineText(line()->line()); }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name:
        return widget()->accessibleName().isEmpty() ? line()->AccessibleName() : widget()->accessibleName();
      case QAccessible::Value: return ToQString(Read().text);
      default: return QAccessibleWidget::text(t);
    }
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    s.selectableText = true;
    return s;
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    const LineText t = Read();
    const bool has = index == 0 && t.HasSelection();
    *start = has ? t.selStart : 0;
    *end = has ? t.selEnd : 0;
  }
  int selectionCount() const override { return Read().HasSelection() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override {
    line()->editor().Select(line()->line().CaretIndex(), line()->line().CaretIndex());
  }
  void setSelection(int, int start, int end) override { line()->editor().Select(start, end); }
  int cursorPosition() const override { return Read().caret; }
  void setCursorPosition(int position) override { line()->editor().Select(position, position); }
  QString text(int start, int end) const override {
    const QString all = ToQString(Read().text);
    if (end < 0 || end > all.size()) end = static_cast<int>(all.size());
    start = std::clamp(start, 0, end);
    return all.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Read().text.size()); }
  QRect characterRect(int offset) const override {
    const platform::Rect r = line()->editor().CharacterRect(offset);
    if (r.Empty()) return {};
    return QRect(widget()->mapToGlobal(QPoint(r.left, r.top)), QSize(r.Width(), r.Height()));
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint p = widget()->mapFromGlobal(point);
    if (!widget()->rect().contains(p)) return -1;
    return line()->editor().CharacterAt(p.x());
  }
  void scrollToSubstring(int, int end) override {
    line()->editor().Select(end, end);  // moving the caret scrolls it into view
  }
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }
};

}  // namespace

QAccessibleInterface* CInputChrWnd::AccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("kirrup::CInputChrWnd") && object && object->isWidgetType())
    return new CInputChrAccessible(static_cast<CInputChrWnd*>(object));
  return nullptr;
}

void CInputChrWnd::AnnounceTextChanges() {
  if (!ReaderListening() || announcing_) return;
  announcing_ = true;
  QMetaObject::invokeMethod(this, &CInputChrWnd::FlushAnnouncements, Qt::QueuedConnection);
}

void CInputChrWnd::FlushAnnouncements() {
  announcing_ = false;
  if (!ReaderListening()) return;
  const LineText now = ReadLineText(*line_);
  const LineTextChange c = CompareLineText(announced_, now);
  announced_ = now;
  if (c.textChanged) {
    if (c.removed.empty()) {
      QAccessibleTextInsertEvent e(this, c.position, ToQString(c.inserted));
      SendAccessible(e);
    } else if (c.inserted.empty()) {
      QAccessibleTextRemoveEvent e(this, c.position, ToQString(c.removed));
      SendAccessible(e);
    } else {
      QAccessibleTextUpdateEvent e(this, c.position, ToQString(c.removed), ToQString(c.inserted));
      SendAccessible(e);
    }
  }
  if (c.selectionChanged) {
    QAccessibleTextSelectionEvent e(this, now.HasSelection() ? now.selStart : now.caret,
                                    now.HasSelection() ? now.selEnd : now.caret);
    SendAccessible(e);
  }
  if (c.caretMoved || c.textChanged) {
    QAccessibleTextCursorEvent e(this, now.caret);
    SendAccessible(e);
  }
}

}  // namespace kirrup

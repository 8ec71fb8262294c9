// SPDX-License-Identifier: GPL-2.0-or-later
// The symbol picker as a screen reader sees it: a list whose items are the cells, each
// named by the character it shows and its code, the keyboard's cell focused, and a press
// action that inserts the cell as a click does.
#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <vector>

#include "app/accessible_texts.h"
#include "fonts/key_wnd.h"
#include "widgets/accessibility.h"

namespace {

class CKeyCellAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  CKeyCellAccessible(CKeyWnd* picker, int index) : picker_(picker), index_(index) {}

  bool isValid() const override { return picker_ && index_ < picker_->grid().glyphCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return picker_ ? picker_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(picker_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return {};
    const kirrup::KeyGrid& grid = picker_->grid();
    return kirrup::ToQString(
        kirrup::PickerCellName(grid.glyph(index_).code, grid.ledType(), kirrup::AccessibleChinese()));
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = picker_->CellGeometry(index_);
    return r.isEmpty() ? QRect() : QRect(picker_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.focusable = true;
    s.selectable = true;
    const bool current = picker_->grid().focusCell() == index_;
    s.focused = current && picker_->hasFocus();
    s.selected = current;
    s.disabled = !picker_->isEnabled();
    if (picker_->CellGeometry(index_).isEmpty()) s.offscreen = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action != pressAction() || !isValid()) return;
    // After the reader's call has returned: the dialog moves the focus to the line.
    QTimer::singleShot(0, picker_.data(), [p = picker_, i = index_] {
      if (p) p->InsertCell(i);
    });
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<CKeyWnd> picker_;
  int index_;
};

class CKeyAccessible final : public QAccessibleWidget {
 public:
  explicit CKeyAccessible(CKeyWnd* picker) : QAccessibleWidget(picker, QAccessible::List) {}
  ~CKeyAccessible() override {
    for (QAccessible::Id id : cells_) {
      if (id && QAccessible::accessibleInterface(id)) QAccessible::deleteAccessibleInterface(id);
    }
  }

  CKeyWnd* picker() const { return static_cast<CKeyWnd*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
      return kirrup::ToQString(kirrup::SymbolPickerName(kirrup::AccessibleChinese()));
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return picker()->grid().glyphCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (cells_.size() <= static_cast<size_t>(index)) cells_.resize(static_cast<size_t>(index) + 1, 0);
    QAccessible::Id& id = cells_[static_cast<size_t>(index)];
    if (!id || !QAccessible::accessibleInterface(id))
      id = QAccessible::registerAccessibleInterface(new CKeyCellAccessible(picker(), index));
    return QAccessible::accessibleInterface(id);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (size_t i = 0; i < cells_.size(); ++i) {
      if (cells_[i] && QAccessible::accessibleInterface(cells_[i]) == child) return static_cast<int>(i);
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = picker()->mapFromGlobal(QPoint(x, y)) - picker()->contentsRect().topLeft();
    const int index = picker()->grid().HitTest(p.x(), p.y());
    return index >= 0 ? child(index) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    return picker()->hasFocus() && childCount() > 0 ? child(picker()->grid().focusCell()) : nullptr;
  }

 private:
  mutable std::vector<QAccessible::Id> cells_;
};

}  // namespace

QAccessibleInterface* CKeyWnd::AccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("CKeyWnd")) return new CKeyAccessible(static_cast<CKeyWnd*>(object));
  return nullptr;
}

void CKeyWnd::AnnounceFocusCell() {
  if (!kirrup::ReaderListening() || !hasFocus() || grid_.glyphCount() == 0) return;
  QAccessibleEvent e(this, QAccessible::Focus);
  e.setChild(grid_.focusCell());
  kirrup::SendAccessible(e);
}

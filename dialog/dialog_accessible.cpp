// SPDX-License-Identifier: GPL-2.0-or-later
// What a screen reader reads of the main dialog's own windows: the rows' effect lists,
// each named by its column and row with the effect chosen, and the simulation picture,
// named with whether it plays.
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLabel>
#include <QTimer>

#include "app/accessible_texts.h"
#include "dialog/demo_wnd.h"
#include "dialog/effect_combo_box.h"
#include "widgets/accessibility.h"

namespace {

// A combo box as Qt presents it (its popup list as the only child, show-menu and press
// actions), with the name of its row.
class CEffectComboAccessible final : public QAccessibleWidget {
 public:
  explicit CEffectComboAccessible(CEffectComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  CEffectComboBox* box() const { return static_cast<CEffectComboBox*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return box()->AccessibleName();
    if (t == QAccessible::Value) return box()->currentText();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = box()->view()->isVisible();
    return s;
  }
  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() == box()->view() ? 0 : -1;
  }
  QStringList actionNames() const override {
    return {QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()};
  }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return QAccessibleWidget::doAction(action);
    // The popup runs its own event loop: the reader's call returns first.
    QTimer::singleShot(0, box(), [b = box()] { b->view()->isVisible() ? b->hidePopup() : b->showPopup(); });
  }
};

class CDemoAccessible final : public QAccessibleWidget {
 public:
  explicit CDemoAccessible(CDemoWnd* w) : QAccessibleWidget(w, QAccessible::Animation) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name)
      return kirrup::ToQString(kirrup::SimulationName(Playing(), kirrup::AccessibleChinese()));
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.animated = Playing();
    return s;
  }

 private:
  bool Playing() const { return static_cast<CDemoWnd*>(widget())->engine().playing(); }
};

}  // namespace

CEffectComboBox::CEffectComboBox(int row, int headerId, QWidget* parent)
    : QComboBox(parent), row_(row), headerId_(headerId) {
  kirrup::InstallAccessibleFactory(&CEffectComboBox::AccessibleFactory);
  // The effect chosen is part of the name.
  connect(this, &QComboBox::currentIndexChanged, this, [this] { kirrup::NotifyAccessible(this, QAccessible::NameChanged); });
}

QString CEffectComboBox::AccessibleName() const {
  QString caption;
  if (const QWidget* dialog = parentWidget()) {
    for (const QLabel* label : dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      if (label->property("controlId").toInt() == headerId_) caption = label->text();
    }
  }
  return kirrup::ToQString(kirrup::EffectChoiceName(caption.toStdU16String(), row_, currentText().toStdU16String(),
                                                    kirrup::AccessibleChinese()));
}

QAccessibleInterface* CEffectComboBox::AccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("CEffectComboBox")) return new CEffectComboAccessible(static_cast<CEffectComboBox*>(object));
  return nullptr;
}

QAccessibleInterface* CDemoWnd::AccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("CDemoWnd")) return new CDemoAccessible(static_cast<CDemoWnd*>(object));
  return nullptr;
}

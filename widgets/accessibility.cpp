// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgets/accessibility.h"

#include <QWidget>
#include <algorithm>
#include <vector>

namespace kirrup {

namespace {

std::function<bool()>& ChineseSource() {
  static std::function<bool()> source;
  return source;
}

}  // namespace

void InstallAccessibleFactory(QAccessible::InterfaceFactory factory) {
  static std::vector<QAccessible::InterfaceFactory> installed;
  if (std::find(installed.begin(), installed.end(), factory) != installed.end()) return;
  installed.push_back(factory);
  QAccessible::installFactory(factory);
}

void SetAccessibleChinese(std::function<bool()> chinese) { ChineseSource() = std::move(chinese); }

bool AccessibleChinese() { return ChineseSource() && ChineseSource()(); }

void NotifyAccessible(QObject* object, QAccessible::Event event) {
  if (!QAccessible::isActive() || !object) return;
  QAccessibleEvent e(object, event);
  QAccessible::updateAccessibility(&e);
}

}  // namespace kirrup

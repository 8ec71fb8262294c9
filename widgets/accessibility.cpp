// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgets/accessibility.h"

#include <QWidget>
#include <algorithm>
#include <vector>

namespace kirrup {

namespace {

AccessibleSink standIn = nullptr;

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

bool ReaderListening() { return standIn || QAccessible::isActive(); }

void SendAccessible(QAccessibleEvent& event) {
  if (standIn)
    standIn(&event);
  else
    QAccessible::updateAccessibility(&event);
}

void ListenAsReader(AccessibleSink sink) { standIn = sink; }

void NotifyAccessible(QObject* object, QAccessible::Event event) {
  if (!ReaderListening() || !object) return;
  QAccessibleEvent e(object, event);
  SendAccessible(e);
}

}  // namespace kirrup

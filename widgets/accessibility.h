// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Shared pieces of the accessible interfaces of the program's own windows. Qt asks the
// installed factories only when a reader (or Qt itself, for an event) wants an interface,
// so nothing here costs anything while no reader listens.
#include <QAccessible>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace kirrup {

// Adds a factory unless it is there already.
void InstallAccessibleFactory(QAccessible::InterfaceFactory factory);

// Whether the names are read in Chinese (the main dialog tells; English until then).
void SetAccessibleChinese(std::function<bool()> chinese);
bool AccessibleChinese();

// Whether a reader listens.
bool ReaderListening();
// Sends the event to the reader.
void SendAccessible(QAccessibleEvent& event);
// A stand-in reader for tests on a platform without one: it listens and gets every event
// (null: Qt's own again).
using AccessibleSink = void (*)(QAccessibleEvent*);
void ListenAsReader(AccessibleSink sink);

// Tells the reader about a change of the object, only while one listens: asking Qt for
// the interface otherwise builds it for nothing.
void NotifyAccessible(QObject* object, QAccessible::Event event);

inline QString ToQString(const std::u16string& s) { return QString::fromStdU16String(s); }

}  // namespace kirrup

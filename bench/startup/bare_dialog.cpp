// SPDX-License-Identifier: GPL-2.0-or-later
// The yardstick of the start-up benchmark: a bare Qt dialog program with a few controls,
// shown as soon as the application object exists.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QComboBox(&dialog));
  layout->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
  dialog.resize(320, 200);
  return dialog.exec();
}

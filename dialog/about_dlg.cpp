// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog/main_dialog_model.h"
#include "widgets/svg_image.h"

CAboutDlg::CAboutDlg(bool chinese, QWidget* parent) : QDialog(parent) {
  const kirrup::AboutTexts& texts = kirrup::AboutTextsFor(chinese);
  setWindowTitle(QString::fromUtf8(texts.caption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  auto* icon = new QLabel(this);
  icon->setObjectName("icon");
  // The program's own icon, as the window and the logo show it.
  icon->setPixmap(kirrup::SvgPixmap("icon", QSize(40, 40), std::max<qreal>(1.0, devicePixelRatioF())));
  auto* title = new QLabel(QString::fromUtf8(texts.version), this);
  title->setObjectName("version");
  auto* maker = new QLabel(QStringLiteral("Made by the Kirrup developers"), this);
  maker->setObjectName("maker");
  auto* ok = new QPushButton(QString::fromUtf8(texts.ok), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* lines = new QVBoxLayout;
  lines->addWidget(title);
  lines->addWidget(maker);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(lines, 1);
  top->addSpacing(12);
  top->addWidget(ok, 0, Qt::AlignTop);
  auto* root = new QVBoxLayout(this);
  root->addLayout(top);
  root->setSizeConstraint(QLayout::SetFixedSize);
}

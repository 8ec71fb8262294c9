// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/svg_image.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("关于 Kirrup"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  auto* icon = new QLabel(this);
  icon->setObjectName("icon");
  // The program's own icon, as the window and the logo show it.
  icon->setPixmap(kirrup::SvgPixmap("icon", QSize(40, 40), std::max<qreal>(1.0, devicePixelRatioF())));
  auto* title = new QLabel(QStringLiteral("Kirrup，V2.0"), this);
  title->setObjectName("version");
  auto* maker = new QLabel(QStringLiteral("Made by the Kirrup developers"), this);
  maker->setObjectName("maker");
  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(maker);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);
  top->addSpacing(12);
  top->addWidget(ok, 0, Qt::AlignTop);
  auto* root = new QVBoxLayout(this);
  root->addLayout(top);
  root->setSizeConstraint(QLayout::SetFixedSize);
}

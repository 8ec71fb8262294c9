// SPDX-License-Identifier: GPL-2.0-or-later
// A second yardstick of the start-up benchmark: a plain Qt dialog of the program's size
// with the controls the program's first picture shows (26 combo boxes, 21 buttons, 20
// labels, 12 line windows and the like), and none of its work: what these controls cost
// Qt alone, against which the program's own start-up work is seen.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

namespace {

// Stands for a window the program paints itself (line windows, picker, simulation, meter).
class Painted : public QWidget {
 public:
  Painted(QWidget* parent, QRect at, QColor colour) : QWidget(parent), colour_(colour) { setGeometry(at); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), colour_);
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QColor colour_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Controls"));
  dialog.setFixedSize(1117, 607);
  auto* band = new QFrame(&dialog);
  band->setFrameShape(QFrame::StyledPanel);
  band->setGeometry(0, 0, 1117, 44);
  auto* language = new QComboBox(&dialog);
  language->addItems({QStringLiteral("English"), QStringLiteral("Chinese")});
  language->setGeometry(8, 10, 140, 24);
  auto* ledType = new QComboBox(&dialog);
  ledType->addItems({QStringLiteral("7 LEDs"), QStringLiteral("11 LEDs"), QStringLiteral("16 LEDs")});
  ledType->setGeometry(160, 10, 100, 24);
  QFont bold = dialog.font();
  bold.setBold(true);
  const char* headers[] = {"Line", "Text", "Open Option", "Close Option", "Symbols"};
  for (int k = 0; k < 5; ++k) {
    auto* header = new QLabel(QString::fromLatin1(headers[k]), &dialog);
    header->setFont(bold);
    header->setGeometry(10 + k * 150, 50, 140, 20);
  }
  auto* list = new QFrame(&dialog);
  list->setFrameShape(QFrame::Box);
  list->setGeometry(8, 72, 770, 440);
  QStringList effects;
  for (int i = 0; i < 12; ++i) effects << QStringLiteral("Effect %1").arg(i + 1);
  for (int row = 0; row < 12; ++row) {
    const int y = 76 + row * 36;
    auto* number = new QLabel(QString::number(row + 1), &dialog);
    number->setAlignment(Qt::AlignCenter);
    number->setGeometry(12, y, 20, 26);
    new Painted(&dialog, QRect(36, y, 420, 26), Qt::white);
    auto* txt = new QPushButton(QStringLiteral("TXT"), &dialog);
    txt->setGeometry(460, y, 40, 26);
    txt->setEnabled(row == 0);
    for (int c = 0; c < 2; ++c) {
      auto* effect = new QComboBox(&dialog);
      effect->addItems(effects);
      effect->setGeometry(504 + c * 124, y, 120, 26);
      effect->setEnabled(row == 0);
    }
  }
  auto* scroll = new QScrollBar(Qt::Vertical, &dialog);
  scroll->setGeometry(760, 76, 16, 432);
  new Painted(&dialog, QRect(8, 516, 770, 84), QColor(0xf0, 0xf0, 0xf0));  // symbol picker
  new Painted(&dialog, QRect(790, 52, 200, 200), Qt::black);                 // simulation
  new Painted(&dialog, QRect(790, 500, 318, 24), QColor(0xe0, 0xf0, 0xe0));  // meter
  const char* buttons[] = {"Open", "Save", "Clear", "Start", "Stop", "Colour", "Send", "Exit", "Font"};
  for (int k = 0; k < 9; ++k) {
    auto* button = new QPushButton(QString::fromLatin1(buttons[k]), &dialog);
    button->setGeometry(790 + (k % 3) * 106, 290 + (k / 3) * 34, 100, 28);
  }
  auto* note = new QGroupBox(QStringLiteral("Note"), &dialog);
  note->setGeometry(790, 400, 318, 90);
  const char* notes[] = {"With the built-in font:", "each line takes up to 18 Latin characters",
                         "or 12/9 Chinese characters."};
  for (int k = 0; k < 3; ++k) {
    auto* line = new QLabel(QString::fromLatin1(notes[k]), note);
    line->setGeometry(10, 20 + k * 20, 300, 18);
  }
  auto* progress = new QProgressBar(&dialog);
  progress->setRange(1, 100);
  progress->reset();
  progress->setGeometry(790, 530, 318, 18);
  return dialog.exec();
}

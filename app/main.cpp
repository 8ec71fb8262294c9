#include <QApplication>
#include <QDialog>
#include <QPushButton>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dlg;
  dlg.setWindowTitle("Kirrup");
  QPushButton exit("Exit", &dlg);
  QObject::connect(&exit, &QPushButton::clicked, &dlg, &QDialog::accept);
  return dlg.exec() == QDialog::Accepted ? 0 : 0;
}

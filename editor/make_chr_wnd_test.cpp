#include <QtTest>
class Placeholder : public QObject { Q_OBJECT private slots: void none() {} };
QTEST_MAIN(Placeholder)
#include "make_chr_wnd_test.moc"

// SPDX-License-Identifier: GPL-2.0-or-later
#include <QElapsedTimer>
#include <QScreen>
#include <QtTest/QtTest>
#include <vector>

#include "dialog/demo_wnd.h"

using kirrup::DemoRowInput;

namespace {

class RecordingSink : public kirrup::platform::MessageSink {
 public:
  void Show(kirrup::platform::MessageIcon, const std::string&, const std::string& text) override {
    shown.push_back(text);
  }
  std::vector<std::string> shown;
};

DemoRowInput Row(int width, int open, int close) {
  DemoRowInput r;
  r.enabled = true;
  r.itemCount = width > 0 ? 1 : 0;
  r.width = width;
  r.height = width > 0 ? 7 : 0;
  r.maxWidth = 108;
  r.ledType = 0;
  r.strip = kirrup::platform::Bitmap1(156, 16);
  r.strip.FillRect({0, 0, width, 7}, true);
  r.open = open;
  r.close = close;
  return r;
}

QImage Client(CDemoWnd& w) { return w.grab(w.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32); }

int Count(const QImage& img, QRgb c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
  return n;
}

void Tick(CDemoWnd& w) { QVERIFY(QMetaObject::invokeMethod(&w, "OnTick")); }

}  // namespace

class DemoWndTest : public QObject {
  Q_OBJECT

 private slots:
  void clientAreaIsThePictureSizeInsideABorder() {
    CDemoWnd w;
    QCOMPARE(w.contentsRect().size(), QSize(192, 192));
    QVERIFY(w.frameWidth() > 0);
    QVERIFY(!w.ticking());
    // White around the toy lets the window's own background show.
    const QImage img = Client(w);
    QCOMPARE(img.pixel(0, 0) & 0xFFFFFF, w.palette().color(w.backgroundRole()).rgb() & 0xFFFFFF);
    QVERIFY((img.pixel(96, 40) & 0xFFFFFF) != 0xFFFFFF);
  }

  void pictureDrawnAheadIsThePictureDrawnAtOnce() {
    CDemoWnd drawn;  // nothing prepared: the window draws its own
    CDemoWnd::PreparePicture();
    CDemoWnd taken;  // takes the one drawn on the other thread
    CDemoWnd later;  // that one is gone: draws its own again
    QCOMPARE(taken.ClientImage(), drawn.ClientImage());
    QCOMPARE(later.ClientImage(), drawn.ClientImage());
  }

  void startWithoutDataSaysSoAndStaysStopped() {
    CDemoWnd w;
    RecordingSink sink;
    const std::vector<DemoRowInput> rows = {Row(0, 0, 0), Row(0, 0, 0)};
    QVERIFY(!w.Start(rows, false, sink));
    QCOMPARE(sink.shown, std::vector<std::string>{"No data!"});
    QVERIFY(!w.ticking());
    QVERIFY(!w.engine().running());
  }

  void colourChangeShowsAtTheNextTick() {
    CDemoWnd w;
    RecordingSink sink;
    w.SetLedColor(0x0000FF);
    const std::vector<DemoRowInput> rows = {Row(40, 6, 0)};
    QVERIFY(w.Start(rows, false, sink));
    QVERIFY(w.ticking());
    Tick(w);
    const QImage red = Client(w);
    QVERIFY(Count(red, qRgb(255, 0, 0)) > 100);
    w.SetLedColor(0x00FF00);
    Tick(w);
    const QImage green = Client(w);
    QCOMPARE(Count(green, qRgb(255, 0, 0)), 0);
    QCOMPARE(Count(green, qRgb(0, 255, 0)), Count(red, qRgb(255, 0, 0)));
  }

  void timerPlaysAndPauseDoesNotBlock() {
    CDemoWnd w;
    RecordingSink sink;
    // "Up to Down" then "From down to up" on 7 LEDs: 39 ticks, then the pause.
    const std::vector<DemoRowInput> rows = {Row(6, 2, 2)};
    QVERIFY(w.Start(rows, false, sink));
    QTRY_VERIFY_WITH_TIMEOUT(w.engine().state().re > 0, 1000);  // the 100 ms timer runs
    for (int t = 0; t < 45 && !w.pausing(); ++t) Tick(w);
    QVERIFY(w.pausing());
    QVERIFY(!w.ticking());
    QCOMPARE(w.engine().state().re, 0);
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(!w.pausing(), 2000);
    QVERIFY(clock.elapsed() >= 450);
    QVERIFY(w.ticking());
    QCOMPARE(w.engine().currentScene(), 0);
    QCOMPARE(w.engine().state().phase, 0);
  }

  void stopThenRepaintShowsTheToyAlone() {
    CDemoWnd stoppedFromStart;
    const QImage toy = Client(stoppedFromStart);
    CDemoWnd w;
    RecordingSink sink;
    const std::vector<DemoRowInput> rows = {Row(40, 6, 0)};
    QVERIFY(w.Start(rows, false, sink));
    Tick(w);
    QVERIFY(Client(w) != toy);
    w.Stop();
    QVERIFY(!w.ticking());
    QVERIFY(!w.engine().playing());
    QCOMPARE(Client(w), toy);
    Tick(w);  // a late tick changes nothing
    QCOMPARE(Client(w), toy);
    // Start again plays from the first scene.
    QVERIFY(w.Start(rows, false, sink));
    QVERIFY(w.ticking());
    QCOMPARE(w.engine().currentScene(), 0);
  }

  // Uncovering a window shows what its last paint left in the window system's image.
  void stopLeavesTheToyAloneForTheNextUncovering() {
    CDemoWnd stoppedFromStart;
    const QImage toy = Client(stoppedFromStart);
    CDemoWnd w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto shown = [&w] {
      QCoreApplication::processEvents();
      return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32).copy(w.contentsRect());
    };
    RecordingSink sink;
    const std::vector<DemoRowInput> rows = {Row(40, 6, 0)};
    QVERIFY(w.Start(rows, false, sink));
    Tick(w);
    QVERIFY(shown() != toy);
    w.Stop();
    QCOMPARE(shown(), toy);
  }
};

QTEST_MAIN(DemoWndTest)
#include "demo_wnd_test.moc"

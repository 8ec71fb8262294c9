// SPDX-License-Identifier: GPL-2.0-or-later
// A row's TXT button to the character editor's window shown and painted, in the running
// main dialog: a full 16-LED line (144 x 16 cells) and a 180-column 11-LED line, at the
// default cell size. Each iteration opens the hidden editor and waits until its window
// has painted; then it is hidden again; first_open_ms is the first opening alone. Needs
// a display (run under xvfb-run, as the start-up benchmark); without one it uses Qt's
// offscreen platform:
//   xvfb-run -a build/bench/kirrup_bench --benchmark_filter=TxtToEditor --benchmark_repetitions=5
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/application.h"
#include "dialog/rotavu_dlg.h"
#include "editor/make_chr_wnd.h"
#include "lines/led_type.h"
#include "lines/message_line.h"

static void InitResources() { Q_INIT_RESOURCE(kirrup); }

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "kirrup_bench";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    InitResources();
    return a;
  }();
  return *app;
}

// Notes the first paint of any widget of one window.
class PaintWatch : public QObject {
 public:
  QWidget* window = nullptr;
  bool painted = false;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == window)
      painted = true;
    return false;
  }
};

// Row 1 filled with records of `width` columns until the line holds `columns` columns.
void FillRow(kirrup::MessageLine& line, int width, int columns) {
  const int height = line.height();
  const int bytesPerColumn = (height + 7) / 8;
  for (int x = 0; x + width <= columns; x += width) {
    kirrup::CharColumns rec{};
    rec.code = static_cast<uint16_t>(0x4E00 + x);
    rec.width = width;
    rec.height = height;
    rec.byteCount = static_cast<uint8_t>(width * bytesPerColumn);
    for (int i = 0; i < rec.byteCount; ++i) rec.columns[static_cast<size_t>(i)] = static_cast<uint8_t>((x * 7 + i * 13) & 0xFF);
    line.InsertRecord(rec);
    line.MoveCaret(+1, false);
  }
}

void OpenEditor(benchmark::State& state, int ledType, int recordWidth, int columns) {
  App();
  kirrup::Application app;
  app.settings.ledType = ledType;
  app.settings.ledScrW11 = 180;
  kirrup::ApplyLedTypeSettings(app.settings);
  auto dlg = std::make_unique<CRotavuDlg>(&app);
  dlg->show();
  kirrup::MessageLine& line = dlg->rows()[0].line;
  FillRow(line, recordWidth, columns);
  if (line.LineEnd() != columns) {
    state.SkipWithError("the line did not fill");
    return;
  }
  // The dialog shown and its deferred work done, as a user finds it.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);
  kirrup::CMakeChrWnd* editor = dlg->charEditor();
  PaintWatch watch;
  watch.window = editor;
  qApp->installEventFilter(&watch);
  double first = -1;  // the first opening pays for what is drawn or laid out once
  for (auto _ : state) {
    watch.painted = false;
    const auto start = std::chrono::steady_clock::now();
    dlg->OnCommand(CRotavuDlg::kTxtButton);
    // The pass that paints the window also sends its picture; it ends before this returns.
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    if (first < 0) first = seconds;
    state.SetIterationTime(seconds);
    state.PauseTiming();
    editor->hide();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    state.ResumeTiming();
  }
  qApp->removeEventFilter(&watch);
  state.counters["board_cells_across"] = editor->editor().geometry().width();
  state.counters["first_open_ms"] = first * 1000;
  dlg.reset();
  kirrup::ResetLedTypeTable();
}

void BM_TxtToEditorPainted_Full16LedLine(benchmark::State& state) { OpenEditor(state, kirrup::kLed16, 16, 144); }
void BM_TxtToEditorPainted_Wide11LedLine(benchmark::State& state) { OpenEditor(state, kirrup::kLed11, 15, 180); }

BENCHMARK(BM_TxtToEditorPainted_Full16LedLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_TxtToEditorPainted_Wide11LedLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

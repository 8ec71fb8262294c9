// SPDX-License-Identifier: GPL-2.0-or-later
#include <benchmark/benchmark.h>

#include <vector>

#include "dialog/demo_engine.h"
#include "res/demo_picture.h"

namespace {

// One frame of the simulation for a full 16-LED line with every dot lit: the worst case
// of the 100 ms tick.
void BM_DemoPaintFull16LedLine(benchmark::State& state) {
  kirrup::DemoRowInput row;
  row.enabled = true;
  row.itemCount = 9;
  row.width = 144;
  row.height = 16;
  row.maxWidth = 144;
  row.ledType = 2;
  row.open = 6;  // "All display": the whole line is visible from the start
  row.strip = kirrup::platform::Bitmap1(156, 16);
  row.strip.Fill(true);
  kirrup::DemoEngine engine(kirrup::DrawDemoPicture());
  engine.Start(kirrup::BuildPlayList(std::vector<kirrup::DemoRowInput>{row}, false));
  kirrup::platform::RgbImage frame;
  for (auto _ : state) {
    engine.Paint(frame, 0x0000FF);
    benchmark::DoNotOptimize(frame);
  }
}
BENCHMARK(BM_DemoPaintFull16LedLine)->Unit(benchmark::kMicrosecond);

// The picture the simulation window draws on every start.
void BM_DrawDemoPicture(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kirrup::DrawDemoPicture());
}
BENCHMARK(BM_DrawDemoPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

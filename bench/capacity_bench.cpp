// SPDX-License-Identifier: GPL-2.0-or-later
// The toy's memory meter after a keystroke: the character typed into a row, then the
// device image built again for the meter and its texts, with the other eleven rows full.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "device/capacity.h"
#include "lines/line_editor.h"
#include "lines/line_room.h"
#include "lines/line_test_support.h"
#include "lines/message_rows.h"

namespace kirrup {
namespace {

// Rows 2..12 full of 6-column characters, row 1 empty.
std::unique_ptr<MessageRows> RowsToTypeInto(int type, int middle, testing::FakeGlyphs& glyphs) {
  auto rows = std::make_unique<MessageRows>(type);
  rows->SetGlyphSource(&glyphs);
  rows->useMiddleOption = middle;
  for (int r = 0; r < MessageRows::kCount; ++r) {
    MessageRow& row = (*rows)[r];
    row.enabled = true;
    if (r == 0) continue;  // the row typed into
    while (row.line.RenderAndInsert(static_cast<uint16_t>('a' + r), false)) row.line.MoveCaret(+1, false);
  }
  return rows;
}

// range(0): LED type; range(1): 1 with middle options.
void EveryTypeAndMiddle(benchmark::internal::Benchmark* b) {
  b->ArgNames({"type", "middle"})->Args({kLed7, 0})->Args({kLed11, 0})->Args({kLed16, 0})->Args({kLed16, 1});
}

// The meter alone: the image built and the texts made.
void BM_CapacityMeasure(benchmark::State& state) {
  testing::FakeGlyphs glyphs;
  const auto rows = RowsToTypeInto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), glyphs);
  CapacityMeter meter;
  for (auto _ : state) {
    const Capacity c = meter.Measure(*rows);
    std::string texts = CapacityCaption(c, false) + CapacityNumbers(c, false) + CapacityDescription(c, false);
    benchmark::DoNotOptimize(texts.data());
  }
}
BENCHMARK(BM_CapacityMeasure)
    ->Apply(EveryTypeAndMiddle);

// The meter after a keystroke into row 1.
void BM_CapacityMeterAfterKeystroke(benchmark::State& state) {
  testing::FakeGlyphs glyphs;
  const auto rows = RowsToTypeInto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), glyphs);
  LineEditor editor((*rows)[0].line);
  CapacityMeter meter;
  for (auto _ : state) {
    editor.Char('K', false);
    const Capacity c = meter.Measure(*rows);
    std::string texts = CapacityCaption(c, false) + CapacityNumbers(c, false) + CapacityDescription(c, false) +
                        ColumnsText((*rows)[0].line, false);
    benchmark::DoNotOptimize(texts.data());
    state.PauseTiming();
    editor.Char(8, false);  // take it out again
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CapacityMeterAfterKeystroke)
    ->Apply(EveryTypeAndMiddle);

}  // namespace
}  // namespace kirrup

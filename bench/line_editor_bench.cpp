// SPDX-License-Identifier: GPL-2.0-or-later
// A keystroke in a line window up to the repainted picture: typing (undo snapshot,
// glyph, insertion, caret) and painting the whole window.
#include <benchmark/benchmark.h>

#include "lines/line_editor.h"
#include "lines/line_test_support.h"

namespace kirrup {
namespace {

// type: LED type; range(1): characters already in the line (the keystroke goes first,
// so every later character moves).
void BM_LineKeystrokeToPicture(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const int before = static_cast<int>(state.range(1));
  testing::FakeGlyphs glyphs;
  MessageLine line;
  line.SetGlyphSource(&glyphs);
  LineEditor editor(line);
  line.SetLedType(type, false);
  const LedTypeInfo& row = LedTypeRow(type);
  editor.Resize(row.zoomX * (row.maxWidth + 2 * line.barWidth + 4) + 2, line.PreferredHeight());
  for (int i = 0; i < before; ++i) editor.Char(static_cast<uint16_t>('a' + i % 26), false);
  platform::RgbImage picture;
  for (auto _ : state) {
    editor.KeyDown(LineKey::Home, false);
    editor.Char('K', false);
    editor.Paint(picture, true, platform::Rgb(240, 240, 240), platform::Rgb(109, 109, 109));
    benchmark::DoNotOptimize(picture.pixels().data());
    state.PauseTiming();
    editor.Char(8, false);  // take it out again
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LineKeystrokeToPicture)
    ->ArgNames({"type", "chars"})
    ->Args({kLed7, 0})
    ->Args({kLed7, 16})
    ->Args({kLed16, 0})
    ->Args({kLed16, 22});

}  // namespace
}  // namespace kirrup

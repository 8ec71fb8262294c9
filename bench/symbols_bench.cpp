// SPDX-License-Identifier: GPL-2.0-or-later
// The symbol picker's Fill(255) and the installed font families the font chooser lists.
#include <benchmark/benchmark.h>

#include "fonts/font_engine.h"
#include "fonts/font_list.h"
#include "fonts/key_grid.h"
#include "lines/led_type.h"
#include "platform/font_families.h"

namespace {

kirrup::FontEngine& Engine() {
  static kirrup::FontEngine* fonts = [] {
    auto* f = new kirrup::FontEngine;
    f->LoadLibraries(KIRRUP_BIN_DIR);
    f->systemFontName = u"DejaVu Sans";
    f->CreateLedFonts();
    return f;
  }();
  return *fonts;
}

// Arguments: LED type, built-in switch (1 libraries, 0 system font).
void BM_KeyGridFill(benchmark::State& state) {
  kirrup::FontEngine& fonts = Engine();
  fonts.builtInSwitch = static_cast<int>(state.range(1));
  kirrup::KeyGrid grid;
  grid.Layout(502, 126);
  for (auto _ : state) {
    grid.Fill(fonts, 255, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(grid.glyphCount());
  }
  state.counters["glyphs"] = grid.glyphCount();
}
BENCHMARK(BM_KeyGridFill)
    ->ArgsProduct({{0, 1, 2}, {1, 0}})
    ->ArgNames({"type", "builtIn"})
    ->Unit(benchmark::kMillisecond);

// A cold start of the system font path: the LED font made again before the fill.
void BM_KeyGridFillNewSystemFont(benchmark::State& state) {
  kirrup::FontEngine& fonts = Engine();
  fonts.builtInSwitch = 0;
  kirrup::KeyGrid grid;
  for (auto _ : state) {
    fonts.CreateLedFont(kirrup::kLed16);
    grid.Fill(fonts, 255, kirrup::kLed16);
  }
}
BENCHMARK(BM_KeyGridFillNewSystemFont)->Unit(benchmark::kMillisecond);

void BM_EnumerateFontFamilies(benchmark::State& state) {
  size_t families = 0;
  for (auto _ : state) {
    kirrup::FontList list;
    list.AddInstalledFamilies();
    families = list.Fill().size();
  }
  state.counters["families"] = static_cast<double>(families);
}
BENCHMARK(BM_EnumerateFontFamilies)->Unit(benchmark::kMillisecond);

}  // namespace

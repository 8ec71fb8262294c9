// SPDX-License-Identifier: GPL-2.0-or-later
#include <benchmark/benchmark.h>

#include <string>

#include "fonts/font_engine.h"
#include "lines/led_type.h"

namespace {

using kirrup::CharColumns;
using kirrup::FontEngine;

// The build tree is a program folder: its LIB/ holds the generated font data.
FontEngine& Fonts() {
  static FontEngine* fonts = [] {
    auto* f = new FontEngine;
    f->LoadLibraries(KIRRUP_BIN_DIR);
    f->CreateLedFonts();
    return f;
  }();
  return *fonts;
}

void BM_BuiltInGlyph(benchmark::State& state) {
  FontEngine& f = Fonts();
  f.builtInSwitch = 1;
  for (auto _ : state) {
    CharColumns r;
    benchmark::DoNotOptimize(f.RenderGlyph(kirrup::kLed16, 'A', r));
  }
}
BENCHMARK(BM_BuiltInGlyph);

// Open, seek, read and close of the glyph file.
void BM_UserFontLookup(benchmark::State& state) {
  FontEngine& f = Fonts();
  f.builtInSwitch = 1;
  for (auto _ : state) {
    CharColumns r;
    benchmark::DoNotOptimize(f.RenderGlyph(kirrup::kLed16, 0x4E2D, r));
  }
}
BENCHMARK(BM_UserFontLookup);

void BM_SystemFontGlyph(benchmark::State& state) {
  FontEngine& f = Fonts();
  f.builtInSwitch = 0;
  uint16_t code = 'A';
  for (auto _ : state) {
    CharColumns r;
    benchmark::DoNotOptimize(f.RenderGlyph(kirrup::kLed16, code, r));
    code = code == 'Z' ? 'A' : code + 1;
  }
  f.builtInSwitch = 1;
}
BENCHMARK(BM_SystemFontGlyph);

// What the symbol picker does after the system font changed: a new LED font, then codes 1..255.
void BM_SystemFont255AfterFontChange(benchmark::State& state) {
  FontEngine& f = Fonts();
  f.builtInSwitch = 0;
  const int type = static_cast<int>(state.range(0));
  for (auto _ : state) {
    f.CreateLedFont(type);
    for (int code = 1; code <= 255; ++code) {
      CharColumns r;
      benchmark::DoNotOptimize(f.RenderGlyph(type, static_cast<uint16_t>(code), r));
    }
  }
  f.builtInSwitch = 1;
}
BENCHMARK(BM_SystemFont255AfterFontChange)->Arg(kirrup::kLed7)->Arg(kirrup::kLed16)->Unit(benchmark::kMillisecond);

// The same 255 glyphs again with the font already in use.
void BM_SystemFont255(benchmark::State& state) {
  FontEngine& f = Fonts();
  f.builtInSwitch = 0;
  const int type = static_cast<int>(state.range(0));
  for (auto _ : state)
    for (int code = 1; code <= 255; ++code) {
      CharColumns r;
      benchmark::DoNotOptimize(f.RenderGlyph(type, static_cast<uint16_t>(code), r));
    }
  f.builtInSwitch = 1;
}
BENCHMARK(BM_SystemFont255)->Arg(kirrup::kLed7)->Arg(kirrup::kLed16)->Unit(benchmark::kMillisecond);

}  // namespace

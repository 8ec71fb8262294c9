// SPDX-License-Identifier: GPL-2.0-or-later
#include <benchmark/benchmark.h>

#include "platform/raster.h"

namespace {

// Moving a run of columns through the scratch strip is the hot step of inserting into a line.
void BM_StripColumnMove(benchmark::State& state) {
  kirrup::platform::Bitmap1 strip(180, 16), scratch(180, 16);
  for (auto _ : state) {
    scratch.CopyFrom(strip, 10, 0, 150, 16, 0, 0);
    strip.CopyFrom(scratch, 0, 0, 150, 16, 18, 0);
    benchmark::DoNotOptimize(strip);
  }
}
BENCHMARK(BM_StripColumnMove);

}  // namespace

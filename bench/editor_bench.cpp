// SPDX-License-Identifier: GPL-2.0-or-later
// The character editor: a pointer move with the point tool, a whole board painted at each
// cell size, and a full 16-LED line put on the board.
#include <benchmark/benchmark.h>

#include "editor/char_editor.h"
#include "lines/message_line.h"

namespace kirrup {
namespace {

// A 16-LED line of nine 16-column characters: 144 columns, the widest 16-LED line.
void FillLine(MessageLine& line) {
  line.SetLedType(kLed16, false);
  for (int c = 0; c < 9; ++c) {
    CharColumns rec{};
    rec.code = static_cast<uint16_t>(0x4E00 + c);
    rec.width = 16;
    rec.height = 16;
    rec.byteCount = 32;
    for (int i = 0; i < 32; ++i) rec.columns[static_cast<size_t>(i)] = static_cast<uint8_t>((c * 7 + i * 13) & 0xFF);
    line.InsertRecord(rec);
    line.MoveCaret(+1, false);
  }
}

// Drags the point tool to and fro along a row of the board at 10 pixels per cell; each
// iteration is one move: the segment drawn, its cells repainted, the line updated.
void BM_PointToolMoveCell10(benchmark::State& state) {
  CharEditor ed;
  MessageLine line;
  FillLine(line);
  ed.SetSectionsFor(line);
  ed.LoadLine(0, line);
  ed.ResizeBoard(10, line.LineEnd(), line.height());
  ed.board().Press(MouseButton::Left, {5, 5});
  int x = 0, step = 7;
  for (auto _ : state) {
    x += step;
    if (x < 0 || x >= 1440) step = -step, x += 2 * step;
    ed.board().Move(true, false, {x, 5 + (x / 10) % 16 * 10});
  }
  ed.board().Release(MouseButton::Left, {x, 5});
}
BENCHMARK(BM_PointToolMoveCell10);

void BM_PaintWholeBoard(benchmark::State& state) {
  CharEditor ed;
  MessageLine line;
  FillLine(line);
  ed.SetSectionsFor(line);
  ed.LoadLine(0, line);
  ed.ResizeBoard(static_cast<int>(state.range(0)), line.LineEnd(), line.height());
  for (auto _ : state) {
    ed.board().PaintAll();
    benchmark::DoNotOptimize(ed.board().canvas().pixels().data());
  }
}
BENCHMARK(BM_PaintWholeBoard)->Arg(4)->Arg(6)->Arg(8)->Arg(10);

void BM_LoadFull16LedLine(benchmark::State& state) {
  CharEditor ed;
  MessageLine line;
  FillLine(line);
  ed.SetSectionsFor(line);
  for (auto _ : state) ed.LoadLine(0, line);
}
BENCHMARK(BM_LoadFull16LedLine);

}  // namespace
}  // namespace kirrup

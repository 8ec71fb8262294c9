// SPDX-License-Identifier: GPL-2.0-or-later
// The character editor's selection: one move step of a floating selection at 10 pixels
// per cell, a hollow of a full 160 x 32 selection, and undo of a full board.
#include <benchmark/benchmark.h>

#include "editor/board_commands.h"
#include "editor/board_transforms.h"
#include "editor/char_editor.h"

namespace kirrup {
namespace {

// A board of width x 32 cells, sections of 16 x 16, a pattern drawn on it.
void Prepare(CharEditor& ed, int width, int cellSize) {
  ed.geometry().sectionWidth = 16;
  ed.geometry().sectionHeight = 16;
  ed.ResizeBoard(cellSize, width, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < width; ++x) ed.image().Set(x, y, (x * 7 + y * 3) % 5 == 0);
  ed.mutableSettings().tool = kToolSelect;
  ed.board().PaintAll();
}

// Each iteration is one pointer move while a selection of range(0) x 16 cells is dragged:
// the underlay put back, the content laid at its new place, both places repainted with
// the frame, the line updated.
void BM_SelectionMoveStepCell10(benchmark::State& state) {
  CharEditor ed;
  Prepare(ed, 160, 10);
  const int w = static_cast<int>(state.range(0));
  BoardEditor& board = ed.board();
  board.Move(false, false, {5, 5});
  board.Press(MouseButton::Left, {5, 5});
  board.Move(true, false, {w * 10 - 5, 155});
  board.Release(MouseButton::Left, {w * 10 - 5, 155});
  board.Move(false, false, {15, 15});
  board.Press(MouseButton::Left, {15, 15});
  int x = 15, step = 7;
  for (auto _ : state) {
    x += step;
    if (x < 15 || x > 15 + (160 - w) * 10) step = -step, x += 2 * step;
    board.Move(true, false, {x, 15 + (x / 10) % 8});
  }
  board.Release(MouseButton::Left, {x, 15});
}
BENCHMARK(BM_SelectionMoveStepCell10)->Arg(16)->Arg(160)->Unit(benchmark::kMicrosecond);

// The transform alone on the floating buffer, and the command with the board laid again
// and repainted at 6 pixels per cell.
void BM_HollowFullSelection(benchmark::State& state) {
  platform::Bitmap1 b(360, 360);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 160; ++x) b.Set(x, y, (x / 4 + y / 4) % 2 == 0);
  for (auto _ : state) {
    Hollow(b, 160, 32);
    benchmark::DoNotOptimize(&b);
  }
}
BENCHMARK(BM_HollowFullSelection)->Unit(benchmark::kMicrosecond);

void BM_HollowCommandFullBoard(benchmark::State& state) {
  CharEditor ed;
  Prepare(ed, 160, 6);
  BoardCommands commands(ed);
  commands.Run(kCmdSelectAll);
  for (auto _ : state) commands.Run(kCmdHollow);
}
BENCHMARK(BM_HollowCommandFullBoard)->Unit(benchmark::kMicrosecond);

// Undo and redo in turn on a full 160 x 32 board: the swap with the slot, the layout,
// the whole board repainted, the line updated.
void BM_UndoFullBoard(benchmark::State& state) {
  CharEditor ed;
  Prepare(ed, 160, 6);
  BoardCommands commands(ed);
  ed.board().PushUndo();
  ed.image().Fill(true);
  bool undo = true;
  for (auto _ : state) {
    commands.Run(undo ? kCmdUndo : kCmdRedo);
    undo = !undo;
  }
}
BENCHMARK(BM_UndoFullBoard)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kirrup

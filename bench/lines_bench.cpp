// SPDX-License-Identifier: GPL-2.0-or-later
// Message rows: the device image and the LED data file for twelve full lines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "device/device_image.h"
#include "dialog/ldat_file.h"
#include "lines/message_rows.h"

namespace kirrup {
namespace {

// Twelve 16-LED lines of nine 16-column characters (144 columns each, the widest line).
std::unique_ptr<MessageRows> FullRows() {
  auto rows = std::make_unique<MessageRows>(kLed16);
  for (int r = 0; r < MessageRows::kCount; ++r) {
    MessageRow& row = (*rows)[r];
    row.enabled = true;
    row.openOption = r % 9;
    row.closeOption = r % 7;
    for (int c = 0; c < 9; ++c) {
      CharColumns rec{};
      rec.code = static_cast<uint16_t>(0x4E00 + r * 9 + c);
      rec.width = 16;
      rec.height = 16;
      rec.byteCount = 32;
      for (int i = 0; i < 32; ++i) rec.columns[i] = static_cast<uint8_t>((r * 31 + c * 7 + i * 13) & 0xFF);
      row.line.InsertRecord(rec);
      row.line.MoveCaret(+1, false);
    }
  }
  return rows;
}

void BM_DeviceImageTwelveFullLines(benchmark::State& state) {
  const auto rows = FullRows();
  DeviceImage image;
  for (auto _ : state) {
    benchmark::DoNotOptimize(image.Build(*rows));
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = image.length;
}
BENCHMARK(BM_DeviceImageTwelveFullLines);

void BM_LdatWriteTwelveFullLines(benchmark::State& state) {
  const auto rows = FullRows();
  size_t size = 0;
  for (auto _ : state) {
    const auto bytes = SerializeLdat(*rows);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_LdatWriteTwelveFullLines);

void BM_LdatReadTwelveFullLines(benchmark::State& state) {
  const auto bytes = SerializeLdat(*FullRows());
  auto rows = std::make_unique<MessageRows>(kLed7);
  LdatData data;
  for (auto _ : state) {
    ParseLdat(bytes, data);
    ApplyLdat(data, *rows);
    benchmark::DoNotOptimize(rows->rows().data());
  }
}
BENCHMARK(BM_LdatReadTwelveFullLines);

// Through the file system: the atomic save (with its flush to disk) and the open.
void BM_LdatFileSaveAndOpen(benchmark::State& state) {
  const auto rows = FullRows();
  const std::string path = "/tmp/kirrup-bench-" + std::to_string(::getpid()) + ".LDAT";
  LdatData data;
  for (auto _ : state) {
    WriteLdatFile(path, *rows);
    ReadLdatFile(path, data);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_LdatFileSaveAndOpen)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kirrup

// kirrup-cli show: the header of an LED data file and every stored line as dot art.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog/ldat_file.h"
#include "platform/utf.h"
#include "fonts/font_engine.h"
#include "tools/cli/cli.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {
namespace {

// Art is drawn from the records as stored, whatever their size; these only keep absurd
// records from flooding the terminal (nothing lies beyond 72 column bytes anyway).
constexpr int kArtMaxRows = 32;
constexpr int kArtMaxColumns = 576;

std::string Option(int value, int count) {
  return std::to_string(value) + (value < count ? "" : " (out of range)");
}

void ShowLine(const LdatData& data, int i) {
  const uint16_t word = data.header.effects[i];
  std::printf("line %d: open %s", i + 1, Option(data.useMiddle() ? word & 0x0F : word & 0xFF, kOpenOptionCount).c_str());
  if (data.useMiddle()) std::printf(", middle %s", Option((word >> 4) & 0x0F, kMiddleOptionCount).c_str());
  std::printf(", close %s (effect word 0x%04X), %d characters%s\n", Option(word >> 8, kCloseOptionCount).c_str(),
              word, data.header.counts[i], i < MessageRows::kCount ? "" : " (beyond row 12, not opened)");

  const auto records = data.LineRecords(i);
  int rows = 0;
  for (const CharColumns& r : records) rows = std::max(rows, std::clamp(r.height, 0, kArtMaxRows));
  std::vector<std::string> art(static_cast<size_t>(rows));
  std::string starts;
  for (const CharColumns& r : records) {
    const int w = std::clamp(r.width, 0, kArtMaxColumns);
    const int h = std::clamp(r.height, 0, kArtMaxRows);
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < rows; ++y) art[y] += y < h && r.Dot(r.width - 1 - x, r.height - 1 - y) ? '#' : '.';
      starts += x == 0 ? '|' : ' ';
    }
  }
  for (const std::string& row : art) std::printf("  %s\n", row.c_str());
  if (!records.empty()) std::printf("  %s\n", starts.c_str());
  int x = 0;
  for (size_t k = 0; k < records.size(); ++k) {
    const CharColumns& r = records[k];
    std::string text;
    if (r.code >= 0x20 && (r.code < 0xD800 || r.code > 0xDFFF) && r.code != 0x7F)
      text = " '" + platform::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(r.code))) + "'";
    std::printf("  %2zu: U+%04X%s column %d, width %d, height %d, %d bytes\n", k, r.code, text.c_str(), x, r.width,
                r.height, r.byteCount);
    x += std::clamp(r.width, 0, kArtMaxColumns);
  }
}

}  // namespace

int RunShowPng(const std::vector<std::string>& args);  // cmd_show_png.cpp

int RunShow(const std::vector<std::string>& args) {
  if (std::find(args.begin(), args.end(), "--png") != args.end()) return RunShowPng(args);
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') return Usage();
  FontEngine fonts;
  LoadProgramSettings(fonts);
  LdatData data;
  platform::StderrMessageSink sink;
  if (!OpenLdat(args[0], data, sink)) return 1;
  const LdatHeader& h = data.header;
  const int leds = h.ledType == 1 ? 11 : h.ledType == 2 ? 16 : 7;
  std::printf("magic: 0x%08X (%s)\n", h.magic, data.useMiddle() ? "middle options" : "no middle options");
  std::printf("LED type: %d (%d LEDs%s)\n", h.ledType, leds, h.ledType >= 0 && h.ledType <= 2 ? "" : ", out of range");
  std::printf("max width: %d\nheight: %d\n", h.maxWidth, h.height);
  std::printf("lines: %d", data.lineCount());
  if (h.lineCount != data.lineCount()) std::printf(" (stored %d)", h.lineCount);
  std::printf("\nrecords: %zu\n", data.records.size());
  for (int i = 0; i < data.lineCount(); ++i) ShowLine(data, i);
  return 0;
}

}  // namespace kirrup::cli

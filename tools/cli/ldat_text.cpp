// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/ldat_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

#include "device/capacity.h"
#include "lines/line_room.h"
#include "platform/utf.h"

namespace kirrup::cli {
namespace {

// Records taller than this are drawn cut (nothing lies beyond 72 column bytes anyway).
constexpr int kArtMaxRows = 32;

void Append(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* fmt, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, fmt);
  const int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n > 0) out.append(buf, static_cast<size_t>(std::min<int>(n, sizeof buf - 1)));
}

std::string Option(int value, int count) {
  return std::to_string(value) + (value < count ? "" : " (out of range)");
}

void LineText(const LdatData& data, const MessageRows& rows, int i, std::string& out) {
  const uint16_t word = data.header.effects[i];
  Append(out, "line %d: open %s", i + 1, Option(data.useMiddle() ? word & 0x0F : word & 0xFF, kOpenOptionCount).c_str());
  if (data.useMiddle()) Append(out, ", middle %s", Option((word >> 4) & 0x0F, kMiddleOptionCount).c_str());
  Append(out, ", close %s (effect word 0x%04X), %d characters", Option(word >> 8, kCloseOptionCount).c_str(), word,
         data.header.counts[i]);
  if (i >= MessageRows::kCount) {
    Append(out, " (beyond row 12, not opened)\n");
    return;
  }
  Append(out, ", %s\n", ColumnsText(rows[i].line, false).c_str());

  const auto stored = data.LineRecords(i);
  // Open stops at 50 characters, at the row's width and at the first record it refuses.
  const auto records = stored.first(std::min<size_t>(stored.size(), static_cast<size_t>(rows[i].line.itemCount())));
  int height = 0;
  for (const CharColumns& r : records) height = std::max(height, std::clamp(r.height, 0, kArtMaxRows));
  std::vector<std::string> art(static_cast<size_t>(height));
  std::string starts;
  for (const CharColumns& r : records) {
    const int h = std::clamp(r.height, 0, kArtMaxRows);
    for (int x = 0; x < r.width; ++x) {
      for (int y = 0; y < height; ++y) art[y] += y < h && r.Dot(r.width - 1 - x, r.height - 1 - y) ? '#' : '.';
      starts += x == 0 ? '|' : ' ';
    }
  }
  for (const std::string& row : art) Append(out, "  %s\n", row.c_str());
  if (!records.empty()) Append(out, "  %s\n", starts.c_str());
  int x = 0;
  for (size_t k = 0; k < records.size(); ++k) {
    const CharColumns& r = records[k];
    std::string text;
    if (r.code >= 0x20 && (r.code < 0xD800 || r.code > 0xDFFF) && r.code != 0x7F)
      text = " '" + platform::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(r.code))) + "'";
    Append(out, "  %2zu: U+%04X%s column %d, width %d, height %d, %d bytes\n", k, r.code, text.c_str(), x, r.width,
           r.height, r.byteCount);
    x += r.width;
  }
  if (stored.size() > records.size())
    Append(out, "  %zu more records not opened (the row is full or refuses the next one)\n",
           stored.size() - records.size());
}

}  // namespace

std::string LdatText(const LdatData& data) {
  const auto rows = std::make_unique<MessageRows>();
  ApplyLdat(data, *rows);
  return LdatText(data, *rows);
}

std::string LdatText(const LdatData& data, const MessageRows& rows) {
  const LdatHeader& h = data.header;
  const int leds = h.ledType == 1 ? 11 : h.ledType == 2 ? 16 : 7;
  std::string out;
  Append(out, "magic: 0x%08X (%s)\n", h.magic, data.useMiddle() ? "middle options" : "no middle options");
  Append(out, "LED type: %d (%d LEDs%s)\n", h.ledType, leds, h.ledType >= 0 && h.ledType <= 2 ? "" : ", out of range");
  Append(out, "max width: %d\nheight: %d\n", h.maxWidth, h.height);
  Append(out, "lines: %d", data.lineCount());
  if (h.lineCount != data.lineCount()) Append(out, " (stored %d)", h.lineCount);
  Append(out, "\nrecords: %zu\n", data.records.size());
  for (int i = 0; i < data.lineCount(); ++i) LineText(data, rows, i, out);
  const Capacity capacity = CapacityMeter().Measure(rows);
  Append(out, "device image: %d of %d bytes%s\n", capacity.bytes, Capacity::kLimit,
         capacity.Over() ? " over the limit" : "");
  return out;
}

}  // namespace kirrup::cli

// SPDX-License-Identifier: GPL-2.0-or-later
// The LED data file reader on arbitrary bytes: it either refuses the bytes and leaves the
// held data as it was, or gives data whose every line can be applied to the rows.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "dialog/ldat_file.h"

using namespace kirrup;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Same(const LdatData& a, const LdatData& b) {
  return a.header == b.header && a.records == b.records && a.firstRecord == b.firstRecord;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static LdatData held;
  static std::unique_ptr<MessageRows> rows = std::make_unique<MessageRows>(kLed7);
  const LdatData before = held;
  if (!ParseLdat(std::span<const uint8_t>(data, size), held)) {
    Check(Same(held, before));
    return 0;
  }
  const int n = held.lineCount();
  Check(n >= 0 && n <= LdatHeader::kMaxLines);
  for (int i = 0; i < n; ++i) Check(held.LineRecords(i).size() == static_cast<size_t>(held.header.counts[i]));
  ApplyLdat(held, *rows);
  for (int i = 0; i < MessageRows::kCount; ++i) {
    const MessageRow& row = (*rows)[i];
    Check(row.enabled == (i < n));
    Check(row.openOption >= 0 && row.openOption < kOpenOptionCount);
    Check(row.middleOption >= 0 && row.middleOption < kMiddleOptionCount);
    Check(row.closeOption >= 0 && row.closeOption < kCloseOptionCount);
    const MessageLine& line = row.line;
    Check(line.itemCount() <= MessageLine::kMaxItems && line.LineEnd() <= line.maxWidth());
    int x = 0;
    for (const CharItem& it : line.items()) {
      Check(it.x == x && it.width >= 1);
      x += it.width;
    }
  }
  // What was read saves again without trouble.
  Check(SerializeLdat(*rows).size() >= LdatHeader::kSize);
  return 0;
}

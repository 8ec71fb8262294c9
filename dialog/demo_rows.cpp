// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_rows.h"

namespace kirrup {

std::vector<DemoRowInput> DemoRowsFrom(MessageRows& rows) {
  std::vector<DemoRowInput> out;
  out.reserve(MessageRows::kCount);
  for (int i = 0; i < MessageRows::kCount; ++i) {
    MessageRow& row = rows[i];
    DemoRowInput in;
    in.row = i;
    in.enabled = row.enabled;
    in.itemCount = row.line.itemCount();
    in.strip = row.line.GetLineBitmap(in.height, in.width);
    in.maxWidth = row.line.maxWidth();
    in.ledType = row.line.type();
    in.open = row.openOption;
    in.middle = row.middleOption;
    in.close = row.closeOption;
    out.push_back(std::move(in));
  }
  return out;
}

}  // namespace kirrup

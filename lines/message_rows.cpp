// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/message_rows.h"

namespace kirrup {

MessageRows::MessageRows(int ledType) { ApplyLedType(ledType, true); }

void MessageRows::ApplyLedType(int type, bool rowReset) {
  ledType_ = (type >= 0 && type <= 2) ? type : kLed7;
  for (MessageRow& row : rows_) row.line.SetLedType(ledType_, true);
  if (rowReset) {
    for (int i = 0; i < kCount; ++i) rows_[i].enabled = i == 0;
  }
}

void MessageRows::Clear() {
  for (MessageRow& row : rows_) {
    if (!row.enabled) continue;
    row.line.ClearLine();
    row.ResetEffects();
  }
  for (int i = 0; i < kCount; ++i) rows_[i].enabled = i == 0;
}

int MessageRows::EnabledPrefix() const {
  int n = 0;
  while (n < kCount && rows_[n].enabled) ++n;
  return n;
}

void MessageRows::SetGlyphSource(GlyphSource* glyphs) {
  for (MessageRow& row : rows_) row.line.SetGlyphSource(glyphs);
}

}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The twelve rows of a message: each an enabled flag, a line and its three effect
// choices, together with the LED type and the use-middle-option flag they share.
// The main dialog's rows, the LED data file and the device image all work on this.
#include <array>

#include "lines/message_line.h"

namespace kirrup {

// Items of the three effect combo boxes.
inline constexpr int kOpenOptionCount = 9;
inline constexpr int kMiddleOptionCount = 4;
inline constexpr int kCloseOptionCount = 7;

struct MessageRow {
  bool enabled = false;  // a disabled row is always empty
  MessageLine line;
  int openOption = 0;    // 0..8
  int middleOption = 0;  // 0..3
  int closeOption = 0;   // 0..6

  void ResetEffects() { openOption = middleOption = closeOption = 0; }
};

class MessageRows {
 public:
  static constexpr int kCount = 12;

  // Applies the type with row reset: row 1 enabled and empty, the others disabled.
  explicit MessageRows(int ledType = kLed7);
  MessageRows(const MessageRows&) = delete;
  MessageRows& operator=(const MessageRows&) = delete;

  MessageRow& operator[](int i) { return rows_[i]; }
  const MessageRow& operator[](int i) const { return rows_[i]; }
  std::array<MessageRow, kCount>& rows() { return rows_; }
  const std::array<MessageRow, kCount>& rows() const { return rows_; }

  int ledType() const { return ledType_; }
  // Empties every line and resets it to the type (outside 0..2: 0). With row reset,
  // row 1 is enabled and rows 2..12 disabled; otherwise the enabled flags stay.
  void ApplyLedType(int type, bool rowReset);
  // The Clear command: every enabled row emptied with its effects at 0, then only row 1
  // enabled.
  void Clear();
  // Rows 1..n in order up to the first disabled one.
  int EnabledPrefix() const;

  void SetGlyphSource(GlyphSource* glyphs);

  int useMiddleOption = 0;

 private:
  int ledType_ = kLed7;
  std::array<MessageRow, kCount> rows_;
};

}  // namespace kirrup

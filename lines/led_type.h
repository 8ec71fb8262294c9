// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The three blade types and their line geometry. The table is program-wide: start-up
// replaces the 11-LED gap and line width from the settings before any line exists.
#include <array>
#include <cstdint>

namespace kirrup {

enum LedTypeIndex : int { kLed7 = 0, kLed11 = 1, kLed16 = 2 };

struct LedTypeInfo {
  int32_t index;
  std::array<char16_t, 10> name;  // zero-padded
  int32_t glyphWidth;    // nominal width of a built-in ASCII glyph
  int32_t height;        // LEDs on the blade = rows of a line
  int32_t gap;           // blank columns after a built-in or system-font character
  int32_t charsPerLine;
  int32_t maxWidth;      // most columns a line may use
  int32_t zoomX;         // screen pixels per dot on the line windows
  int32_t zoomY;

  bool operator==(const LedTypeInfo&) const = default;
};

using LedTypeTableRows = std::array<LedTypeInfo, 3>;

// The rows as built into the program.
const LedTypeTableRows& DefaultLedTypeTable();

// The table in force (mutable only through ApplyLed11Settings / ResetLedTypeTable).
const LedTypeTableRows& LedTypeTable();
// A type outside 0..2 is taken as 0.
const LedTypeInfo& LedTypeRow(int type);

// Start-up replacement of the 11-LED row's gap and maxWidth (values already clamped).
void ApplyLed11Settings(int gap, int maxWidth);
// Back to the built-in rows (tests).
void ResetLedTypeTable();

// Largest maxWidth / height of the rows in force: the fixed size of a line's strip.
int MaxLineWidth();
int MaxLineHeight();

}  // namespace kirrup

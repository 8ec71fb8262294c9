// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What a message line reads as text to assistive technology: one UTF-16 unit for each
// character of the line, so that text offsets are character indexes. A symbol code reads
// as the character its picture shows (a heart, an arrow, ...), any other control code as
// its control picture, and a surrogate without its partner as the replacement character.
#include <cstdint>
#include <string>

namespace kirrup {

class MessageLine;

// The character a symbol code's picture shows for the LED type, or 0 when the code is not
// one of the type's symbols (18..27 for 7 LEDs; 1..8, 11, 12, 14..18 for 11 and 16).
char16_t SymbolCharacter(int ledType, uint16_t code);
// The English word for that picture ("heart"), or an empty string.
std::u16string SymbolWord(int ledType, uint16_t code);
// The character one code reads as on its own (no surrogate pairing).
char16_t DisplayCharacter(int ledType, uint16_t code);

// The line as text, its caret and its selection (both bounds -1 when none is shown).
struct LineText {
  std::u16string text;
  int caret = 0;
  int selStart = -1;
  int selEnd = -1;

  bool HasSelection() const { return selStart >= 0 && selStart < selEnd; }
  bool operator==(const LineText&) const = default;
};

LineText ReadLineText(const MessageLine& line);

// What changed between two readings, as the events a reader wants: the text replaced
// at position (removed, inserted: the smallest differing middle part), and whether the
// caret moved or the selection changed.
struct LineTextChange {
  bool textChanged = false;
  int position = 0;
  std::u16string removed;
  std::u16string inserted;
  bool caretMoved = false;
  bool selectionChanged = false;

  bool operator==(const LineTextChange&) const = default;
};

LineTextChange CompareLineText(const LineText& before, const LineText& after);

}  // namespace kirrup

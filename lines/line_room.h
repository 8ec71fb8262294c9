// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How much of a line is used, and why a character was not taken. A refused character
// leaves the line as it was; these only explain it: the main dialog shows the room beside
// a row and a short cue when a typed or picked character did not fit, kirrup-cli compose
// names what it left out.
#include <cstdint>
#include <string>

#include "lines/message_line.h"

namespace kirrup {

enum class Refusal {
  None,               // it fits
  NoGlyph,            // code 0, or no glyph for this LED type and font
  TooManyCharacters,  // 50 characters already
  LineFull,           // every column of the line used
  TooWide,            // the glyph is wider than the columns left
};

// Why RenderAndInsert(code) refused on this line as it is now (asks it again in its test
// form, which changes nothing). Only meaningful right after a refusal: a code that would
// fit is reported as TooWide.
Refusal WhyCodeRefused(MessageLine& line, uint16_t code);
// Whether InsertRecord would take the record, and if not, why.
Refusal WhyRecordRefused(const MessageLine& line, const CharColumns& record);
// The line had no room for the character (as opposed to having no glyph for it).
inline bool NoRoom(Refusal r) {
  return r == Refusal::TooManyCharacters || r == Refusal::LineFull || r == Refusal::TooWide;
}

// "136 / 144 columns": the columns the line uses of its most.
std::string ColumnsText(const MessageLine& line, bool chinese);
// The cue for a character refused for want of room ("Line full: 144 / 144 columns"); empty
// for None and NoGlyph.
std::string RefusalCue(Refusal why, const MessageLine& line, bool chinese);
// A few words for kirrup-cli: "line full", "does not fit", "no glyph"; empty for None.
const char* RefusalWords(Refusal why);

}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_room.h"

namespace kirrup {
namespace {

Refusal WhenFull(const MessageLine& line) {
  if (line.itemCount() >= MessageLine::kMaxItems) return Refusal::TooManyCharacters;
  if (line.LineEnd() >= line.maxWidth()) return Refusal::LineFull;
  return Refusal::None;
}

std::string Columns(const MessageLine& line) {
  return std::to_string(line.LineEnd()) + " / " + std::to_string(line.maxWidth());
}

}  // namespace

Refusal WhyCodeRefused(MessageLine& line, uint16_t code) {
  const Refusal full = WhenFull(line);
  if (full != Refusal::None) return full;
  // The test form renders the glyph without inserting it: a glyph that exists was refused
  // for its width.
  if (!line.RenderAndInsert(code, true)) return Refusal::NoGlyph;
  return Refusal::TooWide;
}

Refusal WhyRecordRefused(const MessageLine& line, const CharColumns& record) {
  const Refusal full = WhenFull(line);
  if (full != Refusal::None) return full;
  if (record.width <= 0) return Refusal::NoGlyph;
  if (static_cast<int64_t>(line.LineEnd()) + record.width > line.maxWidth()) return Refusal::TooWide;
  return Refusal::None;
}

std::string ColumnsText(const MessageLine& line, bool chinese) {
  return Columns(line) + (chinese ? " 列" : " columns");
}

std::string RefusalCue(Refusal why, const MessageLine& line, bool chinese) {
  switch (why) {
    case Refusal::TooManyCharacters:
      return chinese ? "本行已满：50 个字符" : "Line full: 50 characters";
    case Refusal::LineFull:
      return (chinese ? "本行已满：" : "Line full: ") + ColumnsText(line, chinese);
    case Refusal::TooWide:
      return chinese ? "放不下：已用 " + ColumnsText(line, true) : "Does not fit: " + Columns(line) + " columns used";
    case Refusal::None:
    case Refusal::NoGlyph:
      break;
  }
  return {};
}

const char* RefusalWords(Refusal why) {
  switch (why) {
    case Refusal::TooManyCharacters:
    case Refusal::LineFull:
      return "line full";
    case Refusal::TooWide:
      return "does not fit";
    case Refusal::NoGlyph:
      return "no glyph";
    case Refusal::None:
      break;
  }
  return "";
}

}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_text.h"

#include <algorithm>
#include <array>

#include "fonts/font_library.h"
#include "lines/led_type.h"
#include "lines/message_line.h"

namespace kirrup {

namespace {

struct Symbol {
  char16_t character;
  const char16_t* word;
};

// The fifteen symbol pictures of the built-in fonts, in their font order.
constexpr std::array<Symbol, 15> kSymbols = {{
    {u'\u2665', u"heart"},
    {u'\u263A', u"smiley"},
    {u'\u2605', u"star"},
    {u'\u266A', u"note"},
    {u'\u2192', u"arrow right"},
    {u'\u2190', u"arrow left"},
    {u'\u2191', u"arrow up"},
    {u'\u2193', u"arrow down"},
    {u'\u2600', u"sun"},
    {u'\u263E', u"moon"},
    {u'\u2602', u"umbrella"},
    {u'\u2302', u"house"},
    {u'\u2709', u"envelope"},
    {u'\u2713', u"check mark"},
    {u'\u2666', u"diamond"},
}};

// 7 LEDs show the first ten pictures under the codes 18..27.
constexpr int kFirst7LedSymbol = 18;
constexpr int k7LedSymbols = 10;

int SymbolSlot(int ledType, uint16_t code) {
  if (ledType == kLed7) {
    const int slot = code - kFirst7LedSymbol;
    return slot >= 0 && slot < k7LedSymbols ? slot : -1;
  }
  return SymbolIndex(code);
}

bool IsHighSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

char16_t SymbolCharacter(int ledType, uint16_t code) {
  const int slot = SymbolSlot(ledType, code);
  return slot < 0 ? 0 : kSymbols[static_cast<size_t>(slot)].character;
}

std::u16string SymbolWord(int ledType, uint16_t code) {
  const int slot = SymbolSlot(ledType, code);
  return slot < 0 ? std::u16string() : std::u16string(kSymbols[static_cast<size_t>(slot)].word);
}

char16_t DisplayCharacter(int ledType, uint16_t code) {
  if (const char16_t symbol = SymbolCharacter(ledType, code)) return symbol;
  if (code < 0x20) return static_cast<char16_t>(0x2400 + code);  // control pictures
  if (code == 0x7F) return u'\u2421';
  if (IsHighSurrogate(code) || IsLowSurrogate(code)) return u'\uFFFD';
  return static_cast<char16_t>(code);
}

LineText ReadLineText(const MessageLine& line) {
  LineText out;
  const int n = line.itemCount();
  out.text.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const uint32_t code = line.item(i).code & 0xFFFF;
    // A pair typed as two units stays a pair: one character beyond the basic plane.
    if (IsHighSurrogate(code) && i + 1 < n && IsLowSurrogate(line.item(i + 1).code & 0xFFFF)) {
      out.text.push_back(static_cast<char16_t>(code));
      out.text.push_back(static_cast<char16_t>(line.item(i + 1).code & 0xFFFF));
      ++i;
      continue;
    }
    out.text.push_back(DisplayCharacter(line.type(), static_cast<uint16_t>(code)));
  }
  out.caret = std::clamp(line.CaretIndex(), 0, n);
  if (line.HasSelection()) {
    out.selStart = std::clamp(std::min(line.selAnchor, line.selEnd), 0, n);
    out.selEnd = std::clamp(std::max(line.selAnchor, line.selEnd), 0, n);
    if (out.selStart == out.selEnd) out.selStart = out.selEnd = -1;
  }
  return out;
}

LineTextChange CompareLineText(const LineText& before, const LineText& after) {
  LineTextChange c;
  c.caretMoved = before.caret != after.caret;
  c.selectionChanged = before.selStart != after.selStart || before.selEnd != after.selEnd;
  if (before.text == after.text) return c;
  const std::u16string& a = before.text;
  const std::u16string& b = after.text;
  size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  c.textChanged = true;
  c.position = static_cast<int>(head);
  c.removed = a.substr(head, a.size() - head - tail);
  c.inserted = b.substr(head, b.size() - head - tail);
  return c;
}

}  // namespace kirrup

#include "fonts/font_list.h"

#include <gtest/gtest.h>

namespace kirrup {
namespace {

platform::FontFamilyReport Family(std::u16string face, std::u16string script, uint8_t charSet,
                                  uint8_t pitchAndFamily = 0x22, int type = kTrueTypeFontType) {
  return {std::move(face), std::move(script), charSet, pitchAndFamily, type};
}

std::vector<std::u16string> Texts(const std::vector<FontEntry>& entries) {
  std::vector<std::u16string> t;
  for (const FontEntry& e : entries) t.push_back(e.text);
  return t;
}

}  // namespace
}  // namespace kirrup

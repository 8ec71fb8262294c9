// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The installed font families as fontconfig knows them, reported the way a font chooser
// expects: one report per family and character set it covers, with the script's name,
// the pitch-and-family byte and the font type bits.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kirrup::platform {

struct FontFamilyReport {
  std::u16string faceName;
  std::u16string script;       // "Western", "Cyrillic", "CHINESE_GB2312", ... ; "Symbol"
  uint8_t charSet = 0;         // 0 Western, 204 Cyrillic, 134 GB2312, 2 symbol, ...
  uint8_t pitchAndFamily = 0;  // low bits: 1 fixed, 2 variable pitch; high bits: the family kind
  int fontType = 0;            // 4: scalable outlines (the TrueType bit), 1: bitmaps (raster)
};

// Reads fontconfig's configuration and font caches, which the process's first font look-up
// does otherwise; any thread may call it, and later calls cost nothing.
bool LoadFontConfiguration();

// Every family once per character set, in the order of the character set table (Western
// first); a family whose letters belong to none of them is reported once as a symbol font.
// Families come sorted by name; each family's first name is its face name.
std::vector<FontFamilyReport> EnumerateFontFamilies();

// The character sets a family is tested for, with the characters it must have for each.
struct CharSetProbe {
  uint8_t charSet;
  const char16_t* script;
  const char32_t* characters;  // 0-terminated
};
const std::vector<CharSetProbe>& CharSetProbes();

// The character sets of a family that has the characters `has` says it has, in the order
// of CharSetProbes (Western: the basic Latin letters); the symbol set alone when none.
std::vector<const CharSetProbe*> CoveredCharSets(const std::function<bool(char32_t)>& has);

}  // namespace kirrup::platform

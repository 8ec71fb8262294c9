// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The installed font families the system font chooser lists, without the toolkit: the
// refusal rules a reported family goes through, the list sorted by full name, and the
// entries a chooser shows (face names, full names where a face is listed twice).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font_families.h"

namespace kirrup {

// Font type bits as the enumeration reports them.
inline constexpr int kRasterFontType = 1;
inline constexpr int kDeviceFontType = 2;
inline constexpr int kTrueTypeFontType = 4;
inline constexpr uint8_t kAllCharSets = 1;
inline constexpr uint8_t kSymbolCharSet = 2;
inline constexpr uint8_t kMacCharSet = 77;

// One listed family (the chooser's CFontInfo).
struct FontInfo {
  std::u16string faceName;
  std::u16string script;  // may be empty
  uint8_t charSet = 0;
  uint8_t pitchAndFamily = 0;
  int fontType = 0;

  // "Face (Script)", or the face alone without a script.
  std::u16string FullName() const;
};

// One entry of a chooser: its display text and the family behind it.
struct FontEntry {
  std::u16string text;
  const FontInfo* font = nullptr;
};

class FontList {
 public:
  // 0: no filter; otherwise the low and high four bits must match where they are set.
  uint8_t pitchAndFamilyFilter = 0;
  // Vertical-writing variants ("@Face") are left out where double-byte text is supported.
  bool doubleByteSystem = true;

  // The enumeration's action for one reported family; false when it is refused
  // (Macintosh character set, filtered out, face already listed, vertical variant).
  bool AddFont(const platform::FontFamilyReport& family);
  // AddFont for every family the platform reports.
  void AddInstalledFamilies();

  const std::vector<std::unique_ptr<FontInfo>>& fonts() const { return fonts_; }
  int count() const { return static_cast<int>(fonts_.size()); }

  // The entries of a chooser in its order (texts compared without case, equal texts in
  // list order): families sharing a bit with the mask, each text once.
  std::vector<FontEntry> Fill(int fontTypeMask = 7) const;

 private:
  std::vector<std::unique_ptr<FontInfo>> fonts_;
};

// Case-insensitive order of chooser texts.
bool ChooserTextLess(std::u16string_view a, std::u16string_view b);
// The first entry whose family's face name is exactly name, or -1.
int FindFontEntry(std::span<const FontEntry> entries, std::u16string_view name);

}  // namespace kirrup

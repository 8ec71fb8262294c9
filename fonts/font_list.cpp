// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_list.h"

#include <algorithm>

#include "platform/profile_file.h"

namespace kirrup {

std::u16string FontInfo::FullName() const {
  if (script.empty()) return faceName;
  return faceName + u" (" + script + u")";
}

bool FontList::AddFont(const platform::FontFamilyReport& f) {
  if (f.charSet == kMacCharSet) return false;
  const uint8_t filter = pitchAndFamilyFilter;
  if ((filter & 0x0F) != 0 && (filter & 0x0F) != (f.pitchAndFamily & 0x0F)) return false;
  if (filter > 15 && (filter & 0xF0) != (f.pitchAndFamily & 0xF0)) return false;
  for (const auto& info : fonts_)
    if (info->faceName == f.faceName) return false;
  if (doubleByteSystem && !f.faceName.empty() && f.faceName[0] == u'@') return false;

  auto info = std::make_unique<FontInfo>();
  info->faceName = f.faceName;
  info->script = f.script;
  info->charSet = f.charSet;
  info->pitchAndFamily = f.pitchAndFamily;
  info->fontType = f.fontType;
  const std::u16string full = info->FullName();
  const auto at = std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& other) { return other->FullName() >= full; });
  fonts_.insert(at, std::move(info));
  return true;
}

void FontList::AddInstalledFamilies() {
  for (const platform::FontFamilyReport& f : platform::EnumerateFontFamilies()) AddFont(f);
}

bool ChooserTextLess(std::u16string_view a, std::u16string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
    return platform::FoldCase(x) < platform::FoldCase(y);
  });
}

std::vector<FontEntry> FontList::Fill(int fontTypeMask) const {
  std::vector<FontEntry> entries;
  for (const auto& info : fonts_) {
    if ((info->fontType & fontTypeMask) == 0) continue;
    const auto sameFace = std::count_if(fonts_.begin(), fonts_.end(),
                                        [&](const auto& other) { return other->faceName == info->faceName; });
    std::u16string text = sameFace > 1 ? info->FullName() : info->faceName;
    if (std::any_of(entries.begin(), entries.end(), [&](const FontEntry& e) { return e.text == text; })) continue;
    // A sorted box: after every entry that does not sort behind the new one.
    const auto at = std::upper_bound(entries.begin(), entries.end(), text,
                                     [](const std::u16string& t, const FontEntry& e) { return ChooserTextLess(t, e.text); });
    entries.insert(at, FontEntry{std::move(text), info.get()});
  }
  return entries;
}

int FindFontEntry(std::span<const FontEntry> entries, std::u16string_view name) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].font && entries[i].font->faceName == name) return static_cast<int>(i);
  return -1;
}

}  // namespace kirrup

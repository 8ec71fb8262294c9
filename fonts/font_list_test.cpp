// SPDX-License-Identifier: GPL-2.0-or-later
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

TEST(FontList, RefusalRules) {
  struct Case {
    const char* what;
    platform::FontFamilyReport family;
    uint8_t filter;
    bool doubleByte;
    bool added;
  } cases[] = {
      {"plain", Family(u"Arial", u"Western", 0), 0, true, true},
      {"Macintosh character set", Family(u"Mac", u"Mac", kMacCharSet), 0, true, false},
      {"pitch filter differs", Family(u"Mono", u"Western", 0, 0x31), 0x02, true, false},
      {"pitch filter matches", Family(u"Var", u"Western", 0, 0x22), 0x02, true, true},
      {"family filter differs", Family(u"Serif", u"Western", 0, 0x12), 0x20, true, false},
      {"family filter matches", Family(u"Swiss", u"Western", 0, 0x22), 0x20, true, true},
      {"vertical face, double-byte system", Family(u"@Song", u"CHINESE_GB2312", 134), 0, true, false},
      {"vertical face, single-byte system", Family(u"@Song", u"CHINESE_GB2312", 134), 0, false, true},
  };
  for (const Case& c : cases) {
    FontList list;
    list.pitchAndFamilyFilter = c.filter;
    list.doubleByteSystem = c.doubleByte;
    EXPECT_EQ(list.AddFont(c.family), c.added) << c.what;
    EXPECT_EQ(list.count(), c.added ? 1 : 0) << c.what;
  }
}

TEST(FontList, RepeatedReportsKeepTheFirstAndTheListSortsByFullName) {
  FontList list;
  for (const auto& f : {Family(u"Song", u"CHINESE_GB2312", 134), Family(u"Song", u"Western", 0),
                        Family(u"Song", u"Cyrillic", 204), Family(u"@Song", u"CHINESE_GB2312", 134),
                        Family(u"arial", u"", 0), Family(u"Arial", u"Western", 0),
                        Family(u"Wingdings", u"Symbol", kSymbolCharSet, 0x52),
                        Family(u"Fixed", u"Western", 0, 0x31, kRasterFontType)})
    list.AddFont(f);
  ASSERT_EQ(list.count(), 5);
  std::vector<std::u16string> full;
  for (const auto& f : list.fonts()) full.push_back(f->FullName());
  // Exact, case-sensitive order of full names: capitals first.
  EXPECT_EQ(full, (std::vector<std::u16string>{u"Arial (Western)", u"Fixed (Western)", u"Song (CHINESE_GB2312)",
                                               u"Wingdings (Symbol)", u"arial"}));
  EXPECT_EQ(list.fonts()[2]->charSet, 134);

  // The box: face names, sorted without case, raster fonts only when the mask asks.
  const std::vector<FontEntry> all = list.Fill();
  EXPECT_EQ(Texts(all), (std::vector<std::u16string>{u"Arial", u"arial", u"Fixed", u"Song", u"Wingdings"}));
  EXPECT_EQ(Texts(list.Fill(kTrueTypeFontType)),
            (std::vector<std::u16string>{u"Arial", u"arial", u"Song", u"Wingdings"}));

  // SelectFontByName compares exactly.
  EXPECT_EQ(FindFontEntry(all, u"arial"), 1);
  EXPECT_EQ(FindFontEntry(all, u"Arial"), 0);
  EXPECT_EQ(FindFontEntry(all, u"ARIAL"), -1);
  EXPECT_EQ(FindFontEntry(all, u"Song (CHINESE_GB2312)"), -1);
}

// A family's character sets from the characters it has; only a family with no letters of
// any set is a symbol font, drawn in the interface face in the list.
TEST(FontFamilies, CharacterSetsFromTheCharactersAFamilyHas) {
  const std::u32string latin = U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const std::pair<std::u32string, std::vector<std::u16string>> cases[] = {
      {latin, {u"Western"}},  // without \u00E9 and \u00DF
      {U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", {u"Symbol"}},
      {latin + U"\u0416\u044F", {u"Western", u"Cyrillic"}},
  };
  for (const auto& [chars, expect] : cases) {
    std::vector<std::u16string> scripts;
    for (const auto* p : platform::CoveredCharSets([&](char32_t c) { return chars.find(c) != chars.npos; }))
      scripts.push_back(p->script);
    EXPECT_EQ(scripts, expect);
  }
}

TEST(FontFamilies, InstalledFamiliesAreReportedPerCharacterSet) {
  const std::vector<platform::FontFamilyReport> reports = platform::EnumerateFontFamilies();
  if (reports.empty()) GTEST_SKIP() << "no installed fonts";
  FontList list;
  for (const auto& r : reports) {
    EXPECT_FALSE(r.faceName.empty());
    EXPECT_TRUE(r.fontType == kTrueTypeFontType || r.fontType == kRasterFontType);
    EXPECT_TRUE((r.pitchAndFamily & 0x0F) == 1 || (r.pitchAndFamily & 0x0F) == 2);
    list.AddFont(r);
  }
  // Each family once, even when it covers several character sets.
  const std::vector<FontEntry> entries = list.Fill();
  for (size_t i = 1; i < entries.size(); ++i) EXPECT_NE(entries[i].text, entries[i - 1].text);
  EXPECT_LE(entries.size(), reports.size());
}

}  // namespace
}  // namespace kirrup

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/font_families.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

#include "platform/utf.h"

namespace kirrup::platform {
namespace {

struct Family {
  bool outline = false;
  bool allFixed = true;
  FcCharSet* chars = nullptr;  // union over the family's faces
};

uint8_t KindOf(std::string_view name, bool fixed, bool symbol) {
  if (symbol) return 0x50;  // decorative
  if (fixed) return 0x30;   // modern
  const bool sans = name.find("Sans") != std::string_view::npos;
  if (name.find("Serif") != std::string_view::npos && !sans) return 0x10;  // roman
  if (sans) return 0x20;                                                    // swiss
  return 0x00;
}

}  // namespace

const std::vector<CharSetProbe>& CharSetProbes() {
  static const std::vector<CharSetProbe> probes = {
      // A font with the Latin letters writes English even without the accented ones.
      {0, u"Western", U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
      {238, u"Central European", U"\u0141\u0151\u010D"},
      {204, u"Cyrillic", U"\u0416\u044F"},
      {161, u"Greek", U"\u03A9\u03BB"},
      {162, u"Turkish", U"\u011F\u0131\u015F"},
      {177, u"Hebrew", U"\u05D0\u05E9"},
      {178, u"Arabic", U"\u0627\u0628"},
      {186, u"Baltic", U"\u0117\u0173\u012F"},
      {163, u"Vietnamese", U"\u01B0\u01A1\u1EA1"},
      {222, u"Thai", U"\u0E01\u0E32"},
      {134, u"CHINESE_GB2312", U"\u4E2D\u56FD"},
      {128, u"Japanese", U"\u3042\u30A2"},
      {129, u"Hangul", U"\uAC00\uD55C"},
      {136, u"CHINESE_BIG5", U"\u570B\u7E41"},
  };
  return probes;
}

std::vector<const CharSetProbe*> CoveredCharSets(const std::function<bool(char32_t)>& has) {
  static const CharSetProbe symbol{2, u"Symbol", U""};
  std::vector<const CharSetProbe*> out;
  for (const CharSetProbe& probe : CharSetProbes()) {
    const std::u32string_view chars(probe.characters);
    if (std::all_of(chars.begin(), chars.end(), has)) out.push_back(&probe);
  }
  if (out.empty()) out.push_back(&symbol);
  return out;
}

bool LoadFontConfiguration() { return FcInit() == FcTrue; }

std::vector<FontFamilyReport> EnumerateFontFamilies() {
  std::vector<FontFamilyReport> out;
  if (!FcInit()) return out;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FAMILY, FC_OUTLINE, FC_SPACING, FC_CHARSET, nullptr), FcObjectSetDestroy);
  std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(FcFontList(nullptr, pattern.get(), objects.get()),
                                                              FcFontSetDestroy);
  if (!set) return out;

  std::map<std::string, Family> families;  // sorted by name
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    FcChar8* name = nullptr;
    if (FcPatternGetString(p, FC_FAMILY, 0, &name) != FcResultMatch || !name || !*name) continue;
    Family& f = families[reinterpret_cast<const char*>(name)];
    FcBool outline = FcFalse;
    if (FcPatternGetBool(p, FC_OUTLINE, 0, &outline) == FcResultMatch && outline) f.outline = true;
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(p, FC_SPACING, 0, &spacing);
    if (spacing < FC_DUAL) f.allFixed = false;
    FcCharSet* cs = nullptr;
    if (FcPatternGetCharSet(p, FC_CHARSET, 0, &cs) == FcResultMatch && cs) {
      if (!f.chars) {
        f.chars = FcCharSetCopy(cs);
      } else {
        FcCharSet* merged = FcCharSetUnion(f.chars, cs);
        FcCharSetDestroy(f.chars);
        f.chars = merged;
      }
    }
  }

  for (auto& [name, f] : families) {
    const size_t before = out.size();
    FcCharSet* const chars = f.chars;  // a lambda may not capture a structured binding in clang 14
    const std::vector<const CharSetProbe*> sets =
        CoveredCharSets([chars](char32_t c) { return chars && FcCharSetHasChar(chars, c); });
    for (const CharSetProbe* probe : sets) out.push_back({Utf8ToUtf16(name), probe->script, probe->charSet, 0, 0});
    const bool symbol = sets.front()->charSet == 2;
    const uint8_t pitch = f.allFixed ? 1 : 2;
    for (size_t i = before; i < out.size(); ++i) {
      out[i].pitchAndFamily = static_cast<uint8_t>(pitch | KindOf(name, f.allFixed, symbol));
      out[i].fontType = f.outline ? 4 : 1;
    }
    if (f.chars) FcCharSetDestroy(f.chars);
  }
  return out;
}

}  // namespace kirrup::platform

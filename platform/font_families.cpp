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
      {0, u"Western", {U'A', U'\u00E9', U'\u00DF'}},
      {238, u"Central European", {U'\u0141', U'\u0151', U'\u010D'}},
      {204, u"Cyrillic", {U'\u0416', U'\u044F', 0}},
      {161, u"Greek", {U'\u03A9', U'\u03BB', 0}},
      {162, u"Turkish", {U'\u011F', U'\u0131', U'\u015F'}},
      {177, u"Hebrew", {U'\u05D0', U'\u05E9', 0}},
      {178, u"Arabic", {U'\u0627', U'\u0628', 0}},
      {186, u"Baltic", {U'\u0117', U'\u0173', U'\u012F'}},
      {163, u"Vietnamese", {U'\u01B0', U'\u01A1', U'\u1EA1'}},
      {222, u"Thai", {U'\u0E01', U'\u0E32', 0}},
      {134, u"CHINESE_GB2312", {U'\u4E2D', U'\u56FD', 0}},
      {128, u"Japanese", {U'\u3042', U'\u30A2', 0}},
      {129, u"Hangul", {U'\uAC00', U'\uD55C', 0}},
      {136, u"CHINESE_BIG5", {U'\u570B', U'\u7E41', 0}},
  };
  return probes;
}

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
    for (const CharSetProbe& probe : CharSetProbes()) {
      const bool covered =
          chars && std::all_of(std::begin(probe.characters), std::end(probe.characters),
                               [&](char32_t c) { return c == 0 || FcCharSetHasChar(chars, c); });
      if (covered) out.push_back({Utf8ToUtf16(name), probe.script, probe.charSet, 0, 0});
    }
    const bool symbol = out.size() == before;
    if (symbol) out.push_back({Utf8ToUtf16(name), u"Symbol", 2, 0, 0});
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

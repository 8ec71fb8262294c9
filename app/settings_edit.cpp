// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settings_edit.h"

#include <charconv>

#include "app/settings.h"
#include "platform/utf.h"

namespace kirrup {
namespace {

enum class Kind { Int, Colour, Face };

struct Key {
  const char* name;
  Kind kind;
  long long lo, hi;
  const char* meaning;
};

// SysFont: at most the 158 characters the program reads back.
constexpr Key kKeys[] = {
    {"bUserFont", Kind::Int, 0, 1, "1 = built-in dot fonts, 0 = an installed font"},
    {"SysFont", Kind::Face, 1, 158, "face name of the installed font"},
    {"LedType", Kind::Int, 1, 3, "1 = 7 LEDs, 2 = 11 LEDs, 3 = 16 LEDs"},
    {"LedColor", Kind::Colour, 0, 0xFFFFFF, "red, green, blue, yellow or a 0x00BBGGRR value"},
    {"LedGap11", Kind::Int, 0, 4, "blank columns after an 11-LED character"},
    {"LedScrW11", Kind::Int, 156, 180, "columns of an 11-LED line"},
    {"Lang", Kind::Int, 1, 16, "language number"},
    {"MakeChrWndCx", Kind::Int, 100, 1024, "character editor width in pixels"},
    {"MakeChrWndCy", Kind::Int, 100, 1024, "character editor height in pixels"},
};

bool SameName(std::string_view a, const char* b) {
  const std::string_view bv(b);
  if (a.size() != bv.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (platform::FoldCase(static_cast<unsigned char>(a[i])) != platform::FoldCase(static_cast<unsigned char>(bv[i])))
      return false;
  return true;
}

std::optional<long long> ParseInteger(std::string_view v, bool hexAllowed) {
  int base = 10;
  if (hexAllowed && v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    v.remove_prefix(2);
    base = 16;
  }
  if (base == 10 && !v.empty() && v[0] == '+') v.remove_prefix(1);
  long long n = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n, base);
  if (v.empty() || ec != std::errc() || end != v.data() + v.size()) return std::nullopt;
  return n;
}

std::string Range(const Key& k) {
  return k.kind == Kind::Face ? "1 to " + std::to_string(k.hi) + " characters"
                              : std::to_string(k.lo) + ".." + std::to_string(k.hi);
}

}  // namespace

std::optional<SettingChange> ParseSettingAssignment(std::string_view text, std::string& error) {
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0) {
    error = "expected KEY=VALUE, got '" + std::string(text) + "'";
    return std::nullopt;
  }
  const std::string_view name = text.substr(0, eq);
  const std::string_view value = text.substr(eq + 1);
  const Key* key = nullptr;
  for (const Key& k : kKeys)
    if (SameName(name, k.name)) key = &k;
  if (!key) {
    error = "unknown key '" + std::string(name) + "' (section Set has: " + SettableKeysHelp() + ")";
    return std::nullopt;
  }
  const auto outOfRange = [&] {
    error = std::string(key->name) + "=" + std::string(value) + " is out of range: " + Range(*key) + " (" +
            key->meaning + ")";
    return std::nullopt;
  };

  SettingChange change{platform::Utf8ToUtf16(key->name), {}};
  if (key->kind == Kind::Face) {
    const std::u16string face = platform::Utf8ToUtf16(value);
    if (face.empty() || face.size() > static_cast<size_t>(key->hi)) return outOfRange();
    // A line break or a surrounding blank or quote would not read back as written.
    for (char16_t c : face)
      if (c < 0x20 || c == 0x7F) return outOfRange();
    if (face.front() == u' ' || face.back() == u' ' || face.front() == u'"' || face.front() == u'\'')
      return outOfRange();
    change.value = face;
    return change;
  }
  std::optional<long long> n;
  if (key->kind == Kind::Colour) {
    struct Named {
      const char* name;
      long long value;
    };
    // The colour menu's four colours, 0x00BBGGRR.
    for (const Named& c : {Named{"red", 0x0000FF}, Named{"green", 0x00FF00}, Named{"blue", 0xFF0000},
                           Named{"yellow", 0x00FFFF}})
      if (SameName(value, c.name)) n = c.value;
  }
  if (!n) n = ParseInteger(value, key->kind == Kind::Colour);
  if (!n) {
    error = std::string(key->name) + "=" + std::string(value) + " is not a number (" + key->meaning + ")";
    return std::nullopt;
  }
  if (*n < key->lo || *n > key->hi) return outOfRange();
  change.value = platform::Utf8ToUtf16(std::to_string(*n));
  return change;
}

void ApplySettingChanges(platform::ProfileFile& file, std::span<const SettingChange> changes) {
  for (const SettingChange& c : changes) file.WriteString(kSetSection, c.key, c.value);
}

std::string SettableKeysHelp() {
  std::string out;
  for (const Key& k : kKeys) {
    if (!out.empty()) out += ", ";
    out += k.name;
  }
  return out;
}

}  // namespace kirrup

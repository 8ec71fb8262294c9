// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Windows language identifiers of the languages the toolkit's locales know. Tables in the
// settings file carry such ids; the system's locale is turned into one so that the
// dialog can open in the user's language.
#include <cstdint>
#include <span>
#include <string_view>

namespace kirrup {

struct WindowsLocale {
  std::string_view language;   // ISO 639 code, lower case
  std::string_view script;     // ISO 15924 code, or empty where the language has one script
  std::string_view territory;  // ISO 3166 or UN M.49 code; empty for a language's neutral id
  uint16_t id;
};

// Every id; for each language the territory rows come first, its most common one leading.
std::span<const WindowsLocale> WindowsLocales();

// The id of a locale given by its codes (case ignored; script and territory may be
// empty): the exact territory (the given script preferred where a territory has two),
// else the language's leading row in that script, else its leading row. 0 when the
// language has no id.
uint16_t WindowsLanguageIdOf(std::string_view language, std::string_view script, std::string_view territory);

// The row of an id, or null when no language has it.
const WindowsLocale* WindowsLocaleOf(uint16_t id);

// True when both ids belong to one language, and to one script where both rows name one
// (Simplified and Traditional Chinese, Latin and Cyrillic Serbian stay apart).
bool SameWindowsLanguage(uint16_t a, uint16_t b);

}  // namespace kirrup

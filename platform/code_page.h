// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The 8-bit code page the 7-LED font library is indexed by. The program's code page is
// Windows-1252 (Western). A character outside it becomes a similar one where one is known
// (iconv transliteration under the C.UTF-8 rules: "ā" -> "a", "…" -> "..."), otherwise "?".
#include <optional>
#include <string>
#include <string_view>

namespace kirrup::platform {

// Converts UTF-16 text to the code page; nullopt when the text is not well-formed UTF-16
// (a lone surrogate) or the converter is unavailable.
std::optional<std::string> ToAnsiCodePage(std::u16string_view text);

}  // namespace kirrup::platform

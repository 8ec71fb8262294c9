// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// UTF-8 <-> UTF-16 conversion. Ill-formed input never fails: bad sequences and
// lone surrogates become U+FFFD, so outside text can always be shown and stored.
#include <string>
#include <string_view>

namespace kirrup::platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
// The same, appended to out.
void AppendUtf8AsUtf16(std::u16string& out, std::string_view utf8);
// The same, written to out, which has room for utf8.size() units; returns the units written.
size_t DecodeUtf8(std::string_view utf8, char16_t* out);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace kirrup::platform

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"

#include <iconv.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace kirrup::platform {
namespace {

// iconv's transliteration takes its table from the calling thread's LC_CTYPE. The plain C
// locale knows almost no replacements; C.UTF-8 carries the common best-fit list (accents
// dropped, typographic quotes and dashes simplified), so conversions run under it.
class Converter {
 public:
  Converter() {
    cd_ = iconv_open("WINDOWS-1252//TRANSLIT", "UTF-16LE");
    locale_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  }
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    if (locale_) freelocale(locale_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> Convert(std::u16string_view text) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::vector<char> in;
    in.reserve(text.size() * 2);
    for (char16_t u : text) in.push_back(static_cast<char>(u & 0xFF)), in.push_back(static_cast<char>(u >> 8));
    const locale_t previous = locale_ ? uselocale(locale_) : static_cast<locale_t>(nullptr);
    std::string out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    char* src = in.data();
    size_t srcLeft = in.size();
    bool ok = true;
    while (srcLeft > 0) {
      char buf[64];
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        ok = false;  // EILSEQ / EINVAL: not well-formed UTF-16
        break;
      }
    }
    if (previous) uselocale(previous);
    if (!ok) return std::nullopt;
    return out;
  }

 private:
  iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
  locale_t locale_ = static_cast<locale_t>(nullptr);
};

}  // namespace

std::optional<std::string> ToAnsiCodePage(std::u16string_view text) {
  // ASCII is itself in the code page: no converter is opened for it (the symbol picker's
  // first fill converts a few hundred characters while the program starts).
  if (std::all_of(text.begin(), text.end(), [](char16_t u) { return u < 0x80; }))
    return std::string(text.begin(), text.end());
  static Converter converter;
  // The five bytes Windows-1252 leaves undefined stand for the C1 controls of the same
  // value, as on Windows; iconv has no mapping for them.
  auto passThrough = [](char16_t u) {
    return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
  };
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !passThrough(text[i])) continue;
    if (i > start) {
      const auto part = converter.Convert(text.substr(start, i - start));
      if (!part) return std::nullopt;
      out += *part;
    }
    if (i < text.size()) out += static_cast<char>(text[i]);
    start = i + 1;
  }
  return out;
}

}  // namespace kirrup::platform

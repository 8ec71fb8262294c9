// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli glyph: renders each code as the program would and prints the record and its dots.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "fonts/font_engine.h"
#include "lines/led_type.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "tools/cli/cli.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {
namespace {

// What one CODE argument stands for: one UTF-16 unit, or the two units of a character
// beyond 16 bits (as a line takes it when typed or pasted).
struct Code {
  std::vector<uint16_t> units;
  char32_t character = 0;  // set for a character beyond 16 bits
};

// A decimal number, 0x and hexadecimal digits (either up to 0xFFFF), or one character
// that is not a digit.
std::optional<Code> ParseCode(const std::string& s) {
  if (s.empty()) return std::nullopt;
  auto number = [](const std::string& digits, int base) -> std::optional<Code> {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    unsigned long v = 0;
    for (char c : digits) {
      int d = -1;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0) return std::nullopt;
      v = v * static_cast<unsigned long>(base) + static_cast<unsigned long>(d);
    }
    if (v > 0xFFFF) return std::nullopt;
    return Code{{static_cast<uint16_t>(v)}};
  };
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return number(s.substr(2), 16);
  if (s[0] >= '0' && s[0] <= '9') return number(s, 10);
  const std::u16string u = platform::Utf8ToUtf16(s);
  if (u.size() == 1) return Code{{static_cast<uint16_t>(u[0])}};
  const bool pair = u.size() == 2 && u[0] >= 0xD800 && u[0] <= 0xDBFF && u[1] >= 0xDC00 && u[1] <= 0xDFFF;
  if (!pair) return std::nullopt;  // more than one character
  const char32_t c = 0x10000 + ((char32_t(u[0]) - 0xD800) << 10) + (char32_t(u[1]) - 0xDC00);
  return Code{{static_cast<uint16_t>(u[0]), static_cast<uint16_t>(u[1])}, c};
}

int Bad(const std::string& why) { return BadArguments("glyph", why); }

void PrintRecord(const CharColumns& r) {
  std::printf("code=0x%04X width=%d height=%d kind=%d bytes=%d\n", r.code, r.width, r.height, r.kind,
              r.byteCount);
  std::printf("columns=");
  for (int i = 0; i < r.byteCount; ++i) std::printf(i ? " %02x" : "%02x", r.columns[static_cast<size_t>(i)]);
  std::printf("\n");
  for (int row = 0; row < r.height; ++row) {
    std::string line;
    for (int x = 0; x < r.width; ++x) line += r.Dot(r.width - 1 - x, r.height - 1 - row) ? '#' : '.';
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

const char kGlyphUsage[] =
    "glyph [--led 7|11|16] [--builtin-font | --system-font NAME] CODE...\n"
    "  Renders each CODE as the program would and prints its record and its dots.\n"
    "  CODE: one character, or a UTF-16 code 0..65535 in decimal or 0x and hexadecimal digits;\n"
    "  a character beyond 16 bits (an emoji) is taken as its two UTF-16 units, as a line takes it.\n"
    "  The LED type and the font come from the settings unless the options say otherwise.\n";

int RunGlyph(const std::vector<std::string>& args) {
  // The program's own start-up choices from LIB/Kirrup.ini: LED type, font switch and face,
  // and the 11-LED gap; the options override the first three.
  FontEngine fonts;
  const Settings settings = LoadProgramSettings(fonts);
  int ledType = settings.ledType;
  int builtIn = fonts.builtInSwitch;
  std::u16string systemFont = fonts.systemFontName;
  std::vector<Code> codes;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--led") {
      if (!hasValue) return Bad("--led needs 7, 11 or 16");
      const std::string& v = args[++i];
      if (v == "7") ledType = kLed7;
      else if (v == "11") ledType = kLed11;
      else if (v == "16") ledType = kLed16;
      else return Bad("--led takes 7, 11 or 16, not '" + v + "'");
    } else if (a == "--builtin-font") {
      builtIn = 1;
    } else if (a == "--system-font") {
      if (!hasValue || args[i + 1].empty()) return Bad("--system-font needs a font name");
      builtIn = 0;
      systemFont = platform::Utf8ToUtf16(args[++i]);
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return Bad("unknown option '" + a + "'");
    } else {
      const auto code = ParseCode(a);
      if (!code)
        return Bad("bad code '" + a + "': one character, or a number 0..65535 (decimal, or 0x and hexadecimal digits)");
      codes.push_back(*code);
    }
  }
  if (codes.empty()) return Bad("no CODE given");

  fonts.builtInSwitch = builtIn;
  fonts.systemFontName = systemFont;
  fonts.LoadLibraries(platform::ProgramFolder());
  if (!builtIn) fonts.CreateLedFont(ledType);

  int status = 0;
  for (const Code& code : codes) {
    if (code.character)
      std::printf("U+%04X is beyond 16 bits: its two UTF-16 units 0x%04X 0x%04X, as a line takes it\n",
                  static_cast<unsigned>(code.character), code.units[0], code.units[1]);
    for (uint16_t unit : code.units) {
      CharColumns r;
      if (!fonts.RenderGlyph(ledType, unit, r)) {
        std::printf("code=0x%04X no glyph\n", unit);
        status = 1;
        continue;
      }
      r.code = unit;
      PrintRecord(r);
    }
  }
  return status;
}

}  // namespace kirrup::cli

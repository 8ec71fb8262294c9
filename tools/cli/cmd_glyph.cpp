// kirrup-cli glyph [--led 7|11|16] [--builtin-font | --system-font NAME] CODE...
// Renders each code as the program would and prints the record and its dots.
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

// A decimal number, 0x and hexadecimal digits, or one character that is not a digit.
std::optional<uint16_t> ParseCode(const std::string& s) {
  if (s.empty()) return std::nullopt;
  auto number = [](const std::string& digits, int base) -> std::optional<uint16_t> {
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
    return static_cast<uint16_t>(v);
  };
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return number(s.substr(2), 16);
  if (s[0] >= '0' && s[0] <= '9') return number(s, 10);
  const std::u16string u = platform::Utf8ToUtf16(s);
  if (u.size() != 1) return std::nullopt;  // more than one character, or beyond 16 bits
  return static_cast<uint16_t>(u[0]);
}

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

int RunGlyph(const std::vector<std::string>& args) {
  // The program's own start-up choices from LIB/Kirrup.ini: LED type, font switch and face,
  // and the 11-LED gap; the options override the first three.
  FontEngine fonts;
  const Settings settings = LoadProgramSettings(fonts);
  int ledType = settings.ledType;
  int builtIn = fonts.builtInSwitch;
  std::u16string systemFont = fonts.systemFontName;
  std::vector<uint16_t> codes;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--led" && i + 1 < args.size()) {
      const std::string& v = args[++i];
      if (v == "7") ledType = kLed7;
      else if (v == "11") ledType = kLed11;
      else if (v == "16") ledType = kLed16;
      else return Usage();
    } else if (a == "--builtin-font") {
      builtIn = 1;
    } else if (a == "--system-font" && i + 1 < args.size()) {
      builtIn = 0;
      systemFont = platform::Utf8ToUtf16(args[++i]);
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return Usage();
    } else {
      const auto code = ParseCode(a);
      if (!code) {
        std::fprintf(stderr, "kirrup-cli glyph: bad code '%s'\n", a.c_str());
        return Usage();
      }
      codes.push_back(*code);
    }
  }
  if (codes.empty()) return Usage();

  fonts.builtInSwitch = builtIn;
  fonts.systemFontName = systemFont;
  fonts.LoadLibraries(platform::ProgramFolder());
  if (!builtIn) fonts.CreateLedFont(ledType);

  int status = 0;
  for (uint16_t code : codes) {
    CharColumns r;
    if (!fonts.RenderGlyph(ledType, code, r)) {
      std::printf("code=0x%04X no glyph\n", code);
      status = 1;
      continue;
    }
    r.code = code;
    PrintRecord(r);
  }
  return status;
}

}  // namespace kirrup::cli

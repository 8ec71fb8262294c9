// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli compose: types each --line into its row as the line window does and saves
// the rows with the program's LED data file writer.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/capacity.h"
#include "dialog/ldat_file.h"
#include "fonts/font_engine.h"
#include "lines/line_room.h"
#include "lines/message_rows.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {
namespace {

struct LineSpec {
  std::string text;
  int open = 0, middle = 0, close = 0;
  bool middleGiven = false;
};

struct ComposeArgs {
  int ledType = -1;
  bool middle = false;
  int font = -1;  // -1: as the settings say; 1 built-in libraries; 0 system font
  std::string systemFont;
  std::vector<LineSpec> lines;
  std::string out;
};

int Bad(const std::string& why) { return BadArguments("compose", why); }

// Returns 0 on success, else the exit status.
int Parse(const std::vector<std::string>& args, ComposeArgs& a) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& opt = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    std::string v;
    if (opt == "--middle") {
      a.middle = true;
    } else if (opt == "--builtin-font") {
      if (a.font == 0) return Bad("--builtin-font and --system-font exclude each other");
      a.font = 1;
    } else if (opt == "--system-font") {
      if (a.font == 1) return Bad("--builtin-font and --system-font exclude each other");
      if (!value(a.systemFont) || a.systemFont.empty()) return Bad("--system-font needs a font name");
      a.font = 0;
    } else if (opt == "--led") {
      int leds = 0;
      if (!value(v) || !ParseInt(v, leds) || (leds != 7 && leds != 11 && leds != 16))
        return Bad("--led takes 7, 11 or 16");
      a.ledType = leds == 7 ? kLed7 : leds == 11 ? kLed11 : kLed16;
    } else if (opt == "--line") {
      LineSpec line;
      if (!value(line.text)) return Bad("--line needs a text");  // taken as it stands
      if (a.lines.size() == static_cast<size_t>(MessageRows::kCount)) return Bad("at most 12 lines");
      a.lines.push_back(line);
    } else if (opt == "--open" || opt == "--middle-effect" || opt == "--close") {
      if (a.lines.empty()) return Bad("effect options follow the --line they belong to");
      const int limit = opt == "--open" ? kOpenOptionCount : opt == "--close" ? kCloseOptionCount : kMiddleOptionCount;
      int n = 0;
      if (!value(v) || !ParseInt(v, n) || n < 0 || n >= limit)
        return Bad(opt + " takes 0.." + std::to_string(limit - 1));
      LineSpec& line = a.lines.back();
      (opt == "--open" ? line.open : opt == "--close" ? line.close : line.middle) = n;
      if (opt == "--middle-effect") line.middleGiven = true;
    } else if (opt == "-o") {
      if (!value(a.out) || a.out.empty()) return Bad("-o needs a file name");
    } else {
      return Bad("unknown argument '" + opt + "'");
    }
  }
  if (a.ledType < 0) return Bad("--led is required");
  if (a.lines.empty()) return Bad("at least one --line is required");
  if (a.out.empty()) return Bad("-o is required");
  // A file without middle options keeps no middle effects: the effect would be lost.
  for (size_t i = 0; i < a.lines.size(); ++i) {
    if (a.lines[i].middleGiven && !a.middle)
      return Bad("--middle-effect of line " + std::to_string(i + 1) +
                 " needs --middle (a file without middle options keeps no middle effects)");
  }
  return 0;
}

std::string Describe(char16_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  std::string s = code;
  if (c >= 0x20 && (c < 0xD800 || c > 0xDFFF) && c != 0x7F)
    s += " '" + platform::Utf16ToUtf8(std::u16string(1, c)) + "'";
  return s;
}

}  // namespace

const char kComposeUsage[] =
    "compose --led 7|11|16 [--middle] [--builtin-font | --system-font NAME] --line TEXT [--open N] "
    "[--middle-effect N] [--close N] [--line TEXT ...] -o OUT.LDAT\n"
    "  Types each --line into the next row as the line window does and saves the rows as an LED data file.\n"
    "  --led 7|11|16         the LED type\n"
    "  --middle              the file has middle options (needed by --middle-effect)\n"
    "  --builtin-font        the built-in font libraries; --system-font NAME: an installed font\n"
    "                        (the settings' choice by default)\n"
    "  --line TEXT           a row, at most 12; the effect options after it are its own\n"
    "  --open N              opening effect 0..8 (0 Left to Right)\n"
    "  --middle-effect N     middle effect 0..3 (0 Contra rotation)\n"
    "  --close N             closing effect 0..6 (0 From right to left)\n"
    "  -o OUT.LDAT           the file to write\n";

int RunCompose(const std::vector<std::string>& args) {
  ComposeArgs a;
  if (const int status = Parse(args, a)) return status;

  FontEngine fonts;
  LoadProgramSettings(fonts);  // the font choice of the settings, unless an option overrides it
  if (a.font >= 0) fonts.builtInSwitch = a.font;
  if (!a.systemFont.empty()) fonts.systemFontName = platform::Utf8ToUtf16(a.systemFont);
  fonts.LoadLibraries(platform::ProgramFolder());
  for (int t = 0; t < 3; ++t) fonts.CreateLedFont(t);

  auto rows = std::make_unique<MessageRows>(a.ledType);
  rows->SetGlyphSource(&fonts);
  rows->useMiddleOption = a.middle ? 1 : 0;
  for (size_t i = 0; i < a.lines.size(); ++i) {
    MessageRow& row = (*rows)[static_cast<int>(i)];
    row.enabled = true;
    row.openOption = a.lines[i].open;
    row.middleOption = a.lines[i].middle;
    row.closeOption = a.lines[i].close;
    std::vector<std::string> left;
    for (char16_t c : platform::Utf8ToUtf16(a.lines[i].text)) {
      MessageLine& line = row.line;
      if (line.RenderAndInsert(c, false)) {
        line.MoveCaret(+1, false);
        continue;
      }
      left.push_back(Describe(c) + " (" + RefusalWords(WhyCodeRefused(line, c)) + ")");
    }
    if (!left.empty()) {
      std::string list;
      for (const std::string& s : left) list += (list.empty() ? "" : ", ") + s;
      std::fprintf(stderr, "kirrup-cli compose: warning: line %zu: %zu character%s left out: %s\n", i + 1,
                   left.size(), left.size() == 1 ? "" : "s", list.c_str());
    }
  }

  const Capacity capacity = CapacityMeter().Measure(*rows);
  if (capacity.Over())
    std::fprintf(stderr, "kirrup-cli compose: warning: %s; Send will refuse these lines\n",
                 RomOverText(static_cast<size_t>(capacity.bytes)).c_str());
  platform::StderrMessageSink sink;
  return SaveLdatFile(a.out, *rows, sink) ? 0 : 1;
}

}  // namespace kirrup::cli

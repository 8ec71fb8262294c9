// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli simulate IN.LDAT -o OUT.gif [--color red|green|blue|yellow] [--ticks N]
// Opens the file as the dialog's Open does, plays its enabled rows as Start would and
// writes the frames as an animated GIF: one frame per 100 ms tick, 500 ms for the
// pause between scenes; one full pass of the play list unless --ticks says otherwise.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "dialog/demo_gif.h"
#include "dialog/demo_rows.h"
#include "dialog/ldat_file.h"
#include "fonts/font_engine.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "res/demo_picture.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {
namespace {

std::optional<platform::Color> ColourNamed(const std::string& name) {
  if (name == "red") return 0x0000FF;
  if (name == "green") return 0x00FF00;
  if (name == "blue") return 0xFF0000;
  if (name == "yellow") return 0x00FFFF;
  return std::nullopt;
}

std::optional<int> TickCount(const std::string& text) {
  int n = 0;
  if (!ParseInt(text, n) || n < 0) return std::nullopt;
  return n;
}

int Bad(const std::string& why) { return BadArguments("simulate", why); }

}  // namespace

const char kSimulateUsage[] =
    "simulate IN.LDAT -o OUT.gif [--color red|green|blue|yellow] [--ticks N]\n"
    "  Plays the file's enabled rows as the program's Start does and writes the frames as an\n"
    "  animated GIF, one per 100 ms tick.\n"
    "  --color     the LED colour (the settings' LedColor by default)\n"
    "  --ticks N   N ticks (a whole number, 0 or more) instead of one pass of every row\n";

int RunSimulate(const std::vector<std::string>& args) {
  std::string in, out;
  std::optional<platform::Color> colour;
  std::optional<int> ticks;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o") {
      if (!out.empty()) return Bad("-o given twice");
      if (!hasValue || args[i + 1].empty()) return Bad("-o needs a file name");
      out = args[++i];
    } else if (a == "--color") {
      if (colour) return Bad("--color given twice");
      if (!hasValue) return Bad("--color needs red, green, blue or yellow");
      if (!(colour = ColourNamed(args[++i])))
        return Bad("--color takes red, green, blue or yellow, not '" + args[i] + "'");
    } else if (a == "--ticks") {
      if (ticks) return Bad("--ticks given twice");
      if (!hasValue) return Bad("--ticks needs a number");
      if (!(ticks = TickCount(args[++i])))
        return Bad("--ticks takes a whole number, 0 or more, not '" + args[i] + "'");
    } else if (a.size() > 1 && a[0] == '-') {
      return Bad("unknown option '" + a + "'");
    } else if (!in.empty()) {
      return Bad("one IN.LDAT only, not also '" + a + "'");
    } else {
      in = a;
    }
  }
  if (in.empty()) return Bad("IN.LDAT is missing");
  if (out.empty()) return Bad("-o OUT.gif is missing");

  // Settings as the program reads them at start-up: the colour, and the 11-LED line
  // width that decides how an opened 11-LED file is laid out.
  FontEngine fonts;
  const Settings settings = LoadProgramSettings(fonts);

  platform::StderrMessageSink messages;
  LdatData data;
  if (!OpenLdatFile(in, data, messages)) return 1;
  MessageRows rows(settings.ledType);
  ApplyLdat(data, rows);

  DemoEngine engine(DrawDemoPicture());
  if (!StartDemo(engine, DemoRowsFrom(rows), rows.useMiddleOption != 0, messages)) return 1;
  std::string error;
  if (!WriteDemoGif(engine, colour.value_or(settings.ledColor), ticks, out, error)) {
    std::fprintf(stderr, "kirrup-cli: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace kirrup::cli

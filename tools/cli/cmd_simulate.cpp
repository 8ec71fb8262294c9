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

}  // namespace

int RunSimulate(const std::vector<std::string>& args) {
  std::string in, out;
  std::optional<platform::Color> colour;
  std::optional<int> ticks;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue && out.empty()) {
      out = args[++i];
    } else if (a == "--color" && hasValue && !colour) {
      if (!(colour = ColourNamed(args[++i]))) return Usage();
    } else if (a == "--ticks" && hasValue && !ticks) {
      if (!(ticks = TickCount(args[++i]))) return Usage();
    } else if (!a.empty() && a[0] != '-' && in.empty()) {
      in = a;
    } else {
      return Usage();
    }
  }
  if (in.empty() || out.empty()) return Usage();

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

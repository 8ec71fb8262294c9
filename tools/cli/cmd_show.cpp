// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli show: the header of an LED data file and every stored line as dot art.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog/ldat_file.h"
#include "fonts/font_engine.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/ldat_text.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {

const char kShowUsage[] =
    "show IN.LDAT [--png OUT.png [--row N] [--scale K | --size N]]\n"
    "  The file's header and every stored line as dot art, with its characters and columns, and the\n"
    "  size of the device image Send would build.\n"
    "  --png OUT.png  the rows as a black-and-white picture instead, one pixel per dot\n"
    "  --row N        only row N (1..12)\n"
    "  --scale K      K x K pixels per dot (1..32)\n"
    "  --size N       fitted into N x N pixels (1..4096): whole pixels per dot, or whole dots per\n"
    "                 pixel for a larger picture; the file managers' thumbnails\n";

int RunShowPng(const std::vector<std::string>& args);  // cmd_show_png.cpp

int RunShow(const std::vector<std::string>& args) {
  if (std::find(args.begin(), args.end(), "--png") != args.end()) return RunShowPng(args);
  if (args.empty() || args[0].empty()) return BadArguments("show", "IN.LDAT is missing");
  if (args[0][0] == '-') return BadArguments("show", "unknown option '" + args[0] + "'");
  if (args.size() > 1) return BadArguments("show", "one IN.LDAT only, not also '" + args[1] + "'");
  FontEngine fonts;
  LoadProgramSettings(fonts);
  LdatData data;
  platform::StderrMessageSink sink;
  if (!OpenLdatFile(args[0], data, sink)) return 1;
  std::fputs(LdatText(data).c_str(), stdout);
  return 0;
}

}  // namespace kirrup::cli

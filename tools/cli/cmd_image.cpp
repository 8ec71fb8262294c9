// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli image: opens an LED data file into the twelve rows as the program's Open
// does and builds the device image as Send does.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/capacity.h"
#include "device/device_image.h"
#include "dialog/ldat_file.h"
#include "lines/message_rows.h"
#include "fonts/font_engine.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {

const char kImageUsage[] =
    "image IN.LDAT [-o OUT]\n"
    "  Opens the file as the program's Open does and writes the device image Send would build\n"
    "  (to USBSendData.bin unless -o names another file). Status 1, with a warning, when the image\n"
    "  is more than the toy holds (the file is written all the same).\n";

int RunImage(const std::vector<std::string>& args) {
  std::string in, out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o") {
      if (!out.empty()) return BadArguments("image", "-o given twice");
      if (i + 1 >= args.size() || args[i + 1].empty()) return BadArguments("image", "-o needs a file name");
      out = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return BadArguments("image", "unknown option '" + a + "'");
    } else if (!in.empty()) {
      return BadArguments("image", "one IN.LDAT only, not also '" + a + "'");
    } else {
      in = a;
    }
  }
  if (in.empty()) return BadArguments("image", "IN.LDAT is missing");
  if (out.empty()) out = kDeviceImageFileName;

  FontEngine fonts;
  LoadProgramSettings(fonts);
  platform::StderrMessageSink sink;
  LdatData data;
  if (!OpenLdatFile(in, data, sink)) return 1;
  auto rows = std::make_unique<MessageRows>(kLed7);
  ApplyLdat(data, *rows);

  auto image = std::make_unique<DeviceImage>();
  const int lines = image->Build(*rows);
  if (lines == 0) {
    platform::ErrorBox(sink, "No Data Send!");
    return 1;
  }
  platform::FileError why;
  if (!WriteDeviceImageFile(*image, out, &why)) {
    WriteFileError(sink, out, why);
    return 1;
  }
  std::printf("lines: %d\nlength: %d\n", lines, image->length);
  // Written all the same, as Send writes its file before the toy refuses it.
  if (image->length > Capacity::kLimit) {
    std::fprintf(stderr, "kirrup-cli image: warning: %s; %s written all the same\n",
                 RomOverText(static_cast<size_t>(image->length)).c_str(), out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace kirrup::cli

// kirrup-cli image: opens an LED data file into the twelve rows as the program's Open
// does and builds the device image as Send does.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/device_image.h"
#include "dialog/ldat_file.h"
#include "lines/message_rows.h"
#include "fonts/font_engine.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {

int RunImage(const std::vector<std::string>& args) {
  std::string in, out = kDeviceImageFileName;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size() && !args[i + 1].empty()) {
      out = args[++i];
    } else if (in.empty() && !args[i].empty() && args[i][0] != '-') {
      in = args[i];
    } else {
      return Usage();
    }
  }
  if (in.empty()) return Usage();

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
  return 0;
}

}  // namespace kirrup::cli

// kirrup-cli image: opens an LED data file into the twelve rows as the program's Open
// does and builds the device image as Send does.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/device_image.h"
#include "dialog/ldat_file.h"
#include "lines/message_rows.h"
#include "tools/cli/cli.h"
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

  ApplyLineSettings(ProgramFolder());
  platform::StderrMessageSink sink;
  LdatData data;
  if (!OpenLdat(in, data, sink)) return 1;
  auto rows = std::make_unique<MessageRows>(kLed7);
  ApplyLdat(data, *rows);

  auto image = std::make_unique<DeviceImage>();
  const int lines = image->Build(*rows);
  if (lines == 0) {
    platform::ErrorBox(sink, "No Data Send!");
    return 1;
  }
  if (!WriteDeviceImageFile(*image, out)) {
    std::fprintf(stderr, "kirrup-cli image: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("lines: %d\nlength: %d\n", lines, image->length);
  return 0;
}

}  // namespace kirrup::cli

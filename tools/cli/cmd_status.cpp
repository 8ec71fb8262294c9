// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli status: whether the toy answers to being opened through LIB/VexoUSB.so.
#include <cstdio>

#include "app/application.h"
#include "device/usb_transfer.h"
#include "platform/program_folder.h"
#include "tools/cli/cli.h"

namespace kirrup::cli {

const char kStatusUsage[] =
    "status   (prints connected / disconnected, status 0 / 1; 3 without a usable link library)\n"
    "  Whether the toy answers through LIB/VexoUSB.so.\n";

int RunStatus(const std::vector<std::string>& args) {
  if (!args.empty()) return BadArguments("status", "no arguments are taken, not '" + args[0] + "'");
  platform::StderrMessageSink sink;
  Application app;
  app.StartUp(platform::ExecutablePath(), sink);  // tells why the library is not usable

  const std::optional<bool> connected = PollConnection(app.usb);
  if (!connected) {
    std::printf("no usable link library (%s)\n", kUsbLibraryName);
    return 3;
  }
  if (*connected) {
    std::printf("connected\n");
    return 0;
  }
  std::printf("disconnected\n");
  // A toy that is there after all but cannot be opened is worth telling.
  if (const std::string advice = OpenFailureAdvice(LastOpenFailure(app.usb)); !advice.empty())
    std::fprintf(stderr, "kirrup-cli: %s\n", advice.c_str());
  return 1;
}

}  // namespace kirrup::cli

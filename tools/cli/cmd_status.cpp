// kirrup-cli status: whether the toy answers to being opened through LIB/VexoUSB.so.
#include <cstdio>

#include "app/application.h"
#include "device/usb_transfer.h"
#include "platform/program_folder.h"
#include "tools/cli/cli.h"
#include "usb/vexo_usb.h"

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
  // A library that can say why opening failed: worth telling when a toy is there after all.
  using LastOpenErrorFn = int32_t (*)(char*, uint32_t);
  if (auto why = reinterpret_cast<LastOpenErrorFn>(app.usbLibrary.Symbol(VEXOUSB_LAST_OPEN_ERROR_NAME))) {
    char text[512] = {};
    const int32_t code = why(text, sizeof text);
    if ((code == VEXOUSB_OPEN_NO_PERMISSION || code == VEXOUSB_OPEN_FAILED) && text[0])
      std::fprintf(stderr, "kirrup-cli: %s\n", text);
  }
  return 1;
}

}  // namespace kirrup::cli

// kirrup-cli send IN.LDAT: opens the file as Open does, builds the image as Send does
// (also writing "USBSendData.bin") and moves it to the toy through LIB/VexoUSB.so.
#include <unistd.h>

#include <memory>

#include "app/application.h"
#include "device/device_image.h"
#include "device/usb_transfer.h"
#include "dialog/ldat_file.h"
#include "lines/message_rows.h"
#include "platform/program_folder.h"
#include "tools/cli/cli.h"
#include "tools/cli/progress_bar.h"

namespace kirrup::cli {

int RunSend(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage();
  platform::StderrMessageSink sink;
  Application app;
  app.StartUp(platform::ExecutablePath(), sink);

  LdatData data;
  if (!OpenLdat(args[0], data, sink)) return 1;
  auto rows = std::make_unique<MessageRows>();
  ApplyLdat(data, *rows);
  auto image = std::make_unique<DeviceImage>();
  if (BuildImageForSend(*rows, *image, sink) == 0) return 1;

  ProgressBar bar(isatty(STDERR_FILENO) ? stderr : nullptr);
  const TransferResult result = TransferImage(app.usb, image->bytes(), rows->ledType(), sink, bar.Callbacks());
  bar.Finish();
  return result == TransferResult::Sent ? 0 : 1;
}

}  // namespace kirrup::cli

// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli send IN.LDAT: opens the file as Open does, builds the image as Send does
// (also writing "USBSendData.bin") and moves it to the toy through LIB/VexoUSB.so.
#include <unistd.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "device/device_image.h"
#include "device/usb_transfer.h"
#include "dialog/ldat_file.h"
#include "lines/message_rows.h"
#include "platform/program_folder.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/progress_bar.h"

namespace kirrup::cli {
namespace {

// Ends the progress bar's line before a message, so the message gets a line of its own.
class BarMessageSink : public platform::MessageSink {
 public:
  BarMessageSink(ProgressBar& bar, platform::MessageSink& inner) : bar_(bar), inner_(inner) {}
  void Show(platform::MessageIcon icon, const std::string& caption, const std::string& text) override {
    bar_.Finish();
    inner_.Show(icon, caption, text);
  }

 private:
  ProgressBar& bar_;
  platform::MessageSink& inner_;
};

}  // namespace

const char kSendUsage[] =
    "send IN.LDAT\n"
    "  Opens the file as the program's Open does, writes USBSendData.bin and sends the image to the toy.\n";

int RunSend(const std::vector<std::string>& args) {
  if (args.empty()) return BadArguments("send", "IN.LDAT is missing");
  if (args[0].size() > 1 && args[0][0] == '-') return BadArguments("send", "unknown option '" + args[0] + "'");
  if (args.size() > 1) return BadArguments("send", "one IN.LDAT only, not also '" + args[1] + "'");
  platform::StderrMessageSink sink;
  Application app;
  app.StartUp(platform::ExecutablePath(), sink);

  LdatData data;
  if (!OpenLdatFile(args[0], data, sink)) return 1;
  auto rows = std::make_unique<MessageRows>();
  ApplyLdat(data, *rows);
  auto image = std::make_unique<DeviceImage>();
  if (BuildImageForSend(*rows, *image, sink) == 0) return 1;

  ProgressBar bar(isatty(STDERR_FILENO) ? stderr : nullptr);
  BarMessageSink messages(bar, sink);
  const TransferResult result = TransferImage(app.usb, image->bytes(), rows->ledType(), messages, bar.Callbacks());
  bar.Finish();
  return result == TransferResult::Sent ? 0 : 1;
}

}  // namespace kirrup::cli

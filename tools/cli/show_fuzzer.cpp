// SPDX-License-Identifier: GPL-2.0-or-later
// A data file carried as far as the program carries it: parsed, shown as `show` prints it,
// opened into the twelve rows, built into the device image and played for one frame of
// the simulation. Nothing may crash; show's text stays small whatever the counts say.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "device/device_image.h"
#include "dialog/demo_engine.h"
#include "dialog/demo_rows.h"
#include "dialog/ldat_file.h"
#include "res/demo_picture.h"
#include "tools/cli/ldat_text.h"
#include "tests/fixtures/fuzz_check.h"

using namespace kirrup;

namespace {

class Quiet final : public platform::MessageSink {
 public:
  void Show(platform::MessageIcon, const std::string&, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto rows = std::make_unique<MessageRows>(kLed7);
  static const auto image = std::make_unique<DeviceImage>();
  static const platform::RgbImage picture = DrawDemoPicture();
  // Kept between inputs: a copy of the picture for a fresh engine and a fresh frame cost
  // more than the rest of a small input, and Start loads the new play list whole.
  static DemoEngine engine(picture);
  static platform::RgbImage frame;
  LdatData file;
  if (!ParseLdat(std::span<const uint8_t>(data, size), file)) return 0;
  ApplyLdat(file, *rows);
  // Header and effects, twelve rows of at most 50 characters, one line for each other line.
  CHECK(cli::LdatText(file, *rows).size() < 200'000);
  const int lines = image->Build(*rows);
  CHECK(lines >= 0 && lines <= MessageRows::kCount && image->length <= DeviceImage::kCapacity);
  engine.Stop();  // nothing of the last input plays on if this one starts nothing
  Quiet quiet;
  if (StartDemo(engine, DemoRowsFrom(*rows), rows->useMiddleOption != 0, quiet)) {
    engine.Tick();
    engine.Paint(frame, 0x0000FF);
    CHECK(frame.width() == picture.width() && frame.height() == picture.height());
  }
  return 0;
}

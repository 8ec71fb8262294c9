// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary packet streams into the emulated toy, arbitrary answers into the program's
// answer judgement, arbitrary fault plans into the parser: nothing may crash, and an image
// the toy completes is always as long as the length it accepted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/usb_transfer.h"
#include "usb/emulated_toy.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kirrup::usb::EmulatedToy toy;
  size_t at = 0;
  while (at + 9 <= size) {
    const std::span<const uint8_t> packet(data + at, 9);
    toy.Receive(packet);
    if (auto image = toy.TakeImage(); image && image->size() >= 2048) __builtin_trap();
    kirrup::JudgeAnswer(packet.first<3>());
    at += 9;
  }
  toy.Receive(std::span<const uint8_t>(data + at, size - at));
  kirrup::usb::ParseFaults(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What fits in the toy: the size of the device image Send would build from the rows now,
// against the largest image the toy takes. The size comes from DeviceImage::Build itself,
// so the meter can never disagree with Send.
#include <memory>
#include <string>

#include "device/device_image.h"
#include "device/usb_transfer.h"

namespace kirrup {

struct Capacity {
  static constexpr int kLimit = static_cast<int>(kDeviceImageMaxBytes);  // 2047

  int bytes = 0;  // 0 when no row would be sent

  bool Over() const { return bytes > kLimit; }
  int Excess() const { return Over() ? bytes - kLimit : 0; }
  bool operator==(const Capacity&) const = default;
};

// Builds the image into a buffer of its own (Send's buffer keeps the last image sent).
class CapacityMeter {
 public:
  CapacityMeter();
  ~CapacityMeter();
  Capacity Measure(const MessageRows& rows);

 private:
  std::unique_ptr<DeviceImage> image_;
};

// The meter's numbers: "1532 / 2047 bytes".
std::string CapacityNumbers(const Capacity& c, bool chinese);
// The meter's caption: "Toy memory", over the limit by how much ("Over by 163").
std::string CapacityCaption(const Capacity& c, bool chinese);
// What a screen reader says: "1532 of 2047 bytes" (over: "..., 163 bytes over the limit").
std::string CapacityDescription(const Capacity& c, bool chinese);
// A successful Send: "Sent to the toy: 1532 bytes".
std::string SentNotice(int bytes, bool chinese);

}  // namespace kirrup

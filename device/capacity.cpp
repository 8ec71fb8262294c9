// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/capacity.h"

namespace kirrup {

CapacityMeter::CapacityMeter() : image_(std::make_unique<DeviceImage>()) {}
CapacityMeter::~CapacityMeter() = default;

Capacity CapacityMeter::Measure(const MessageRows& rows) {
  image_->Build(rows);
  return {image_->length};
}

std::string CapacityNumbers(const Capacity& c, bool chinese) {
  return std::to_string(c.bytes) + " / " + std::to_string(Capacity::kLimit) + (chinese ? " 字节" : " bytes");
}

std::string CapacityCaption(const Capacity& c, bool chinese) {
  if (!c.Over()) return chinese ? "玩具存储" : "Toy memory";
  return (chinese ? "超出 " : "Over by ") + std::to_string(c.Excess());
}

std::string CapacityDescription(const Capacity& c, bool chinese) {
  if (chinese) {
    std::string text = CapacityNumbers(c, true);
    if (c.Over()) text += "，超出上限 " + std::to_string(c.Excess()) + " 字节";
    return text;
  }
  std::string text = std::to_string(c.bytes) + " of " + std::to_string(Capacity::kLimit) + " bytes";
  if (c.Over()) text += ", " + std::to_string(c.Excess()) + (c.Excess() == 1 ? " byte" : " bytes") + " over the limit";
  return text;
}

std::string SentNotice(int bytes, bool chinese) {
  return chinese ? "已发送到玩具：" + std::to_string(bytes) + " 字节"
                 : "Sent to the toy: " + std::to_string(bytes) + " bytes";
}

}  // namespace kirrup
